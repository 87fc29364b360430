// Files replaced whole: the old file stays until the new one is complete, and what is not a
// regular file is written into, never replaced.

#include "core/file_set.h"
#include "core/replacing_file.h"
#include "scratch_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

std::string local(const QString &path) { return QFile::encodeName(path).toStdString(); }

} // namespace

class ReplacingFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString path(const char *name) const { return dir.filePath(name); }
    QStringList entries() const { return ::entries(dir.path()); }

private slots:
    void init() { QVERIFY(dir.isValid()); }
    void cleanup() {
        for (const QString &name : entries())
            QVERIFY(QFile::remove(dir.filePath(name)));
    }

    void oldFileStaysUntilTheNewOneIsComplete() {
        const QString file = path("report.txt");
        {
            QFile old(file);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        QVERIFY(::chmod(local(file).c_str(), 0640) == 0);
        {
            ReplacingFile replacing(local(file));
            QCOMPARE(replacing.create(), 0);
            QCOMPARE(replacing.write("partial"), 0);
            QCOMPARE(readFile(file), QByteArray("old"));
        } // abandoned: the temporary goes, the old file stays
        QCOMPARE(readFile(file), QByteArray("old"));
        QCOMPARE(entries(), QStringList{"report.txt"});

        QVERIFY(!writeFileSet({{local(file), "new"}}));
        QCOMPARE(readFile(file), QByteArray("new"));
        struct stat replaced {};
        QVERIFY(::stat(local(file).c_str(), &replaced) == 0);
        QCOMPARE(replaced.st_mode & 07777, 0640u); // the old file's permissions
        QCOMPARE(entries(), QStringList{"report.txt"});
    }

    void linkToARegularFileKeepsTheLink() {
        QVERIFY(QFile(path("real.txt")).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link("real.txt", path("link.txt")));
        QVERIFY(!writeFileSet({{local(path("link.txt")), "new"}}));
        QVERIFY(QFileInfo(path("link.txt")).isSymLink());
        QCOMPARE(readFile(path("real.txt")), QByteArray("new"));
    }

    // A device of our own (the full device, major 1 minor 7) behind a link: written into, so
    // the write fails with "no space", and the node is still the device afterwards.
    void deviceBehindALinkIsWrittenInPlace() {
        const QString device = path("full");
        if (::mknod(local(device).c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
            QSKIP("no permission to make a device node");
        QVERIFY(QFile::link("full", path("report.txt")));
        QCOMPARE(writeFileSet({{local(path("report.txt")), "line\r\n"}})->error, ENOSPC);
        struct stat node {};
        QVERIFY(::stat(local(device).c_str(), &node) == 0);
        QVERIFY(S_ISCHR(node.st_mode));
        QCOMPARE(node.st_rdev, makedev(1, 7));
        QVERIFY(QFileInfo(path("report.txt")).isSymLink());
    }

    // Nobody reads the pipe: the open fails at once instead of hanging the window.
    void pipeWithoutAReaderFailsAtOnce() {
        QVERIFY(::mkfifo(local(path("pipe")).c_str(), 0666) == 0);
        QCOMPARE(writeFileSet({{local(path("pipe")), "line\r\n"}})->error, ReplacingFile::noReader);
        QVERIFY(QFileInfo(path("pipe")).exists() && !QFileInfo(path("pipe")).isFile());
    }
};

QTEST_GUILESS_MAIN(ReplacingFileTest)
#include "test_replacing_file.moc"
