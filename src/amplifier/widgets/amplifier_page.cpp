// An amplifier page: the three calculations of one circuit, its controls built from its design.

#include "amplifier/widgets/amplifier_page.h"

#include "amplifier/feedback_design.h"
#include "amplifier/result_display.h"
#include "amplifier/widgets/amplifier_designs.h"
#include "amplifier/widgets/group_menus.h"
#include "amplifier/widgets/schematics.h"
#include "core/decimal_text.h"
#include "input/widgets/numeric_fields.h"
#include "ui/accessible_names.h"
#include "ui/classic_look.h"
#include "ui/design_widgets.h"
#include "ui/shown_text.h"
#include "ui/timage.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The group messages.
constexpr const char *senseNotBelowRout = "R < Rвых!";
constexpr const char *noSolution = "Решения нет";
constexpr const char *increaseR = "Увеличьте R!";

constexpr std::array<int, 5> fieldRowsY{40, 72, 104, 136, 168};
constexpr std::array<int, 2> resultRowsY{224, 248};

} // namespace

AmplifierPage::AmplifierPage(const AmplifierPageDesign &d, NumericFields &f, LastResults &l,
                             QWidget *parent)
    : RecordPage(parent), pageDesign(d), fields(f), last(l),
      menus(std::make_unique<AmplifierMenus>(
          AmplifierMenus::Given{d, variant3Fields, [this](const std::array<double, 5> &values) {
                                    evaluateWith(values);
                                }})) {
    setObjectName(QString("TabSheet%1").arg(pageDesign.sheetNumber));
    setAutoFillBackground(true); // button face, as the rest of the window

    image = new TImage(schematicSize, pageDesign.schematic, this);
    image->setObjectName(QString("Image%1").arg(pageDesign.imageNumber));
    image->move(5, 34);
    image->setAccessibleName(pageDesign.schematicName);
    image->setAccessibleDescription(pageDesign.schematicDescription);
    menus->offerOnSchematic(image);

    QLabel *note = newFixedLabel(this, pageDesign.noteNumber,
                                 "Ку = Uнагрузки / Uвх          для заданного значения Rн",
                                 QRect(8, 272, 153, 33));
    note->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    note->setWordWrap(true);

    for (int variant = 1; variant <= 3; ++variant)
        buildGroup(variant);
}

AmplifierPage::~AmplifierPage() = default;

void AmplifierPage::buildGroup(int variant) {
    const AmplifierGroupDesign &g = pageDesign.groups[static_cast<std::size_t>(variant - 1)];
    Group &built = group(variant);
    QGroupBox *box = newGroupBox(this, g.boxNumber, QString("Вариант %1").arg(variant),
                                 QRect(g.x, 40, 161, 321));
    box->setAccessibleDescription(g.description);

    const auto specs = groupFields(g.fields);
    for (std::size_t row = 0; row < fieldRowsY.size(); ++row) {
        const int y = fieldRowsY[row];
        QLabel *caption = newLabel(box, g.firstCaptionLabel + static_cast<int>(row),
                                   rowCaption(g.rows[row]), 16, y + 4);
        built.edits[row] =
            newEdit(box, specs[row].edit, specs[row].defaultText, QRect(80, y, 65, 21));
        nameField(built.edits[row], {caption});
    }

    if (g.messageNumber)
        built.message =
            newMessageLabel(box, g.messageNumber, g.messageText, QRect(16, 200, 129, 17), false);

    for (std::size_t row = 0; row < resultRowsY.size(); ++row) {
        QLabel *caption = newLabel(box, g.firstCaptionLabel + 5 + static_cast<int>(row),
                                   rowCaption(g.rows[5 + row]), 16, resultRowsY[row]);
        built.results[row] = newFixedLabel(box, g.resultNumbers[row], g.resultTexts[row],
                                           QRect(80, resultRowsY[row], 65, 13));
        nameResult(built.results[row], {caption});
        setTextColour(built.results[row], clNavy());
    }

    built.button = newButton(box, g.buttonNumber, "Вычислить", QRect(8, 272, 145, 41), true);
    menus->offerOnGroup(variant, built.run, built.button, built.results);
    // A key-down sets the results to "0": the group shows no valid result until its next run.
    fields.addGroup(g.fields, {built.edits.begin(), built.edits.end()},
                    {built.results.begin(), built.results.end()}, [this, variant] {
                        group(variant).run.markStale();
                        emit recordChanged();
                    });

    // The fields that other menus write into: Variant 2's Rвых and Rн, and all of Variant 3.
    if (variant == 2) {
        requiredRout.emplace(fields, built.edits[4], specs[4], "Ом", routHandOverText);
        designLoad.emplace(fields, built.edits[2], specs[2], "Ом", formatGeneral);
    }
    if (variant == 3)
        for (std::size_t row = 0; row < specs.size(); ++row)
            variant3Fields.emplace_back(fields, built.edits[row], specs[row], g.rows[row].unit,
                                        formatGeneral);
}

const QImage &AmplifierPage::schematic() const { return image->picture(); }

QPushButton *AmplifierPage::button(int variant) const {
    return groups[static_cast<std::size_t>(variant - 1)].button;
}

const AmplifierRun *AmplifierPage::validRun(int variant) const { return record(variant).valid(); }

const LastValidRun<AmplifierRun> &AmplifierPage::record(int variant) const {
    return groups[static_cast<std::size_t>(variant - 1)].run;
}

bool AmplifierPage::showsMessage(int variant) const {
    const QLabel *message = groups[static_cast<std::size_t>(variant - 1)].message;
    return message && message->isVisibleTo(this);
}

void AmplifierPage::hideMessages() {
    for (Group &g : groups)
        if (g.message) {
            g.message->hide();
            g.message->setToolTip({});
        }
}

void AmplifierPage::setRoutTarget(HandOver target) { menus->setRoutTarget(std::move(target)); }

void AmplifierPage::setDriverSource(std::function<DriverOffer()> source) {
    menus->setDriverSource(std::move(source));
}

void AmplifierPage::setSpreadWindow(std::function<void(int variant)> open) {
    menus->setSpreadWindow(std::move(open));
}

void AmplifierPage::takeRequiredRout(double ohms, std::optional<double> load) {
    if (load)
        designLoad->write(*load);
    requiredRout->write(ohms);
    QLineEdit *gainField = group(2).edits[0];
    gainField->setFocus();
    gainField->selectAll();
}

void AmplifierPage::evaluateWith(const std::array<double, 5> &values) {
    for (std::size_t row = 0; row < values.size(); ++row)
        variant3Fields[row].write(values[row]);
    evaluateKnownNetwork();
}

void AmplifierPage::showMessage(int variant, const char *text, const std::string &toolTip) {
    Group &g = group(variant);
    g.message->setText(text);
    g.message->setToolTip(shown(toolTip));
    g.message->show();
    g.run.refuse(std::string("«") + text + "»");
    emit recordChanged();
}

// The record of a run that ended with a result, and the two labels; the outputs are those of
// the network as it stands, evaluated once more.
void AmplifierPage::keepRun(int variant, const Network &network, const std::vector<double> &typed,
                            std::array<double, 2> values) {
    AmplifierRun run{pageDesign.schemeKind,
                     variant,
                     network,
                     last.rload,
                     variant == 3 ? 0 : last.rout,
                     variant == 2 ? last.targetGain : 0,
                     networkOutputs(pageDesign.circuit, network, last.rload),
                     values,
                     {},
                     {last.r1, last.r2, last.roc, last.rt, last.rload, last.rout, last.gain}};
    std::copy(typed.begin(), typed.end(), run.typed.begin());
    Group &g = group(variant);
    g.run.keep(run);
    emit recordChanged();
    const auto quantities = variantResults(variant);
    for (std::size_t i = 0; i < values.size(); ++i)
        g.results[i]->setText(shown(resultText(quantities[i], values[i])));
}

// The opening steps of a run, then the field check: the values as typed, or none when the run
// ends there. Variant 1's message gets back the caption it shows when no R2 is found.
std::optional<std::vector<double>> AmplifierPage::startRun(int variant) {
    Group &g = group(variant);
    const FieldGroup fieldGroup = pageDesign.groups[static_cast<std::size_t>(variant - 1)].fields;
    g.run.start();
    emit runStarted(variant);
    emit recordChanged();
    last.schemeKind = pageDesign.schemeKind;
    fields.beginRun(fieldGroup, true);
    if (g.message) { // hidden, with no tooltip left from the last run
        g.message->hide();
        g.message->setToolTip({});
    }
    if (variant == 1)
        g.message->setText(pageDesign.noSolution);
    NumericFields::Outcome checked = fields.checkFields(fieldGroup, true);
    if (!checked.passed()) {
        g.run.refuse(checked.stop);
        emit recordChanged();
        return std::nullopt;
    }
    return std::move(checked.typed);
}

void AmplifierPage::solveForR2() {
    const auto typed = startRun(1);
    if (!typed)
        return;

    const R2Search search = searchR2(pageDesign.circuit, last);
    switch (search.outcome) {
    case R2Search::SenseNotBelowRout:
        showMessage(1, senseNotBelowRout);
        return;
    case R2Search::NoSignChange:
        showMessage(1, pageDesign.noSolution, neededR2Text(last));
        return;
    case R2Search::Found:
        // R2 shown from the lower end of the final bracket, Ку from the last evaluation.
        keepRun(1, {last.r1, search.lowerEnd, last.roc, last.rt}, *typed,
                {search.lowerEnd, last.gain});
        return;
    }
}

// Without a positive pair the message tells which Ку can be reached; the last iterate is shown
// also under it.
void AmplifierPage::designForGain() {
    const auto typed = startRun(2);
    if (!typed)
        return;

    const R1R2Design result = designR1R2(pageDesign.circuit, last);
    switch (result.outcome) {
    case R1R2Design::SenseNotBelowRout:
        showMessage(2, senseNotBelowRout);
        return;
    case R1R2Design::Converged:
    case R1R2Design::FoundOnLine:
        keepRun(2, {result.r1, result.r2, last.roc, last.rt}, *typed, {result.r1, result.r2});
        return;
    case R1R2Design::NegativePair:
        showMessage(2, increaseR, reachableGainText(pageDesign.circuit, last));
        break;
    case R1R2Design::NotConverged:
    case R1R2Design::Stopped:
        showMessage(2, noSolution, reachableGainText(pageDesign.circuit, last));
        break;
    }
    group(2).results[0]->setText(shown(displayKiloOhms(result.r1)));
    group(2).results[1]->setText(shown(displayKiloOhms(result.r2)));
}

void AmplifierPage::evaluateKnownNetwork() {
    const auto typed = startRun(3);
    if (!typed)
        return;

    evaluateNetwork(pageDesign.circuit, last);
    keepRun(3, {last.r1, last.r2, last.roc, last.rt}, *typed, {last.rout, last.gain});
}
