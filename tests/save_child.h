#pragma once

// The saving side of the file-fault tests: a scratch tree, the child that saves in it (this test
// program again, driving the real windows, as the ordinary user when we are root) and the pipes
// it may write into.

#include "amplifier/spice_netlist.h"
#include "core/whole_file.h"
#include "help/help_file.h"
#include "scratch_files.h"
#include "speaker/response_export.h"
#include "ui/classic_look.h"
#include "ui/error_report.h"
#include "window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <optional>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

inline constexpr rlim_t sizeLimit = 100; // bytes; every file written is larger
inline constexpr uid_t nobody = 65534;
inline constexpr gid_t nogroup = 65534;

inline QByteArray local(const QString &path) { return QFile::encodeName(path); }

// The directory and all in it become the ordinary user's, when we are root.
inline void handOver(const QString &directory) {
    if (::geteuid() != 0)
        return;
    QStringList paths{directory};
    QDirIterator it(directory,
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    for (const QString &path : paths)
        if (::lchown(local(path).constData(), nobody, nogroup) != 0)
            qFatal("cannot hand over %s", qPrintable(path));
}

// Reads a named pipe to its end in a thread of its own. A writer end of our own keeps the pipe
// open between the child's opens, so the data ends only when finish() is called.
class PipeReader {
public:
    explicit PipeReader(const QString &path) {
        reader = ::open(local(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        keeper = ::open(local(path).constData(), O_WRONLY | O_CLOEXEC);
        if (reader < 0 || keeper < 0 || ::fcntl(reader, F_SETFL, 0) != 0)
            qFatal("cannot open the pipe %s", qPrintable(path));
        thread = std::thread([this] {
            char chunk[65536];
            for (;;) {
                const ssize_t n = ::read(reader, chunk, sizeof chunk);
                if (n > 0)
                    bytes.append(chunk, n);
                else if (n == 0 || errno != EINTR)
                    break;
            }
        });
    }
    ~PipeReader() { finish(); }

    QByteArray finish() {
        if (thread.joinable()) {
            ::close(keeper);
            thread.join();
            ::close(reader);
        }
        return bytes;
    }

private:
    int reader = -1, keeper = -1;
    QByteArray bytes;
    std::thread thread;
};

// A reader of a pipe that holds one page, so a file larger than that is still being written when
// the reader takes the first byte and goes away, or when it stalls: it never reads, and goes
// only when dropped.
class OnePageReader {
public:
    static constexpr int capacity = 4096;

    OnePageReader(const QString &path, bool stalls) {
        reader = ::open(local(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (reader < 0 || ::fcntl(reader, F_SETPIPE_SZ, capacity) != capacity)
            qFatal("cannot open the pipe %s", qPrintable(path));
        if (stalls)
            return;
        thread = std::thread([this] {
            pollfd data{reader, POLLIN, 0};
            char byte;
            if (::poll(&data, 1, 60000) == 1)
                static_cast<void>(::read(reader, &byte, 1));
            ::close(reader);
        });
    }
    ~OnePageReader() {
        if (thread.joinable())
            thread.join();
        else
            ::close(reader);
    }

private:
    int reader = -1;
    std::thread thread;
};

// Plants a symbolic link as the ordinary user does.
inline bool plantLinkAsNobody(const QString &target, const QString &link) {
    const QByteArray from = local(target), at = local(link);
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setgroups(0, nullptr) == 0 && ::setgid(nogroup) == 0 && ::setuid(nobody) == 0 &&
                        ::symlink(from.constData(), at.constData()) == 0
                    ? 0
                    : 1);
    int status = -1;
    return child > 0 && ::waitpid(child, &status, 0) == child && status == 0;
}

// Runs `program` (a copy of this test) as a child that saves in `directory`: "save" presses
// "Сохранить" after a calculation, "help" presses "Сохранить текст в файл", "export" writes the
// default designs' netlist and FRD files through the writers the menus call. Answers what it
// printed: the text of the error report it met, empty when none. The child runs as the ordinary
// user when we are root, unless `asRoot`.
inline QString saveInChild(const QString &program, const QString &directory, const QString &mode,
                           bool limitSize, bool asRoot = false) {
    QProcess child;
    child.setProgram(program);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("FILE_FAULTS_CHILD", mode);
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(directory);
    const bool root = ::geteuid() == 0 && !asRoot;
    child.setChildProcessModifier([limitSize, root] {
        if (limitSize) {
            // With SIGXFSZ ignored a write past the limit fails with EFBIG instead of killing.
            const rlimit limit{sizeLimit, sizeLimit};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0 || ::signal(SIGXFSZ, SIG_IGN) == SIG_ERR)
                ::_exit(91);
        }
        ::signal(SIGPIPE, SIG_DFL); // as a program started from the desktop has it
        if (root &&
            (::setgroups(0, nullptr) != 0 || ::setgid(nogroup) != 0 || ::setuid(nobody) != 0))
            ::_exit(90);
    });
    child.start();
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
        return "child did not finish";
    }
    if (child.exitStatus() != QProcess::NormalExit)
        return QString("child killed by signal %1").arg(child.exitCode());
    if (child.exitCode() != 0)
        return QString("child failed (%1): %2")
            .arg(child.exitCode())
            .arg(QString::fromUtf8(child.readAllStandardError()));
    return QString::fromUtf8(child.readAllStandardOutput());
}

// A scratch tree: `cwd` where the child saves, `elsewhere` for the targets of links.
struct Scene {
    QTemporaryDir base;
    QString cwd, elsewhere;

    Scene() {
        const QString root = QFileInfo(base.path()).canonicalFilePath();
        cwd = root + "/cwd";
        elsewhere = root + "/elsewhere";
        if (::chmod(local(root).constData(), 0755) != 0 || !QDir().mkdir(cwd) ||
            !QDir().mkdir(elsewhere))
            qFatal("cannot prepare %s", qPrintable(root));
    }
    ~Scene() { ::chmod(local(cwd).constData(), 0755); } // a read-only cwd, as root or not
};

// The child's side: the windows as the program builds them, the button pressed.
inline int childSaves(const QByteArray &mode) {
    if (!qgetenv("FILE_FAULTS_REMOVE_FOLDER").isEmpty() && !QDir::current().removeRecursively())
        qFatal("cannot remove the current directory");
    QString shown;
    if (mode == "save") {
        TForm1 form;
        TForm2 help;
        form.setHelpWindow(&help);
        form.show();
        static_cast<void>(QTest::qWaitForWindowExposed(&form)); // offscreen: at once
        form.PageControl1->setCurrentIndex(0);
        QTest::mouseClick(findButton(&form, 6), Qt::LeftButton); // non-inverting, all parts known
        shown = errorReportDuring([&] { QTest::mouseClick(form.Button10, Qt::LeftButton); });
    } else if (mode == "export") {
        const Network n{20e3, 10e3, 1e3, 0.2};
        const AmplifierRun amplifier{SchemeKind::NonInverting,
                                     3,
                                     n,
                                     4,
                                     0,
                                     0,
                                     networkOutputs(nonInvertingCircuit, n, 4),
                                     {},
                                     {}};
        const Driver d{19, 3.4, 2.63, 0.18, 90};
        shown = errorReportDuring([&] {
            runHandler([&] {
                writeWholeFile(nonInvertingNetlistFileName, spiceNetlist(amplifier));
                writeResponseFiles(QDir::currentPath().toStdString(),
                                   {d, 50, 6, closedBox(d, 50, 6), {}});
            });
        });
    } else {
        TForm2 help;
        help.show();
        shown = errorReportDuring([&] { QTest::mouseClick(help.Button2, Qt::LeftButton); });
    }
    std::fputs(shown.toUtf8().constData(), stdout);
    return 0;
}
