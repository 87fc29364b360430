// The main window driven as a user drives it: keystrokes into the real fields, clicks on the
// real buttons, then what the labels, colours, focus and banner show.

#include "speaker/widgets/response_chart.h"
#include "ui/action_menu.h"
#include "ui/classic_look.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <memory>

namespace {

bool isYellow(QLineEdit *edit) { return edit->palette().color(QPalette::Base) == clYellow(); }

QString accessibleName(QObject *control) {
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

bool labelledBy(QObject *control, QLabel *caption) {
    const auto relations =
        QAccessible::queryAccessibleInterface(control)->relations(QAccessible::Label);
    return std::any_of(relations.begin(), relations.end(), [caption](const auto &relation) {
        return relation.first->object() == caption;
    });
}

} // namespace

class MainWindowTest : public ProgramWindowTest {
    Q_OBJECT

    // What the palette check compares: every page, with a refused field, a message and the banner
    // up, and the help window.
    QList<QImage> windowPictures() {
        type(19, "0,6");
        click(button(4));
        edit(29)->setText("500");
        click(button(6));
        button(6)->setFocus();
        QList<QImage> pictures;
        for (int page : {2, 1, 0}) {
            showPage(page);
            pictures.append(form->grab().toImage());
        }
        click(form->Button9);
        pictures.append(help->grab().toImage());
        return pictures;
    }

private slots:
    void initTestCase() { applyClassicLook(*qApp); }

    void init() { QVERIFY(openWindows()); }
    void cleanup() { closeWindows(); }

    void startsAsDesigned() {
        QCOMPARE(form->windowTitle(),
                 QString("Усилитель с комбинированной ООС по напряжению и току"));
        QCOMPARE(form->size(), QSize(744, 502));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QVERIFY(!(form->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!form->Button10->isEnabled());
        QVERIFY(form->Label55->isHidden());
        QCOMPARE(form->PageControl1->currentIndex(), 0);
        QCOMPARE(form->PageControl1->tabText(2),
                 QString("Пример применения (условный - см. Help!)"));
        for (int message : {81, 82, 83, 84})
            QVERIFY(label(message)->isHidden());
        // Design-time texts stay until the first run or key-down: written with a point.
        QCOMPARE(label(53)->text(), QString("0.6"));
        QCOMPARE(label(17)->text(), QString("10.08"));
        QCOMPARE(edit(20)->text(), QString("0,6"));
        QCOMPARE(edit(37)->text(), QString("6"));
        QCOMPARE(form->findChild<QLabel *>("Label48")->text(), QString("Rос (кОм) ="));
        QCOMPARE(form->findChild<QLabel *>("Label29")->text(), QString("Roc (кОм) ="));
        QCOMPARE(form->Button8->geometry(), QRect(16, 456, 145, 33));
        QCOMPARE(findGroupBox(form.get(), 6)->geometry(), QRect(568, 40, 161, 321));
        QCOMPARE(edit(16)->geometry(), QRect(80, 40, 65, 21));
        QVERIFY(button(7)->isDefault());
        // A caption takes the size of its text when its page is first shown.
        for (int page : {1, 2, 0})
            showPage(page);
        for (int caption : {1, 29, 74, 105})
            QCOMPARE(label(caption)->size(), label(caption)->sizeHint());
    }

    void defaultResultsOnBothPages() {
        struct Run {
            int page;
            int button; // the N of ButtonN, LabelN
            int first;
            int second;
            const char *firstText;
            const char *secondText;
            SchemeKind schemeKind;
        };
        const Run runs[] = {
            {0, 4, 35, 36, "10", "20", SchemeKind::NonInverting},
            {0, 5, 44, 45, "20", "10", SchemeKind::NonInverting},
            {0, 6, 53, 54, "0,6", "20", SchemeKind::NonInverting},
            {1, 1, 8, 9, "1", "6,5", SchemeKind::Inverting},
            {1, 2, 17, 18, "10,08", "1,01", SchemeKind::Inverting},
            {1, 3, 26, 27, "2,2", "6,5", SchemeKind::Inverting},
        };
        for (const Run &run : runs) {
            showPage(run.page);
            label(run.first)->setText("?");
            click(button(run.button));
            QCOMPARE(label(run.first)->text(), QString(run.firstText));
            QCOMPARE(label(run.second)->text(), QString(run.secondText));
            QVERIFY(form->Button10->isEnabled());
            QCOMPARE(form->lastResults().schemeKind, run.schemeKind);
        }
        // Inputs are stored in ohms, the last run owning the shared fields.
        QCOMPARE(form->lastResults().r1, 10'000.0);
        QCOMPARE(form->lastResults().rt, 0.2);
    }

    void otherInvertingCases() {
        showPage(1);
        type(5, "0,3");
        click(button(1));
        QCOMPARE(label(8)->text(), QString("20"));
        QCOMPARE(label(9)->text(), QString("9,3"));

        type(6, "3");
        click(button(2));
        QCOMPARE(label(17)->text(), QString("4,65"));
        QCOMPARE(label(18)->text(), QString("0,46"));

        const char *network[] = {"0,05", "1000", "1000", "100", "20"};
        for (int i = 0; i < 5; ++i)
            type(11 + i, network[i]);
        click(button(3));
        QCOMPARE(label(26)->text(), QString("20"));
        QCOMPARE(label(27)->text(), QString("0"));
    }

    // Page 1 as a screen reader hears it: each field by its caption without the "=", each result
    // by its caption and the value it shows now, also after a run and a key-down.
    void accessibleNamesOfPageOne() {
        for (int group = 0; group < 3; ++group) {
            const int firstCaption = 28 + 9 * group; // Label28, Label37, Label46
            for (int row = 0; row < 5; ++row) {
                QLabel *caption = findLabel(form.get(), firstCaption + row);
                QLineEdit *field = edit(16 + 5 * group + row);
                QCOMPARE(accessibleName(field), caption->text().chopped(2));
                QVERIFY(labelledBy(field, caption));
            }
            for (int row = 0; row < 2; ++row) {
                QLabel *caption = findLabel(form.get(), firstCaption + 5 + row);
                QLabel *result = findLabel(form.get(), 35 + 9 * group + row);
                QCOMPARE(accessibleName(result), caption->text() + " " + result->text());
                QVERIFY(labelledBy(result, caption));
            }
        }
        QCOMPARE(accessibleName(edit(21)), QString("Ку (раз)"));
        QLabel *r1 = findLabel(form.get(), 44);
        click(findButton(form.get(), 5));
        QCOMPARE(accessibleName(r1), "R1 (кОм) = " + r1->text());
        QTest::keyClick(edit(21), Qt::Key_Right);
        QCOMPARE(accessibleName(r1), QString("R1 (кОм) = 0"));
    }

    void keystrokesAreFiltered() {
        type(16, "1.5");
        QCOMPARE(edit(16)->text(), QString("1,5"));
        QTest::keyClicks(edit(16), "-+e a");
        QTest::sendKeyEvent(QTest::Click, edit(16), static_cast<Qt::Key>(0x0416), QString("Ж"),
                            Qt::NoModifier);
        QCOMPARE(edit(16)->text(), QString("1,5"));
        QTest::keyClick(edit(16), Qt::Key_Backspace);
        QCOMPARE(edit(16)->text(), QString("1,"));
        QTest::keyClick(edit(16), Qt::Key_Home);
        QTest::keyClick(edit(16), Qt::Key_Delete);
        QTest::keyClick(edit(16), Qt::Key_Right);
        QTest::keyClicks(edit(16), "25");
        QCOMPARE(edit(16)->text(), QString(",25"));
    }

    void keyDownMarksResultsStale() {
        type(19, "0,6"); // Rт = Rвых: a message that the key-downs below leave up
        click(button(4));
        QVERIFY(label(82)->isVisible());
        edit(29)->setText("500");
        click(button(6)); // out of range: yellow, banner, "Сохранить" off
        QVERIFY(form->Label55->isVisible());
        QVERIFY(isYellow(edit(29)));

        // A key-down in another group hides the banner but leaves the failed field yellow.
        label(35)->setText("kept");
        QTest::keyClick(edit(22), Qt::Key_Left);
        QVERIFY(form->Label55->isHidden());
        QVERIFY(isYellow(edit(29)));
        QCOMPARE(label(44)->text(), QString("0"));
        QCOMPARE(label(45)->text(), QString("0"));
        QCOMPARE(label(35)->text(), QString("kept"));

        // Even an arrow key in the group: its results go to "0", the message stays up.
        QTest::keyClick(edit(17), Qt::Key_Right);
        QCOMPARE(label(35)->text(), QString("0"));
        QCOMPARE(label(36)->text(), QString("0"));
        QVERIFY(label(82)->isVisible());
        QVERIFY(!form->Button10->isEnabled()); // the key-down leaves "Сохранить" alone
        QTest::keyClick(edit(29), Qt::Key_End);
        QVERIFY(!isYellow(edit(29)));
    }

    void rangeFaultsClampTheField() {
        type(16, "0,04");
        type(18, "500");
        label(35)->setText("kept");
        click(button(4));
        QCOMPARE(edit(16)->text(), QString("0,05"));
        QVERIFY(isYellow(edit(16)));
        QVERIFY(!isYellow(edit(18))); // only the first failing field is checked
        QCOMPARE(edit(18)->text(), QString("500"));
        QVERIFY(form->Label55->isVisible());
        QCOMPARE(QApplication::focusWidget(), edit(16));
        QVERIFY(!form->Button10->isEnabled());
        QCOMPARE(label(35)->text(), QString("kept"));
        QCOMPARE(form->lastResults().r1, 0.04); // the rejected value, unconverted

        click(button(4)); // the bound passes; now Rн fails high
        QVERIFY(!isYellow(edit(16)));
        QCOMPARE(form->lastResults().r1, 50.0);
        QCOMPARE(edit(18)->text(), QString("100"));
        QVERIFY(isYellow(edit(18)));

        type(1, "1000,5");
        showPage(1);
        click(button(1));
        QCOMPARE(edit(1)->text(), QString("1000"));
        QCOMPARE(form->lastResults().schemeKind, SchemeKind::Inverting);
    }

    void commaAndEmptyFieldsStopQuietly() {
        type(30, ",5");
        label(53)->setText("kept");
        click(button(6));
        QCOMPARE(edit(30)->text(), QString(",5"));
        QVERIFY(isYellow(edit(30)));
        QVERIFY(form->Label55->isVisible());
        QVERIFY(form->Button10->isEnabled());
        QCOMPARE(label(53)->text(), QString("kept"));

        type(30, "1,2,5");
        click(button(6));
        QVERIFY(isYellow(edit(30)));

        // An empty field: the opening steps only, then nothing visible.
        type(30, "");
        type(26, "5,");
        label(53)->setText("kept");
        click(button(6));
        QVERIFY(form->Label55->isHidden());
        QVERIFY(!isYellow(edit(30)));
        QCOMPARE(label(53)->text(), QString("kept"));
        QVERIFY(form->Button10->isEnabled());

        type(30, "0,2");
        click(button(6)); // "5," reads as 5 kΩ
        QCOMPARE(form->lastResults().r1, 5000.0);
        QVERIFY(label(53)->text() != "kept");
    }

    void tasksWithoutSolution() {
        type(19, "0,2");
        type(20, "0,2");
        click(button(4));
        QCOMPARE(label(82)->text(), QString("R < Rвых!"));
        QVERIFY(label(82)->isVisible());
        QCOMPARE(label(35)->text(), QString("0"));
        QVERIFY(form->Button10->isEnabled());

        type(25, "0,2");
        click(button(5));
        QCOMPARE(label(81)->text(), QString("R < Rвых!"));
        QCOMPARE(label(44)->text(), QString("0"));

        // The next run of the variant hides its message and restores "Решения нет" first.
        type(20, "0,6");
        click(button(4));
        QVERIFY(label(82)->isHidden());
        QCOMPARE(label(82)->text(), QString("Решения нет"));

        showPage(1);
        type(5, "200");
        label(8)->setText("kept");
        click(button(1));
        QCOMPARE(label(83)->text(), QString("Решения нет!"));
        QVERIFY(label(83)->isVisible());
        QCOMPARE(label(83)->toolTip(), QString("Нужное R2 = (R1 − Rвых)/(Rвых/Rт − 1) = 9,81 "
                                               "Ом лежит вне диапазона поиска 10 Ом … 10 МОм"));
        QCOMPARE(label(8)->text(), QString("kept"));
        QVERIFY(form->Button10->isEnabled());
        QCOMPARE(form->lastResults().r2, 10'000'000.0);
        type(5, "2,2");
        click(button(1));
        QVERIFY(label(83)->isHidden());
        QCOMPARE(label(83)->toolTip(), QString());

        type(9, "2,2");
        click(button(2));
        QCOMPARE(label(84)->text(), QString("R < Rвых!"));
        QVERIFY(label(84)->isVisible());
    }

    void enterPressesOnlyThePageThreeButton() {
        QSignalSpy pressed(button(7), &QPushButton::clicked);
        type(17, "1");
        QTest::keyClick(edit(17), Qt::Key_Return);
        QCOMPARE(label(35)->text(), QString("0")); // a key-down, no calculation
        QCOMPARE(pressed.count(), 0);

        showPage(2);
        edit(33)->setFocus();
        QTest::keyClick(edit(33), Qt::Key_Return);
        QCOMPARE(pressed.count(), 1);
        QTest::keyClick(edit(37), Qt::Key_Enter);
        QCOMPARE(pressed.count(), 2);
    }

    void pastedTextThatIsNoNumber() {
        QApplication::clipboard()->setText("1e3");
        edit(16)->setFocus();
        edit(16)->selectAll();
        QTest::keyClick(edit(16), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit(16)->text(), QString("1e3"));
        label(35)->setText("kept");
        const QString report = errorReportDuring([&] { click(button(4)); });
        QCOMPARE(report, QString("'1e3' is not a valid floating point value."));
        QCOMPARE(label(35)->text(), QString("kept"));
        QVERIFY(!isYellow(edit(16)));
        QVERIFY(form->Button10->isEnabled());
    }

    void keyboardOrder() {
        QCOMPARE(form->PageControl1->nextInFocusChain()->objectName(),
                 QString("qt_tabwidget_stackedwidget"));
        // Tab passes the result labels by: only a click gives them the focus.
        edit(16)->setFocus();
        QStringList order;
        for (int i = 0; i < 7; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, QStringList({"Edit16", "Edit17", "Edit18", "Edit19", "Edit20", "Button4",
                                     "Edit21"}));
        QCOMPARE(form->Button8->nextInFocusChain(), form->Button9);
        QCOMPARE(form->Button9->nextInFocusChain(), form->Button10);
        QCOMPARE(edit(37)->nextInFocusChain(), static_cast<QWidget *>(form->TabSheet3->chart()));
    }

    // The windows carry the design's colours: a dark desktop theme changes no pixel inside them.
    void darkThemeChangesNothing() {
        const QList<QImage> designed = windowPictures();
        closeWindows();
        const QPalette original = QApplication::palette();
        QPalette dark(QColor(45, 45, 45)); // light text on a dark face and black fields
        dark.setColor(QPalette::Highlight, QColor(255, 128, 0));
        QApplication::setPalette(dark);
        QVERIFY(openWindows());
        const QList<QImage> themed = windowPictures();
        QApplication::setPalette(original);
        QCOMPARE(themed.size(), designed.size());
        for (qsizetype i = 0; i < designed.size(); ++i)
            QVERIFY2(themed[i] == designed[i], qPrintable(QString("picture %1").arg(i)));
    }

    // The focus on a button shows, also on the default button, whose frame Fusion draws the
    // same with and without it.
    void focusOnAButtonShows() {
        for (const auto &[page, number] : {std::pair{2, 7}, std::pair{0, 4}, std::pair{0, 8}}) {
            showPage(page);
            edit(page == 2 ? 37 : 20)->setFocus();
            const QImage unfocused = button(number)->grab().toImage();
            button(number)->setFocus(Qt::TabFocusReason);
            QVERIFY2(button(number)->grab().toImage() != unfocused,
                     qPrintable(QString("Button%1").arg(number)));
        }
    }

    void helpShowsOneWindow() {
        QTest::keyClick(form->windowHandle(), Qt::Key_F1);
        QVERIFY(help->isVisible());
        QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
        QVERIFY(help->isHidden());
        click(form->Button9);
        click(form->Button9);
        QVERIFY(help->isVisible());
        const auto windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](QWidget *w) { return w->objectName() == "Form2"; }),
                 1);
    }
};

int main(int argc, char **argv) { return runWindowTest<MainWindowTest>(argc, argv); }

#include "test_main_window.moc"
