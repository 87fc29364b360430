#pragma once

#include "core/last_results.h"
#include "driver_load/driver_model.h"
#include "speaker/widgets/rout_hand_overs.h"
#include "ui/following_windows.h"

#include <QWidget>
#include <array>

class AmplifierPage;
class NumericFields;
class QLabel;
class QPushButton;
class QTabWidget;
class SpeakerPage;
class TForm2;
struct SavePlan;

// The main window: the banner, the three pages and the bottom buttons. Each page owns its
// controls; the window composes them, owns the record of the last calculations and the windows
// that follow the pages, and holds the handlers of every button, each of which runs under the
// default error report.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    void setHelpWindow(TForm2 *helpWindow) { Form2 = helpWindow; }
    const LastResults &lastResults() const { return last; }

    QLabel *Label55 = nullptr; // the banner "Проверьте ввод !"
    QTabWidget *PageControl1 = nullptr;
    AmplifierPage *TabSheet1 = nullptr; // "Неинвертирующий"
    AmplifierPage *TabSheet2 = nullptr; // "Инвертирующий"
    SpeakerPage *TabSheet3 = nullptr;
    QPushButton *Button8 = nullptr;  // "Exit"
    QPushButton *Button9 = nullptr;  // "Help"
    QPushButton *Button10 = nullptr; // "Сохранить"

    void FormShow();     // the loudspeaker page computed before the window first appears
    void Button1Click(); // inverting, Variant 1
    void Button2Click(); // inverting, Variant 2
    void Button3Click(); // inverting, Variant 3
    void Button4Click(); // non-inverting, Variant 1
    void Button5Click(); // non-inverting, Variant 2
    void Button6Click(); // non-inverting, Variant 3
    void Button7Click(); // the loudspeaker page
    void Button8Click();
    void Button9Click();
    void Button10Click();

    void setVisible(bool visible) override;

    // «Динамик и усилитель», as the loudspeaker page's menus open it: made the first time, over
    // the main window.
    void openDriverWindow();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void connectPages();
    SavePlan savePlan() const;

    LastResults last;
    NumericFields *fields = nullptr;
    TForm2 *Form2 = nullptr;
    // Variant 2's Rвых and Rн fields of the non-inverting and the inverting page, as the
    // loudspeaker's menus hand an Rвых over.
    std::array<Variant2Target, 2> variant2Rout;
    // The inputs of the window «Динамик и усилитель», kept from one opening to the next and for
    // the netlist and the impedance the other menus take from them.
    DriverLoadInputs driverInputs;
    FollowingWindows following;
    // The group of the last amplifier run: what the report's amplifier section describes.
    const AmplifierPage *lastAmplifierPage = nullptr;
    int lastAmplifierVariant = 0;
    bool centred = false;
};
