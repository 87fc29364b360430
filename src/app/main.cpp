#include "app/unit1.h"
#include "help/unit2.h"
#include "ui/classic_look.h"
#include "ui/qt_translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#ifndef OOSCALC_VERSION
#error "OOSCALC_VERSION is defined by the build"
#endif

namespace {

// The program's own options. Qt's (-platform, -style, -geometry …) are single-dash words too, so
// a word such as -reverse is one option, never the letters -r -e -v … run together.
struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption help{{"h", "help"}, "Show this help and exit."};
    QCommandLineOption version{{"v", "version"}, "Show the version and exit."};

    CommandLine() {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(
            "Calculator of combined voltage and current negative feedback for audio power\n"
            "amplifiers (the interface is in Russian). \"Сохранить\" saves the report and the\n"
            "pictures into the current directory.");
        parser.addOption(help);
        parser.addOption(version);
    }

    void print(const QString &text, std::FILE *stream) {
        std::fputs(text.toLocal8Bit().constData(), stream);
    }

    // Unknown options and any argument: a short note and status 2.
    int refuse() {
        QString error = parser.errorText();
        if (error.isEmpty())
            error = QString("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        print("ooscalc: " + error + "\nTry 'ooscalc --help' for more information.\n", stderr);
        return 2;
    }
};

} // namespace

int main(int argc, char *argv[]) {
    CommandLine commandLine;

    // --help and --version are answered on the console before any window system is touched, so
    // they work without a display. Other options may be Qt's: judged once QApplication took those.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    commandLine.parser.parse(arguments);
    if (commandLine.parser.isSet(commandLine.help) ||
        commandLine.parser.isSet(commandLine.version)) {
        const QCoreApplication console(argc, argv); // names the program in the usage line
        commandLine.print(commandLine.parser.isSet(commandLine.help)
                              ? commandLine.parser.helpText() +
                                    "\nQt's own options, such as -platform, -style and -geometry, "
                                    "are taken as well.\n"
                              : QString("ooscalc %1\n").arg(OOSCALC_VERSION),
                          stdout);
        return 0;
    }

    QApplication application(argc, argv);
    if (!commandLine.parser.parse(application.arguments()) ||
        !commandLine.parser.positionalArguments().isEmpty())
        return commandLine.refuse();
    applyClassicLook(application);
    useRussianQtTexts(application);

    TForm1 Form1; // the main window: closing it ends the program
    TForm2 Form2; // the help window, hidden until "Help"
    Form1.setHelpWindow(&Form2);
    Form1.show(); // runs FormShow before the window first appears

    return application.exec();
}
