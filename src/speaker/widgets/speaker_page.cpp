// The loudspeaker page: the closed box fed from an ideal source and through the amplifier's
// output resistance, run by "Вычислить" and once before the window first appears.

#include "speaker/widgets/speaker_page.h"

#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"
#include "input/widgets/numeric_fields.h"
#include "speaker/closed_box.h"
#include "speaker/speaker_design.h"
#include "speaker/widgets/response_chart.h"
#include "speaker/widgets/speaker_menus.h"
#include "ui/accessible_names.h"
#include "ui/chart_readout.h"
#include "ui/classic_look.h"
#include "ui/design_widgets.h"
#include "ui/shown_text.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>

namespace {

QList<QPointF> responseCurve(const std::array<double, responsePoints> &frequencies, double fc,
                             double q) {
    QList<QPointF> points;
    points.reserve(responsePoints);
    for (const double f : frequencies)
        points.append(QPointF(f, responseLevel(f, fc, q)));
    return points;
}

// A level as the chart readout shows it: two decimals and a true minus sign.
QString decibels(double level) { return shown(withMinusSign(displayRounded(level, 2))) + " дБ"; }

// What the chart says to a screen reader at rest; a keyboard readout takes its place.
const QString chartDescription =
    "Уровень в дБ от частоты в Гц: красная кривая при Rвых = 0, синяя при Rвых усилителя из "
    "поля ввода. Подсказка под указателем мыши, а в фокусе клавиши влево и вправо, называют "
    "частоту и оба уровня.\n" +
    SpeakerMenus::chartMenuHint;

} // namespace

SpeakerPage::SpeakerPage(NumericFields &f, LastResults &l, QWidget *parent)
    : RecordPage(parent), fields(f), last(l) {
    setObjectName("TabSheet3");
    setAutoFillBackground(true); // button face, as the rest of the window

    responses = new ResponseChart(this);
    responses->setObjectName("Chart1");
    responses->setGeometry(0, 0, 409, 393);
    responses->setAccessibleName("АЧХ закрытого ящика на низких частотах");
    const auto frequencies = responseFrequencies();
    readout = new ChartReadout(responses, responses->series(0), chartDescription,
                               SpeakerMenus::chartMenuHint,
                               {[this] { return run.valid() && responses->series(0)->count() > 0; },
                                [this](double f) { return readoutAt(f); },
                                [this] { return run.valid()->box.fc; },
                                {frequencies.begin(), frequencies.end()}});

    buildInputs();
    buildResults();

    // Keyboard order: the fields, the chart, then the button.
    responses->setFocusPolicy(Qt::StrongFocus);
    button = newButton(this, 7, "Вычислить", QRect(416, 360, 313, 33), true);
    button->setDefault(true);
    QWidget::setTabOrder(edits.back(), responses);
    QWidget::setTabOrder(responses, button);

    fields.addGroup(
        FieldGroup::Speaker, edits,
        {resultLabels[2], resultLabels[3], resultLabels[0], resultLabels[1], requiredRout}, [this] {
            run.markStale();
            emptyChart();
            emit recordChanged();
        });
    fields.setDefaultButton(button);
    const auto speakerFields = groupFields(FieldGroup::Speaker);
    fieldHandOvers.emplace_back(fields, edits[5], speakerFields[5], "л", formatGeneral);
    fieldHandOvers.emplace_back(fields, edits[6], speakerFields[6], "Ом", routHandOverText);

    menus = std::make_unique<SpeakerMenus>(SpeakerMenus::Given{
        run, volumeField(), [this](double litres) { takeVolume(litres); }, responses, button});
    // The curves leave the program from its menu: by a right-click into the plot, or from the
    // keyboard while the chart has the focus.
    menus->offerOnChart(responses);
    menus->offerOnChart(responses->viewport());
    menus->offerOnResults(requiredRoutCaption, button);
    for (std::size_t i = 0; i < resultLabels.size(); ++i)
        menus->offerOnResult(resultLabels[i], speakerResultRows[i]);
    menus->offerOnRequiredRout(requiredRout);
}

SpeakerPage::~SpeakerPage() = default;

// The driver's and the box's fields, each row a description at the left and the symbol
// right-aligned before the field; between Vb and Rвых the Rвых required for Qtc = 0,7.
void SpeakerPage::buildInputs() {
    QGroupBox *box = newGroupBox(this, 7, "Параметры динамика", QRect(416, 0, 313, 145));
    box->setAccessibleDescription("Параметры Тиля — Смолла динамика");
    for (std::size_t i = 0; i < speakerInputRows.size(); ++i) {
        const SpeakerInputRow &row = speakerInputRows[i];
        if (i == driverRowCount) {
            box = newGroupBox(this, 8, "Параметры крпуса колонки (\"закрытый ящик\")",
                              QRect(416, 152, 313, 105));
            box->setAccessibleDescription(
                "Объём закрытого ящика и выходное сопротивление усилителя, которое его питает");
        }
        QLabel *caption =
            row.caption ? newLabel(box, row.captionLabel, row.caption, 8, row.y + 4) : nullptr;
        const QString symbolText = row.caption ? QString("%1 =").arg(row.name)
                                               : QString("%1 (%2) =").arg(row.name, row.unit);
        QLabel *symbol = newFixedLabel(box, row.symbolLabel, symbolText,
                                       row.caption ? QRect(160, row.y + 4, 84, 13)
                                                   : QRect(8, row.y + 4, 236, 13));
        symbol->setAlignment(Qt::AlignRight | Qt::AlignTop);
        edits.push_back(
            newEdit(box, row.edit, fieldSpec(row.edit).defaultText, QRect(248, row.y, 41, 21)));
        nameField(edits.back(), {caption, symbol});
        if (row.edit == 36) {
            requiredRoutCaption =
                newLabel(box, 105, "Требуемое Rвых для получения Qtc = 0,7 (Ом)", 8, 50);
            requiredRout = newFixedLabel(box, 107, "5,996", QRect(248, 50, 57, 13));
            nameResult(requiredRout, {requiredRoutCaption});
            requiredRout->setIndent(3); // digits in line with the text of the fields below
        }
    }
}

// Results, in navy like the frame's caption.
void SpeakerPage::buildResults() {
    QGroupBox *results = newGroupBox(this, 9, "Результаты", QRect(416, 260, 313, 93));
    setTextColour(results, clNavy());
    results->setAccessibleDescription(
        "Добротность и частота среза колонки при Rвых = 0 (исходные) и при Rвых усилителя (новые)");
    for (std::size_t i = 0; i < speakerResultRows.size(); ++i) {
        const SpeakerResultRow &row = speakerResultRows[i];
        const int y = 18 + 18 * static_cast<int>(i);
        QLabel *caption = newLabel(results, row.captionLabel, row.caption, 8, y);
        QLabel *symbol = newFixedLabel(results, row.symbolLabel, QString("%1 =").arg(row.name),
                                       QRect(200, y, 44, 13));
        symbol->setAlignment(Qt::AlignRight | Qt::AlignTop);
        resultLabels[i] =
            newFixedLabel(results, row.valueLabel, row.designText, QRect(248, y, 57, 13));
        nameResult(resultLabels[i], {caption, symbol});
    }
}

void SpeakerPage::setRoutTargets(Variant2Target nonInverting, Variant2Target inverting) {
    menus->setRoutTargets({std::move(nonInverting), std::move(inverting)});
}

void SpeakerPage::setDriverLoad(DriverLoadActions actions) {
    menus->setDriverLoad(std::move(actions));
}

void SpeakerPage::calculateAtStart() {
    last.schemeKind = SchemeKind::None;
    last.speakerDone = 0;
    run.start();
    emit recordChanged();
    responses->emptySeries();
    fields.beginRun(FieldGroup::Speaker, false);
    endRun(fields.checkFields(FieldGroup::Speaker, false));
}

void SpeakerPage::calculate() {
    last.speakerDone = 1;
    run.start();
    emit recordChanged();
    emptyChart();
    fields.beginRun(FieldGroup::Speaker, true);
    // A range fault here leaves "Сохранить" enabled, unlike on the amplifier pages.
    endRun(fields.checkFields(FieldGroup::Speaker, false));
}

void SpeakerPage::endRun(const NumericFields::Outcome &checked) {
    if (checked.passed()) {
        computeClosedBox();
        return;
    }
    run.refuse(checked.stop);
    emit recordChanged();
}

void SpeakerPage::takeAmplifierRout(double ohms) {
    amplifierRoutField().write(ohms);
    calculate();
}

void SpeakerPage::takeVolume(double litres) {
    volumeField().write(litres);
    calculate();
}

// Also takes down a readout of the old curves that a resting pointer would leave up.
void SpeakerPage::emptyChart() {
    responses->emptySeries();
    readout->curvesGone();
}

namespace {

// Both curves of a run and the legend's name of the second, then one fit of the axes.
void drawResponses(ResponseChart &chart, const SpeakerRun &run) {
    const ResponseChart::AxesHold refill(chart);
    const auto frequencies = responseFrequencies();
    chart.setPoints(0, responseCurve(frequencies, run.box.fc, run.box.qtc));
    chart.setPoints(1, responseCurve(frequencies, run.box.fc, run.box.qtcNew));
    chart.series(1)->setName("АЧХ при Rвых = " + shown(formatGeneral(run.rout)) + "  Ом");
}

} // namespace

void SpeakerPage::computeClosedBox() {
    const Driver driver{last.fs, last.re, last.qms, last.qes, last.vas};
    const ClosedBox box = closedBox(driver, last.vb, last.speakerRout);
    for (std::size_t i = 0; i < resultLabels.size(); ++i)
        resultLabels[i]->setText(
            shown(displayRounded(box.*speakerResultRows[i].value, speakerResultRows[i].decimals)));
    last.qtc = box.qtc;
    last.f3 = box.f3;
    last.qtcNew = box.qtcNew;
    last.f3New = box.f3New;

    // When Qms alone brings the box to Qtc = 0,7, only an infinite output resistance (pure
    // current drive) would do. The label then shows a dash instead of a number, the record holds
    // 0 rather than the previous run's value, the rest of the page is completed (none of it
    // depends on this figure), and the fault is reported at the end.
    std::optional<ArithmeticFault> fault;
    std::optional<double> routRequired;
    try {
        routRequired = requiredOutputResistance(driver, box.s);
        last.routRequired = *routRequired;
        requiredRout->setText(shown(formatGeneral(last.routRequired)));
    } catch (const ArithmeticFault &error) {
        fault = error;
        last.routRequired = 0;
        requiredRout->setText("—");
    }

    run.keep({driver, last.vb, last.speakerRout, box, routRequired});
    drawResponses(*responses, *run.valid());
    emit recordChanged();
    if (fault)
        throw *fault;
}

void SpeakerPage::drawChartOf(const SpeakerRun &shownRun,
                              const std::function<void(QWidget *chart)> &draw) {
    struct Refill {
        ResponseChart &chart;
        bool refilled;
        ~Refill() {
            if (refilled)
                chart.emptySeries();
        }
    } refill{*responses, responses->series(0)->count() == 0};
    if (refill.refilled)
        drawResponses(*responses, shownRun);
    draw(responses);
}

QString SpeakerPage::readoutAt(double f) const {
    const SpeakerRun &r = *run.valid();
    return "f = " + shown(displayRounded(f, 1)) +
           " Гц; Rвых = 0: " + decibels(responseLevel(f, r.box.fc, r.box.qtc)) +
           "; Rвых = " + shown(formatGeneral(r.rout)) +
           " Ом: " + decibels(responseLevel(f, r.box.fc, r.box.qtcNew));
}

QString SpeakerPage::chartReadout(QPoint at) const { return readout->textAt(at); }
