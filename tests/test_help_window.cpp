// The help window driven as a user drives it, and the file its text is saved to.

#include "core/decimal_text.h"
#include "core/last_results.h"
#include "cp1251.h"
#include "driver_load/driver_load_fields.h"
#include "help/help_file.h"
#include "input/field_table.h"
#include "scratch_files.h"
#include "ui/classic_look.h"
#include "window_fixture.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace {

QByteArray resourceText() {
    QFile file(":/help/help_text.txt");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Catches the link's request to the desktop instead of starting a browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
    Q_INVOKABLE void open(const QUrl &url) { opened << url; }
};

} // namespace

class HelpWindowTest : public ProgramWindowTest {
    Q_OBJECT

    QString startDirectory;

    void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    // Saves into `directory` as the button does: the file goes to the current directory.
    QString saveIn(const QString &directory, QMessageBox::StandardButton answer = QMessageBox::Ok) {
        QDir::setCurrent(directory);
        return errorReportDuring([this] { click(help->Button2); }, answer);
    }

private slots:
    void initTestCase() {
        applyClassicLook(*qApp);
        startDirectory = QDir::currentPath();
        QVERIFY(openWindows());
        QVERIFY(!help->isVisible());
    }

    void cleanup() { QDir::setCurrent(startDirectory); }

    void helpShowsOneWindowInKeyboardOrder() {
        click(form->Button9);
        click(form->Button9);
        QVERIFY(help->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(help.get()));
        int helpWindows = 0;
        for (QWidget *window : QApplication::topLevelWidgets())
            helpWindows += qobject_cast<TForm2 *>(window) != nullptr;
        QCOMPARE(helpWindows, 1);
        QCOMPARE(help->Memo1->toPlainText(), QString::fromUtf8(resourceText()));

        help->Button1->setFocus();
        QTest::keyClick(help->Button1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), help->Button2);
        QTest::keyClick(help->Button2, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), help->Memo1);
        QTest::keyClick(help->Memo1, Qt::Key_Tab); // round again, typing no tab into the text
        QCOMPARE(QApplication::focusWidget(), help->Button1);
        QTest::keyClick(help->Button1, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), help->Memo1);
        QCOMPARE(help->Memo1->toPlainText(), QString::fromUtf8(resourceText()));
    }

    void closingKeepsTextEditsAndScrollPosition() {
        click(form->Button9);
        QPlainTextEdit *memo = help->Memo1;
        memo->setFocus();
        QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(memo, "Rt 0,1");
        const QString edited = memo->toPlainText();
        QVERIFY(edited.endsWith("Rt 0,1"));
        QScrollBar *scroll = memo->verticalScrollBar();
        QVERIFY(scroll->maximum() > 10);
        scroll->setValue(scroll->maximum() / 2);
        const int position = scroll->value();

        click(help->Button1);
        QVERIFY(!help->isVisible());
        click(form->Button9);
        QVERIFY(help->isVisible());
        QCOMPARE(memo->toPlainText(), edited);
        QCOMPARE(scroll->value(), position);

        // The title bar's close button hides it the same way.
        help->close();
        QVERIFY(!help->isVisible());
        QVERIFY(form->isVisible());
        click(form->Button9);
        QVERIFY(help->isVisible());
        QCOMPARE(memo->toPlainText(), edited);
        QCOMPARE(scroll->value(), position);

        memo->setPlainText(QString::fromUtf8(resourceText()));
    }

    void savedFileHoldsTheTextAsShown() {
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        const QString path = directory.filePath(QString::fromUtf8(helpFileName));
        click(form->Button9);
        QPlainTextEdit *memo = help->Memo1;

        // Unchanged: the resource's lines, each ended by CR LF, in Windows-1251, nothing more.
        const std::optional<QByteArray> original =
            toCp1251(QString::fromUtf8(resourceText().replace("\n", "\r\n")));
        QVERIFY2(original, "the help text has a character Windows-1251 lacks");
        QCOMPARE(original->left(2), QByteArray("\xD3\xF1")); // "Ус"
        QVERIFY(original->endsWith(" 500\r\n"));
        QCOMPARE(saveIn(directory.path()), QString());
        QCOMPARE(readFile(path), *original);
        QCOMPARE(shownToolTip(), "Сохранено в " + QFileInfo(directory.path()).canonicalFilePath() +
                                     ": " + QString::fromUtf8(helpFileName));

        // Edited: a new first line with characters the code page lacks, written as "?" after
        // a "Yes" only.
        memo->setFocus();
        QTest::keyClick(memo, Qt::Key_Home, Qt::ControlModifier);
        QTest::sendKeyEvent(QTest::Click, memo, Qt::Key_unknown, QString("Ω≈Ω"), Qt::NoModifier);
        QTest::keyClicks(memo, "ab");
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::sendKeyEvent(QTest::Click, memo, Qt::Key_unknown, QString("Ку"), Qt::NoModifier);
        const QString question = "В кодировке Windows-1251 нет символов: «Ω» (U+03A9), «≈» "
                                 "(U+2248). В файле «Ломитар_help.txt» вместо них будет записан "
                                 "знак «?». Сохранить?";
        QCOMPARE(saveIn(directory.path(), QMessageBox::No), question);
        QCOMPARE(readFile(path), *original);
        QCOMPARE(saveIn(directory.path(), QMessageBox::Yes), question);
        QCOMPARE(readFile(path), "???ab\r\n\xCA\xF3" + *original);

        // Emptied: an empty file replaces the old one.
        QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(memo, Qt::Key_Delete);
        QCOMPARE(memo->toPlainText(), QString());
        QCOMPARE(saveIn(directory.path()), QString());
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(readFile(path), QByteArray());

        memo->setPlainText(QString::fromUtf8(resourceText()));
    }

    // A text pasted with other line ends, and the end of the text without a line break.
    void lineEndsOfTheFile() {
        QCOMPARE(helpFileBytes("a\r\nb\rc\n\nd"), std::string("a\r\nb\r\nc\r\n\r\nd\r\n"));
        QCOMPARE(helpFileBytes("\n"), std::string("\r\n"));
        QCOMPARE(helpFileBytes("Rвых € ≈"), std::string("R\xE2\xFB\xF5 \x88 ?\r\n"));
        // Every byte of the code page that stands for a character, read by the C library's
        // decoder and written again.
        QByteArray every;
        for (int byte = 0x80; byte <= 0xFF; ++byte)
            if (byte != 0x98)
                every += char(byte);
        QCOMPARE(helpFileBytes(fromCp1251(every).toStdString()), every.toStdString() + "\r\n");
    }

    void tableOfPermittedValuesMatchesTheFieldChecks() {
        const QString text = QString::fromUtf8(resourceText());
        const QStringList lines = text.split('\n');
        for (const QString &line : lines)
            QVERIFY2(line.size() <= 110, qPrintable(line));

        const qsizetype heading = lines.indexOf("Диапазон допустимых значений входных величин:");
        QVERIFY(heading > 0);
        QCOMPARE(lines.value(heading + 1), QString());
        QCOMPARE(lines.value(heading + 2).split(' ', Qt::SkipEmptyParts),
                 QStringList({"min", "max"}));

        using L = LastResults;
        const std::map<QString, std::vector<double L::*>> quantities{
            {"R1", {&L::r1}},         {"R2", {&L::r2}},   {"Roc", {&L::roc}},
            {"Rн", {&L::rload}},      {"Rт", {&L::rt}},   {"Rвых", {&L::rout, &L::speakerRout}},
            {"Ку", {&L::targetGain}}, {"Fs", {&L::fs}},   {"Re", {&L::re}},
            {"Qms", {&L::qms}},       {"Qes", {&L::qes}}, {"Vas", {&L::vas}},
            {"Vb", {&L::vb}},
        };
        QStringList order;
        std::set<int> covered;
        for (qsizetype i = heading + 3; i < lines.size(); ++i) {
            const QStringList cells = lines[i].split(' ', Qt::SkipEmptyParts);
            if (cells.isEmpty())
                continue;
            QVERIFY2(cells.size() == 3 || cells.size() == 4, qPrintable(lines[i]));
            const QString name = cells.first();
            const QString unit = cells.size() == 4 ? cells[1] : QString();
            const QString minText = cells[cells.size() - 2];
            const QString maxText = cells.last();
            order << name;
            QVERIFY2(quantities.count(name), qPrintable(name));
            const auto min = parseDecimalComma(minText.toStdString());
            const auto max = parseDecimalComma(maxText.toStdString());
            QVERIFY(min && max);

            int fields = 0;
            for (const FieldSpec &field : fieldTable()) {
                const auto &destinations = quantities.at(name);
                if (std::find(destinations.begin(), destinations.end(), field.destination) ==
                    destinations.end())
                    continue;
                ++fields;
                covered.insert(field.edit);
                const QString where = QString("%1, Edit%2").arg(name).arg(field.edit);
                QVERIFY2(field.min == *min && field.max == *max, qPrintable(where));
                QVERIFY2(minText == field.minText && maxText == field.maxText, qPrintable(where));
                QVERIFY2(field.kiloOhm == (unit == "кОм"), qPrintable(where));
            }
            QVERIFY2(fields > 0, qPrintable(name));
        }
        QCOMPARE(order, QStringList({"R1", "R2", "Roc", "Rн", "Rт", "Rвых", "Ку", "Fs", "Re", "Qms",
                                     "Qes", "Vas", "Vb"}));
        QCOMPARE(covered.size(), fieldTable().size());
    }

    // The ranges of the window «Динамик и усилитель», a row per field in the order of its fields.
    void driverWindowRangesMatchItsFields() {
        const QStringList lines = QString::fromUtf8(resourceText()).split('\n');
        const qsizetype first =
            lines.indexOf("Диапазоны входных величин окна «Динамик и усилитель»:") + 3;
        const auto fields = driverLoadFields();
        QVERIFY(first > 3 && lines.value(first + qsizetype(fields.size())).isEmpty());
        for (std::size_t i = 0; i < fields.size(); ++i)
            QCOMPARE(lines[first + qsizetype(i)].split(" ", Qt::SkipEmptyParts).last(2),
                     QStringList({fields[i].minText, fields[i].maxText}));
    }

    void linkOpensTheHomePage() {
        click(form->Button9);
        const QUrl page = homePage();
        QVERIFY(page.scheme() == "https" || page.scheme() == "http");
        QVERIFY(!help->Label1->text().contains("://"));
        QVERIFY(!help->Label1->text().endsWith('/'));
        QCOMPARE(page.toString(), page.scheme() + "://" + help->Label1->text() + "/");

        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(page.scheme(), &catcher, "open");
        click(help->Label1);
        QDesktopServices::unsetUrlHandler(page.scheme());
        QCOMPARE(catcher.opened, QList<QUrl>{page});
        QVERIFY(help->isVisible());
    }
};

QTEST_MAIN(HelpWindowTest)

#include "test_help_window.moc"
