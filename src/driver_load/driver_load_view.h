#pragma once

#include "driver_load/driver_load.h"

#include <array>
#include <string>
#include <vector>

// What the driver-load window shows of one computation: the lines of its four charts, named as
// their legends and readouts name them, and the texts of the results under the charts. Numbers
// in the window's format with the true minus sign.

// One computation of the window: the loudspeaker page's run, the window's inputs and what they
// give.
struct DriverLoadRun {
    SpeakerRun run;
    DriverLoadInputs inputs;
    DriverLoad load;
};

// A line of a chart over the frequency grid.
struct ChartLine {
    std::string name;              // in the legend and the readout: «Rвых = 6 Ом»
    std::string unit;              // «дБ»
    std::string (*format)(double); // a value as the readout gives it
    ChartCurve values;             // over DriverLoad::frequency; a limit the same at every point
    bool secondAxis = false;       // on the chart's axis at the right
    bool dashed = false;           // a limit, the heated coil, a quantity of the second axis
};
using ChartLines = std::vector<ChartLine>;

// The charts, in the window's order: the level, the impedance, the excursion with Xmax, and what
// the amplifier delivers.
inline constexpr std::size_t driverChartCount = 4;
std::array<ChartLines, driverChartCount> driverChartLines(const DriverLoadRun &computed);

// A chart's lines at one point of the grid, each with its unit:
// «f = 32 Гц; Rвых = 0: 92,13 дБ; Rвых = 6 Ом: 90,55 дБ».
std::string chartReadout(const ChartLines &lines, const ChartCurve &frequency, std::size_t point);

// A result under the charts.
struct DriverResult {
    std::string text;   // as its label shows it, with the unit
    std::string tip;    // the value behind the text to four significant digits, or what it means
    bool alarm = false; // shown in red: the excursion beyond Xmax
};
inline constexpr std::size_t driverResultCount = 8;
std::array<std::string, driverResultCount> driverResultCaptions(double targetQtc);
std::array<DriverResult, driverResultCount> driverResults(const DriverLoadRun &computed);

// What the advice says where no positive Rвых gives the target Qtc; empty where one does.
std::string driverAdvice(const DriverLoadRun &computed);
