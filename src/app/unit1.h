#pragma once

#include "core/last_results.h"

#include <QWidget>

class InvertingPage;
class NonInvertingPage;
class NumericFields;
class QLabel;
class QPushButton;
class QTabWidget;
class SpeakerPage;
class TForm2;
class ToleranceWindow;

// The main window: the banner, the three pages and the bottom buttons. Each page owns its
// controls and handlers; the window composes them and owns the record of the last calculations.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    void setHelpWindow(TForm2 *helpWindow) { Form2 = helpWindow; }
    const LastResults &lastResults() const { return last; }

    QLabel *Label55 = nullptr; // the banner "Проверьте ввод !"
    QTabWidget *PageControl1 = nullptr;
    NonInvertingPage *TabSheet1 = nullptr;
    InvertingPage *TabSheet2 = nullptr;
    SpeakerPage *TabSheet3 = nullptr;
    QPushButton *Button8 = nullptr;  // "Exit"
    QPushButton *Button9 = nullptr;  // "Help"
    QPushButton *Button10 = nullptr; // "Сохранить"

    // Handlers of the window's own controls. Each runs inside the default error report: an error
    // it does not handle ends it there and is shown in a message box.
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void FormShow();

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    LastResults last;
    NumericFields *fields = nullptr;
    TForm2 *Form2 = nullptr;
    ToleranceWindow *tolerance = nullptr; // made when first asked for
    bool centred = false;
};
