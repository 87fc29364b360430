// The results' menus of the amplifier pages driven as a user drives them: standard parts into
// Variant 3, the items without a result, the copy, the hand-overs between the pages, the keys
// that open the menus, the tooltips, the full values and the spread window that follows its group.

#include "amplifier/widgets/amplifier_page.h"
#include "closed_box_model.h"
#include "core/arithmetic_fault.h"
#include "speaker/widgets/response_chart.h"
#include "ui/action_menu.h"
#include "ui/classic_look.h"
#include "window_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

namespace {

const QString notComputed = "Нет результата: нажмите «Вычислить»";

// The result menu of Variants 1 and 2 with a result.
const QStringList variant12Menu{"Ряд E24 → Вариант 3",
                                "Ряд E96 → Вариант 3",
                                "Лучшая пара E24 → Вариант 3",
                                "Лучшая пара E96 → Вариант 3",
                                "",
                                "Сохранить схему для SPICE…",
                                "",
                                "Схема с динамиком для SPICE…",
                                "",
                                "Разброс при допусках…",
                                "",
                                "Значения полностью…",
                                "",
                                "Копировать результаты"};

} // namespace

class ResultMenusTest : public ProgramWindowTest {
    Q_OBJECT

private slots:
    void initTestCase() { applyClassicLook(*qApp); }

    void init() { QVERIFY(openWindows()); }
    void cleanup() { closeWindows(); }

    void standardPartsIntoVariant3() {
        for (int n = 26; n <= 30; ++n)
            type(n, "7"); // to be written over
        click(button(5));
        QMenu *menu = rightClickMenu(label(44));
        QVERIFY(menu);
        QCOMPARE(itemTexts(menu), variant12Menu);
        chooseItem(menu, "Ряд E96 → Вариант 3");
        QCOMPARE(fieldTexts(26), QStringList({"20", "10", "1", "4", "0,2"}));
        QCOMPARE(label(53)->text(), QString("0,6"));
        QCOMPARE(label(54)->text(), QString("20"));

        // R1 4,65 and R2 0,46 kΩ for Ку = 3 become 4,7 and 0,47, which still give Ку = 3.
        showPage(1);
        type(6, "3");
        click(button(2));
        chooseItem(rightClickMenu(label(18)), "Ряд E24 → Вариант 3");
        QCOMPARE(fieldTexts(11), QStringList({"4,7", "0,47", "1", "4", "0,2"}));
        QCOMPARE(label(26)->text(), QString("2,2"));
        QCOMPARE(label(27)->text(), QString("3"));
        QCOMPARE(form->lastResults().schemeKind, SchemeKind::Inverting);
        QCOMPARE(form->lastResults().r1, 4700.0);
    }

    // The items stay disabled while the group shows no result of its own, and say why.
    void menuWithoutAResult() {
        showPage(1);
        const auto whyNot = [this](int number, const QString &item) {
            QMenu *menu = rightClickMenu(label(number));
            const QAction *action = menuItem(menu, item);
            const QString reason = action->isEnabled() ? QString() : action->toolTip();
            if (!reason.isEmpty())
                menuItem(menu, reason); // stated in the menu as well
            menu->close();
            return reason;
        };
        QCOMPARE(whyNot(8, "Ряд E24 → Вариант 3"), notComputed); // the design-time texts
        click(button(1));
        QCOMPARE(whyNot(8, "Ряд E24 → Вариант 3"), QString());
        QCOMPARE(whyNot(9, "Копировать результаты"), QString());
        QTest::keyClick(edit(2), Qt::Key_End);
        QCOMPARE(whyNot(9, "Ряд E96 → Вариант 3"), notComputed); // the labels at "0"

        type(5, "200");
        click(button(1));
        QCOMPARE(whyNot(8, "Ряд E96 → Вариант 3"), QString("Нет результата: «Решения нет!»"));
        QCOMPARE(whyNot(9, "Копировать результаты"), QString("Нет результата: «Решения нет!»"));

        // R2 of 2 MΩ: beyond the range of Variant 3 in either series.
        type(5, "0,201");
        click(button(1));
        QCOMPARE(label(8)->text(), QString("1999,96"));
        QCOMPARE(whyNot(8, "Ряд E96 → Вариант 3"),
                 QString("E96: R2 = 2000 кОм вне диапазона 0,05 … 1000 кОм"));
        QCOMPARE(whyNot(8, "Копировать результаты"), QString());
    }

    // Ctrl+C on a result label that a click focused; in a field it still copies the selection.
    void copyResults() {
        click(button(5));
        QTest::mouseClick(label(45), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), label(45));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QString("Ку = 20 раз\nRoc = 1 кОм\nRн = 4 Ом\nRт = 0,2 Ом\nRвых = 0,6 Ом\n"
                         "R1 = 20 кОм\nR2 = 10 кОм\n"));

        edit(22)->setFocus();
        edit(22)->selectAll();
        QTest::keyClick(edit(22), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("1"));
        QCOMPARE(label(44)->text(), QString("0")); // a key-down as before

        click(button(6));
        chooseItem(rightClickMenu(label(53)), "Копировать результаты");
        QCOMPARE(QApplication::clipboard()->text(),
                 QString("R1 = 20 кОм\nR2 = 10 кОм\nRос = 1 кОм\nRн = 4 Ом\nRт = 0,2 Ом\n"
                         "Rвых = 0,6 Ом\nКу = 20 раз\n"));
    }

    // Page 3's required Rвых into Variant 2 of either page, and Variant 3's Rвых back to page 3,
    // by mouse and by keyboard; a value the target field refuses disables the item.
    void handOversBetweenPages() {
        showPage(2);
        QVERIFY(menuItem(rightClickMenu(label(105)), "Rвых → Инвертирующий, Вариант 2"));
        QApplication::activePopupWidget()->close();
        chooseItem(rightClickMenu(label(107)), "Rвых → Неинвертирующий, Вариант 2");
        QCOMPARE(edit(25)->text(), QString("5,996"));
        QCOMPARE(form->PageControl1->currentIndex(), 0);
        QCOMPARE(QApplication::focusWidget(), edit(21));
        QCOMPARE(edit(21)->selectedText(), QString("20"));
        QCOMPARE(form->TabSheet1->validRun(2), nullptr); // nothing computed

        showPage(2);
        chooseItem(keyMenu(button(7), Qt::Key_Menu), "Rвых → Инвертирующий, Вариант 2");
        QCOMPARE(edit(10)->text(), QString("5,996"));
        QCOMPARE(form->PageControl1->currentIndex(), 1);

        // The second worked example needs a negative Rвых, which no field takes.
        showPage(2);
        const char *box[] = {"30", "6", "5", "0,6", "50", "20", "1"};
        for (int i = 0; i < 7; ++i)
            type(31 + i, box[i]);
        click(button(7));
        const QAction *refused =
            menuItem(rightClickMenu(label(107)), "Rвых → Инвертирующий, Вариант 2");
        QVERIFY(!refused->isEnabled());
        QCOMPARE(refused->toolTip(),
                 QString("Rвых = −1,956 Ом не построить. Уже при Rвых = 0 Qtc = 1,002 ≥ 0,7: "
                         "положительное Rвых только повышает добротность. Qtc = 0,7 при Rвых = 0 "
                         "даёт ящик Vb = 70,7 л."));
        QApplication::activePopupWidget()->close();

        // Variant 3's 0,6 Ω drives the loudspeaker of the first example again.
        type(37, "6");
        showPage(0);
        click(button(6));
        chooseItem(rightClickMenu(label(54)), "Rвых → Пример применения");
        QCOMPARE(form->PageControl1->currentIndex(), 2);
        QCOMPARE(edit(37)->text(), QString("0,6"));
        const Textbook model = textbook({30, 6, 5, 0.6, 50}, 20, 0.6);
        QCOMPARE(label(72)->text(),
                 QString::number(std::round(model.qtcNew * 1000) / 1000).replace('.', ','));
        QCOMPARE(form->TabSheet3->chart()->series(1)->name(), QString("АЧХ при Rвых = 0,6  Ом"));
    }

    // Shift+F10 and the menu key on a "Вычислить" button open its group's result menu; in a field
    // they open the field's own edit menu, in Russian, and count as a key-down there.
    void keyboardOpensMenus() {
        const QStringList atRest = QStringList{notComputed, ""} + variant12Menu;
        for (const auto &[key, modifiers] :
             {std::pair{Qt::Key_F10, Qt::ShiftModifier}, std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
            QMenu *menu = keyMenu(button(4), key, modifiers);
            QVERIFY(menu);
            QCOMPARE(itemTexts(menu), atRest);
            menu->close();
        }
        click(button(4));
        QMenu *fieldMenu = keyMenu(edit(17), Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(fieldMenu);
        QVERIFY(itemTexts(fieldMenu).join('|').contains("Выделить всё"));
        fieldMenu->close();
        QCOMPARE(label(35)->text(), QString("0"));
    }

    // Behind "0,03" lies R2 = 26,50 Ω (150 = 0,2·(20 000 + R2)/(R2 + 0,2)), below what Variant 3
    // takes: a 30 Ω part gives 12 % less Rвых than asked. The tooltip says so, and names the menu.
    void resultTooltips() {
        type(20, "150");
        click(button(4));
        QCOMPARE(label(35)->text(), QString("0,03"));
        const QString tip =
            "R2 = 26,50 Ом, вне диапазона Варианта 3: 0,05 … 1000 кОм\n"
            "Правая кнопка мыши, или Shift+F10 на кнопке «Вычислить»: "
            "ряд E24/E96 или лучшая пара → Вариант 3, схема для SPICE, "
            "схема с динамиком для SPICE, разброс при допусках, значения полностью, "
            "копировать";
        QCOMPARE(restingTip(label(35)), tip);
        QCOMPARE(accessibleDescription(label(35)), tip);
        QTest::keyClick(edit(20), Qt::Key_End);
        QVERIFY(
            accessibleDescription(label(35)).startsWith("Нет результата: нажмите «Вычислить»\n"));
        QVERIFY(accessibleDescription(label(53)).endsWith(
            "Rвых → Пример применения, схема для SPICE, схема с динамиком для SPICE, разброс при "
            "допусках, значения полностью, копировать"));
    }

    // The values behind the rounded results, without a pointer: the group's menu from the
    // keyboard opens them in a window of their own, whose copy takes them as shown.
    void fullValuesFromTheKeyboard() {
        type(20, "150");
        click(button(4));
        chooseItem(keyMenu(button(4), Qt::Key_F10, Qt::ShiftModifier), "Значения полностью…");
        QPointer<QDialog> values = form->findChild<QDialog *>("ValuesWindow");
        QVERIFY(values && QTest::qWaitForWindowActive(values));
        QCOMPARE(values->windowTitle(), QString("Значения полностью"));
        QCOMPARE(values->findChild<QLabel *>("Values")->text(),
                 QString("Неинвертирующий, Вариант 1\nR2 = 26,50 Ом, вне диапазона Варианта 3: "
                         "0,05 … 1000 кОм\nКу = 20,00"));
        QTest::mouseClick(values->findChild<QPushButton *>("CopyButton"), Qt::LeftButton);
        QVERIFY(QApplication::clipboard()->text().contains("R2 = 26,50 Ом"));
        QTest::keyClick(values->windowHandle(), Qt::Key_Escape);
        QTRY_VERIFY(!values); // closed, and gone
    }

    // The pair of neighbouring E24 values that comes closest to both targets, where the nearest
    // values miss Rвых by −5,4 % and Ку by −4,1 %.
    void bestStandardPair() {
        const char *design[] = {"5,61", "0,26", "6", "0,2", "1,06"};
        for (int i = 0; i < 5; ++i)
            type(21 + i, design[i]);
        click(button(5));
        QMenu *menu = rightClickMenu(label(44));
        QCOMPARE(menuItem(menu, "Лучшая пара E24 → Вариант 3")->toolTip(),
                 QString("Rвых +1,6 %, Ку +0,6 %"));
        chooseItem(menu, "Лучшая пара E24 → Вариант 3");
        QCOMPARE(fieldTexts(26), QStringList({"0,33", "0,075", "0,26", "6", "0,2"}));
    }

    // One spread window for the main window, opened from any group's menu on its last run.
    void spreadWindowFromTheMenus() {
        click(button(6));
        chooseItem(keyMenu(button(6), Qt::Key_F10, Qt::ShiftModifier), "Разброс при допусках…");
        auto *spread = form->findChild<QWidget *>("ToleranceWindow");
        QVERIFY(spread && spread->isVisible());
        QCOMPARE(spread->windowTitle(), QString("Разброс параметров"));
        showPage(1);
        click(button(1));
        chooseItem(rightClickMenu(label(9)), "Разброс при допусках…");
        QCOMPARE(form->findChildren<QWidget *>("ToleranceWindow").size(), 1);
    }

    // A fault while a menu is made ends in the error report, as a fault in a click does, and no
    // half-filled menu opens.
    void faultWhileAMenuIsFilled() {
        QLabel result("0");
        offerMenu(&result, [](QMenu &menu) {
            menu.addAction("Ряд E24 → Вариант 3");
            throw ArithmeticFault("Floating point overflow");
        });
        result.show();
        QVERIFY(QTest::qWaitForWindowExposed(&result));
        QMenu *opened = nullptr;
        QCOMPARE(errorReportDuring([&] { opened = rightClickMenu(&result); }),
                 QString("Floating point overflow."));
        QCOMPARE(opened, nullptr);
    }

    // The spread window follows its group and the loudspeaker page: a new run of either is
    // taken in, a stale or refused one is named and leaves nothing to copy; Escape closes it.
    void spreadWindowFollowsItsSource() {
        click(button(6));
        chooseItem(rightClickMenu(label(53)), "Разброс при допусках…");
        auto *spread = form->findChild<QWidget *>("ToleranceWindow");
        const auto cell = [spread](int row, int column) {
            return spread->findChild<QTableWidget *>("SpreadTable")->item(row, column)->text();
        };
        QPushButton *copy = spread->findChild<QPushButton *>("CopyButton");
        QLabel *status = spread->findChild<QLabel *>("RunStatus");
        QCOMPARE(cell(0, 0), QString("0,6"));
        const QString qtc = cell(2, 0);

        type(26, "10"); // R1 = 10 kΩ halves Rвых
        QVERIFY(status->isVisible());
        QVERIFY(status->text().startsWith("Неинвертирующий, Вариант 3: Нет результата"));
        QVERIFY(!copy->isEnabled());
        click(button(6));
        QVERIFY(status->isHidden());
        QVERIFY(copy->isEnabled());
        QCOMPARE(cell(0, 0), label(53)->text());
        QVERIFY(spread->findChild<QLabel *>("RunCaption")->text().contains("R1 = 10 кОм"));

        showPage(2); // a smaller box: a higher Qtc' at the amplifier's Rвых
        type(36, "30");
        click(button(7));
        const QLocale comma(QLocale::Russian);
        QVERIFY(comma.toDouble(cell(2, 0)) > comma.toDouble(qtc));
        type(31, "2");
        click(button(7)); // refused: Fs below its range
        QVERIFY(status->text().startsWith("Пример применения: Нет результата: значение поля"));
        QVERIFY(!copy->isEnabled());

        spread->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(spread));
        QTest::keyClick(spread->windowHandle(), Qt::Key_Escape);
        QVERIFY(spread->isHidden());
    }
};

int main(int argc, char **argv) { return runWindowTest<ResultMenusTest>(argc, argv); }

#include "test_result_menus.moc"
