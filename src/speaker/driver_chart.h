#pragma once

#include "speaker/driver_load_view.h"

#include <QChartView>
#include <vector>

class QLineSeries;
class QLogValueAxis;
class QValueAxis;

// A chart of the driver-load window: its lines over a logarithmic frequency axis, 10 Hz to 1 kHz,
// against the value axis at the left or, for a line of the second axis, at the right; named axes
// with their units and a legend below, on white.
class DriverChart : public QChartView {
public:
    struct Design {
        const char *objectName;
        const char *title;
        const char *leftAxis;
        const char *rightAxis; // null: the chart has one value axis
        // The most the value axes show below their top values; 0: they reach down to zero.
        double span;
    };

    DriverChart(const Design &design, QWidget *parent);

    // The first line's series, which the readout stands on; always there.
    QLineSeries *anchor() const { return lines.front(); }
    bool hasCurves() const;

    // Large enough to read its axes on a 1024 × 768 screen, two by two beside the inputs.
    QSize sizeHint() const override { return {370, 255}; }
    QSize minimumSizeHint() const override { return {340, 235}; }

    // Shows `shown` in place of what the chart held, and fits the axes to them once.
    void showLines(const ChartLines &shown, const ChartCurve &frequency);
    void clear();

private:
    void fitAxis(QValueAxis *axis, double low, double high) const;

    const Design &design;
    QLogValueAxis *frequencyAxis = nullptr;
    QValueAxis *leftAxis = nullptr;
    QValueAxis *rightAxis = nullptr;
    std::vector<QLineSeries *> lines;
};
