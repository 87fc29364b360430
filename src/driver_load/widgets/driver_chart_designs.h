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

// The design of a chart for the box: the vented box's highest level and excursion have designs
// of their own, with the port's air speed.
const DriverChartDesign &driverChartDesign(std::size_t chart, BoxKind box);

// A chart's description at rest: what it shows, its lines as they stand, how to read and how to
// open its menu.
QString restingDescription(const DriverChartDesign &design, const ChartLines *lines);
