#pragma once

#include "driver_load/driver_load.h"

#include <array>
#include <string>
#include <vector>

// What the driver-load window shows of one computation: the lines of its charts, named as their
// legends and readouts name them, and the texts of the results under the charts. Numbers in the
// window's format with the true minus sign.

// One computation of the window: the loudspeaker page's run, the window's inputs and what they
// give.
struct DriverLoadRun {
    SpeakerRun run;
    DriverLoadInputs inputs;
    DriverLoad load;
};

enum class LineStyle {
    Solid,
    Dashed, // a limit, or a quantity of the second axis
    Dotted, // the heated coil, in the colour of the cold coil's line
};

// A line of a chart over the frequency grid.
struct ChartLine {
    std::string name;                        // in the readout: «Rвых = 6 Ом»
    std::string unit;                        // «дБ»
    std::string (*format)(double) = nullptr; // a value as the readout gives it
    ChartCurve values;       // over DriverLoad::frequency; a limit the same at every point
    bool secondAxis = false; // on the chart's axis at the right
    LineStyle style = LineStyle::Solid;
    std::size_t colour = 0; // in the charts' colours: red, blue, green, orange, violet, black
    bool bold = false;      // drawn wider, over the lines it lies on
    // Its entry in the legend; the heated coil's lines share one, «катушка +60 °C».
    std::string legend;
    std::vector<std::string> remarks; // after each point's value in the readout; or none
    bool heated() const { return style == LineStyle::Dotted; }
};
using ChartLines = std::vector<ChartLine>;

// The charts, in the window's order: the level, the highest level by the limits, the excursion
// with Xmax (in the vented box with the port's air speed and its limit on the second axis), the
// impedance, and what the amplifier delivers.
inline constexpr std::size_t driverChartCount = 5;
std::array<ChartLines, driverChartCount> driverChartLines(const DriverLoadRun &computed);

// What a chart's lines are, for screen readers: «Кривые: Rвых = 0 — красная; Xmax — синяя
// пунктирная; …».
std::string chartLinesDescription(const ChartLines &lines);

// A chart's lines at one point of the grid, each with its unit:
// «f = 32 Гц; Rвых = 0: 92,13 дБ; Rвых = 6 Ом: 90,55 дБ».
std::string chartReadout(const ChartLines &lines, const ChartCurve &frequency, std::size_t point);

// A result under the charts.
struct DriverResult {
    std::string text;   // as its label shows it, with the unit
    std::string tip;    // the value behind the text to four significant digits, or what it means
    bool alarm = false; // shown in red: the excursion beyond Xmax
};
// In order: the pass band's loss, F3, the largest excursion, the power at which it reaches Xmax,
// the op-amp's voltage, the current, the power in Rт, the Rвых for the target Qtc (the closed
// box's), the frequency below which the cone goes beyond Xmax, the highest level at 20, 30, 40 and
// 60 Гц, the thermal compression at the amplifier's Rвых and at Rвых = 0; then the vented box's:
// the Rвых, Vb and Fb for B4, the Rвых without a rise and its F3, the port's length.
inline constexpr std::size_t driverResultCount = 21;
inline constexpr std::size_t firstVentedResult = 15;
std::array<std::string, driverResultCount> driverResultCaptions(double targetQtc);
std::array<DriverResult, driverResultCount> driverResults(const DriverLoadRun &computed);

// What the advice says where no positive Rвых gives the target Qtc, or in the vented box why
// there is no Rвых for B4 or none without a rise; empty where there is.
std::string driverAdvice(const DriverLoadRun &computed);

// Why an Rт of `rt` ohms is refused beside the page's Rвых: no network gives Rвых ≤ Rт, since
// Rвых = Rт·(R1 + R2)/(R2 + Rт). Empty where Rт < Rвых.
std::string senseResistorRefusal(double rt, double rout);
