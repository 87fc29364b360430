#include "app/unit1.h"
#include "help/unit2.h"
#include "ui/classic_look.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    applyClassicLook(application);

    TForm1 Form1; // the main window: closing it ends the program
    TForm2 Form2; // the help window, hidden until "Help"
    Form1.setHelpWindow(&Form2);
    Form1.show(); // runs FormShow before the window first appears

    return application.exec();
}
