#pragma once

#include "app/last_results.h"
#include "input/field_table.h"

#include <QWidget>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class NumericFields;
class ResponseChart;
class TForm2;
class TImage;

// The main window: three pages, the banner and the bottom buttons. Controls keep the numbered
// names of the original design; the handlers are named after their control and event and live
// beside the subsystem they belong to (amplifier/, speaker/, report/).
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    void setHelpWindow(TForm2 *helpWindow) { Form2 = helpWindow; }
    const LastResults &lastResults() const { return last; }

    // The 37 input fields, Edit[1] … Edit[37]; Edit[0] is unused.
    std::array<QLineEdit *, 38> Edit{};

    QLabel *Label55 = nullptr; // the banner "Проверьте ввод !"
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QWidget *TabSheet3 = nullptr;

    // Inverting page
    QGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr, *GroupBox3 = nullptr;
    QLabel *Label8 = nullptr, *Label9 = nullptr;   // Variant 1: R2, Ку
    QLabel *Label17 = nullptr, *Label18 = nullptr; // Variant 2: R1, R2
    QLabel *Label26 = nullptr, *Label27 = nullptr; // Variant 3: Rвых, Ку
    QLabel *Label83 = nullptr, *Label84 = nullptr; // messages of Variants 1 and 2
    QLabel *Label86 = nullptr;
    TImage *Image2 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr;

    // Non-inverting page
    QGroupBox *GroupBox4 = nullptr, *GroupBox5 = nullptr, *GroupBox6 = nullptr;
    QLabel *Label35 = nullptr, *Label36 = nullptr; // Variant 1: R2, Ку
    QLabel *Label44 = nullptr, *Label45 = nullptr; // Variant 2: R1, R2
    QLabel *Label53 = nullptr, *Label54 = nullptr; // Variant 3: Rвых, Ку
    QLabel *Label82 = nullptr, *Label81 = nullptr; // messages of Variants 1 and 2
    QLabel *Label85 = nullptr;
    TImage *Image1 = nullptr;
    QPushButton *Button4 = nullptr, *Button5 = nullptr, *Button6 = nullptr;

    // Loudspeaker page
    QGroupBox *GroupBox7 = nullptr, *GroupBox8 = nullptr, *GroupBox9 = nullptr;
    ResponseChart *Chart1 = nullptr;
    QLabel *Label72 = nullptr, *Label73 = nullptr; // Qtc', F3'
    QLabel *Label76 = nullptr, *Label77 = nullptr; // Qtc, F3
    QLabel *Label107 = nullptr;                    // the Rвых required for Qtc = 0,7
    QPushButton *Button7 = nullptr;

    // Bottom row
    QPushButton *Button8 = nullptr;  // "Exit"
    QPushButton *Button9 = nullptr;  // "Help"
    QPushButton *Button10 = nullptr; // "Сохранить"

    // Handlers. Each runs inside the default error report: an error it does not handle ends it
    // there and is shown in a message box.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void FormShow();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildBanner();
    void buildPages();
    void buildAmplifierPage(QWidget *page, bool inverting);
    void buildSpeakerPage();
    void buildBottomRow();
    void wireHandlers();

    // The three calculations of an amplifier page, run on either page's circuit and labels.
    struct AmplifierPage;
    AmplifierPage nonInvertingPage() const;
    AmplifierPage invertingPage() const;
    void solveForR2(const AmplifierPage &page);
    void designForGain(const AmplifierPage &page);
    void evaluateKnownNetwork(const AmplifierPage &page);

    // The loudspeaker page from its checked inputs in LastResults: labels, curves, records.
    void computeClosedBox();

    LastResults last;
    NumericFields *fields = nullptr;
    TForm2 *Form2 = nullptr;
    bool centred = false;
};
