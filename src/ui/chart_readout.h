#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAbstractSeries;
class QChartView;
class QEvent;
class QPoint;
class QWidget;

// The readout of a chart whose curves run over one frequency grid: under the pointer a tooltip
// names the frequency there and the curves' values; with the chart focused, Left and Right walk the
// grid points, and the readout is also the chart's description for screen readers. The tooltip
// stands beside the chart, under its bottom edge, so that it covers neither the curves nor the
// fields around the chart. Nothing is drawn into the chart, so its saved pictures stay as they
// were.
class ChartReadout : public QObject {
public:
    // What the readout reads, from the curves as they stand.
    struct Source {
        std::function<bool()> hasCurves;
        std::function<QString(double f)> text; // «f = 102,4 Гц; …»
        std::function<double()> start;         // where the keyboard readout first stands, Hz
        std::vector<double> grid;              // the points the keyboard walks, Hz, rising
    };

    // `anchor` is the series whose axes the pointer is read by; `restingDescription` is what a
    // screen reader hears of the chart without a readout; `hint`, how its menu opens, ends every
    // readout.
    ChartReadout(QChartView *chart, QAbstractSeries *anchor, QString restingDescription,
                 QString hint, Source source);

    // The readout at a point of the chart's viewport; empty outside the plot and while the
    // chart shows no curves.
    QString textAt(QPoint at) const;

    // The curves are gone: the readout comes down and the chart is described at rest.
    void curvesGone();
    // The curves are new, and described at rest by `resting`: the keyboard readout, where it is
    // up, reads them at its grid point; elsewhere the chart is described at rest.
    void curvesChanged(const QString &resting);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool chartKey(QEvent *event);
    void showKeyboardReadout();
    void showTip(const QString &text);

    QChartView *chart;
    QWidget *viewport;
    QAbstractSeries *anchor;
    QString restingDescription;
    QString hint;
    Source source;
    int point = -1; // the grid point the keyboard readout stands on; -1 before the first
};
