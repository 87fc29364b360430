#include "amplifier/widgets/group_menus.h"

#include "amplifier/best_pair.h"
#include "amplifier/result_display.h"
#include "amplifier/spice_netlist.h"
#include "amplifier/widgets/amplifier_designs.h"
#include "core/decimal_text.h"
#include "ui/accessible_names.h"
#include "ui/export_file.h"
#include "ui/shown_text.h"
#include "ui/values_window.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr std::array<std::pair<StandardSeries, const char *>, 2> seriesNames{{
    {StandardSeries::E24, "E24"},
    {StandardSeries::E96, "E96"},
}};

// Variant 3's five fields for R1 and R2 in kΩ with the Roc, Rн and Rт that Variants 1 and 2 were
// typed with (their second to fourth fields).
std::array<double, 5> variant3Values(double r1, double r2, const AmplifierRun &run) {
    return {r1, r2, run.typed[1], run.typed[2], run.typed[3]};
}

} // namespace

const std::array<MenuAction<AmplifierMenus::Group>, 7> AmplifierMenus::actions{{
    {"ряд E24/E96 или лучшая пара → Вариант 3", offeredByVariants12, addStandardParts},
    {"Rвых → Пример применения", offeredByVariant3, addRoutToSpeaker},
    {"схема для SPICE", nullptr, addSpiceNetlist},
    {"схема с динамиком для SPICE", nullptr, addSpiceNetlistWithDriver},
    {"разброс при допусках", nullptr, addSpread},
    {"значения полностью", nullptr, addValues},
    {"копировать", nullptr, addCopy},
}};

bool AmplifierMenus::offeredByVariants12(const Group &group) { return group.variant != 3; }
bool AmplifierMenus::offeredByVariant3(const Group &group) { return group.variant == 3; }

void AmplifierMenus::offerOnGroup(int variant, const LastValidRun<AmplifierRun> &groupRecord,
                                  QPushButton *button, const std::array<QLabel *, 2> &results) {
    records[static_cast<std::size_t>(variant - 1)] = &groupRecord;
    buttons[static_cast<std::size_t>(variant - 1)] = button;
    const Group group{this, variant};
    const auto fill = [this, group](QMenu &menu) {
        ActionMenu items(menu, shown(record(group.variant).whyNone()));
        addActions<Group>(items, actions, group);
    };
    offerMenu(button, fill);
    describeMenuButton(button, offeredHints<Group>(actions, group));
    for (std::size_t row = 0; row < results.size(); ++row) {
        offerMenu(results[row], fill);
        offerCopy(results[row], [this, variant] {
            if (const AmplifierRun *run = record(variant).valid())
                copyResults(*run);
        });
        describeResult(results[row], [this, variant, row] { return resultTip(variant, row); });
    }
}

// The schematic offers the netlist of each group's last valid run.
void AmplifierMenus::offerOnSchematic(QWidget *schematic) {
    offerMenu(schematic, [this](QMenu &menu) {
        ActionMenu items(menu, {});
        for (int variant = 1; variant <= 3; ++variant)
            items.addItem(QString("Сохранить схему Варианта %1 для SPICE…").arg(variant),
                          shown(record(variant).whyNone()),
                          [this, run = kept(record(variant).valid())] {
                              saveNetlist(run, page.design.netlistFileName, spiceNetlist(run));
                          });
    });
}

// The value behind a result's text, with a note where the field it would be handed to refuses
// it: R1 and R2 go to Variant 3, Rвых to the loudspeaker page.
QString AmplifierMenus::valueLine(const AmplifierRun &run, std::size_t row) const {
    const ResultQuantity quantity = variantResults(run.variant)[row];
    const double value = run.shown[row];
    std::string line = resultValue(quantity, value);
    if (quantity == ResultQuantity::R1 || quantity == ResultQuantity::R2) {
        const std::string range =
            page.variant3Fields[quantity == ResultQuantity::R1 ? 0 : 1].refusedRange(value / 1000);
        if (!range.empty())
            line += ", вне диапазона Варианта 3: " + range;
    } else if (quantity == ResultQuantity::Rout && routTarget.field) {
        const std::string range = routTarget.field->refusedRange(value);
        if (!range.empty())
            line += ", вне диапазона Примера применения: " + range;
    }
    return shown(line);
}

// A result's tooltip: the value behind its text, or why there is none; then its menu.
QString AmplifierMenus::resultTip(int variant, std::size_t row) const {
    const QString hint = "\n" + menuHint(offeredHints<Group>(actions, {this, variant}));
    const AmplifierRun *run = record(variant).valid();
    return (run ? valueLine(*run, row) : shown(record(variant).whyNone())) + hint;
}

// R1 and R2 as parts of a standard series into Variant 3, which computes what they give: each
// the nearest value of the series, or the pair of nearby values that comes closest to what the
// group was after.
void AmplifierMenus::addStandardParts(ActionMenu &menu, const Group &group) {
    const Given &page = group.menus->page;
    const AmplifierRun *run = group.menus->record(group.variant).valid();
    for (const auto &[series, name] : seriesNames) {
        const std::array<double, 2> parts =
            run ? nearestParts(run->network, series) : std::array<double, 2>{};
        QString whyNot;
        for (std::size_t i = 0; run && i < parts.size() && whyNot.isEmpty(); ++i)
            if (const std::string range = page.variant3Fields[i].refusedRange(parts[i]);
                !range.empty())
                whyNot = QString("%1: R%2 = %3 кОм вне диапазона %4")
                             .arg(name)
                             .arg(i + 1)
                             .arg(shown(formatGeneral(parts[i])), shown(range));
        std::array<double, 5> values{};
        if (run)
            values = variant3Values(parts[0], parts[1], *run);
        menu.addItem(QString("Ряд %1 → Вариант 3").arg(name), whyNot,
                     [evaluate = page.evaluateVariant3, values] { evaluate(values); });
    }
    for (const auto &[series, name] : seriesNames) {
        const std::optional<StandardPair> pair =
            run ? bestStandardPair(*run, series) : std::nullopt;
        const QString whyNot = run && !pair ? QString("%1: нет пары в диапазоне %2")
                                                  .arg(name, shown(page.variant3Fields[0].range()))
                                            : QString();
        std::array<double, 5> values{};
        if (pair)
            values = variant3Values(pair->r1KiloOhms, pair->r2KiloOhms, *run);
        QAction *item =
            menu.addItem(QString("Лучшая пара %1 → Вариант 3").arg(name), whyNot,
                         [evaluate = page.evaluateVariant3, values] { evaluate(values); });
        if (pair)
            item->setToolTip(shown(pairErrorText(*pair)));
    }
}

void AmplifierMenus::addRoutToSpeaker(ActionMenu &menu, const Group &group) {
    const AmplifierRun *run = group.menus->record(group.variant).valid();
    const HandOver &target = group.menus->routTarget;
    const double rout = run ? run->outputs.rout : 0;
    QString whyNot;
    if (run)
        if (const std::string range = target.field->refusedRange(rout); !range.empty())
            whyNot = shown("Rвых = " + target.field->text(rout) + " Ом вне диапазона " + range);
    menu.addItem("Rвых → Пример применения", whyNot, [take = target.take, rout] { take(rout); });
}

void AmplifierMenus::addSpiceNetlist(ActionMenu &menu, const Group &group) {
    menu.addItem("Сохранить схему для SPICE…", {},
                 [menus = group.menus, run = kept(group.menus->record(group.variant).valid())] {
                     menus->saveNetlist(run, menus->page.design.netlistFileName, spiceNetlist(run));
                 });
}

// The network with the loudspeaker page's last valid run in place of Rн.
void AmplifierMenus::addSpiceNetlistWithDriver(ActionMenu &menu, const Group &group) {
    const AmplifierMenus *menus = group.menus;
    const DriverOffer driver = menus->driverSource();
    menu.addItem("Схема с динамиком для SPICE…", shown(driver.whyNone),
                 [menus, run = kept(menus->record(group.variant).valid()),
                  circuit = driver.circuit.value_or(DriverCircuit{}), drive = driver.drive] {
                     menus->saveNetlist(run, menus->page.design.driverNetlistFileName,
                                        spiceNetlistWithDriver(run, circuit, drive));
                 });
}

void AmplifierMenus::addSpread(ActionMenu &menu, const Group &group) {
    menu.addItem("Разброс при допусках…", {},
                 [open = group.menus->spreadWindow, variant = group.variant] { open(variant); });
}

// The values behind both results in a window of their own, for the keyboard and the eye.
void AmplifierMenus::addValues(ActionMenu &menu, const Group &group) {
    menu.addItem("Значения полностью…", {},
                 [menus = group.menus, run = kept(group.menus->record(group.variant).valid())] {
                     showValues(
                         menus->button(run.variant),
                         QString("%1, Вариант %2").arg(menus->page.design.title).arg(run.variant),
                         {menus->valueLine(run, 0), menus->valueLine(run, 1)});
                 });
}

void AmplifierMenus::addCopy(ActionMenu &menu, const Group &group) {
    menu.addItem("Копировать результаты", {},
                 [menus = group.menus, run = kept(group.menus->record(group.variant).valid())] {
                     menus->copyResults(run);
                 });
}

// A netlist of the run, where the file dialog points; the word after it names the file.
void AmplifierMenus::saveNetlist(const AmplifierRun &run, const char *fileName,
                                 const std::string &text) const {
    exportFile(button(run.variant), "Сохранить схему для SPICE", QString::fromUtf8(fileName),
               "Схемы SPICE (*.cir)", text);
}

// One line for each input and result, named as the group's rows: «R1 = 20 кОм».
void AmplifierMenus::copyResults(const AmplifierRun &run) const {
    const auto &rows = page.design.groups[static_cast<std::size_t>(run.variant - 1)].rows;
    std::vector<CopyLine> lines;
    for (std::size_t i = 0; i < run.typed.size(); ++i)
        lines.push_back({rows[i].name, shown(formatGeneral(run.typed[i])), rows[i].unit});
    const auto quantities = variantResults(run.variant);
    for (std::size_t i = 0; i < run.shown.size(); ++i)
        lines.push_back(
            {rows[5 + i].name, shown(resultText(quantities[i], run.shown[i])), rows[5 + i].unit});
    copyLines(lines);
}
