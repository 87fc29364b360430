// "Сохранить" pressed in a temporary current directory after real calculations: the four files,
// byte for byte where they are fixed, and what a failed save says and leaves behind (each fault
// on each file: test_file_faults).

#include "core/file_error.h"
#include "expected_report.h"
#include "report/output_files.h"
#include "scratch_files.h"
#include "speaker/widgets/response_chart.h"
#include "ui/classic_look.h"
#include "ui/timage.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <cerrno>
#include <memory>

namespace {

const QString chartBmp = "АЧХ_колонки.bmp";
const QString chartWmf = "АЧХ_колонки.wmf";
const QString schematic = "Схема.bmp";
const QString report = "Комбинированная_ООС.txt";

// The previous save's files, each with its own content.
const QMap<QString, QByteArray> previousFiles{{chartBmp, "previous chart bitmap"},
                                              {chartWmf, "previous metafile"},
                                              {schematic, "previous schematic"},
                                              {report, "previous report\r\n"}};

// A BMP read by its headers alone: 14-byte file header, 40-byte information header,
// uncompressed 24-bit rows, bottom-up, each padded to four bytes.
struct Bmp {
    QByteArray magic;
    quint32 fileSize = 0, pixelOffset = 0, infoSize = 0, compression = 0;
    qint32 width = 0, height = 0;
    quint16 planes = 0, bitCount = 0;
    QImage pixels; // RGB888, top row first

    explicit Bmp(const QByteArray &file) {
        if (file.size() < 54)
            return;
        const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(file.constData() + at); };
        const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(file.constData() + at); };
        magic = file.left(2);
        fileSize = u32(2);
        pixelOffset = u32(10);
        infoSize = u32(14);
        width = static_cast<qint32>(u32(18));
        height = static_cast<qint32>(u32(22));
        planes = u16(26);
        bitCount = u16(28);
        compression = u32(30);
        const int rowBytes = (width * 3 + 3) / 4 * 4;
        if (bitCount != 24 || height <= 0 ||
            file.size() < qsizetype(pixelOffset) + rowBytes * height)
            return;
        pixels = QImage(width, height, QImage::Format_RGB888);
        for (int y = 0; y < height; ++y) {
            const char *row = file.constData() + pixelOffset + (height - 1 - y) * rowBytes;
            for (int x = 0; x < width; ++x) {
                const auto *bgr = reinterpret_cast<const uchar *>(row + 3 * x);
                pixels.setPixel(x, y, qRgb(bgr[2], bgr[1], bgr[0]));
            }
        }
    }
};

// Pixels of a pure colour of the curves, anti-aliased edges aside, above the legend (whose
// swatches keep the curves' colours when the curves are gone).
int countPixels(const QImage &image, bool red) {
    int count = 0;
    for (int y = 0; y < image.height() * 9 / 10; ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int strong = red ? c.red() : c.blue();
            if (strong > 200 && c.green() < 80 && (red ? c.blue() : c.red()) < 80)
                ++count;
        }
    return count;
}

// The windows as the program builds them, run in a temporary current directory named like markup,
// which the word after a save and the error report show as it is.
struct Session {
    QString home = QDir::currentPath();
    QTemporaryDir dir{QDir::tempPath() + "/<h1>BIG &amp; XXXXXX"};
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TForm2> help;

    Session() {
        QDir::setCurrent(dir.path());
        form = std::make_unique<TForm1>();
        help = std::make_unique<TForm2>();
        form->setHelpWindow(help.get());
        form->show();
        static_cast<void>(QTest::qWaitForWindowExposed(form.get())); // offscreen: at once
    }
    ~Session() {
        help.reset();
        form.reset();
        QDir::setCurrent(home);
    }

    QString path(const QString &name) const { return QDir::current().filePath(name); }
    QList<QByteArray> savedFiles() const {
        return {readFile(path(chartBmp)), readFile(path(chartWmf)), readFile(path(report))};
    }

    void type(int field, const QString &text) { typeInto(findEdit(form.get(), field), text); }
    void calculate(int page, QPushButton *button) {
        form->PageControl1->setCurrentIndex(page);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QString save() {
        return errorReportDuring([this] { QTest::mouseClick(form->Button10, Qt::LeftButton); });
    }

    // The word after a save as the tooltip shows it and a screen reader hears it; empty if none.
    QString savedWord() const {
        const auto *notice =
            QAccessible::queryAccessibleInterface(form->findChild<QWidget *>("Announcement"));
        const bool heard =
            notice && notice->role() == QAccessible::Notification && !notice->state().invisible;
        return heard && shownToolTip() == notice->text(QAccessible::Name) ? shownToolTip() : "";
    }
    QString savedWordFor(bool withSchematic) const {
        return "Сохранено в " + QFileInfo(dir.path()).canonicalFilePath() + ": " + report + ", " +
               (withSchematic ? schematic + ", " : "") + chartBmp + ", " + chartWmf;
    }
};

// The schematic file: 160 × 203, 24 bits, uncompressed, 40-byte header, 97 494 bytes, and
// pixel for pixel the picture on the page.
void verifySchematicFile(const QByteArray &file, const QImage &picture) {
    const Bmp bmp(file);
    QCOMPARE(file.size(), 97494);
    QCOMPARE(bmp.magic, QByteArray("BM"));
    QCOMPARE(bmp.fileSize, 97494u);
    QCOMPARE(bmp.pixelOffset, 54u);
    QCOMPARE(bmp.infoSize, 40u);
    QCOMPARE(bmp.width, 160);
    QCOMPARE(bmp.height, 203);
    QCOMPARE(bmp.planes, quint16(1));
    QCOMPARE(bmp.bitCount, quint16(24));
    QCOMPARE(bmp.compression, 0u);
    QCOMPARE(bmp.pixels, picture.convertToFormat(QImage::Format_RGB888));
}

// The chart bitmap at the chart's size on screen.
QImage chartPixels(const QByteArray &file, QWidget *chart) {
    const Bmp bmp(file);
    if (bmp.magic != "BM" || bmp.bitCount != 24 || bmp.compression != 0 ||
        bmp.width != chart->width() || bmp.height != chart->height() ||
        file.size() != 54 + (chart->width() * 3 + 3) / 4 * 4 * chart->height())
        return {};
    return bmp.pixels;
}

const AmplifierFigures nonInvertingDefaults{"20000.0", "10000.0", "1000.0", "0.20",
                                            " 4.0",    "0.60",    "20.0"};
const AmplifierFigures invertingDefaults{"10000.0", "1000.0", "1000.0", "0.20",
                                         " 4.0",    "2.20",   " 6.5"};
const SpeakerFigures speakerDefaults{"19.0", " 3.4",  "2.63",  "0.18", "90.0",  "50.0",
                                     "6.00", "0.282", "103.9", "6.00", "0.700", "32.1"};

} // namespace

class SaveResultsTest : public QObject {
    Q_OBJECT

private slots:
    // Only an amplifier calculation: its section, its schematic, and the curves of start-up.
    void afterAnAmplifierCalculation() {
        Session s;
        s.calculate(0, findButton(s.form.get(), 6));
        QCOMPARE(s.save(), QString());
        QCOMPARE(s.savedWord(), s.savedWordFor(true));

        QCOMPARE(readFile(s.path(report)),
                 expectedReportFile(expectedAmplifierSection(nonInvertingDefaults)));
        verifySchematicFile(readFile(s.path(schematic)), findImage(s.form.get(), 1)->picture());
        const QImage chart = chartPixels(readFile(s.path(chartBmp)), s.form->TabSheet3->chart());
        QVERIFY(!chart.isNull());
        QVERIFY(countPixels(chart, true) > 100);
        QVERIFY(countPixels(chart, false) > 100);
        QVERIFY(QFileInfo(s.path(chartWmf)).isFile());
        QCOMPARE(entries(s.dir.path()), QStringList({chartBmp, chartWmf, report, schematic}));
        // The same chart again once its page has been on screen: the same bytes.
        const QList<QByteArray> first = s.savedFiles();
        s.form->PageControl1->setCurrentIndex(2);
        QApplication::processEvents();
        QCOMPARE(s.save(), QString());
        QCOMPARE(s.savedFiles(), first);
    }

    // Only the loudspeaker: its section, no schematic; the chart as the window shows it, and the
    // same chart once a key in a loudspeaker field has emptied the window's: the files describe
    // the last valid run, as the report does.
    void afterTheLoudspeakerCalculation() {
        Session s;
        writeFile(s.path(schematic), previousFiles[schematic]);
        s.calculate(2, findButton(s.form.get(), 7));
        QCOMPARE(s.save(), QString());
        QCOMPARE(s.savedWord(), s.savedWordFor(false));

        const QByteArray expected = expectedReportFile(expectedSpeakerSection(speakerDefaults));
        QCOMPARE(readFile(s.path(report)), expected);
        QCOMPARE(readFile(s.path(schematic)), previousFiles[schematic]);

        const QImage withCurves =
            chartPixels(readFile(s.path(chartBmp)), s.form->TabSheet3->chart());
        QVERIFY(!withCurves.isNull());
        QVERIFY(countPixels(withCurves, true) > 100);
        QVERIFY(countPixels(withCurves, false) > 100);
        const QRect onWindow(s.form->TabSheet3->chart()->mapTo(s.form.get(), QPoint()),
                             s.form->TabSheet3->chart()->size());
        QCOMPARE(withCurves,
                 s.form->grab(onWindow).toImage().convertToFormat(QImage::Format_RGB888));

        // After a key-down, events handled as in the program: the run's files, byte for byte,
        // also where a peak above 0 dB gives level steps of 5 dB (the emptied chart had 2).
        for (const QStringList &design :
             {QStringList(), {"267", "3", "1,126", "0,3", "3,5", "19", "92,7"}}) {
            for (int i = 0; i < design.size(); ++i)
                s.type(31 + i, design[i]);
            s.calculate(2, findButton(s.form.get(), 7));
            QApplication::processEvents();
            QCOMPARE(s.save(), QString());
            const QList<QByteArray> run = s.savedFiles();
            QTest::keyClick(findEdit(s.form.get(), 33), Qt::Key_End);
            QApplication::processEvents();
            QCOMPARE(s.save(), QString());
            QCOMPARE(s.savedFiles(), run);
        }
    }

    // Variant 2 where Newton's method stops on a zero determinant: the pair found on the line of
    // Rвых, saved; or, where none is positive, "Решения нет" with R1 = R2 = 0 on screen, the
    // reachable Ку in the tooltip, and nothing saved.
    void designWhereNewtonStops() {
        Session s;
        const struct {
            const char *fields[5];
            QString r1, r2, message, toolTip, saved, reportR1, reportR2, reportGain;
        } cases[] = {
            {{"8,724", "1", "3,2", "0,1", "0,38"},
             "5,96",
             "2,13",
             "",
             "",
             "",
             "5960.0",
             "2128.4",
             " 8.7"},
            {{"20", "1", "18,998", "0,5", "24,345"},
             "0",
             "0",
             "Решения нет",
             "При Roc = 1 кОм, Rн = 18,998 Ом, Rт = 0,5 Ом и Rвых = 24,345 Ом достижимо любое Ку "
             "больше 21,35",
             "Не сохранено: Неинвертирующий, Вариант 2: «Решения нет»",
             "5960.0", // the file of the run before, untouched
             "2128.4",
             " 8.7"},
        };
        for (const auto &c : cases) {
            for (int i = 0; i < 5; ++i)
                s.type(21 + i, c.fields[i]);
            s.calculate(0, findButton(s.form.get(), 5));
            QCOMPARE(findLabel(s.form.get(), 44)->text(), c.r1);
            QCOMPARE(findLabel(s.form.get(), 45)->text(), c.r2);
            const QLabel *message = findLabel(s.form.get(), 81);
            QCOMPARE(message->isVisible() ? message->text() : "", c.message);
            QCOMPARE(message->toolTip(), c.toolTip);
            QVERIFY(s.form->Button10->isEnabled());
            QCOMPARE(s.save(), c.saved);
            const QList<QByteArray> lines = readFile(s.path(report)).split('\n');
            QCOMPARE(lines.value(8), toCp1251("       R1    =  " + c.reportR1 + "  Ом\r").value());
            QCOMPARE(lines.value(9), toCp1251("       R2    =  " + c.reportR2 + "  Ом\r").value());
            QCOMPARE(lines.value(14), toCp1251("       Ку    =  " + c.reportGain + "\r").value());
        }
    }

    // A run that ended without a result leaves nothing to describe: the save writes nothing and
    // names the group and why, whatever the other section holds.
    void refusedRunsSaveNothing() {
        const struct {
            int page, button;
            std::vector<std::pair<int, const char *>> fields;
            QString said;
        } cases[] = {
            {2,
             7,
             {{31, "2"}},
             "Не сохранено: Пример применения: значение поля «Резонансная частота, Гц, Fs» «2» "
             "вне диапазона 10 … 500"},
            {0, 4, {{19, ""}}, "Не сохранено: Неинвертирующий, Вариант 1: поле «Rт (Ом)» пусто"},
            {0,
             4,
             {{19, ",2"}},
             "Не сохранено: Неинвертирующий, Вариант 1: в поле «Rт (Ом)» запятая не на месте: "
             "«,2»"},
            {1, 1, {{5, "200"}}, "Не сохранено: Инвертирующий, Вариант 1: «Решения нет!»"},
            {0,
             5,
             {{21, "3"}, {25, "2,2"}},
             "Не сохранено: Неинвертирующий, Вариант 2: «Увеличьте R!»"},
        };
        for (const auto &c : cases) {
            Session s;
            s.calculate(0, findButton(s.form.get(), 6));
            s.calculate(2, findButton(s.form.get(), 7));
            for (const auto &[name, bytes] : previousFiles.asKeyValueRange())
                writeFile(s.path(name), bytes);
            for (const auto &[field, text] : c.fields)
                s.type(field, text);
            s.calculate(c.page, findButton(s.form.get(), c.button));
            QVERIFY(s.form->Button10->isEnabled());
            QCOMPARE(s.save(), c.said);
            for (const auto &[name, bytes] : previousFiles.asKeyValueRange())
                QCOMPARE(readFile(s.path(name)), bytes);
        }
    }

    // Non-inverting, loudspeaker, then inverting: 63 lines, and only the last amplifier counts.
    void bothSectionsAndTheLastAmplifierPage() {
        Session s;
        s.calculate(0, findButton(s.form.get(), 6));
        s.form->PageControl1->setCurrentIndex(2);
        s.type(31, "30");
        s.type(32, "6");
        s.type(33, "5");
        s.type(34, "0.6"); // typed with a point, shown with a comma
        s.type(35, "50");
        s.type(36, "20");
        s.type(37, "1");
        s.calculate(2, findButton(s.form.get(), 7));
        s.calculate(1, findButton(s.form.get(), 3));
        QCOMPARE(s.save(), QString());

        const SpeakerFigures speaker{"30.0",  " 6.0",  "5.00", "0.60", "50.0",  "20.0",
                                     "-1.96", "1.002", "44.1", "1.00", "1.149", "41.9"};
        // No amplifier gives the negative Rвых: a line under it says why.
        QStringList lines = bothSections(invertingDefaults, speaker);
        lines.insert(15 + 9 + 23,
                     "    Такое Rвых не построить: Уже при Rвых = 0 Qtc = 1,002 >= 0,7: "
                     "положительное Rвых только повышает добротность. Qtc = 0,7 при Rвых = 0 даёт "
                     "ящик Vb = 70,7 л.");
        QCOMPARE(readFile(s.path(report)), expectedReportFile(lines));
        QVERIFY(findImage(s.form.get(), 1)->picture() != findImage(s.form.get(), 2)->picture());
        verifySchematicFile(readFile(s.path(schematic)), findImage(s.form.get(), 2)->picture());
    }

    void reportNameTakenByADirectory() {
        Session s;
        QVERIFY(QDir(s.dir.path()).mkdir(report));
        s.calculate(1, findButton(s.form.get(), 3));
        QCOMPARE(s.save(),
                 "Не удалось сохранить «" + s.path(report) + "»: под этим именем уже есть папка.");
        QCOMPARE(s.savedWord(), QString());
        // None of the files was written; nothing replaced the directory.
        QVERIFY(QFileInfo(s.path(report)).isDir());
        QCOMPARE(entries(s.dir.path()), QStringList({report}));
    }

    // Where the current directory is gone, the word names the reason instead of a folder.
    void wordAfterTheCurrentDirectoryIsRemoved() {
        Session s;
        QVERIFY(QDir(s.dir.path()).mkdir("gone") && QDir::setCurrent(s.path("gone")));
        QVERIFY(QDir(s.dir.path()).rmdir("gone"));
        QCOMPARE(QString::fromStdString(savedFilesNotice(QDir::currentPath().toStdString(), false)),
                 "Сохранено в текущую папку (текущая папка удалена): " + report + ", " + chartBmp +
                     ", " + chartWmf);
    }

    void errorNumbersOfTheReport() {
        const auto message = [](int error) {
            return QString::fromStdString(fileErrorReason(error));
        };
        QCOMPARE(message(ENOENT), "папка не существует");
        for (int error : {EMFILE, ENFILE})
            QCOMPARE(message(error), "открыто слишком много файлов");
        for (int error : {EACCES, EPERM})
            QCOMPARE(message(error), "нет прав на запись");
        QCOMPARE(message(EROFS), "файловая система доступна только для чтения");
        QCOMPARE(message(EISDIR), "под этим именем уже есть папка");
        QCOMPARE(message(ENOSPC), "на диске нет места");
        // Other errors show their own number.
        QCOMPARE(message(EIO), "ошибка ввода-вывода (код 5)");
        QCOMPARE(message(ENXIO), "нет такого устройства");
        QCOMPARE(message(EFBIG), "превышен предельный размер файла");
        QCOMPARE(message(ENETUNREACH), "ошибка ввода-вывода (код 101)");
    }
};

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    applyClassicLook(application);
    SaveResultsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_save_results.moc"
