#include "speaker/widgets/speaker_menus.h"

#include "core/decimal_text.h"
#include "core/whole_file.h"
#include "speaker/qtc_advice.h"
#include "speaker/response_export.h"
#include "speaker/speaker_design.h"
#include "speaker/widgets/response_chart.h"
#include "speaker/widgets/rout_hand_overs.h"
#include "ui/accessible_names.h"
#include "ui/announcement.h"
#include "ui/dialog_folder.h"
#include "ui/shown_text.h"
#include "ui/values_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

const QString SpeakerMenus::chartMenuHint =
    "Правая кнопка мыши или Shift+F10: экспорт АЧХ в FRD, копировать таблицу АЧХ, экспорт "
    "импеданса в ZMA, динамик и усилитель, загрузить и сохранить динамик";

const std::array<MenuAction<SpeakerMenus::Subject>, 6> SpeakerMenus::actions{{
    {"Rвых → Вариант 2", nullptr, addRoutToAmplifiers},
    {"Vb → поле Vb", offersVolume, addVolumeForTarget},
    {"значения полностью", nullptr, addValues},
    {"копировать", nullptr, addCopy},
    {"динамик и усилитель", nullptr, addDriverWindow},
    {"загрузить и сохранить динамик", nullptr, addDriverFiles},
}};

namespace {

// The volume that gives Qtc = 0,7 at Rвых = 0, where the volume field takes it.
std::optional<double> volumeForTarget(const SpeakerRun &run, const HandOverField &field) {
    const std::optional<double> volume = qtcAdvice(run).volume;
    if (volume && field.refusedRange(*volume).empty())
        return volume;
    return std::nullopt;
}

} // namespace

bool SpeakerMenus::offersVolume(const Subject &subject) {
    return subject.run &&
           volumeForTarget(*subject.run, subject.menus->page.volumeField).has_value();
}

QString SpeakerMenus::hint() const {
    return "\n" + menuHint(offeredHints<Subject>(actions, {this, page.record.valid()}));
}

void SpeakerMenus::fillResultMenu(QMenu &menu) const {
    ActionMenu items(menu, shown(page.record.whyNone()));
    addActions<Subject>(items, actions, {this, page.record.valid()});
}

void SpeakerMenus::offerOnResults(QWidget *caption, QWidget *button) {
    for (QWidget *opener : {caption, button})
        offerMenu(opener, [this](QMenu &menu) { fillResultMenu(menu); });
    describeMenuButton(button, offeredHints<Subject>(actions, {this, nullptr}));
}

// A result's tooltip: the value behind its text, or why there is none; then its menu. The menu
// and Ctrl+C work on the result as well.
void SpeakerMenus::offerOnLabel(QLabel *label, std::function<QString(const SpeakerRun &)> value) {
    describeResult(label, [this, value = std::move(value)] {
        const SpeakerRun *run = page.record.valid();
        return (run ? value(*run) : shown(page.record.whyNone())) + hint();
    });
    offerMenu(label, [this](QMenu &menu) { fillResultMenu(menu); });
    offerCopy(label, [this] {
        if (const SpeakerRun *run = page.record.valid())
            copyResults(*run);
    });
}

namespace {

// The value behind a result's text, four significant digits: «F3 = 103,9 Гц».
QString valueLine(const SpeakerRun &run, const SpeakerResultRow &row) {
    return QString("%1 = %2").arg(row.name, shown(formatSignificant(run.box.*row.value, 4))) +
           (*row.unit ? QString(" ") + row.unit : QString());
}

} // namespace

void SpeakerMenus::offerOnResult(QLabel *label, const SpeakerResultRow &row) {
    offerOnLabel(label, [&row](const SpeakerRun &run) { return valueLine(run, row); });
}

// The required Rвых's tooltip says what it means for the box.
void SpeakerMenus::offerOnRequiredRout(QLabel *label) {
    offerOnLabel(label, [](const SpeakerRun &run) { return shown(qtcAdvice(run).text); });
}

// The required Rвых, as shown, into the Rвых field of either amplifier's Variant 2, alone or with
// the driver's Re into its Rн.
void SpeakerMenus::addRoutToAmplifiers(ActionMenu &menu, const Subject &subject) {
    std::optional<RoutForTarget> offer;
    if (const SpeakerRun *run = subject.run)
        offer = RoutForTarget{targetQtc, run->routRequired, qtcAdvice(*run).text, run->driver.re};
    addRoutHandOvers(menu, subject.menus->routTargets, offer ? &*offer : nullptr);
}

// The box volume that reaches Qtc = 0,7 at Rвых = 0, computed as "Вычислить" computes.
void SpeakerMenus::addVolumeForTarget(ActionMenu &menu, const Subject &subject) {
    const Given &page = subject.menus->page;
    const double volume = volumeForTarget(*subject.run, page.volumeField).value_or(0);
    menu.addItem("Vb = " + shown(page.volumeField.text(volume)) + " л → поле Vb", {},
                 [take = page.takeVolume, volume] { take(volume); });
}

// The values behind the results, and what the required Rвых means, in a window of their own.
void SpeakerMenus::addValues(ActionMenu &menu, const Subject &subject) {
    menu.addItem("Значения полностью…", {},
                 [button = subject.menus->page.button, run = kept(subject.run)] {
                     QStringList lines;
                     for (const SpeakerResultRow &row : speakerResultRows)
                         lines << valueLine(run, row);
                     lines << shown(qtcAdvice(run).text);
                     showValues(button, "Пример применения", lines);
                 });
}

void SpeakerMenus::addCopy(ActionMenu &menu, const Subject &subject) {
    menu.addItem("Копировать результаты", {},
                 [menus = subject.menus, run = kept(subject.run)] { menus->copyResults(run); });
}

void SpeakerMenus::addDriverWindow(ActionMenu &menu, const Subject &subject) {
    menu.addItem("Динамик и усилитель…", {},
                 [open = subject.menus->driverLoad.openWindow] { open(); });
}

// A driver file into the fields, whatever the page shows; the run's driver into one.
void SpeakerMenus::addDriverFiles(ActionMenu &menu, const Subject &subject) {
    const SpeakerMenus &menus = *subject.menus;
    QWidget *control = menus.page.button;
    menu.addAlwaysItem("Загрузить динамик…",
                       [load = menus.driverLoad.loadDriver, control] { load(control); });
    menu.addItem("Сохранить динамик…", {},
                 [save = menus.driverLoad.saveDriver, control, run = kept(subject.run)] {
                     save(control, run);
                 });
}

// One line for each input and result, named as the page's rows: «Fs = 19 Гц».
void SpeakerMenus::copyResults(const SpeakerRun &run) const {
    const Driver &d = run.driver;
    const std::array<double, 7> inputs{d.fs, d.re, d.qms, d.qes, d.vas, run.vb, run.rout};
    std::vector<CopyLine> lines;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        lines.push_back(
            {speakerInputRows[i].name, shown(formatGeneral(inputs[i])), speakerInputRows[i].unit});
    for (const SpeakerResultRow &row : speakerResultRows)
        lines.push_back(
            {row.name, shown(displayRounded(run.box.*row.value, row.decimals)), row.unit});
    lines.push_back(
        {"Требуемое Rвых", run.routRequired ? shown(formatGeneral(*run.routRequired)) : "—", "Ом"});
    copyLines(lines);
}

void SpeakerMenus::offerOnChart(QWidget *chart) {
    offerMenu(chart, [this](QMenu &menu) {
        const SpeakerRun *run = page.record.valid();
        ActionMenu items(menu, run ? QString() : "График пуст: нажмите «Вычислить»");
        items.startSection();
        items.addItem("Экспорт АЧХ в FRD…", {}, [this, run = kept(run)] { exportResponse(run); });
        items.addItem("Копировать таблицу АЧХ", {}, [run = kept(run)] {
            QApplication::clipboard()->setText(shown(responseTable(run)));
        });
        // The impedance with the Le of the driver-load window, and the window itself.
        items.startSection();
        items.addItem("Экспорт импеданса в ZMA…", {},
                      [this, run = kept(run)] { driverLoad.exportImpedance(page.chart, run); });
        items.addItem("Динамик и усилитель…", {}, [open = driverLoad.openWindow] { open(); });
        items.startSection();
        items.addAlwaysItem("Загрузить динамик…", [this] { driverLoad.loadDriver(page.chart); });
        items.addItem("Сохранить динамик…", {},
                      [this, run = kept(run)] { driverLoad.saveDriver(page.chart, run); });
    });
}

// Both curves as FRD files into the folder the dialog chooses; the word after it names them.
void SpeakerMenus::exportResponse(const SpeakerRun &run) const {
    const QString folder =
        QFileDialog::getExistingDirectory(page.chart, "Папка для файлов АЧХ (FRD)", dialogFolder());
    if (folder.isEmpty())
        return;
    writeResponseFiles(QFile::encodeName(folder).toStdString(), run);
    announce(page.chart, shown(savedNotice(QDir(folder).absolutePath().toStdString(),
                                           {frdFileName(run, ResponseCurve::IdealSource),
                                            frdFileName(run, ResponseCurve::RunRout)})));
}
