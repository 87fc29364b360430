// The six "Вычислить" handlers of the two amplifier pages: the same three calculations on two
// circuits, with each page's labels, messages and circuit gathered in one table.

#include "amplifier/feedback_design.h"
#include "amplifier/inverting.h"
#include "amplifier/non_inverting.h"
#include "app/unit1.h"
#include "input/decimal_text.h"
#include "input/numeric_fields.h"

#include <QLabel>

struct TForm1::AmplifierPage {
    int schemeKind;
    const AmplifierCircuit &circuit;
    struct {
        FieldGroup fields;
        QLabel *message;
        const char *noSolution; // the inverting page writes it with "!"
        QLabel *r2;
        QLabel *gain;
    } variant1;
    struct {
        FieldGroup fields;
        QLabel *message;
        QLabel *r1;
        QLabel *r2;
    } variant2;
    struct {
        FieldGroup fields;
        QLabel *rout;
        QLabel *gain;
    } variant3;
};

TForm1::AmplifierPage TForm1::nonInvertingPage() const {
    return {1,
            nonInvertingCircuit,
            {FieldGroup::NonInvertingVariant1, Label82, "Решения нет", Label35, Label36},
            {FieldGroup::NonInvertingVariant2, Label81, Label44, Label45},
            {FieldGroup::NonInvertingVariant3, Label53, Label54}};
}

TForm1::AmplifierPage TForm1::invertingPage() const {
    return {2,
            invertingCircuit,
            {FieldGroup::InvertingVariant1, Label83, "Решения нет!", Label8, Label9},
            {FieldGroup::InvertingVariant2, Label84, Label17, Label18},
            {FieldGroup::InvertingVariant3, Label26, Label27}};
}

void TForm1::Button1Click() { solveForR2(invertingPage()); }
void TForm1::Button2Click() { designForGain(invertingPage()); }
void TForm1::Button3Click() { evaluateKnownNetwork(invertingPage()); }
void TForm1::Button4Click() { solveForR2(nonInvertingPage()); }
void TForm1::Button5Click() { designForGain(nonInvertingPage()); }
void TForm1::Button6Click() { evaluateKnownNetwork(nonInvertingPage()); }

namespace {

void setResult(QLabel *label, const std::string &text) {
    label->setText(QString::fromStdString(text));
}

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

} // namespace

// Variant 1: R2 for a required Rвых, the rest of the network given.
void TForm1::solveForR2(const AmplifierPage &page) {
    const auto &v = page.variant1;
    last.schemeKind = page.schemeKind;
    fields->beginRun(v.fields, true);
    hideMessage(v.message);
    v.message->setText(v.noSolution);
    if (!fields->checkFields(v.fields, true))
        return;

    const R2Search search = searchR2(page.circuit, last);
    switch (search.outcome) {
    case R2Search::SenseNotBelowRout:
        showMessage(v.message, "R < Rвых!");
        return;
    case R2Search::NoSignChange:
        showMessage(v.message, v.noSolution, neededR2Text(last));
        return;
    case R2Search::Found:
        setResult(v.r2, displayKiloOhms(search.lowerEnd));
        setResult(v.gain, displayRounded(last.gain, 1));
        return;
    }
}

// Variant 2: R1 and R2 for a required Ку and Rвых. Without a positive pair the message tells
// which Ку can be reached; the last iterate is shown also under it.
void TForm1::designForGain(const AmplifierPage &page) {
    const auto &v = page.variant2;
    last.schemeKind = page.schemeKind;
    fields->beginRun(v.fields, true);
    hideMessage(v.message);
    if (!fields->checkFields(v.fields, true))
        return;

    const R1R2Design design = designR1R2(page.circuit, last);
    switch (design.outcome) {
    case R1R2Design::SenseNotBelowRout:
        showMessage(v.message, "R < Rвых!");
        return;
    case R1R2Design::Converged:
    case R1R2Design::FoundOnLine:
        break;
    case R1R2Design::NegativePair:
        showMessage(v.message, "Увеличьте R!", reachableGainText(page.circuit, last));
        break;
    case R1R2Design::NotConverged:
    case R1R2Design::Stopped:
        showMessage(v.message, "Решения нет", reachableGainText(page.circuit, last));
        break;
    }
    setResult(v.r1, displayKiloOhms(design.r1));
    setResult(v.r2, displayKiloOhms(design.r2));
}

// Variant 3: Rвых and Ку of a known network.
void TForm1::evaluateKnownNetwork(const AmplifierPage &page) {
    const auto &v = page.variant3;
    last.schemeKind = page.schemeKind;
    fields->beginRun(v.fields, true);
    if (!fields->checkFields(v.fields, true))
        return;

    evaluateNetwork(page.circuit, last);
    setResult(v.rout, displayRounded(last.rout, 2));
    setResult(v.gain, displayRounded(last.gain, 1));
}
