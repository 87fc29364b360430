// The vented box in the window «Динамик и усилитель», driven by keys: the choice and its fields,
// Fb following page 3's Fs, the B4 figures and the Rвых without a rise handed to Variant 2 or
// refused with the reason, the table and the files of the box chosen, the group's netlist with
// the vented branch, and page 3 staying with its closed box.

#include "amplifier/spice_netlist.h"
#include "amplifier/widgets/amplifier_page.h"
#include "driver_load/driver_load_export.h"
#include "driver_window_fixture.h"
#include "scratch_files.h"
#include "ui/classic_look.h"

#include <QClipboard>
#include <QComboBox>
#include <QTemporaryDir>
#include <cmath>
#include <numbers>

namespace {} // namespace

class VentedWindowTest : public DriverWindowFixture {
    Q_OBJECT

    // The window over page 3, turned to the vented box from the keyboard: Tab from the last of
    // the closed box's fields onto the choice, then Down.
    void openVented() {
        open();
        field(10)->setFocus();
        QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), choice());
        QTest::keyClick(window->windowHandle(), Qt::Key_Down);
        QVERIFY(window->current() && window->current()->load.vented);
    }
    QComboBox *choice() const { return window->findChild<QComboBox *>("BoxChoice"); }
    QString chartTitle() const {
        return window->findChild<QChartView *>("ExcursionChart")->chart()->title();
    }
    void computePage(const QStringList &texts) {
        showPage(2);
        for (int i = 0; i < texts.size(); ++i)
            type(31 + i, texts[i]);
        QTest::mouseClick(button(7), Qt::LeftButton);
    }

private slots:
    void initTestCase() { applyClassicLook(*qApp); }
    void init() { QVERIFY(openWindows()); }
    void cleanup() { closeWindows(); }

    // The choice, named «Ящик», shows the vented box's fields after it and its figures, and
    // takes the target Qtc's field away. Page 3's driver with QL = 7: Rвых for B4 5,638 Ом,
    // Vb = 84,8 л, Fb = Fs; a port of 10 cm tuning 50 л to 19 Гц is
    // 343²·π·0,1²/4/((2π·19)²·0,05) − 0,0732 m long. Up takes the closed box back.
    void choiceByKeys() {
        openVented();
        const auto labels =
            QAccessible::queryAccessibleInterface(choice())->relations(QAccessible::Label);
        QVERIFY(!labels.isEmpty() && labels[0].first->text(QAccessible::Name) == "Ящик");
        QCOMPARE(QStringList({field(11)->text(), field(12)->text(), field(13)->text()}),
                 QStringList({"19", "7", "10"}));
        QVERIFY(field(11)->isVisible() && !field(5)->isEnabled());
        QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), field(11));
        const double pi = std::numbers::pi;
        const double port = 343.0 * 343 * pi * 0.01 / 4 / std::pow(2 * pi * 19, 2) / 0.05 - 0.0732;
        QCOMPARE(QStringList({shownText(result(16)), shownText(result(17)), shownText(result(18)),
                              result(21)->text()}),
                 QStringList({"Rвых для B4 = 5,638 Ом", "Vb для B4 = 84,8 л", "Fb для B4 = 19 Гц",
                              QString::number(port * 100, 'f', 1).replace('.', ',') + " см"}));
        QVERIFY(shownText(result(19)).startsWith("Rвых без подъёма = "));
        QCOMPARE(chartTitle(), QString("Смещение и скорость в порту"));
        QTest::keyClick(choice(), Qt::Key_Up);
        QVERIFY(!field(11)->isVisible() && !result(16)->isVisible() && !result(19)->isVisible());
        QVERIFY(field(5)->isEnabled() && !window->current()->load.vented);
        QCOMPARE(chartTitle(), QString("Смещение диффузора"));
    }

    // Fb follows page 3's Fs until the user types a value of their own. A vented field left empty
    // stops the vented box alone (hidden, a field out of range would take its bound).
    void fbFollowsThePage() {
        openVented();
        computePage({"25"});
        QCOMPARE(field(11)->text(), QString("25"));
        QCOMPARE(window->current()->inputs.fb, 25.0);
        typeInto(field(11), "30");
        computePage({"40"});
        QCOMPARE(field(11)->text(), QString("30"));
        typeInto(field(12), "");
        QCOMPARE(window->whyNone(), std::string("Поле «QL»: нужно число от 1 до 100"));
        QVERIFY(!window->current() && result(1)->text() == "—");
        choice()->setCurrentIndex(0);
        QVERIFY(window->current() && window->whyNone().empty());
    }

    // B4's Rвых into Variant 2, as the figure shows it, and the Rвых without a rise with Rн = Re;
    // a driver that B4 cannot take, or only behind more than 200 Ом, is refused with the reason.
    void handOversToVariant2() {
        openVented();
        chooseItem(rightClickMenu(result(16)), "Rвых для B4 → Неинвертирующий, Вариант 2");
        QCOMPARE(edit(25)->text(), QString("5,638"));
        chooseItem(rightClickMenu(result(19)),
                   "Rвых без подъёма и Rн = Re → Инвертирующий, Вариант 2");
        QCOMPARE(QStringList({edit(8)->text(), edit(10)->text()}),
                 QStringList({"3,4", result(19)->text().section(' ', 0, 0)}));

        const QString qts = "Уже при Rвых = 0 Qts = 0,536 > 0,405, нужной для B4 при QL = 7: "
                            "положительное Rвых только повышает добротность.";
        for (const auto &[page, refusal] :
             {std::pair{QStringList({"19", "100", "10", "0,1", "90", "50", "6"}),
                        QString("вне диапазона 0,1 … 200 Ом")},
              std::pair{QStringList({"30", "6", "5", "0,6", "50", "20", "1"}), qts}}) {
            computePage(page);
            QMenu *menu = rightClickMenu(result(16));
            const QAction *item = menuItem(menu, "Rвых для B4 → Инвертирующий, Вариант 2");
            QVERIFY(!item->isEnabled() && item->toolTip().endsWith(refusal));
            menu->close();
        }
        QVERIFY(window->findChild<QLabel *>("TargetAdvice")
                    ->text()
                    .startsWith(qts + " Уже при Rвых = 0,1 Ом АЧХ поднимается над уровнем полосы"));
    }

    // The table and the ZMA are the vented box's; page 3's ZMA stays its closed box's; the group's
    // netlist holds the vented branch.
    void filesOfTheBoxChosen() {
        openVented();
        const DriverLoadRun computed = *window->current();
        chooseItem(rightClickMenu(result(2)), "Копировать таблицу");
        QCOMPARE(QApplication::clipboard()->text().toStdString(),
                 driverLoadTable(computed.run, computed.inputs, computed.load));
        QTemporaryDir dir;
        answerFileDialog(dir.filePath("vented.zma"), [this] {
            chooseItem(rightClickMenu(result(2)), "Экспорт импеданса в ZMA…");
        });
        QCOMPARE(readFile(dir.filePath("vented.zma")).toStdString(),
                 zmaText(computed.run, computed.inputs));
        showPage(2);
        answerFileDialog(dir.filePath("page.zma"), [this] {
            chooseItem(rightClickMenu(form->TabSheet3->chart()), "Экспорт импеданса в ZMA…");
        });
        DriverLoadInputs closed = computed.inputs;
        closed.box = BoxKind::Closed;
        QCOMPARE(readFile(dir.filePath("page.zma")).toStdString(), zmaText(computed.run, closed));

        showPage(0);
        QTest::mouseClick(button(6), Qt::LeftButton);
        answerFileDialog(dir.filePath("driver.cir"), [this] {
            chooseItem(rightClickMenu(label(54)), "Схема с динамиком для SPICE…");
        });
        const std::string netlist = readFile(dir.filePath("driver.cir")).toStdString();
        QCOMPARE(netlist, spiceNetlistWithDriver(*form->TabSheet1->validRun(3),
                                                 windowCircuit(computed.run, computed.inputs),
                                                 driverDrive(computed.run, computed.inputs)));
    }
};

int main(int argc, char **argv) { return runWindowTest<VentedWindowTest>(argc, argv); }

#include "test_vented_window.moc"
