#pragma once

#include "driver_load/driver_load_view.h"

#include <QChartView>
#include <vector>

class QLineSeries;
class QLogValueAxis;
class QValueAxis;

// A chart of the driver-load window, of a fixed size: its lines over a logarithmic frequency axis,
// 10 Hz to 1 kHz, against a value scale at the left or, for a line of the second scale, at the
// right; named scales with their units and a legend below, on white.
//
// Qt Charts lays a value axis out anew, each of its labels and its title a rich-text document,
// whenever the axis's range changes, and a recomputation would spend most of its time there. So
// the lines are plotted against one hidden axis fixed from 0 to 1, each scaled into it by its
// own scale, and the chart draws the scales itself: their numbers, grid lines and titles. It
// draws its legend too, in up to two rows, each entry with a sample of its line; the heated
// coil's dotted lines share one entry.
class DriverChart : public QChartView {
public:
    struct Design {
        const char *objectName;
        const char *title;
        const char *leftScale;
        const char *rightScale; // null: the chart has one value scale
        // The most the scales show below their top values; 0: they reach down to zero.
        double span;
        // Where not 0, the left scale fits the first line alone, with this much room above it:
        // the other lines may leave the plot.
        double headroom = 0;
    };

    DriverChart(const Design &design, QWidget *parent);

    // Another design in place of the chart's, which then lives as long as the chart: its title,
    // its scales and their room.
    void setDesign(const Design &shown);

    // The first line's series, which the readout stands on; always there.
    QLineSeries *anchor() const { return lines.front(); }
    bool hasCurves() const;

    // Where a value of the left or the right scale stands on the hidden axis.
    double plotted(bool rightScale, double value) const;

    // Three by two beside the inputs on a 1280 × 720 screen.
    static constexpr QSize size{320, 250};

    // Shows `shown` in place of what the chart held, on scales fitted to them.
    void showLines(const ChartLines &shown, const ChartCurve &frequency);
    void clear();

    // Round steps from `low` to `high`.
    struct Scale {
        double low = 0;
        double high = 1;
        double step = 1;
    };

private:
    class ValueScales;
    class Legend;

    Scale fitted(double low, double high) const;

    const Design *design;
    QLogValueAxis *frequencyAxis = nullptr;
    QValueAxis *plotAxis = nullptr; // hidden, from 0 to 1
    ValueScales *scales = nullptr;
    Legend *legend = nullptr;
    std::vector<QLineSeries *> lines;
};
