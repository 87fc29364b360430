#pragma once

#include "core/last_results.h"
#include "core/last_valid_run.h"
#include "input/widgets/hand_over_field.h"
#include "input/widgets/numeric_fields.h"
#include "speaker/speaker_run.h"
#include "speaker/widgets/speaker_menus.h"
#include "ui/record_page.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ChartReadout;
class QLabel;
class QLineEdit;
class QPushButton;
class ResponseChart;

// "Пример применения": the closed box fed from an ideal source and through the amplifier's
// output resistance, with both responses on the chart. The window wires "Вычислить" to its
// handler, which runs the calculation here.
class SpeakerPage : public RecordPage {
    Q_OBJECT

public:
    SpeakerPage(NumericFields &fields, LastResults &last, QWidget *parent);
    ~SpeakerPage() override;

    // The page's calculation, as "Вычислить" runs it.
    void calculate();
    // The same before the window first appears, on the default texts: nothing counts as
    // calculated by the user yet.
    void calculateAtStart();

    ResponseChart *chart() const { return responses; }
    QPushButton *calculateButton() const { return button; }

    // The last valid run; null while the page shows none.
    const SpeakerRun *validRun() const { return run.valid(); }
    // The outcome of the last run, with the reason where it has no result.
    const LastValidRun<SpeakerRun> &record() const { return run; }

    // The amplifier's Rвых field, which takes Variant 3's Rвых; the page then computes.
    const HandOverField &amplifierRoutField() const { return fieldHandOvers[1]; }
    void takeAmplifierRout(double ohms);
    // The box volume field, which takes the volume that reaches Qtc = 0,7; the page then computes.
    const HandOverField &volumeField() const { return fieldHandOvers[0]; }
    void takeVolume(double litres);

    // Where the required Rвых goes: Variant 2 of the non-inverting and of the inverting page.
    void setRoutTargets(Variant2Target nonInverting, Variant2Target inverting);
    // The main window's window «Динамик и усилитель» for the page's driver, as the menus offer it.
    void setDriverLoad(DriverLoadActions actions);

    // The chart readout at a point of the chart's viewport: the frequency there and both levels
    // of the last run, "f = 102,4 Гц; Rвых = 0: −3,08 дБ; Rвых = 6 Ом: −0,06 дБ". Empty outside
    // the plot and while the chart shows no curves.
    QString chartReadout(QPoint at) const;

    // Draws the chart as a picture of a run, the page's last valid one: where a key-down has
    // emptied the chart, the run's curves are back in it while `draw` runs, and out again after,
    // before the window paints.
    void drawChartOf(const SpeakerRun &shown, const std::function<void(QWidget *chart)> &draw);

private:
    void buildInputs();
    void buildResults();
    void emptyChart();
    void computeClosedBox();
    void endRun(const NumericFields::Outcome &checked);
    QString readoutAt(double f) const;

    NumericFields &fields;
    LastResults &last;
    ResponseChart *responses = nullptr; // Chart1
    QPushButton *button = nullptr;      // Button7, the window's default button on this page
    QLabel *requiredRout = nullptr;     // Label107, the Rвых required for Qtc = 0,7
    QLabel *requiredRoutCaption = nullptr;
    std::array<QLabel *, 4> resultLabels{};    // Qtc, F3, Qtc', F3' as the result rows list them
    std::vector<QLineEdit *> edits;            // Edit31 … Edit37
    std::vector<HandOverField> fieldHandOvers; // Vb, then the amplifier's Rвых
    LastValidRun<SpeakerRun> run;
    std::unique_ptr<SpeakerMenus> menus;
    ChartReadout *readout = nullptr;
};
