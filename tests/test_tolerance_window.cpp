// The window «Разброс параметров» driven by keys and clicks: a typed tolerance read back from the
// table, an input clamped when left, the copy, and what a screen reader is told.

#include "tolerance/widgets/tolerance_window.h"
#include "ui/classic_look.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QClipboard>
#include <QTableWidget>

class ToleranceWindowTest : public QObject {
    Q_OBJECT

    QWidget mainWindow;
    ToleranceWindow *window = new ToleranceWindow(&mainWindow);
    LastValidRun<AmplifierRun> group;
    LastValidRun<SpeakerRun> loudspeaker;

    QLineEdit *field(const char *name) const { return window->findChild<QLineEdit *>(name); }
    QTableWidget *table() const { return window->findChild<QTableWidget *>("SpreadTable"); }
    QString cell(int row, int column) const { return table()->item(row, column)->text(); }

    static AmplifierRun variant3(SchemeKind kind, Network network) {
        return {kind, 3, network, 4, 0, 0, networkOutputs(circuitFor(kind), network, 4), {}, {}};
    }

private slots:
    void initTestCase() {
        const Driver driver{19, 3.4, 2.63, 0.18, 90};
        loudspeaker.keep({driver, 50, 6, closedBox(driver, 50, 6), {}});
        group.keep(variant3(SchemeKind::NonInverting, {20'000, 10'000, 1'000, 0.2}));
        window->showFor(group, loudspeaker);
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    void typedToleranceFillsTheTable() {
        // R1, R2, Roc at 2 %, Rт exact: 0,2·29 800/10 200,2 = 0,584302 and 0,2·30 200/9 800,2 =
        // 0,616314 against 0,599988.
        typeInto(field("PartsTolerance"), "2");
        typeInto(field("SenseTolerance"), "0");
        const QStringList rout{
            "0,6", "0,58", "0,62", "−2,61 … +2,72", "R1− R2+ Roc± Rт±", "R1+ R2− Roc± Rт±"};
        for (int column = 0; column < rout.size(); ++column)
            QCOMPARE(cell(0, column), rout[column]);
        typeInto(field("SenseTolerance"), "0.5x");
        QCOMPARE(field("SenseTolerance")->text(), "0,5");
    }

    void outOfRangeIsClampedWhenLeft() {
        QLineEdit *parts = field("PartsTolerance");
        typeInto(parts, "25");
        QCOMPARE(parts->text(), "25"); // maybe on the way to "2,5"
        QCOMPARE(cell(0, 0), "");
        QVERIFY(!window->findChild<QPushButton *>("CopyButton")->isEnabled());
        QTest::keyClick(parts, Qt::Key_Return);
        QCOMPARE(parts->text(), "20");
        QCOMPARE(parts->palette().color(QPalette::Base), clYellow());
        QCOMPARE(cell(0, 0), "0,6");
        QTest::keyClick(parts, Qt::Key_Backspace);
        QCOMPARE(parts->palette().color(QPalette::Base), clWindow());

        typeInto(field("LoadPower"), "0,5");
        QTest::keyClick(field("LoadPower"), Qt::Key_Tab);
        QCOMPARE(field("LoadPower")->text(), "1");
        // Pasted: more digits than a double holds, a minus sign, no number at all.
        for (const auto &[pasted, left] :
             {std::pair{QString(400, '9'), "5000"}, {"−5", "1"}, {"-5", "1"}, {"5e3", "5e3"}}) {
            QApplication::clipboard()->setText(pasted);
            typeInto(field("LoadPower"), "");
            QTest::keyClick(field("LoadPower"), Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(field("LoadPower"), Qt::Key_Tab);
            QCOMPARE(field("LoadPower")->text(), left);
            QCOMPARE(field("LoadPower")->palette().color(QPalette::Base), clYellow());
        }
        typeInto(field("LoadPower"), "100");
    }

    void copyAndScreenReaderNames() {
        typeInto(field("PartsTolerance"), "1");
        typeInto(field("SenseTolerance"), "1");
        QTest::mouseClick(window->findChild<QPushButton *>("CopyButton"), Qt::LeftButton);
        const QStringList lines = QApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.mid(0, 3),
                 QStringList({"Разброс параметров",
                              "Неинвертирующий, Вариант 3: R1 = 20 кОм, R2 = 10 кОм, Roc = 1 кОм, "
                              "Rн = 4 Ом, Rт = 0,2 Ом",
                              "Допуск R1, R2, Roc (%) = 1; Допуск Rт (%) = 1; Мощность в нагрузке, "
                              "Вт = 100"}));
        QCOMPARE(lines.value(3), "Величина\tНоминал\tМинимум\tМаксимум\tРазброс, %\tДопуски при "
                                 "минимуме\tДопуски при максимуме");
        QCOMPARE(lines.value(4), "Rвых (Ом)\t0,6\t0,59\t0,61\t−2,31 … +2,36\tR1− R2+ Roc± "
                                 "Rт−\tR1+ R2− Roc± Rт+");
        QCOMPARE(lines.value(7), "Мощность в Rт\t5 Вт, 4,8 % мощности усилителя");

        const auto *cells = QAccessible::queryAccessibleInterface(table())->tableInterface();
        QCOMPARE(cells->cellAt(0, 1)->text(QAccessible::Name), "Rвых (Ом), Минимум = 0,59");
        QCOMPARE(QAccessible::queryAccessibleInterface(field("LoadPower"))->text(QAccessible::Name),
                 "Мощность в нагрузке, Вт");
    }

    void showingAgainKeepsTheFields() {
        typeInto(field("PartsTolerance"), "5");
        group.keep(variant3(SchemeKind::Inverting, {10'000, 1'000, 1'000, 0.2}));
        loudspeaker.refuse("«…»");
        window->showFor(group, loudspeaker);
        QCOMPARE(field("PartsTolerance")->text(), "5");
        QCOMPARE(table()->rowCount(), 3);
        QCOMPARE(window->findChild<QLabel *>("RunCaption")->text(),
                 "Инвертирующий, Вариант 3: R1 = 10 кОм, R2 = 1 кОм, Roc = 1 кОм, Rн = 4 Ом, "
                 "Rт = 0,2 Ом");
    }
};

int main(int argc, char **argv) { return runWindowTest<ToleranceWindowTest>(argc, argv); }
#include "test_tolerance_window.moc"
