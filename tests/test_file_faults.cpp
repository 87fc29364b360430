// The files the program writes ("Сохранить", the help text, the netlist and the two FRD files),
// each meeting each fault of the file system: the text of the error report, and what is left on
// disk afterwards. Saving runs in a child (this program again, driving the real windows) as an
// ordinary user, so that permission bits count, and under a file size limit where a write is to
// fail part-way.

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

// In the child, a rename onto the name FILE_FAULTS_FAIL_RENAME fails, as a disk may fail it, and
// so does a second name (a backup) for the file FILE_FAULTS_FAIL_LINK.
bool namedBy(const char *variable, const char *path) {
    const char *slash = std::strrchr(path, '/');
    return qgetenv(variable) == (slash ? slash + 1 : path);
}
extern "C" int rename(const char *from, const char *to) noexcept {
    if (namedBy("FILE_FAULTS_FAIL_RENAME", to))
        return errno = EIO, -1;
    return ::renameat(AT_FDCWD, from, AT_FDCWD, to);
}
extern "C" int link(const char *from, const char *to) noexcept {
    if (namedBy("FILE_FAULTS_FAIL_LINK", from))
        return errno = EPERM, -1;
    return ::linkat(AT_FDCWD, from, AT_FDCWD, to, 0);
}

namespace {

// "Сохранить" writes these in this order; the help window writes the fifth.
const QStringList saveOrder{"АЧХ_колонки.bmp", "АЧХ_колонки.wmf", "Схема.bmp",
                            "Комбинированная_ООС.txt"};
const QString helpName = QString::fromUtf8(helpFileName);
const QStringList exportOrder{"Схема_неинвертирующий.cir", "АЧХ_Rвых_0.frd", "АЧХ_Rвых_6_Ом.frd"};
const QStringList allFiles = saveOrder + QStringList{helpName} + exportOrder;

constexpr rlim_t sizeLimit = 100; // bytes; every file written is larger
constexpr uid_t nobody = 65534;
constexpr gid_t nogroup = 65534;

enum class Fault {
    ReadOnlyDirectory,
    DirectoryInTheWay,
    WriteFailsPartWay,
    ReadOnlyFile,
    LinkToAFile,
    LinkToAFileWriteFails,
    LinkToADevice,
    LinkToAFullDevice,
    LinkToAPipeBeingRead,
    LinkToAPipeNobodyReads,
    LinkToAPipeClosedByItsReader,
    LinkToAPipeNeverRead,
    LinkPlantedInASharedFolder,
    LinkToALongName,
    RenameFails,
    BackupRefusedThenLastRename,
    CurrentFolderRemoved,
};

// The reason the error report gives; empty when the file is written.
struct FaultCase {
    const char *name;
    Fault fault;
    QString reason;
};

const FaultCase faultCases[] = {
    {"read-only directory", Fault::ReadOnlyDirectory, "нет прав на запись"},
    {"directory in the way", Fault::DirectoryInTheWay, "под этим именем уже есть папка"},
    {"write fails part-way", Fault::WriteFailsPartWay, "превышен предельный размер файла"},
    {"read-only file", Fault::ReadOnlyFile, "нет прав на запись"},
    {"link to a file", Fault::LinkToAFile, ""},
    {"link to a file, write fails", Fault::LinkToAFileWriteFails,
     "превышен предельный размер файла"},
    {"link to a device", Fault::LinkToADevice, ""},
    {"link to a full device", Fault::LinkToAFullDevice, "на диске нет места"},
    {"link to a pipe being read", Fault::LinkToAPipeBeingRead, ""},
    {"link to a pipe nobody reads", Fault::LinkToAPipeNobodyReads, "канал никто не читает"},
    {"link to a pipe closed by its reader", Fault::LinkToAPipeClosedByItsReader,
     "читающая сторона закрыла канал"},
    {"link to a pipe never read", Fault::LinkToAPipeNeverRead,
     "канал или устройство не принимает данные"},
    // Another user's link in a sticky, world-writable folder, met by a save as root.
    {"link planted in a shared folder", Fault::LinkPlantedInASharedFolder,
     "это ссылка другого пользователя в общей папке, программа по ней не переходит"},
    {"link to a 250-byte name", Fault::LinkToALongName, ""},
    // After the files before it in its set were renamed.
    {"rename refused", Fault::RenameFails, "ошибка ввода-вывода (код 5)"},
    // Its backup refused, then the rename of the last file of its set, which the error names.
    {"backup refused, then a later rename", Fault::BackupRefusedThenLastRename,
     "ошибка ввода-вывода (код 5)"},
    // Met by the first file its writer writes, named as given.
    {"current folder removed", Fault::CurrentFolderRemoved, "папка не существует"},
};

QByteArray previous(const QString &name) { return "previous " + name.toUtf8() + "\r\n"; }

QByteArray local(const QString &path) { return QFile::encodeName(path); }

// The directory and all in it become the ordinary user's, when we are root.
void handOver(const QString &directory) {
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
bool plantLinkAsNobody(const QString &target, const QString &link) {
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
QString saveInChild(const QString &program, const QString &directory, const QString &mode,
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
int childSaves(const QByteArray &mode) {
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

} // namespace

class FileFaultsTest : public QObject {
    Q_OBJECT

    QTemporaryDir programDir;
    QString program;
    QMap<QString, QByteArray> written; // each file as a save without faults writes it

private slots:
    void initTestCase() {
        // A copy of this program where the ordinary user may run it, wherever the build lies.
        program = programDir.filePath("test_file_faults");
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
        QVERIFY(::chmod(local(programDir.path()).constData(), 0755) == 0);
        // The child's own runtime directory, instead of one it would make in /tmp.
        QVERIFY(QDir(programDir.path()).mkdir("runtime"));
        QVERIFY(::chmod(local(programDir.path() + "/runtime").constData(), 0700) == 0);
        handOver(programDir.path() + "/runtime");
        qputenv("XDG_RUNTIME_DIR", local(programDir.path() + "/runtime"));

        Scene scene;
        handOver(scene.cwd);
        QCOMPARE(saveInChild(program, scene.cwd, "save", false), QString());
        QCOMPARE(saveInChild(program, scene.cwd, "help", false), QString());
        QCOMPARE(saveInChild(program, scene.cwd, "export", false), QString());
        QStringList all = allFiles;
        all.sort();
        QCOMPARE(entries(scene.cwd), all);
        for (const QString &name : entries(scene.cwd)) {
            written[name] = readFile(scene.cwd + "/" + name);
            QVERIFY2(qsizetype(sizeLimit) < written[name].size(), qPrintable(name));
        }
    }

    void faultOnOneFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("faultIndex");
        for (const QString &file : allFiles)
            for (int i = 0; i < int(std::size(faultCases)); ++i)
                // A file the pipe takes whole is written before its reader can go or stall.
                // A removed folder stops the first file each writer writes.
                if (((faultCases[i].fault != Fault::LinkToAPipeClosedByItsReader &&
                      faultCases[i].fault != Fault::LinkToAPipeNeverRead) ||
                     written[file].size() > OnePageReader::capacity) &&
                    (faultCases[i].fault != Fault::CurrentFolderRemoved ||
                     QStringList{saveOrder[0], helpName, exportOrder[0]}.contains(file)) &&
                    // A file before the last of a set of more than one.
                    (faultCases[i].fault != Fault::BackupRefusedThenLastRename ||
                     (saveOrder.indexOf(file) >= 0 && file != saveOrder.back()) ||
                     file == exportOrder[1]))
                    QTest::addRow("%s: %s", faultCases[i].name, qPrintable(file)) << file << i;
    }

    // Where the fault would stop any file (the size limit, a read-only folder) the faulty file is
    // the only one in the way: the files before it lead into a pipe that is read, written in
    // place and never cut by the size limit. Otherwise they are the last save's, as those after.
    void faultOnOneFile() {
        QFETCH(QString, file);
        QFETCH(int, faultIndex);
        const FaultCase &c = faultCases[faultIndex];
        const bool shared = c.fault == Fault::LinkPlantedInASharedFolder;
        if (shared && ::geteuid() != 0)
            QSKIP("planting another user's link needs root");
        const bool isHelp = file == helpName, isExport = exportOrder.contains(file);
        const QStringList names =
            isHelp ? QStringList{helpName} : (isExport ? exportOrder : saveOrder);
        const char *mode = isHelp ? "help" : (isExport ? "export" : "save");
        const qsizetype at = names.indexOf(file);
        const bool limited =
            c.fault == Fault::WriteFailsPartWay || c.fault == Fault::LinkToAFileWriteFails;
        const bool intoSink = limited || c.fault == Fault::ReadOnlyDirectory;
        const bool removed = c.fault == Fault::CurrentFolderRemoved;
        const dev_t device = makedev(1, c.fault == Fault::LinkToAFullDevice ? 7 : 3); // full, null

        Scene s;
        const QString path = s.cwd + "/" + file;
        QVERIFY(::mkfifo(local(s.elsewhere + "/sink").constData(), 0666) == 0);
        for (qsizetype i = 0; i < names.size(); ++i)
            if (intoSink && i < at)
                QVERIFY(QFile::link(s.elsewhere + "/sink", s.cwd + "/" + names[i]));
            else
                writeFile(s.cwd + "/" + names[i], previous(names[i]));

        QString linkTarget; // of the faulty file's name, when it is a link
        switch (c.fault) {
        case Fault::ReadOnlyDirectory:
        case Fault::WriteFailsPartWay:
        case Fault::RenameFails:
        case Fault::BackupRefusedThenLastRename:
        case Fault::CurrentFolderRemoved:
            break;
        case Fault::DirectoryInTheWay:
            QVERIFY(QFile::remove(path));
            QVERIFY(QDir().mkdir(path));
            writeFile(path + "/inside", "kept");
            break;
        case Fault::ReadOnlyFile:
            QVERIFY(::chmod(local(path).constData(), 0444) == 0);
            break;
        case Fault::LinkToAFile:
        case Fault::LinkToAFileWriteFails:
        case Fault::LinkPlantedInASharedFolder:
        case Fault::LinkToALongName:
            linkTarget = s.elsewhere + "/" +
                         (c.fault == Fault::LinkToALongName ? QString(125, u'ж') : "target");
            writeFile(linkTarget, previous(file));
            break;
        case Fault::LinkToADevice:
        case Fault::LinkToAFullDevice:
            // A device of our own, the same kind as the system's.
            linkTarget = s.elsewhere + "/device";
            if (::mknod(local(linkTarget).constData(), S_IFCHR | 0666, device) != 0)
                QSKIP(qPrintable(QString("no device node: ") + std::strerror(errno)));
            break;
        case Fault::LinkToAPipeBeingRead:
        case Fault::LinkToAPipeNobodyReads:
        case Fault::LinkToAPipeClosedByItsReader:
        case Fault::LinkToAPipeNeverRead:
            linkTarget = s.elsewhere + "/pipe";
            QVERIFY(::mkfifo(local(linkTarget).constData(), 0666) == 0);
            break;
        }
        if (!linkTarget.isEmpty()) {
            QVERIFY(::chmod(local(linkTarget).constData(), 0666) == 0);
            QVERIFY(QFile::remove(path));
        }
        QVERIFY(::chmod(local(s.elsewhere + "/sink").constData(), 0666) == 0);
        if (shared) {
            // Root's folder, open to all as /tmp is; root's files and links; and the planted link.
            QVERIFY(::chmod(local(s.cwd).constData(), 01777) == 0);
            QVERIFY(plantLinkAsNobody(linkTarget, path));
        } else {
            if (!linkTarget.isEmpty())
                QVERIFY(QFile::link(linkTarget, path));
            handOver(removed ? QFileInfo(s.cwd).path() : s.cwd); // its own folder to remove
            handOver(s.elsewhere);
        }
        if (c.fault == Fault::ReadOnlyDirectory)
            QVERIFY(::chmod(local(s.cwd).constData(), 0555) == 0);
        const QStringList cwdBefore = entries(s.cwd), elsewhereBefore = entries(s.elsewhere);

        PipeReader sink(s.elsewhere + "/sink");
        std::optional<PipeReader> pipe;
        if (c.fault == Fault::LinkToAPipeBeingRead)
            pipe.emplace(linkTarget);
        std::optional<OnePageReader> onePage;
        if (c.fault == Fault::LinkToAPipeClosedByItsReader ||
            c.fault == Fault::LinkToAPipeNeverRead)
            onePage.emplace(linkTarget, c.fault == Fault::LinkToAPipeNeverRead);
        // The faults the child brings about itself, told in the environment it inherits.
        const bool twoFaults = c.fault == Fault::BackupRefusedThenLastRename;
        qputenv("FILE_FAULTS_FAIL_RENAME", c.fault == Fault::RenameFails ? file.toUtf8()
                                           : twoFaults                   ? names.back().toUtf8()
                                                                         : "");
        qputenv("FILE_FAULTS_FAIL_LINK", twoFaults ? file.toUtf8() : "");
        qputenv("FILE_FAULTS_REMOVE_FOLDER", removed ? "1" : "");
        const QString shown = saveInChild(program, s.cwd, mode, limited, shared);
        const QByteArray piped = pipe ? pipe->finish() : QByteArray();
        onePage.reset();

        const QString expected = c.reason.isEmpty()
                                     ? QString()
                                     : QString("Не удалось сохранить «%1»: %2.")
                                           .arg(removed     ? file
                                                : twoFaults ? s.cwd + "/" + names.back()
                                                            : path,
                                                c.reason);
        QCOMPARE(shown, expected);
        if (removed)
            return;
        const bool saved = expected.isEmpty();

        // The faulty name and what it leads to: the old content, or the new one complete.
        const QFileInfo name(path);
        switch (c.fault) {
        case Fault::ReadOnlyDirectory:
        case Fault::WriteFailsPartWay:
        case Fault::ReadOnlyFile:
        case Fault::RenameFails:
        case Fault::BackupRefusedThenLastRename:
        case Fault::CurrentFolderRemoved:
            QVERIFY(name.isFile() && !name.isSymLink());
            QCOMPARE(readFile(path), previous(file));
            break;
        case Fault::DirectoryInTheWay:
            QVERIFY(name.isDir());
            QCOMPARE(entries(path), QStringList{"inside"});
            QCOMPARE(readFile(path + "/inside"), QByteArray("kept"));
            break;
        case Fault::LinkToAFile:
        case Fault::LinkToAFileWriteFails:
        case Fault::LinkPlantedInASharedFolder:
        case Fault::LinkToALongName:
            QVERIFY(QFileInfo(linkTarget).isFile());
            QCOMPARE(readFile(linkTarget), saved ? written[file] : previous(file));
            break;
        case Fault::LinkToADevice:
        case Fault::LinkToAFullDevice: {
            struct stat node {};
            QVERIFY(::stat(local(linkTarget).constData(), &node) == 0);
            QVERIFY(S_ISCHR(node.st_mode) && node.st_rdev == device);
            break;
        }
        case Fault::LinkToAPipeBeingRead:
            QCOMPARE(piped, written[file]);
            [[fallthrough]];
        case Fault::LinkToAPipeNobodyReads:
        case Fault::LinkToAPipeClosedByItsReader:
        case Fault::LinkToAPipeNeverRead: {
            struct stat node {};
            QVERIFY(::stat(local(linkTarget).constData(), &node) == 0);
            QVERIFY(S_ISFIFO(node.st_mode));
            break;
        }
        }
        if (!linkTarget.isEmpty())
            QCOMPARE(name.symLinkTarget(), linkTarget);

        // The other files are new only where the save got past the fault, or where they form a
        // set of their own written before it (the netlist).
        QByteArray before;
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString other = s.cwd + "/" + names[i];
            const bool reached = saved || names[i] == exportOrder[0];
            if (intoSink && i < at)
                QCOMPARE(QFileInfo(other).symLinkTarget(), s.elsewhere + "/sink");
            else if (i != at)
                QCOMPARE(readFile(other), reached ? written[names[i]] : previous(names[i]));
            before += intoSink && i < at && reached ? written[names[i]] : "";
        }
        QCOMPARE(sink.finish(), before);

        // Nothing left behind, neither beside the name nor beside a link's target.
        QCOMPARE(entries(s.cwd), cwdBefore);
        QCOMPARE(entries(s.elsewhere), elsewhereBefore);
    }
};

int main(int argc, char *argv[]) {
    const QByteArray mode = qgetenv("FILE_FAULTS_CHILD");
    if (!mode.isEmpty()) {
        QApplication application(argc, argv);
        applyClassicLook(application);
        return childSaves(mode);
    }
    QCoreApplication application(argc, argv);
    FileFaultsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_file_faults.moc"
