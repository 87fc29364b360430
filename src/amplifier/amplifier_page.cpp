// The two amplifier pages: the same three calculations on two circuits, each page built from
// its table of control numbers, captions and design-time texts.

#include "amplifier/amplifier_page.h"

#include "amplifier/feedback_design.h"
#include "amplifier/inverting.h"
#include "amplifier/non_inverting.h"
#include "amplifier/schematics.h"
#include "core/decimal_text.h"
#include "core/standard_values.h"
#include "input/numeric_fields.h"
#include "ui/accessible_names.h"
#include "ui/classic_look.h"
#include "ui/design_widgets.h"
#include "ui/error_report.h"
#include "ui/result_menu.h"
#include "ui/timage.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

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

void showMessage(QLabel *label, const QString &text, const std::string &toolTip = {}) {
    label->setText(text);
    label->setToolTip(QString::fromStdString(toolTip));
    label->show();
}

// A message label at the start of a run: hidden, with no tooltip left from the last one.
void hideMessage(QLabel *label) {
    label->hide();
    label->setToolTip({});
}

QString shown(const std::string &text) { return QString::fromStdString(text); }

// R1 and R2 in kΩ as the nearest values of a series, and why the fields of Variant 3 (R1 and R2
// first) would refuse them.
struct StandardParts {
    std::array<double, 2> kiloOhms{};
    QString outOfRange;
};

StandardParts standardParts(double r1, double r2, StandardSeries series,
                            std::span<const FieldSpec> variant3) {
    const std::array<double, 2> ohms{r1, r2};
    StandardParts parts;
    for (std::size_t i = 0; i < ohms.size(); ++i) {
        const double kiloOhms = ohms[i] > 0 ? nearestStandardValue(series, ohms[i] / 1000) : 0;
        parts.kiloOhms[i] = kiloOhms;
        const FieldSpec &field = variant3[i];
        if (parts.outOfRange.isEmpty() && !(kiloOhms >= field.min && kiloOhms <= field.max))
            parts.outOfRange = QString("R%1 = %2 кОм вне диапазона %3 … %4 кОм")
                                   .arg(i + 1)
                                   .arg(shown(formatGeneral(kiloOhms)), QString(field.minText),
                                        QString(field.maxText));
    }
    return parts;
}

// Connects a page's button to its handler, run under the default error report.
template <typename Page>
void wire(QPushButton *button, Page *page, void (Page::*handler)()) {
    QObject::connect(button, &QPushButton::clicked, page,
                     [page, handler] { runHandler([&] { (page->*handler)(); }); });
}

} // namespace

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

    QLabel *note = newFixedLabel(this, design.noteNumber,
                                 "Ку = Uнагрузки / Uвх          для заданного значения Rн",
                                 QRect(8, 272, 153, 33));
    note->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    note->setWordWrap(true);

    for (int variant = 1; variant <= 3; ++variant)
        buildGroup(variant);
}

void AmplifierPage::buildGroup(int variant) {
    const AmplifierGroupDesign &g = design.groups[static_cast<std::size_t>(variant - 1)];
    Group &group = groups[static_cast<std::size_t>(variant - 1)];
    group.box = newGroupBox(this, g.boxNumber, QString("Вариант %1").arg(variant),
                            QRect(g.x, 40, 161, 321));
    group.box->setAccessibleDescription(variantDescriptions[static_cast<std::size_t>(variant - 1)]);

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
        setTextColour(group.results[row], clNavy());
    }

    group.button = newButton(group.box, g.buttonNumber, "Вычислить", QRect(8, 272, 145, 41), true);
    const auto index = static_cast<std::size_t>(variant - 1);
    for (QLabel *result : group.results)
        offerResults(
            result, [this, index] { copyResults(index); },
            [this, index](QMenu &menu) { fillResultMenu(index, menu); });
    // A key-down sets the results to "0": the group shows no valid result until its next run.
    fields.addGroup(g.fields, {group.edits.begin(), group.edits.end()},
                    {group.results.begin(), group.results.end()},
                    [this, index] { groups[index].valid.reset(); });
}

const QImage &AmplifierPage::schematic() const { return image->picture(); }

QPushButton *AmplifierPage::button(int variant) const {
    return groups[static_cast<std::size_t>(variant - 1)].button;
}

void AmplifierPage::setResults(const Group &group, const std::string &first,
                               const std::string &second) {
    group.results[0]->setText(QString::fromStdString(first));
    group.results[1]->setText(QString::fromStdString(second));
}

void AmplifierPage::keepValidRun(Group &group, double r1, double r2) {
    ValidRun &run = group.valid.emplace();
    for (std::size_t i = 0; i < run.inputs.size(); ++i)
        run.inputs[i] = group.edits[i]->text();
    run.r1 = r1;
    run.r2 = r2;
}

QString AmplifierPage::missingResult(const Group &group) {
    if (group.message && !group.message->isHidden())
        return "Нет результата: «" + group.message->text() + "»";
    if (!group.valid)
        return notComputed;
    return {};
}

// Variants 1 and 2 offer their R1 and R2 as parts of a standard series to Variant 3; every group
// offers the copy.
void AmplifierPage::fillResultMenu(std::size_t index, QMenu &menu) {
    const Group &group = groups[index];
    const QString missing = missingResult(group);
    if (index < 2) {
        for (const auto &[series, name] :
             {std::pair{StandardSeries::E24, "E24"}, std::pair{StandardSeries::E96, "E96"}}) {
            const ValidRun run = group.valid.value_or(ValidRun{});
            const StandardParts parts =
                standardParts(run.r1, run.r2, series, groupFields(design.groups[2].fields));
            const QString outOfRange = parts.outOfRange.isEmpty()
                                           ? QString()
                                           : QString("%1: %2").arg(name, parts.outOfRange);
            addMenuItem(menu, QString("Ряд %1 → Вариант 3").arg(name),
                        missing.isEmpty() ? outOfRange : missing,
                        [this, parts, run] { takeToVariant3(parts.kiloOhms, run.inputs); });
            if (missing.isEmpty() && !outOfRange.isEmpty())
                addMenuNote(menu, outOfRange);
        }
        menu.addSeparator();
    }
    addCopyItem(menu, missing, [this, index] { copyResults(index); });
}

// R1 and R2 as given, Roc, Rн and Rт as typed in the group, then Variant 3 as its button runs it.
void AmplifierPage::takeToVariant3(const std::array<double, 2> &kiloOhms,
                                   const std::array<QString, 5> &inputs) {
    const Group &target = groups[2];
    target.edits[0]->setText(shown(formatGeneral(kiloOhms[0])));
    target.edits[1]->setText(shown(formatGeneral(kiloOhms[1])));
    for (std::size_t i = 1; i <= 3; ++i)
        target.edits[i + 1]->setText(inputs[i]);
    target.button->click();
}

// One line for each input and result: "R1 (кОм) =" and "20" make «R1 = 20 кОм».
void AmplifierPage::copyResults(std::size_t index) const {
    const Group &group = groups[index];
    if (!missingResult(group).isEmpty())
        return;
    const Captions &captions = design.groups[index].captions;
    std::vector<CopyLine> lines;
    for (std::size_t i = 0; i < group.valid->inputs.size(); ++i)
        lines.push_back(captionLine(captions[i], group.valid->inputs[i]));
    for (std::size_t i = 0; i < group.results.size(); ++i)
        lines.push_back(captionLine(captions[5 + i], group.results[i]->text()));
    copyLines(lines);
}

// The opening steps of a run of Variant 1, 2 or 3, then the field check; false when the run ends
// there. Variant 1's message gets back the caption it shows when no R2 is found.
bool AmplifierPage::startRun(int variant) {
    const auto index = static_cast<std::size_t>(variant - 1);
    Group &group = groups[index];
    const FieldGroup fieldGroup = design.groups[index].fields;
    group.valid.reset();
    last.schemeKind = design.schemeKind;
    fields.beginRun(fieldGroup, true);
    if (group.message)
        hideMessage(group.message);
    if (variant == 1)
        group.message->setText(design.noSolution);
    return fields.checkFields(fieldGroup, true);
}

void AmplifierPage::solveForR2() {
    Group &group = groups[0];
    if (!startRun(1))
        return;

    const R2Search search = searchR2(design.circuit, last);
    switch (search.outcome) {
    case R2Search::SenseNotBelowRout:
        showMessage(group.message, senseNotBelowRout);
        return;
    case R2Search::NoSignChange:
        showMessage(group.message, design.noSolution, neededR2Text(last));
        return;
    case R2Search::Found:
        setResults(group, displayKiloOhms(search.lowerEnd), displayRounded(last.gain, 1));
        keepValidRun(group, last.r1, search.lowerEnd);
        return;
    }
}

// Without a positive pair the message tells which Ку can be reached; the last iterate is shown
// also under it.
void AmplifierPage::designForGain() {
    Group &group = groups[1];
    if (!startRun(2))
        return;

    const R1R2Design result = designR1R2(design.circuit, last);
    switch (result.outcome) {
    case R1R2Design::SenseNotBelowRout:
        showMessage(group.message, senseNotBelowRout);
        return;
    case R1R2Design::Converged:
    case R1R2Design::FoundOnLine:
        break;
    case R1R2Design::NegativePair:
        showMessage(group.message, increaseR, reachableGainText(design.circuit, last));
        break;
    case R1R2Design::NotConverged:
    case R1R2Design::Stopped:
        showMessage(group.message, noSolution, reachableGainText(design.circuit, last));
        break;
    }
    setResults(group, displayKiloOhms(result.r1), displayKiloOhms(result.r2));
    if (result.outcome == R1R2Design::Converged || result.outcome == R1R2Design::FoundOnLine)
        keepValidRun(group, result.r1, result.r2);
}

void AmplifierPage::evaluateKnownNetwork() {
    if (!startRun(3))
        return;

    evaluateNetwork(design.circuit, last);
    setResults(groups[2], displayRounded(last.rout, 2), displayRounded(last.gain, 1));
    keepValidRun(groups[2], last.r1, last.r2);
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
