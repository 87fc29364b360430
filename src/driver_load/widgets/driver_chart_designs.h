#pragma once

#include "driver_load/driver_load_view.h"
#include "driver_load/widgets/driver_chart.h"

#include <QString>
#include <array>

// The charts of the window «Динамик и усилитель», in the order of driverChartLines: three in a
// row, the level, the highest level by the limits and the excursion, over the impedance and what
// the amplifier delivers.
struct DriverChartDesign {
    DriverChart::Design chart;
    const char *name;        // for screen readers
    const char *description; // what its curves are
};
extern const std::array<DriverChartDesign, driverChartCount> driverChartDesigns;

// A chart's description at rest: what it shows, its lines as they stand, how to read and how to
// open its menu.
QString restingDescription(const DriverChartDesign &design, const ChartLines *lines);
