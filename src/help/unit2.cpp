#include "help/unit2.h"

#include "app/program_icon.h"

TForm2::TForm2(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("Form2");
    setWindowTitle("Усилитель с комбинированной ООС - Help");
    setWindowIcon(programIcon());
    setFixedSize(769, 444);
}
