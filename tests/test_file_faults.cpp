// The files the program writes ("Сохранить", the help text, the netlist and the two FRD files),
// each meeting each fault of the file system: the text of the error report, and what is left on
// disk afterwards. Saving runs in a child (this program again, driving the real windows) as an
// ordinary user, so that permission bits count, and under a file size limit where a write is to
// fail part-way.

#include "save_child.h"

// In the child, a rename onto the name FILE_FAULTS_FAIL_RENAME fails, as a disk may fail it, and
// so does a second name (a backup) for the file FILE_FAULTS_FAIL_LINK.
static bool namedBy(const char *variable, const char *path) {
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
