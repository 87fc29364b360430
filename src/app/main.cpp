#include "app/unit1.h"
#include "help/widgets/unit2.h"
#include "ui/classic_look.h"
#include "ui/qt_translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#ifndef OOSCALC_VERSION
#error "OOSCALC_VERSION is defined by the build"
#endif

namespace {

// Qt's own options (those of QCoreApplication, QGuiApplication, QApplication and the xcb
// platform), taken here too, so that the command line is judged before any window system is
// touched. Like the program's own they are single-dash words: -reverse is one option, never the
// letters -r -e -v … run together.
const char *const qtOptionsWithValue[] = {"platform",
                                          "platformpluginpath",
                                          "platformtheme",
                                          "plugin",
                                          "qwindowgeometry",
                                          "geometry",
                                          "qwindowicon",
                                          "icon",
                                          "qwindowtitle",
                                          "title",
                                          "session",
                                          "style",
                                          "stylesheet",
                                          "display",
                                          "name",
                                          "visual",
                                          "qmljsdebugger"};
const char *const qtFlags[] = {"reverse", "testability", "widgetcount", "nograb",
                               "dograb",  "qdevel",      "qdebug"};

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
        for (const char *name : qtOptionsWithValue)
            addQtOption(name, "value");
        for (const char *name : qtFlags)
            addQtOption(name, {});
    }

    void addQtOption(const char *name, const QString &value) {
        QCommandLineOption option(name, {}, value);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    // True when the whole text reached the stream.
    static bool print(const QString &text, std::FILE *stream) {
        return std::fputs(text.toLocal8Bit().constData(), stream) >= 0 && std::fflush(stream) == 0;
    }

    // Unknown options and any argument: one line and status 2.
    int refuse() {
        QString error = parser.errorText();
        if (error.isEmpty())
            error = QString("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        print("ooscalc: " + error +
                  " Usage: ooscalc [--help | --version | Qt's options such as -style fusion]\n",
              stderr);
        return 2;
    }
};

} // namespace

int main(int argc, char *argv[]) {
    CommandLine commandLine;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!commandLine.parser.parse(arguments) || !commandLine.parser.positionalArguments().isEmpty())
        return commandLine.refuse();

    // --help and --version are answered on the console, so they work without a display; a
    // failed write (a full disk, a closed pipe) is a failure.
    if (commandLine.parser.isSet(commandLine.help) ||
        commandLine.parser.isSet(commandLine.version)) {
        const QCoreApplication console(argc, argv); // names the program in the usage line
        const bool printed = CommandLine::print(
            commandLine.parser.isSet(commandLine.help)
                ? commandLine.parser.helpText() +
                      "\nQt's own options, such as -platform, -style and -geometry, are taken as "
                      "well.\n"
                : QString("ooscalc %1\n").arg(OOSCALC_VERSION),
            stdout);
        return printed ? 0 : 1;
    }

    QApplication application(argc, argv);
    applyClassicLook(application);
    useRussianQtTexts(application);

    TForm1 Form1; // the main window: closing it ends the program
    TForm2 Form2; // the help window, hidden until "Help"
    Form1.setHelpWindow(&Form2);
    Form1.show(); // runs FormShow before the window first appears

    return application.exec();
}
