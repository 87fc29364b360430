// The loudspeaker page driven through the real window: start-up calculation, Enter, the two
// worked examples, field faults, key-downs and the chart that follows the data.

#include "closed_box_model.h"
#include "speaker/widgets/response_chart.h"
#include "ui/classic_look.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QValueAxis>
#include <memory>

namespace {

bool isYellow(QLineEdit *edit) { return edit->palette().color(QPalette::Base) == clYellow(); }

} // namespace

class SpeakerPageTest : public ProgramWindowTest {
    Q_OBJECT

    QLineSeries *series(int i) { return form->TabSheet3->chart()->series(i); }

    void compute() { QTest::mouseClick(button(7), Qt::LeftButton); }

    // Label76, Label77, Label72, Label73, Label107: Qtc, F3, Qtc', F3', required Rвых.
    QStringList results() {
        return {label(76)->text(), label(77)->text(), label(72)->text(), label(73)->text(),
                label(107)->text()};
    }

    // Both curves complete, and the axes fitted to them: frequencies from the first point to the
    // last, levels from −16 dB to the highest point.
    void verifyCurvesShown() {
        QCOMPARE(series(0)->count(), 100);
        QCOMPARE(series(1)->count(), 100);
        const auto *frequency = qobject_cast<QLogValueAxis *>(
            form->TabSheet3->chart()->chart()->axes(Qt::Horizontal).value(0));
        const auto *level = qobject_cast<QValueAxis *>(
            form->TabSheet3->chart()->chart()->axes(Qt::Vertical).value(0));
        QVERIFY(frequency && level);
        QCOMPARE(frequency->min(), 10.0);
        QCOMPARE(frequency->max(), series(0)->at(99).x());
        double top = -1e9;
        for (int i = 0; i < 2; ++i)
            for (const QPointF &p : series(i)->points())
                top = std::max(top, p.y());
        QCOMPARE(level->min(), -16.0);
        QCOMPARE(level->max(), top);
    }

    // The readout at f of the last run, from the textbook high-pass, in the window's format.
    QString expectedReadout(double f) {
        const LastResults &l = form->lastResults();
        const Textbook box = textbook({l.fs, l.re, l.qms, l.qes, l.vas}, l.vb, l.speakerRout);
        const auto shown = [](double value, double scale) {
            const double rounded = std::round(value * scale) / scale;
            return QString::number(rounded, 'g', 15).replace('.', ',').replace('-', "−");
        };
        return QString("f = %1 Гц; Rвых = 0: %2 дБ; Rвых = %3 Ом: %4 дБ\nПравая кнопка мыши или "
                       "Shift+F10: экспорт АЧХ в FRD, копировать таблицу АЧХ, экспорт импеданса "
                       "в ZMA, динамик и усилитель, загрузить и сохранить динамик")
            .arg(shown(f, 10), shown(highPassDb(f, box.fc, box.qtc), 100),
                 shown(l.speakerRout, 1e6), shown(highPassDb(f, box.fc, box.qtcNew), 100));
    }

private slots:
    void initTestCase() { applyClassicLook(*qApp); }

    void init() { QVERIFY(openWindows()); }
    void cleanup() { closeWindows(); }

    void startUpFillsThePage() {
        QCOMPARE(results(), QStringList({"0,282", "103,89", "0,7", "32,11", "5,996"}));
        verifyCurvesShown();
        QCOMPARE(series(0)->name(), QString("АЧХ при Rвых = 0"));
        QCOMPARE(series(1)->name(), QString("АЧХ при Rвых = 6  Ом"));
        QVERIFY(!form->Button10->isEnabled());
        const LastResults &last = form->lastResults();
        QCOMPARE(last.speakerDone, 0);
        QCOMPARE(last.schemeKind, SchemeKind::None);
        QCOMPARE(last.routRequired, 5.996);
        QCOMPARE(last.speakerRout, 6.0);
    }

    void enterComputesOnPageThreeOnly() {
        type(16, "20");
        QTest::keyClick(edit(16), Qt::Key_Return);
        QVERIFY(!form->Button10->isEnabled());
        QCOMPARE(form->lastResults().speakerDone, 0);

        showPage(2);
        type(37, "6.50"); // the point is typed as a comma
        QCOMPARE(edit(37)->text(), QString("6,50"));
        QCOMPARE(results(), QStringList({"0", "0", "0", "0", "0"}));
        QCOMPARE(series(0)->count() + series(1)->count(), 0);
        QTest::keyClick(edit(37), Qt::Key_Return);
        // Qes' = 0,18 · 9,9 / 3,4; Qtc' = √2,8 / (1/Qes' + 1/2,63) = 0,7313, corner 30,777 Hz.
        QCOMPARE(results(), QStringList({"0,282", "103,89", "0,731", "30,78", "5,996"}));
        verifyCurvesShown();
        QCOMPARE(series(1)->name(), QString("АЧХ при Rвых = 6,5  Ом"));
        QVERIFY(form->Button10->isEnabled());
        QCOMPARE(form->lastResults().speakerDone, 1);
    }

    void secondExample() {
        showPage(2);
        const char *texts[] = {"30", "6", "5", "0,6", "50", "20", "1"};
        for (int i = 0; i < 7; ++i)
            type(31 + i, texts[i]);
        compute();
        QCOMPARE(results(), QStringList({"1,002", "44,08", "1,149", "41,85", "-1,956"}));
        verifyCurvesShown();
        QCOMPARE(series(1)->name(), QString("АЧХ при Rвых = 1  Ом"));
        const LastResults &last = form->lastResults();
        QCOMPARE(last.fs, 30.0);
        QCOMPARE(last.qes, 0.6);
        QCOMPARE(last.vb, 20.0);
        QCOMPARE(last.routRequired, -1.956);
        QVERIFY(std::fabs(last.qtc - 1.002) < 0.0005);
        QVERIFY(std::fabs(last.f3New - 41.85) < 0.005);
    }

    // A range fault clamps the field and stops the run; unlike the amplifier pages it leaves
    // "Сохранить" enabled. The clamped text then computes.
    void rangeFaultStopsTheRun() {
        showPage(2);
        type(31, "9,99");
        compute();
        QCOMPARE(edit(31)->text(), QString("10"));
        QVERIFY(isYellow(edit(31)));
        QVERIFY(form->Label55->isVisible());
        QCOMPARE(QApplication::focusWidget(), edit(31));
        QCOMPARE(results(), QStringList({"0", "0", "0", "0", "0"}));
        QCOMPARE(series(0)->count() + series(1)->count(), 0);
        QVERIFY(form->Button10->isEnabled());
        QCOMPARE(form->lastResults().fs, 9.99);
        QCOMPARE(form->lastResults().speakerDone, 1);

        compute();
        QVERIFY(!isYellow(edit(31)));
        QVERIFY(form->Label55->isHidden());
        QCOMPARE(form->lastResults().fs, 10.0);
        verifyCurvesShown();

        type(37, "300");
        compute();
        QCOMPARE(edit(37)->text(), QString("200"));
        QVERIFY(isYellow(edit(37)));
        QVERIFY(form->Button10->isEnabled());
    }

    void keyDownEmptiesTheCurves() {
        showPage(2);
        compute();
        verifyCurvesShown();
        const double qtc = form->lastResults().qtc;
        QTest::keyClick(edit(33), Qt::Key_Right);
        QCOMPARE(results(), QStringList({"0", "0", "0", "0", "0"}));
        QCOMPARE(series(0)->count(), 0);
        QCOMPARE(series(1)->count(), 0);
        QCOMPARE(series(1)->name(), QString("АЧХ при Rвых = 6  Ом"));
        QCOMPARE(form->lastResults().qtc, qtc);
        QVERIFY(form->Button10->isEnabled());
    }

    // The start-up results as copied from their menu; after a key-down there are none to copy.
    void copyResults() {
        showPage(2);
        chooseItem(rightClickMenu(findLabel(form.get(), 76)), "Копировать результаты");
        QCOMPARE(QApplication::clipboard()->text(),
                 QString("Fs = 19 Гц\nRe = 3,4 Ом\nQms = 2,63\nQes = 0,18\nVas = 90 л\nVb = 50 л\n"
                         "Rвых усилителя = 6 Ом\nQtc = 0,282\nF3 = 103,89 Гц\nQtc' = 0,7\n"
                         "F3' = 32,11 Гц\nТребуемое Rвых = 5,996 Ом\n"));
        QTest::keyClick(edit(36), Qt::Key_End);
        QMenu *menu = rightClickMenu(findLabel(form.get(), 107));
        QVERIFY(!menuItem(menu, "Копировать результаты")->isEnabled());
        QVERIFY(!menuItem(menu, "Нет результата: нажмите «Вычислить»")->isEnabled());
    }

    void secondRunReplacesThePoints() {
        showPage(2);
        compute();
        compute();
        verifyCurvesShown();
        type(36, "20"); // a smaller box: higher Q, so the curves and the level axis change
        compute();
        verifyCurvesShown();
        // s = √5,5: Qtc = 0,3951 (corner 95,80 Hz), Qtc' = 0,9814 (35,33 Hz).
        QCOMPARE(results().mid(0, 4), QStringList({"0,395", "95,8", "0,981", "35,33"}));
    }

    // Vas/Vb = 3 and Qms 0,35: s/0,7 = 1/Qms, so no finite Rвых gives Qtc = 0,7. The fault is
    // reported; the page shows every other result and a dash for the required Rвых.
    void requiredResistanceWithoutValue() {
        showPage(2);
        type(33, "0,35");
        type(35, "150");
        const QString report = errorReportDuring([this] { compute(); });
        QCOMPARE(report, QString("Floating point division by zero."));
        QCOMPARE(label(107)->text(), QString("—"));
        QCOMPARE(form->lastResults().routRequired, 0.0);
        QVERIFY(label(72)->text() != "0" && label(73)->text() != "0");
        verifyCurvesShown();
        QCOMPARE(series(1)->name(), QString("АЧХ при Rвых = 6  Ом"));

        // Leaving the singular point brings the figure back.
        type(33, "0,36");
        compute();
        QVERIFY(label(107)->text() != "—" && label(107)->text() != "0");
    }

    // The pointer near 102,4 Hz: its frequency and both levels there from the textbook high-pass,
    // in the window's number format, also when the pointer rests. Nothing outside the plot, nor
    // once a key-down has emptied the curves.
    void chartReadout() {
        showPage(2);
        ResponseChart *view = form->TabSheet3->chart();
        QChart *chart = view->chart();
        const QPoint pixel = view->mapFromScene(
            chart->mapToScene(chart->mapToPosition(QPointF(102.4, -8), series(0))));
        const double f = chart->mapToValue(chart->mapFromScene(view->mapToScene(pixel))).x();
        const QString expected = expectedReadout(f);

        QMouseEvent move(QEvent::MouseMove, pixel, view->viewport()->mapToGlobal(pixel),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
        QCOMPARE(QToolTip::text(), expected);
        QHelpEvent rest(QEvent::ToolTip, pixel, view->viewport()->mapToGlobal(pixel));
        QApplication::sendEvent(view->viewport(), &rest);
        QTest::qWait(400); // a tip asked to hide is gone after 300 ms
        QCOMPARE(QToolTip::text(), expected);

        QVERIFY(form->TabSheet3->chartReadout(QPoint(2, 2)).isEmpty());
        QTest::keyClick(edit(33), Qt::Key_Right);
        QVERIFY(form->TabSheet3->chartReadout(pixel).isEmpty());
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    // Label107's tooltip explains the required Rвых: what it gives, or why 0,7 is out of reach
    // and what would help. The box volume it names is also a menu item that computes it.
    void adviceOnTheTarget() {
        showPage(2);
        const auto advice = [this] {
            return accessibleDescription(label(107)).section('\n', 0, 0);
        };
        QCOMPARE(advice(), QString("При Rвых = 5,996 Ом Qtc' = 0,7"));
        type(33, "0,1");
        compute();
        QCOMPARE(advice(), QString("Qtc = 0,7 в этом ящике недостижима ни при каком Rвых: Qtc' "
                                   "лишь приближается к √(Vas/Vb + 1)·Qms = 0,167"));

        const char *texts[] = {"30", "6", "5", "0,6", "50", "20", "1"};
        for (int i = 0; i < 7; ++i)
            type(31 + i, texts[i]);
        compute();
        QCOMPARE(advice(), QString("Уже при Rвых = 0 Qtc = 1,002 ≥ 0,7: положительное Rвых только "
                                   "повышает добротность. Qtc = 0,7 при Rвых = 0 даёт ящик "
                                   "Vb = 70,7 л."));
        QCOMPARE(restingTip(label(107)), accessibleDescription(label(107)));
        chooseItem(rightClickMenu(label(107)), "Vb = 70,7 л → поле Vb");
        QCOMPARE(edit(36)->text(), QString("70,7"));
        QCOMPARE(label(76)->text(), QString("0,7"));

        type(34, "2"); // Qts = 1,43: no box brings Qtc below it
        compute();
        QVERIFY(advice().endsWith("Ни один закрытый ящик не опустит Qtc ниже Qts = 1,429."));
        QVERIFY(itemTexts(rightClickMenu(label(107))).filter("поле Vb").isEmpty());
    }

    // With the chart focused by Tab, Left and Right walk the grid: the same readout as under the
    // pointer, also for a screen reader.
    void chartReadoutByKeys() {
        showPage(2);
        edit(37)->setFocus();
        QTest::keyClick(form->windowHandle(), Qt::Key_Tab);
        ResponseChart *chart = form->TabSheet3->chart();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(chart));
        // First at 31,99 Hz, the grid point nearest fc = 31,79 Hz.
        QCOMPARE(QToolTip::text(), expectedReadout(series(0)->at(25).x()));
        QTest::keyClick(form->windowHandle(), Qt::Key_Right);
        QCOMPARE(QToolTip::text(), expectedReadout(series(0)->at(26).x()));
        QCOMPARE(accessibleDescription(chart), QToolTip::text());
    }

    // Both curves leave as FRD files into the chosen folder, and as a table; the chart's menu
    // opens from the keyboard too, and says why it offers nothing once the curves are gone.
    void responseLeavesTheProgram() {
        showPage(2);
        QTemporaryDir dir;
        answerFileDialog(dir.path(), [this] {
            chooseItem(keyMenu(form->TabSheet3->chart(), Qt::Key_Menu), "Экспорт АЧХ в FRD…");
        });
        QFile frd(dir.filePath("АЧХ_Rвых_6_Ом.frd"));
        QVERIFY(QFile::exists(dir.filePath("АЧХ_Rвых_0.frd")) && frd.open(QIODevice::ReadOnly));
        const QStringList points =
            QString(frd.readAll()).split("\r\n").filter(QRegularExpression("^\\d"));
        for (int i = 0; i < 100; ++i) {
            const QStringList columns = points[i].split(' ');
            QCOMPARE(columns[0].toDouble(), series(1)->at(i).x());
            QCOMPARE(columns[1].toDouble(), series(1)->at(i).y());
        }
        chooseItem(rightClickMenu(form->TabSheet3->chart()), "Копировать таблицу АЧХ");
        const QStringList rows = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 101);
        QCOMPARE(rows[0], QString("f, Гц\tАЧХ при Rвых = 0, дБ\tАЧХ при Rвых = 6  Ом, дБ"));
        QVERIFY(qFuzzyCompare(rows[1].section('\t', 1, 1).replace(',', '.').toDouble(),
                              series(0)->at(0).y()));
        QTest::keyClick(edit(33), Qt::Key_End);
        QMenu *empty = rightClickMenu(form->TabSheet3->chart());
        QVERIFY(!menuItem(empty, "Экспорт АЧХ в FRD…")->isEnabled());
        QVERIFY(menuItem(empty, "График пуст: нажмите «Вычислить»"));
    }

    // Set OOSCALC_SCREENSHOTS to a directory to look at the page.
    void screenshot() {
        const QByteArray dir = qgetenv("OOSCALC_SCREENSHOTS");
        if (dir.isEmpty())
            QSKIP("OOSCALC_SCREENSHOTS not set");
        showPage(2);
        QVERIFY(form->grab().save(QString::fromLocal8Bit(dir) + "/speaker_page.png"));
        type(33, "10");
        type(34, "10");
        type(36, "3");
        compute();
        QVERIFY(form->grab().save(QString::fromLocal8Bit(dir) + "/speaker_page_peak.png"));
        type(31, "500");
        compute();
        QVERIFY(form->grab().save(QString::fromLocal8Bit(dir) + "/speaker_page_clipped.png"));
    }
};

int main(int argc, char **argv) { return runWindowTest<SpeakerPageTest>(argc, argv); }

#include "test_speaker_page.moc"
