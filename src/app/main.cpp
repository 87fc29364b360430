#include "app/unit1.h"
#include "core/file_error.h"
#include "help/widgets/unit2.h"
#include "ui/classic_look.h"
#include "ui/error_report.h"
#include "ui/qt_translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <vector>

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
            "pictures into the current directory; a design is kept as a project file\n"
            "(.ooscalc), which `ooscalc FILE` opens.");
        parser.addOption(help);
        parser.addOption(version);
        parser.addPositionalArgument("file", "A project (.ooscalc) to open.", "[file]");
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

    // 0 when the whole text reached the stream, else the error number.
    static int print(const QString &text, std::FILE *stream) {
        errno = 0;
        if (std::fputs(text.toLocal8Bit().constData(), stream) >= 0 && std::fflush(stream) == 0)
            return 0;
        return errno != 0 ? errno : EIO;
    }

    // Unknown options and a second argument: one line and status 2.
    int refuse() {
        QString error = parser.errorText();
        if (error.isEmpty())
            error = QString("Unexpected argument '%1'.").arg(parser.positionalArguments().at(1));
        print("ooscalc: " + error +
                  " Usage: ooscalc [FILE.ooscalc] [--help | --version | Qt's options such as "
                  "-style fusion]\n",
              stderr);
        return 2;
    }
};

// Qt ends the program with qFatal, an abort, when its window system does not start (no display,
// one that does not answer, a platform plugin that is missing). What Qt says while it starts is
// held back: passed on once the application stands, or replaced by one line in Russian and
// status 1.
struct HeldMessage {
    QtMsgType type;
    const char *category; // Qt's category names are static strings
    QString text;
};
std::mutex heldLock;
std::vector<HeldMessage> heldMessages;
QString displayOption; // -display, which the xcb platform takes in place of DISPLAY

// The platform Qt tried last, as its plugin loader names it: «Could not load the Qt platform
// plugin "xcb" …».
QString triedPlatform() {
    QString platform = qEnvironmentVariable("QT_QPA_PLATFORM", "xcb");
    for (const HeldMessage &m : heldMessages) {
        const qsizetype open = m.text.indexOf('"'), close = m.text.indexOf('"', open + 1);
        if (m.category && std::string_view(m.category) == "qt.qpa.plugin" && open >= 0 &&
            close > open)
            platform = m.text.mid(open + 1, close - open - 1);
    }
    return platform;
}

[[noreturn]] void refuseWithoutWindowSystem() {
    const QString platform = triedPlatform();
    const QString display =
        displayOption.isEmpty() ? qEnvironmentVariable("DISPLAY") : displayOption;
    const QString failure = platform != "xcb" ? "не запустилась"
                            : display.isEmpty() ? "не нашла дисплея: переменная DISPLAY не задана"
                                                : "не подключилась к дисплею «" + display + "»";
    CommandLine::print("ooscalc: окно не открыть: платформа Qt «" + platform + "» " + failure +
                           ". Задайте в DISPLAY доступный X-дисплей или платформу без экрана: "
                           "QT_QPA_PLATFORM=offscreen (-platform offscreen).\n",
                       stderr);
    std::_Exit(1); // no return into Qt's abort, no destructors of a half-made application
}

void holdStartMessage(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    const std::lock_guard lock(heldLock);
    if (type == QtFatalMsg)
        refuseWithoutWindowSystem();
    heldMessages.push_back({type, context.category, text});
}

} // namespace

int main(int argc, char *argv[]) {
    CommandLine commandLine;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!commandLine.parser.parse(arguments) || commandLine.parser.positionalArguments().size() > 1)
        return commandLine.refuse();

    // --help and --version are answered on the console, so they work without a display; a
    // failed write (a full disk, a closed pipe) is a failure.
    if (commandLine.parser.isSet(commandLine.help) ||
        commandLine.parser.isSet(commandLine.version)) {
        const QCoreApplication console(argc, argv); // names the program in the usage line
        const int error = CommandLine::print(
            commandLine.parser.isSet(commandLine.help)
                ? commandLine.parser.helpText() +
                      "\nQt's own options, such as -platform, -style and -geometry, are taken as "
                      "well.\n"
                : QString("ooscalc %1\n").arg(OOSCALC_VERSION),
            stdout);
        if (error == 0)
            return 0;
        CommandLine::print("ooscalc: ошибка записи в стандартный вывод: " +
                               QString::fromStdString(fileErrorReason(error)) + "\n",
                           stderr);
        return 1;
    }

    displayOption = commandLine.parser.value("display");
    const QtMessageHandler qtHandler = qInstallMessageHandler(holdStartMessage);
    QApplication application(argc, argv);
    {
        const std::lock_guard lock(heldLock);
        qInstallMessageHandler(qtHandler);
        for (const HeldMessage &m : heldMessages)
            qt_message_output(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category), m.text);
    }
    applyClassicLook(application);
    useRussianQtTexts(application);

    TForm1 Form1; // the main window: closing it ends the program
    TForm2 Form2; // the help window, hidden until "Help"
    Form1.setHelpWindow(&Form2);
    Form1.show(); // runs FormShow before the window first appears

    // A project named on the command line (or by the desktop, Exec=ooscalc %f) opens in it; one
    // that cannot be used leaves the window as it starts, and says why on the console and, once
    // the window is up, in the error report.
    if (const QStringList files = commandLine.parser.positionalArguments(); !files.isEmpty()) {
        try {
            Form1.openProject(files.front());
        } catch (const std::exception &error) {
            const QString text = QString::fromUtf8(error.what());
            CommandLine::print("ooscalc: " + errorReportText(text) + "\n", stderr);
            QTimer::singleShot(0, &Form1, [text] { showErrorReport(text); });
        }
    }
    return application.exec();
}
