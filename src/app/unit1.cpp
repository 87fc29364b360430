#include "app/unit1.h"

#include "amplifier/amplifier_page.h"
#include "help/unit2.h"
#include "input/numeric_fields.h"
#include "report/output_files.h"
#include "report/save_results.h"
#include "speaker/response_chart.h"
#include "speaker/speaker_page.h"
#include "tolerance/tolerance_window.h"
#include "ui/announcement.h"
#include "ui/design_widgets.h"
#include "ui/error_report.h"
#include "ui/keyboard_menus.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>

TForm1::TForm1(QWidget *parent) : QWidget(parent, designWindowFlags) {
    setUpWindow(this, "Form1", "Усилитель с комбинированной ООС по напряжению и току");
    setFixedSize(744, 502);
    fields = new NumericFields(last, this);

    // Created in keyboard order: the pages, then "Exit", "Help", "Сохранить"; the banner last,
    // over the top edge of the pages.
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(0, 16, 745, 425);
    TabSheet1 = new NonInvertingPage(*fields, last, PageControl1);
    TabSheet2 = new InvertingPage(*fields, last, PageControl1);
    TabSheet3 = new SpeakerPage(*fields, last, PageControl1);
    PageControl1->addTab(TabSheet1, "Неинвертирующий");
    PageControl1->addTab(TabSheet2, "Инвертирующий");
    PageControl1->addTab(TabSheet3, "Пример применения (условный - см. Help!)");

    Button8 = newButton(this, 8, "Exit", QRect(16, 456, 145, 33), true);
    Button9 = newButton(this, 9, "Help", QRect(184, 456, 145, 33), true);
    Button10 = newButton(this, 10, "Сохранить", QRect(584, 456, 145, 33), true);
    Button10->setEnabled(false);
    Label55 = newMessageLabel(this, 55, "Проверьте ввод !", QRect(0, 0, 745, 17), true);

    connect(fields, &NumericFields::bannerShown, Label55, &QWidget::setVisible);
    connect(fields, &NumericFields::saveEnabled, Button10, &QWidget::setEnabled);
    for (const auto &[button, handler] :
         {std::pair{Button8, &TForm1::Button8Click}, std::pair{Button9, &TForm1::Button9Click},
          std::pair{Button10, &TForm1::Button10Click}})
        connect(button, &QPushButton::clicked, this,
                [this, handler = handler] { runHandler([&] { (this->*handler)(); }); });

    // Beyond the calculations, on demand: F1 for the help, Shift+F10 and the menu key for the
    // focused control's menu, and one design carried between the pages from the result menus.
    connect(new QShortcut(Qt::Key_F1, this), &QShortcut::activated, Button9, &QPushButton::click);
    new KeyboardMenus(this);
    connect(TabSheet3, &SpeakerPage::routForAmplifier, this,
            [this](SchemeKind kind, const QString &rout) {
                AmplifierPage *page = kind == SchemeKind::NonInverting
                                          ? static_cast<AmplifierPage *>(TabSheet1)
                                          : TabSheet2;
                PageControl1->setCurrentWidget(page);
                page->takeRequiredRout(rout);
            });
    for (AmplifierPage *page :
         {static_cast<AmplifierPage *>(TabSheet1), static_cast<AmplifierPage *>(TabSheet2)}) {
        connect(page, &AmplifierPage::routForSpeaker, this, [this](const QString &rout) {
            PageControl1->setCurrentWidget(TabSheet3);
            TabSheet3->takeAmplifierRout(rout);
        });
        // One spread window for the main window, with the loudspeaker page's run when it has one.
        connect(page, &AmplifierPage::spreadRequested, this, [this](const AmplifierRun &run) {
            if (!tolerance)
                tolerance = new ToleranceWindow(this);
            tolerance->showFor(run, TabSheet3->validRun());
        });
    }
}

TForm1::~TForm1() = default;

void TForm1::showEvent(QShowEvent *event) {
    if (!centred) {
        centred = true;
        if (const QScreen *screen = this->screen())
            move(screen->availableGeometry().center() - frameGeometry().center() + pos());
    }
    QWidget::showEvent(event);
}

// Shown by the program, not restored by the window manager: the start-up calculation. It runs
// before the pages are shown, so that the chart is laid out once, with its curves.
void TForm1::setVisible(bool visible) {
    if (visible && !isVisible())
        runHandler([this] { FormShow(); });
    QWidget::setVisible(visible);
}

void TForm1::closeEvent(QCloseEvent *event) {
    // Closing the main window ends the program, help window and all.
    QWidget::closeEvent(event);
    QApplication::quit();
}

void TForm1::keyPressEvent(QKeyEvent *event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Enter presses the focused button, else the default button while its page is shown.
    if (auto *focused = qobject_cast<QPushButton *>(focusWidget()))
        focused->click();
    else if (TabSheet3->Button7->isVisible())
        TabSheet3->Button7->click();
}

void TForm1::FormShow() { TabSheet3->FormShow(); }

void TForm1::Button8Click() { QApplication::quit(); }

void TForm1::Button9Click() {
    Form2->show();
    Form2->raise();
    Form2->activateWindow();
}

void TForm1::Button10Click() {
    const QImage *schematic = last.schemeKind == SchemeKind::NonInverting ? &TabSheet1->schematic()
                              : last.schemeKind == SchemeKind::Inverting  ? &TabSheet2->schematic()
                                                                          : nullptr;
    saveResults(last, TabSheet3->Chart1, schematic);
    announce(Button10, QString::fromStdString(savedFilesNotice(QDir::currentPath().toStdString(),
                                                               schematic != nullptr)));
}
