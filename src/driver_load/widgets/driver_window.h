#pragma once

#include "core/last_valid_run.h"
#include "driver_load/driver_load_view.h"
#include "speaker/widgets/rout_hand_overs.h"
#include "ui/following_windows.h"

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ChartReadout;
class DriverChart;
class DriverFigures;
class DriverInputs;
class DriverWindowMenus;
class QGridLayout;
class QLabel;

// «Динамик и усилитель»: the loudspeaker page's driver as the amplifier's load, in the page's
// closed box or in a vented box of its Vb, in five charts (the level, the highest level by the
// limits, the cone excursion with Xmax and in the vented box the port's air speed, the
// impedance, and what the amplifier delivers) and the figures beside and under them, for the
// inputs the window adds to the page's run (driver_inputs.h). A non-modal window of its own, made
// when first opened, whose fields keep their values from one showing to the next; Escape and
// «Закрыть» close it.
//
// The window follows the page: a new run is taken in; while the page shows no result (a key-down
// or a refused run) the window says so and keeps the previous run's charts, and its menu offers
// nothing until the page has a result again. It follows every change of a field while all hold
// values within their ranges, and shows nothing otherwise (BoundedField clamps and marks a field
// when it is left). An Rт not below the page's Rвых is refused: no network gives Rвых ≤ Rт.
class DriverWindow : public QWidget, public PageFollower {
    Q_OBJECT

public:
    // `page` is the loudspeaker page's record; `inputs` where the window's inputs are kept for
    // the main window's other uses of them; `routTargets` Variant 2's Rвых and Rн fields of both
    // amplifier pages.
    DriverWindow(QWidget *mainWindow, const LastValidRun<SpeakerRun> &page,
                 DriverLoadInputs &inputs, const std::array<Variant2Target, 2> &routTargets);
    ~DriverWindow() override;

    // Shows the window, the first time centred over the main window, and brings it to the front.
    void showOver();

    // The page's record changed.
    void follow() override;

    // The current-sense resistor of the amplifier whose Rвых the page took, into the Rт field.
    void takeSenseResistor(double ohms);

    // The fields' texts in the order of driverLoadFields(), as a project keeps them; writing one
    // is as typing it: its yellow goes and the window computes. `clamped`: a bound that replaced
    // a value beyond it, marked yellow as a field left beyond its range is.
    QString inputText(std::size_t row) const;
    void setInputText(std::size_t row, const QString &text, bool clamped = false);
    // The box «Ящик» chooses.
    BoxKind box() const;
    void setBox(BoxKind box);

    // What the window shows, when it is of the page's current run; else null, and why.
    const DriverLoadRun *current() const;
    std::string whyNone() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildCharts(QGridLayout *grid);
    void recompute();
    void showBox(BoxKind box);
    void showComputed();
    void clearComputed();
    void showStatus();
    double readoutStart() const;
    QString readoutAt(std::size_t chart, double f) const;

    const LastValidRun<SpeakerRun> &page;
    DriverLoadInputs &kept;
    std::unique_ptr<DriverInputs> inputBox;
    BoxKind shownBox = BoxKind::Closed; // the box the charts and figures are laid out for
    QLabel *caption = nullptr;          // the page's run the window shows
    QLabel *status = nullptr;           // why the window offers nothing now
    std::array<DriverChart *, driverChartCount> charts{};
    std::array<ChartReadout *, driverChartCount> readouts{};
    std::unique_ptr<DriverFigures> figures;
    std::optional<SpeakerRun> run; // the page's last result, also after a key-down there
    std::optional<DriverLoadRun> computed;
    std::array<ChartLines, driverChartCount> lines;
    std::string fieldFault; // the first field without a value in its range, or a refused Rт
    std::unique_ptr<DriverWindowMenus> menus;
};
