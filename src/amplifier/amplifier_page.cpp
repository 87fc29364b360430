// The two amplifier pages: the same three calculations on two circuits, each page built from
// its table of control numbers, captions and design-time texts.

#include "amplifier/amplifier_page.h"

#include "amplifier/best_pair.h"
#include "amplifier/feedback_design.h"
#include "amplifier/inverting.h"
#include "amplifier/non_inverting.h"
#include "amplifier/schematics.h"
#include "amplifier/spice_netlist.h"
#include "core/decimal_text.h"
#include "core/standard_values.h"
#include "core/whole_file.h"
#include "input/field_table.h"
#include "input/numeric_fields.h"
#include "ui/accessible_names.h"
#include "ui/announcement.h"
#include "ui/classic_look.h"
#include "ui/design_widgets.h"
#include "ui/error_report.h"
#include "ui/result_menu.h"
#include "ui/timage.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <span>

namespace {

// The group messages.
const QString senseNotBelowRout = "R < Rвых!";
const QString noSolution = "Решения нет";
const QString noSolutionInverting = "Решения нет!"; // Variant 1 of the inverting page
const QString increaseR = "Увеличьте R!";

// Five input captions, then the two result captions. Variant 3 writes "Rос" with a Cyrillic
// "ос"; it looks the same.
using Captions = std::array<const char *, 7>;
constexpr Captions variant1Captions{"R1 (кОм) =",  "Roc (кОм) =", "Rн (Ом) =", "Rт (Ом) =",
                                    "Rвых (Ом) =", "R2 (кОм) =",  "Ку (раз) ="};
constexpr Captions variant2Captions{"Ку (раз) =",  "Roc (кОм) =", "Rн (Ом) =", "Rт (Ом) =",
                                    "Rвых (Ом) =", "R1 (кОм) =",  "R2 (кОм) ="};
constexpr Captions variant3Captions{"R1 (кОм) =", "R2 (кОм) =",  "Rос (кОм) =", "Rн (Ом) =",
                                    "Rт (Ом) =",  "Rвых (Ом) =", "Ку (раз) ="};

// What each "Вариант" group computes, for screen readers.
constexpr std::array<const char *, 3> variantDescriptions{
    "R2 и Ку по заданным R1, Roc, Rн, Rт и Rвых",
    "R1 и R2 по заданным Ку, Roc, Rн, Rт и Rвых",
    "Rвых и Ку по заданным R1, R2, Rос, Rн и Rт",
};

constexpr std::array<int, 5> fieldRowsY{40, 72, 104, 136, 168};
constexpr std::array<int, 2> resultRowsY{224, 248};

} // namespace

// One "Вариант" group box.
struct AmplifierGroupDesign {
    int boxNumber;
    int x;
    FieldGroup fields;
    int firstCaptionLabel; // the seven caption labels are numbered on from here
    const Captions &captions;
    int messageNumber; // 0: no message label
    QString messageText;
    std::array<int, 2> resultNumbers;
    std::array<const char *, 2> resultTexts; // design-time texts, with a decimal point
    int buttonNumber;
};

struct AmplifierPageDesign {
    int sheetNumber; // of TabSheetN
    SchemeKind schemeKind;
    const AmplifierCircuit &circuit;
    QImage (*schematic)();
    int imageNumber;
    // For screen readers: what the picture is, and its circuit in words.
    const char *schematicName;
    const char *schematicDescription;
    int noteNumber;
    QString noSolution; // what Variant 1 says when no R2 in its range gives the Rвых
    std::array<AmplifierGroupDesign, 3> groups;
};

namespace {

using G = FieldGroup;

const AmplifierPageDesign nonInvertingDesign{
    1,
    SchemeKind::NonInverting,
    nonInvertingCircuit,
    nonInvertingSchematic,
    1,
    "Схема неинвертирующего усилителя",
    "Сигнал подаётся на неинвертирующий (+) вход операционного усилителя. Инвертирующий (−) "
    "вход — узел N. R1 соединяет выход усилителя с N. Нагрузка Rн соединяет выход с узлом B. Rт "
    "соединяет B с общим проводом. R2 соединяет B с N. Roc соединяет N с общим проводом.",
    85,
    noSolution,
    {{
        {4,
         184,
         G::NonInvertingVariant1,
         28,
         variant1Captions,
         82,
         noSolution,
         {35, 36},
         {"10", "20"},
         4},
        {5,
         376,
         G::NonInvertingVariant2,
         37,
         variant2Captions,
         81,
         "Label81",
         {44, 45},
         {"20", "10"},
         5},
        {6, 568, G::NonInvertingVariant3, 46, variant3Captions, 0, {}, {53, 54}, {"0.6", "20"}, 6},
    }}};

const AmplifierPageDesign invertingDesign{
    2,
    SchemeKind::Inverting,
    invertingCircuit,
    invertingSchematic,
    2,
    "Схема инвертирующего усилителя",
    "Неинвертирующий (+) вход операционного усилителя соединён с общим проводом. Сигнал "
    "подаётся через Roc на инвертирующий (−) вход, узел N. R1 соединяет выход усилителя с N. "
    "Нагрузка Rн соединяет выход с узлом B. Rт соединяет B с общим проводом. R2 соединяет B с N.",
    86,
    noSolutionInverting,
    {{
        {1,
         184,
         G::InvertingVariant1,
         1,
         variant1Captions,
         83,
         noSolution,
         {8, 9},
         {"1", "6.5"},
         1},
        {2,
         376,
         G::InvertingVariant2,
         10,
         variant2Captions,
         84,
         "Label84",
         {17, 18},
         {"10.08", "1.01"},
         2},
        {3, 568, G::InvertingVariant3, 19, variant3Captions, 0, {}, {26, 27}, {"2.2", "6.5"}, 3},
    }}};

// A message label at the start of a run: hidden, with no tooltip left from the last one.
void hideMessage(QLabel *label) {
    label->hide();
    label->setToolTip({});
}

QString shown(const std::string &text) { return QString::fromStdString(text); }

// What a result label shows: its name, and how it is rounded on the label.
enum class Quantity { R1, R2, Rout, Gain };
constexpr std::array<std::array<Quantity, 2>, 3> variantResults{{
    {Quantity::R2, Quantity::Gain},
    {Quantity::R1, Quantity::R2},
    {Quantity::Rout, Quantity::Gain},
}};

const char *quantityName(Quantity quantity) {
    constexpr std::array<const char *, 4> names{"R1", "R2", "Rвых", "Ку"};
    return names[static_cast<std::size_t>(quantity)];
}

// R1 and R2 in kΩ with two decimals, Rвых in ohms with two, Ку with one.
std::string labelText(Quantity quantity, double value) {
    switch (quantity) {
    case Quantity::R1:
    case Quantity::R2:
        return displayKiloOhms(value);
    case Quantity::Rout:
        return displayRounded(value, 2);
    case Quantity::Gain:
        break;
    }
    return displayRounded(value, 1);
}

// Rвых goes to the loudspeaker page as shown there, to 0,001 Ω.
const FieldSpec &speakerRoutField() { return fieldSpec(37); }
std::string speakerRoutText(const AmplifierRun &run) { return displayRounded(run.outputs.rout, 3); }

// The value behind a rounded result, four significant digits in the unit that reads best, with a
// note where the field it would be handed to refuses it: R1 and R2 go to Variant 3, Rвых to the
// loudspeaker page.
QString valueTip(Quantity quantity, double value, std::span<const FieldSpec> variant3) {
    const std::string name = quantityName(quantity);
    switch (quantity) {
    case Quantity::R1:
    case Quantity::R2: {
        const FieldSpec &field = variant3[quantity == Quantity::R1 ? 0 : 1];
        std::string tip = name + " = " + resistanceText(value);
        if (!fieldTakes(field, formatGeneral(value / 1000)))
            tip += ", вне диапазона Варианта 3: " + rangeText(field, "кОм");
        return shown(tip);
    }
    case Quantity::Rout: {
        std::string tip = name + " = " + resistanceText(value);
        if (!fieldTakes(speakerRoutField(), displayRounded(value, 3)))
            tip += ", вне диапазона Примера применения: " + rangeText(speakerRoutField(), "Ом");
        return shown(tip);
    }
    case Quantity::Gain:
        break;
    }
    return shown(name + " = " + formatSignificant(value, 4));
}

// R1 and R2 in kΩ as the nearest values of a series, and why the fields of Variant 3 (R1 and R2
// first) would refuse them.
struct StandardParts {
    std::array<double, 2> kiloOhms{};
    QString outOfRange;
};

StandardParts standardParts(const Network &network, StandardSeries series,
                            std::span<const FieldSpec> variant3) {
    const std::array<double, 2> ohms{network.r1, network.r2};
    StandardParts parts;
    for (std::size_t i = 0; i < ohms.size(); ++i) {
        const double kiloOhms = ohms[i] > 0 ? nearestStandardValue(series, ohms[i] / 1000) : 0;
        parts.kiloOhms[i] = kiloOhms;
        const FieldSpec &field = variant3[i];
        if (parts.outOfRange.isEmpty() && !fieldTakes(field, formatGeneral(kiloOhms)))
            parts.outOfRange =
                QString("R%1 = %2 кОм вне диапазона %3")
                    .arg(i + 1)
                    .arg(shown(formatGeneral(kiloOhms)), shown(rangeText(field, "кОм")));
    }
    return parts;
}

// The five inputs of a run in the units they are typed in, found through the field table's
// destinations as the field check stored them.
std::array<double, 5> typedInputs(const AmplifierRun &run, std::span<const FieldSpec> group) {
    LastResults stored;
    stored.r1 = run.network.r1;
    stored.r2 = run.network.r2;
    stored.roc = run.network.roc;
    stored.rt = run.network.rt;
    stored.rload = run.rload;
    stored.rout = run.targetRout;
    stored.targetGain = run.targetGain;
    std::array<double, 5> inputs{};
    for (std::size_t i = 0; i < inputs.size(); ++i)
        inputs[i] = stored.*group[i].destination / (group[i].kiloOhm ? 1000 : 1);
    return inputs;
}

// Connects a page's button to its handler, run under the default error report.
template <typename Page>
void wire(QPushButton *button, Page *page, void (Page::*handler)()) {
    QObject::connect(button, &QPushButton::clicked, page,
                     [page, handler] { runHandler([&] { (page->*handler)(); }); });
}

} // namespace

const std::array<AmplifierPage::ResultAction, 5> AmplifierPage::resultActions{{
    {{true, true, false},
     "ряд E24/E96 или лучшая пара → Вариант 3",
     &AmplifierPage::addStandardParts},
    {{false, false, true}, "Rвых → Пример применения", &AmplifierPage::addRoutToSpeaker},
    {{true, true, true}, "схема для SPICE", &AmplifierPage::addSpiceNetlist},
    {{true, true, true}, "разброс при допусках", &AmplifierPage::addSpread},
    {{true, true, true}, "копировать", &AmplifierPage::addCopy},
}};

AmplifierPage::AmplifierPage(const AmplifierPageDesign &d, NumericFields &f, LastResults &l,
                             QWidget *parent)
    : QWidget(parent), design(d), fields(f), last(l) {
    setObjectName(QString("TabSheet%1").arg(design.sheetNumber));
    setAutoFillBackground(true); // button face, as the rest of the window

    image = new TImage(schematicSize, design.schematic, this);
    image->setObjectName(QString("Image%1").arg(design.imageNumber));
    image->move(5, 34);
    image->setAccessibleName(design.schematicName);
    image->setAccessibleDescription(design.schematicDescription);
    offerMenu(image, [this](QMenu &menu) { fillSchematicMenu(menu); });

    QLabel *note = newFixedLabel(this, design.noteNumber,
                                 "Ку = Uнагрузки / Uвх          для заданного значения Rн",
                                 QRect(8, 272, 153, 33));
    note->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    note->setWordWrap(true);

    for (int variant = 1; variant <= 3; ++variant)
        buildGroup(variant);
}

void AmplifierPage::buildGroup(int variant) {
    const auto index = static_cast<std::size_t>(variant - 1);
    const AmplifierGroupDesign &g = design.groups[index];
    Group &group = groups[index];
    group.variant = variant;
    group.box = newGroupBox(this, g.boxNumber, QString("Вариант %1").arg(variant),
                            QRect(g.x, 40, 161, 321));
    group.box->setAccessibleDescription(variantDescriptions[index]);

    const auto specs = groupFields(g.fields);
    for (std::size_t row = 0; row < fieldRowsY.size(); ++row) {
        const int y = fieldRowsY[row];
        QLabel *caption = newLabel(group.box, g.firstCaptionLabel + static_cast<int>(row),
                                   g.captions[row], 16, y + 4);
        group.edits[row] =
            newEdit(group.box, specs[row].edit, specs[row].defaultText, QRect(80, y, 65, 21));
        nameField(group.edits[row], {caption});
    }

    if (g.messageNumber)
        group.message = newMessageLabel(group.box, g.messageNumber, g.messageText,
                                        QRect(16, 200, 129, 17), false);

    for (std::size_t row = 0; row < resultRowsY.size(); ++row) {
        QLabel *caption = newLabel(group.box, g.firstCaptionLabel + 5 + static_cast<int>(row),
                                   g.captions[5 + row], 16, resultRowsY[row]);
        group.results[row] = newFixedLabel(group.box, g.resultNumbers[row], g.resultTexts[row],
                                           QRect(80, resultRowsY[row], 65, 13));
        nameResult(group.results[row], {caption});
        describeResult(group.results[row], [this, &group, row] { return resultTip(group, row); });
        setTextColour(group.results[row], clNavy());
    }

    group.button = newButton(group.box, g.buttonNumber, "Вычислить", QRect(8, 272, 145, 41), true);
    // The results' menu opens on the results and, for the keyboard, on the button.
    const auto fill = [this, &group](QMenu &menu) { fillResultMenu(group, menu); };
    offerMenu(group.button, fill);
    describeMenuButton(group.button, offeredActions(variant));
    for (QLabel *result : group.results) {
        offerMenu(result, fill);
        offerCopy(result, [this, &group] { copyResults(group); });
    }
    // A key-down sets the results to "0": the group shows no valid result until its next run.
    fields.addGroup(g.fields, {group.edits.begin(), group.edits.end()},
                    {group.results.begin(), group.results.end()},
                    [&group] { group.run.markStale(); });
}

const QImage &AmplifierPage::schematic() const { return image->picture(); }

const AmplifierRun *AmplifierPage::validRun(int variant) const {
    return groups[static_cast<std::size_t>(variant - 1)].run.valid();
}

QPushButton *AmplifierPage::button(int variant) const {
    return groups[static_cast<std::size_t>(variant - 1)].button;
}

void AmplifierPage::showMessage(Group &group, const QString &text, const std::string &toolTip) {
    group.message->setText(text);
    group.message->setToolTip(shown(toolTip));
    group.message->show();
    group.run.refuse(text.toStdString());
}

// The record of a run that ended with a result, and the two labels; the outputs are those of
// the network as it stands, evaluated once more.
void AmplifierPage::keepRun(Group &group, const Network &network, std::array<double, 2> values) {
    group.run.keep({design.schemeKind, group.variant, network, last.rload,
                    group.variant == 3 ? 0 : last.rout, group.variant == 2 ? last.targetGain : 0,
                    networkOutputs(design.circuit, network, last.rload), values});
    const auto &quantities = variantResults[static_cast<std::size_t>(group.variant - 1)];
    for (std::size_t i = 0; i < values.size(); ++i)
        group.results[i]->setText(shown(labelText(quantities[i], values[i])));
}

QStringList AmplifierPage::offeredActions(int variant) {
    QStringList offered;
    for (const ResultAction &action : resultActions)
        if (action.offeredBy[static_cast<std::size_t>(variant - 1)])
            offered << action.hint;
    return offered;
}

// A result's tooltip: the value behind its text, or why there is none; then its menu.
QString AmplifierPage::resultTip(const Group &group, std::size_t row) const {
    const auto index = static_cast<std::size_t>(group.variant - 1);
    const AmplifierRun *run = group.run.valid();
    const QString value = run ? valueTip(variantResults[index][row], run->shown[row],
                                         groupFields(design.groups[2].fields))
                              : shown(group.run.whyNone());
    return value + "\n" + menuHint(offeredActions(group.variant));
}

void AmplifierPage::fillResultMenu(Group &group, QMenu &menu) {
    ResultMenu items(menu, shown(group.run.whyNone()));
    for (const ResultAction &action : resultActions)
        if (action.offeredBy[static_cast<std::size_t>(group.variant - 1)]) {
            items.startSection();
            (this->*action.add)(items, group);
        }
}

constexpr std::array<std::pair<StandardSeries, const char *>, 2> seriesNames{{
    {StandardSeries::E24, "E24"},
    {StandardSeries::E96, "E96"},
}};

// R1 and R2 as parts of a standard series into Variant 3, which computes what they give: each
// the nearest value of the series, or the pair of nearby values that comes closest to what the
// group was after.
void AmplifierPage::addStandardParts(ResultMenu &menu, const Group &group) {
    const AmplifierRun *run = group.run.valid();
    const auto variant3 = groupFields(design.groups[2].fields);
    for (const auto &[series, name] : seriesNames) {
        const StandardParts parts =
            run ? standardParts(run->network, series, variant3) : StandardParts{};
        const QString outOfRange =
            parts.outOfRange.isEmpty() ? QString() : QString("%1: %2").arg(name, parts.outOfRange);
        menu.addItem(QString("Ряд %1 → Вариант 3").arg(name), outOfRange, [this, parts, &group] {
            if (const AmplifierRun *chosen = group.run.valid())
                takeToVariant3(parts.kiloOhms, *chosen);
        });
    }
    for (const auto &[series, name] : seriesNames) {
        const std::optional<StandardPair> pair =
            run ? bestStandardPair(*run, series) : std::nullopt;
        const QString whyNot = run && !pair ? QString("%1: нет пары в диапазоне %2")
                                                  .arg(name, shown(rangeText(variant3[0], "кОм")))
                                            : QString();
        QAction *item = menu.addItem(
            QString("Лучшая пара %1 → Вариант 3").arg(name), whyNot, [this, pair, &group] {
                if (const AmplifierRun *chosen = group.run.valid(); chosen && pair)
                    takeToVariant3({pair->r1KiloOhms, pair->r2KiloOhms}, *chosen);
            });
        if (pair)
            item->setToolTip(shown(pairErrorText(*pair)));
    }
}

void AmplifierPage::addRoutToSpeaker(ResultMenu &menu, const Group &group) {
    const AmplifierRun *run = group.run.valid();
    const std::string rout = run ? speakerRoutText(*run) : std::string();
    QString whyNot;
    if (run && !fieldTakes(speakerRoutField(), rout))
        whyNot =
            shown("Rвых = " + rout + " Ом вне диапазона " + rangeText(speakerRoutField(), "Ом"));
    menu.addItem("Rвых → Пример применения", whyNot,
                 [this, rout] { emit routForSpeaker(shown(rout)); });
}

void AmplifierPage::addSpiceNetlist(ResultMenu &menu, const Group &group) {
    menu.addItem("Сохранить схему для SPICE…", {}, [this, &group] { saveNetlist(group); });
}

void AmplifierPage::addSpread(ResultMenu &menu, const Group &group) {
    menu.addItem("Разброс при допусках…", {}, [this, &group] {
        if (const AmplifierRun *run = group.run.valid())
            emit spreadRequested(*run);
    });
}

// The schematic offers the netlist of each group's last valid run.
void AmplifierPage::fillSchematicMenu(QMenu &menu) {
    ResultMenu items(menu, {});
    for (const Group &group : groups)
        items.addItem(QString("Сохранить схему Варианта %1 для SPICE…").arg(group.variant),
                      shown(group.run.whyNone()), [this, &group] { saveNetlist(group); });
}

// The network as a netlist, where the file dialog points; the word after it names the file.
void AmplifierPage::saveNetlist(const Group &group) {
    if (!group.run.valid())
        return;
    const AmplifierRun run = *group.run.valid();
    const char *name = design.schemeKind == SchemeKind::NonInverting ? nonInvertingNetlistFileName
                                                                     : invertingNetlistFileName;
    const QString path = QFileDialog::getSaveFileName(
        this, "Сохранить схему для SPICE", QDir::current().filePath(QString::fromUtf8(name)),
        "Схемы SPICE (*.cir)");
    if (path.isEmpty())
        return;
    writeWholeFile(QFile::encodeName(path).toStdString(), spiceNetlist(run));
    const QFileInfo file(path);
    announce(group.button, shown(savedNotice(file.absolutePath().toStdString(),
                                             {file.fileName().toStdString()})));
}

void AmplifierPage::addCopy(ResultMenu &menu, const Group &group) {
    menu.addItem("Копировать результаты", {}, [this, &group] { copyResults(group); });
}

// R1 and R2 as given, Roc, Rн and Rт of the run, then Variant 3 as its button runs it.
void AmplifierPage::takeToVariant3(const std::array<double, 2> &kiloOhms, const AmplifierRun &run) {
    const Group &target = groups[2];
    const std::array<double, 5> texts{kiloOhms[0], kiloOhms[1], run.network.roc / 1000, run.rload,
                                      run.network.rt};
    for (std::size_t i = 0; i < texts.size(); ++i)
        fields.replaceText(target.edits[i], shown(formatGeneral(texts[i])));
    target.button->click();
}

void AmplifierPage::takeRequiredRout(const QString &rout) {
    const Group &group = groups[1];
    fields.replaceText(group.edits[4], rout);
    group.edits[0]->setFocus();
    group.edits[0]->selectAll();
}

// One line for each input and result: "R1 (кОм) =" and 20 kΩ make «R1 = 20 кОм».
void AmplifierPage::copyResults(const Group &group) const {
    const AmplifierRun *run = group.run.valid();
    if (!run)
        return;
    const auto index = static_cast<std::size_t>(group.variant - 1);
    const Captions &captions = design.groups[index].captions;
    const std::array<double, 5> inputs =
        typedInputs(*run, groupFields(design.groups[index].fields));
    std::vector<CopyLine> lines;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        lines.push_back(captionLine(captions[i], shown(formatGeneral(inputs[i]))));
    for (std::size_t i = 0; i < run->shown.size(); ++i)
        lines.push_back(captionLine(captions[5 + i],
                                    shown(labelText(variantResults[index][i], run->shown[i]))));
    copyLines(lines);
}

// The opening steps of a run, then the field check; false when the run ends there. Variant 1's
// message gets back the caption it shows when no R2 is found.
bool AmplifierPage::startRun(Group &group) {
    const FieldGroup fieldGroup = design.groups[static_cast<std::size_t>(group.variant - 1)].fields;
    group.run.clear();
    last.schemeKind = design.schemeKind;
    fields.beginRun(fieldGroup, true);
    if (group.message)
        hideMessage(group.message);
    if (group.variant == 1)
        group.message->setText(design.noSolution);
    return fields.checkFields(fieldGroup, true);
}

void AmplifierPage::solveForR2() {
    Group &group = groups[0];
    if (!startRun(group))
        return;

    const R2Search search = searchR2(design.circuit, last);
    switch (search.outcome) {
    case R2Search::SenseNotBelowRout:
        showMessage(group, senseNotBelowRout);
        return;
    case R2Search::NoSignChange:
        showMessage(group, design.noSolution, neededR2Text(last));
        return;
    case R2Search::Found:
        // R2 shown from the lower end of the final bracket, Ку from the last evaluation.
        keepRun(group, {last.r1, search.lowerEnd, last.roc, last.rt}, {search.lowerEnd, last.gain});
        return;
    }
}

// Without a positive pair the message tells which Ку can be reached; the last iterate is shown
// also under it.
void AmplifierPage::designForGain() {
    Group &group = groups[1];
    if (!startRun(group))
        return;

    const R1R2Design result = designR1R2(design.circuit, last);
    switch (result.outcome) {
    case R1R2Design::SenseNotBelowRout:
        showMessage(group, senseNotBelowRout);
        return;
    case R1R2Design::Converged:
    case R1R2Design::FoundOnLine:
        keepRun(group, {result.r1, result.r2, last.roc, last.rt}, {result.r1, result.r2});
        return;
    case R1R2Design::NegativePair:
        showMessage(group, increaseR, reachableGainText(design.circuit, last));
        break;
    case R1R2Design::NotConverged:
    case R1R2Design::Stopped:
        showMessage(group, noSolution, reachableGainText(design.circuit, last));
        break;
    }
    group.results[0]->setText(shown(displayKiloOhms(result.r1)));
    group.results[1]->setText(shown(displayKiloOhms(result.r2)));
}

void AmplifierPage::evaluateKnownNetwork() {
    Group &group = groups[2];
    if (!startRun(group))
        return;

    evaluateNetwork(design.circuit, last);
    keepRun(group, {last.r1, last.r2, last.roc, last.rt}, {last.rout, last.gain});
}

NonInvertingPage::NonInvertingPage(NumericFields &fields, LastResults &last, QWidget *parent)
    : AmplifierPage(nonInvertingDesign, fields, last, parent) {
    wire(button(1), this, &NonInvertingPage::Button4Click);
    wire(button(2), this, &NonInvertingPage::Button5Click);
    wire(button(3), this, &NonInvertingPage::Button6Click);
}

InvertingPage::InvertingPage(NumericFields &fields, LastResults &last, QWidget *parent)
    : AmplifierPage(invertingDesign, fields, last, parent) {
    wire(button(1), this, &InvertingPage::Button1Click);
    wire(button(2), this, &InvertingPage::Button2Click);
    wire(button(3), this, &InvertingPage::Button3Click);
}
