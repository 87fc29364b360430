// The loudspeaker page: the closed box fed from an ideal source and through the amplifier's
// output resistance, run by "Вычислить" and once before the window first appears.

#include "app/arithmetic_fault.h"
#include "app/unit1.h"
#include "input/decimal_text.h"
#include "input/numeric_fields.h"
#include "speaker/closed_box.h"
#include "speaker/response_chart.h"

#include <QLabel>
#include <QLineSeries>
#include <optional>

namespace {

QString shown(const std::string &text) { return QString::fromStdString(text); }

QList<QPointF> responseCurve(const std::array<double, responsePoints> &frequencies, double fc,
                             double q) {
    QList<QPointF> points;
    points.reserve(responsePoints);
    for (const double f : frequencies)
        points.append(QPointF(f, responseLevel(f, fc, q)));
    return points;
}

} // namespace

void TForm1::FormShow() {
    // Nothing calculated by the user yet: the report stays empty and "Сохранить" disabled.
    last.schemeKind = 0;
    last.speakerDone = 0;
    Chart1->emptySeries();
    fields->beginRun(FieldGroup::Speaker, false);
    if (fields->checkFields(FieldGroup::Speaker, false))
        computeClosedBox();
}

void TForm1::Button7Click() {
    last.speakerDone = 1;
    Chart1->emptySeries();
    fields->beginRun(FieldGroup::Speaker, true);
    // A range fault here leaves "Сохранить" enabled, unlike on the amplifier pages.
    if (fields->checkFields(FieldGroup::Speaker, false))
        computeClosedBox();
}

void TForm1::computeClosedBox() {
    const ResponseChart::AxesHold refill(*Chart1); // both curves in, then one fit of the axes
    const Driver driver{last.fs, last.re, last.qms, last.qes, last.vas};
    const ClosedBox box = closedBox(driver, last.vb, last.speakerRout);
    const auto frequencies = responseFrequencies();

    Label76->setText(shown(displayRounded(box.qtc, 3)));
    Label77->setText(shown(displayRounded(box.f3, 2)));
    last.qtc = box.qtc;
    last.f3 = box.f3;
    Chart1->setPoints(0, responseCurve(frequencies, box.fc, box.qtc));

    Label72->setText(shown(displayRounded(box.qtcNew, 3)));
    Label73->setText(shown(displayRounded(box.f3New, 2)));
    last.qtcNew = box.qtcNew;
    last.f3New = box.f3New;

    // When Qms alone brings the box to Qtc = 0,7, only an infinite output resistance (pure
    // current drive) would do. The label then shows a dash instead of a number, the record holds
    // 0 rather than the previous run's value, the rest of the page is completed (none of it
    // depends on this figure), and the fault is reported at the end.
    std::optional<ArithmeticFault> fault;
    try {
        last.routRequired = requiredOutputResistance(driver, box.s);
        Label107->setText(shown(formatGeneral(last.routRequired)));
    } catch (const ArithmeticFault &error) {
        fault = error;
        last.routRequired = 0;
        Label107->setText("—");
    }

    Chart1->setPoints(1, responseCurve(frequencies, box.fc, box.qtcNew));
    Chart1->series(1)->setName("АЧХ при Rвых = " + shown(formatGeneral(last.speakerRout)) + "  Ом");
    if (fault)
        throw *fault;
}
