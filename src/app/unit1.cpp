#include "app/unit1.h"

#include "amplifier/widgets/amplifier_designs.h"
#include "amplifier/widgets/amplifier_page.h"
#include "core/decimal_text.h"
#include "driver_load/driver_load_fields.h"
#include "driver_load/widgets/driver_exports.h"
#include "driver_load/widgets/driver_window.h"
#include "driver_load/window_box.h"
#include "help/widgets/unit2.h"
#include "input/widgets/field_keys.h"
#include "input/widgets/numeric_fields.h"
#include "project/driver_import.h"
#include "project/widgets/driver_files.h"
#include "project/widgets/project_files.h"
#include "report/output_files.h"
#include "report/save_plan.h"
#include "report/widgets/save_results.h"
#include "speaker/widgets/response_chart.h"
#include "speaker/widgets/speaker_page.h"
#include "tolerance/widgets/tolerance_window.h"
#include "ui/announcement.h"
#include "ui/classic_look.h"
#include "ui/design_widgets.h"
#include "ui/error_report.h"
#include "ui/keyboard_menus.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>

TForm1::TForm1(QWidget *parent)
    : QWidget(parent, designWindowFlags), driverInputs(defaultDriverLoadInputs()),
      windowInputs(following, driverInputs) {
    setUpWindow(this, "Form1", "Усилитель с комбинированной ООС по напряжению и току");
    setFixedSize(744, 502);
    fields = new NumericFields(last, this);

    // Created in keyboard order: the pages, then "Exit", "Help", "Сохранить"; the banner last,
    // over the top edge of the pages.
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(0, 16, 745, 425);
    TabSheet1 = new AmplifierPage(nonInvertingDesign, *fields, last, PageControl1);
    TabSheet2 = new AmplifierPage(invertingDesign, *fields, last, PageControl1);
    TabSheet3 = new SpeakerPage(*fields, last, PageControl1);
    for (AmplifierPage *page : {TabSheet1, TabSheet2})
        PageControl1->addTab(page, page->design().title);
    PageControl1->addTab(TabSheet3, "Пример применения (условный - см. Help!)");

    Button8 = newButton(this, 8, "Exit", QRect(16, 456, 145, 33), true);
    Button9 = newButton(this, 9, "Help", QRect(184, 456, 145, 33), true);
    Button10 = newButton(this, 10, "Сохранить", QRect(584, 456, 145, 33), true);
    Button10->setEnabled(false);
    Label55 = newMessageLabel(this, 55, "Проверьте ввод !", QRect(0, 0, 745, 17), true);

    connect(fields, &NumericFields::bannerShown, Label55, &QWidget::setVisible);
    connect(fields, &NumericFields::saveEnabled, Button10, &QWidget::setEnabled);
    const std::pair<QPushButton *, void (TForm1::*)()> handlers[] = {
        {TabSheet2->button(1), &TForm1::Button1Click},
        {TabSheet2->button(2), &TForm1::Button2Click},
        {TabSheet2->button(3), &TForm1::Button3Click},
        {TabSheet1->button(1), &TForm1::Button4Click},
        {TabSheet1->button(2), &TForm1::Button5Click},
        {TabSheet1->button(3), &TForm1::Button6Click},
        {TabSheet3->calculateButton(), &TForm1::Button7Click},
        {Button8, &TForm1::Button8Click},
        {Button9, &TForm1::Button9Click},
        {Button10, &TForm1::Button10Click},
    };
    for (const auto &[button, handler] : handlers)
        connectHandler(button, this, [this, handler = handler] { (this->*handler)(); });

    // Beyond the calculations, on demand: F1 for the help, Shift+F10 and the menu key for the
    // focused control's menu, and one design carried between the pages from the result menus.
    connect(new QShortcut(Qt::Key_F1, this), &QShortcut::activated, Button9, &QPushButton::click);
    new KeyboardMenus(this);
    connectPages();

    // The design as a project, through the menu of "Сохранить"; its title follows every field.
    projects = new ProjectFiles({this, Button10, [this] { return design(); },
                                 [this](const DesignRecord &opened) { openDesign(opened); }});
    for (QLineEdit *edit : findChildren<QLineEdit *>()) {
        if (const int n = edit->objectName().mid(4).toInt();
            edit->objectName().startsWith("Edit") && n >= 1 && n <= 37)
            edits[static_cast<std::size_t>(n - 1)] = edit;
        connect(edit, &QLineEdit::textChanged, projects, &ProjectFiles::designChanged);
    }
}

// The hand-overs between the pages go through the receiving page's own field, which checks the
// value and takes it once the window shows that page.
void TForm1::connectPages() {
    const auto routInto = [this](AmplifierPage *page) {
        return Variant2Target{{&page->requiredRoutField(),
                               [this, page](double ohms) {
                                   PageControl1->setCurrentWidget(page);
                                   page->takeRequiredRout(ohms);
                               }},
                              &page->designLoadField(),
                              [this, page](double ohms, double load) {
                                  PageControl1->setCurrentWidget(page);
                                  page->takeRequiredRout(ohms, load);
                              }};
    };
    variant2Rout = {routInto(TabSheet1), routInto(TabSheet2)};
    TabSheet3->setRoutTargets(variant2Rout[0], variant2Rout[1]);
    // Page 3's closed box, with the window's Le whichever box the window shows.
    TabSheet3->setDriverLoad(
        {[this] { openDriverWindow(); },
         [this](QWidget *control, const SpeakerRun &run) {
             DriverLoadInputs closed = driverInputs;
             closed.box = BoxKind::Closed;
             exportImpedance(control, run, closed);
         },
         [this](QWidget *control) {
             if (const auto chosen = chooseDriverFile(control))
                 takeDriver(chosen->driver, chosen->path, control);
         },
         [this](QWidget *control, const SpeakerRun &run) { saveDriver(control, run); }});
    // The loudspeaker page's run in the box and with the Le of the window «Динамик и усилитель»,
    // as a netlist's load.
    const auto loudspeaker = [this] {
        const SpeakerRun *run = TabSheet3->validRun();
        return run ? DriverOffer{windowCircuit(*run, driverInputs),
                                 driverDrive(*run, driverInputs),
                                 {}}
                   : DriverOffer{{}, {}, "Пример применения: " + TabSheet3->record().whyNone()};
    };
    for (AmplifierPage *page : {TabSheet1, TabSheet2}) {
        // Variant 3's Rвых, and its Rт for the loudspeaker page's window.
        page->setRoutTarget({&TabSheet3->amplifierRoutField(), [this, page](double ohms) {
                                 PageControl1->setCurrentWidget(TabSheet3);
                                 if (const AmplifierRun *run = page->validRun(3)) {
                                     driverInputs.rt = run->network.rt;
                                     if (auto *window = following.made<DriverWindow>())
                                         window->takeSenseResistor(run->network.rt);
                                 }
                                 TabSheet3->takeAmplifierRout(ohms);
                             }});
        page->setDriverSource(loudspeaker);
        connect(page, &AmplifierPage::runStarted, this, [this, page](int variant) {
            lastAmplifierPage = page;
            lastAmplifierVariant = variant;
        });
        // One spread window for the main window, with the loudspeaker page's run when it has one.
        page->setSpreadWindow([this, page](int variant) {
            toleranceWindow().showFor(page->record(variant), TabSheet3->record());
        });
    }
    // The windows of their own follow every page as it is recomputed.
    for (RecordPage *page : std::initializer_list<RecordPage *>{TabSheet1, TabSheet2, TabSheet3})
        connect(page, &RecordPage::recordChanged, this, [this] { following.follow(); });
}

// «Динамик и усилитель», over the main window; made with the texts a design gave it.
void TForm1::openDriverWindow() {
    const bool made = following.made<DriverWindow>();
    auto &window =
        following.open<DriverWindow>(this, TabSheet3->record(), driverInputs, variant2Rout);
    if (!made) {
        windowInputs.fill(window);
        watchInputs(&window);
    }
    window.showOver();
}

ToleranceWindow &TForm1::toleranceWindow() {
    if (auto *made = following.made<ToleranceWindow>())
        return *made;
    auto &window = following.open<ToleranceWindow>(this);
    windowInputs.fill(window);
    watchInputs(&window);
    return window;
}

// The project's title follows every input of a window of the design, made now; the project's
// keys work there too.
void TForm1::watchInputs(QWidget *window) {
    for (QLineEdit *edit : window->findChildren<QLineEdit *>())
        connect(edit, &QLineEdit::textChanged, projects, &ProjectFiles::designChanged);
    projects->offerKeys(window);
}

// The project goes first: a field of a window of its own that finishes its editing as it is
// deleted no longer asks for the design of a window half gone.
TForm1::~TForm1() { delete projects; }

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
    // Closing the main window ends the program, help window and all, once the changes of an open
    // project are saved or given up.
    if (!leaving && !projects->mayDiscardChanges()) {
        event->ignore();
        return;
    }
    leaving = true;
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
    else if (TabSheet3->calculateButton()->isVisible())
        TabSheet3->calculateButton()->click();
}

void TForm1::FormShow() { TabSheet3->calculateAtStart(); }
void TForm1::Button1Click() { TabSheet2->solveForR2(); }
void TForm1::Button2Click() { TabSheet2->designForGain(); }
void TForm1::Button3Click() { TabSheet2->evaluateKnownNetwork(); }
void TForm1::Button4Click() { TabSheet1->solveForR2(); }
void TForm1::Button5Click() { TabSheet1->designForGain(); }
void TForm1::Button6Click() { TabSheet1->evaluateKnownNetwork(); }
void TForm1::Button7Click() { TabSheet3->calculate(); }

void TForm1::Button8Click() {
    if (leaving || projects->mayDiscardChanges()) {
        leaving = true;
        QApplication::quit();
    }
}

void TForm1::Button9Click() {
    Form2->show();
    Form2->raise();
    Form2->activateWindow();
}

// What "Сохранить" would write: the last amplifier run, if any, and the loudspeaker page's run.
SavePlan TForm1::savePlan() const {
    std::optional<SectionRun<AmplifierRun>> amplifier;
    if (lastAmplifierPage) {
        const LastValidRun<AmplifierRun> &record = lastAmplifierPage->record(lastAmplifierVariant);
        amplifier = SectionRun<AmplifierRun>{record.lastResult(), record.reason(),
                                             QString("%1, Вариант %2")
                                                 .arg(lastAmplifierPage->design().title)
                                                 .arg(lastAmplifierVariant)
                                                 .toStdString()};
    }
    const LastValidRun<SpeakerRun> &speaker = TabSheet3->record();
    return planSave(amplifier ? &*amplifier : nullptr,
                    {speaker.lastResult(), speaker.reason(), "Пример применения"},
                    last.speakerDone > 0);
}

// The files describe the last valid runs, never a refused run's values; where the run a section
// describes has no result, nothing is written and a message says which and why.
void TForm1::Button10Click() {
    const SavePlan plan = savePlan();
    if (!plan.refusals.empty()) {
        QStringList refusals;
        for (const std::string &refusal : plan.refusals)
            refusals << QString::fromStdString(refusal);
        QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(),
                        "Не сохранено: " + refusals.join("; "), QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return;
    }
    const QImage *schematic =
        plan.record.schemeKind == SchemeKind::NonInverting ? &TabSheet1->schematic()
        : plan.record.schemeKind == SchemeKind::Inverting  ? &TabSheet2->schematic()
                                                           : nullptr;
    TabSheet3->drawChartOf(*TabSheet3->record().lastResult(),
                           [&](QWidget *chart) { saveResults(plan, chart, schematic); });
    announce(Button10, QString::fromStdString(savedFilesNotice(QDir::currentPath().toStdString(),
                                                               schematic != nullptr)));
}

// The amplifier page and variant of Button1 … Button6.
std::pair<const AmplifierPage *, int> TForm1::amplifierGroup(int number) const {
    return {number <= 3 ? TabSheet2 : TabSheet1, (number - 1) % 3 + 1};
}

// Whether the group of Button1 … Button7 shows a result, or its message.
bool TForm1::groupShows(int number) const {
    if (number == 7)
        return TabSheet3->validRun() != nullptr;
    const auto [page, variant] = amplifierGroup(number);
    return page->validRun(variant) || page->showsMessage(variant);
}

// The groups that show a result, or their message, run again on opening: the start-up run first,
// the last amplifier run last, so that "Сохранить" then writes what it would have written.
DesignRecord TForm1::design() const {
    DesignRecord shown;
    for (std::size_t i = 0; i < edits.size(); ++i)
        shown.fields[i] = edits[i]->text().toStdString();
    shown.driverWindow = windowInputs.driverTexts();
    shown.box = windowInputs.driverBox();
    shown.tolerances = windowInputs.toleranceTexts();
    shown.page = PageControl1->currentIndex() + 1;
    if (groupShows(7))
        shown.calculated.emplace_back(last.speakerDone ? "Button7" : "FormShow");
    std::string lastRun;
    for (int number = 1; number <= 6; ++number) {
        if (!groupShows(number))
            continue;
        std::string name = "Button" + std::to_string(number);
        if (amplifierGroup(number) == std::pair(lastAmplifierPage, lastAmplifierVariant))
            lastRun = std::move(name);
        else
            shown.calculated.push_back(std::move(name));
    }
    if (!lastRun.empty())
        shown.calculated.push_back(lastRun);
    if (knownDriver && driverValueTexts(shown) == knownDriver->texts)
        shown.driverName = knownDriver->name;
    return shown;
}

void TForm1::openDesign(const DesignRecord &opened) {
    // Each field the design changes as typing changes it: no group shows a result of the texts
    // before, and one the design leaves shows what a fresh start with it shows.
    for (std::size_t i = 0; i < edits.size(); ++i)
        if (const QString text = QString::fromStdString(opened.fields[i]); edits[i]->text() != text)
            fields->replaceText(edits[i], text);
    // A group the design did not calculate shows no result either, its texts the same or not.
    const auto listed = [&opened](std::string_view name) {
        return std::find(opened.calculated.begin(), opened.calculated.end(), name) !=
               opened.calculated.end();
    };
    constexpr std::array<std::size_t, 7> firstEdits{1, 6, 11, 16, 21, 26, 31};
    for (int number = 1; number <= 7; ++number)
        if (groupShows(number) && !listed("Button" + std::to_string(number)) &&
            !(number == 7 && listed("FormShow"))) {
            QLineEdit *first = edits[firstEdits[static_cast<std::size_t>(number - 1)] - 1];
            fields->replaceText(first, first->text());
        }
    for (AmplifierPage *page : {TabSheet1, TabSheet2})
        page->hideMessages();
    // Fb follows the page's Fs again where it reads as that.
    const auto table = driverLoadFields();
    for (std::size_t row = 0; row < opened.driverWindow.size(); ++row) {
        if (followsFs(table[row]))
            driverInputs.fbFollowsFs =
                parseDecimalComma(opened.driverWindow[row]) == parseDecimalComma(opened.fields[30]);
        windowInputs.setDriverText(row, opened.driverWindow[row]);
    }
    windowInputs.setDriverBox(opened.box);
    for (std::size_t row = 0; row < opened.tolerances.size(); ++row)
        windowInputs.setToleranceText(row, opened.tolerances[row]);
    knownDriver.reset();
    if (opened.driverName)
        knownDriver = KnownDriver{*opened.driverName, driverValueTexts(opened)};
    last = LastResults{};
    lastAmplifierPage = nullptr;
    lastAmplifierVariant = 0;
    Button10->setEnabled(false);
    const std::pair<std::string_view, void (TForm1::*)()> handlers[] = {
        {"FormShow", &TForm1::FormShow},    {"Button1", &TForm1::Button1Click},
        {"Button2", &TForm1::Button2Click}, {"Button3", &TForm1::Button3Click},
        {"Button4", &TForm1::Button4Click}, {"Button5", &TForm1::Button5Click},
        {"Button6", &TForm1::Button6Click}, {"Button7", &TForm1::Button7Click}};
    for (const std::string &name : opened.calculated)
        for (const auto &[handlerName, handler] : handlers)
            if (name == handlerName)
                runHandler([this, handler = handler] { (this->*handler)(); });
    PageControl1->setCurrentIndex(opened.page - 1);
}

void TForm1::openProject(const QString &path) { projects->open(path); }

void TForm1::takeDriver(const DriverFile &driver, const QString &path, QWidget *control) {
    const DriverImport import = importDriver(driver);
    PageControl1->setCurrentWidget(TabSheet3);
    for (const ImportedValue &value : import.values) {
        if (value.place.windowRow)
            windowInputs.setDriverText(*value.place.windowRow, value.text, value.clamped);
        else
            fields->replaceText(edits[static_cast<std::size_t>(value.place.edit - 1)],
                                QString::fromStdString(value.text));
    }
    runHandler([this] { TabSheet3->calculate(); });
    // The run recoloured its fields: the clamped ones are marked after it.
    for (const ImportedValue &value : import.values)
        if (value.clamped && !value.place.windowRow)
            setFieldColour(edits[static_cast<std::size_t>(value.place.edit - 1)], clYellow());
    knownDriver = KnownDriver{{driver.brand, driver.model}, driverValueTexts(design())};
    projects->designChanged();
    const ImportNotice notice = importNotice(driver, import, path.toStdString());
    if (!notice.detailed) {
        announce(control, QString::fromStdString(notice.text));
        return;
    }
    QMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(),
                    QString::fromStdString(notice.text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// The run's driver with the driver window's values, which must be within their ranges.
void TForm1::saveDriver(QWidget *control, const SpeakerRun &run) {
    DesignRecord shown = design();
    if (const std::string fault = driverWindowFault(shown.driverWindow); !fault.empty())
        throw std::runtime_error("Динамик не сохранён: " + fault);
    saveDriverFile(control, designDriver(run.driver, shown.driverWindow, shown.driverName));
}
