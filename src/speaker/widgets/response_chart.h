#pragma once

#include <QChartView>
#include <QList>
#include <QPointF>

class QLineSeries;
class QLogValueAxis;
class QValueAxis;

// Chart1: the two low-frequency responses of the loudspeaker page, addressed by index (0 is
// Series1, 1 is Series2). The axes follow the data whichever way the series are changed; the
// framed title, the legend and the tick marks are drawn by the chart itself, so rendering the
// widget gives the whole picture.
class ResponseChart : public QChartView {
    Q_OBJECT

public:
    explicit ResponseChart(QWidget *parent = nullptr);

    QLineSeries *series(int index) const;

    // All points of one series at once, in place of what it held.
    void setPoints(int index, const QList<QPointF> &points);

    // Empties Series2, then Series1.
    void emptySeries();

    // While one lives, changes to the series leave the axes alone; when it ends, however the
    // refill ends, the axes are fitted once to what the series then hold.
    class AxesHold {
    public:
        explicit AxesHold(ResponseChart &chart) : chart(chart) { chart.axesHeld = true; }
        ~AxesHold() {
            chart.axesHeld = false;
            chart.fitAxes();
        }
        AxesHold(const AxesHold &) = delete;
        AxesHold &operator=(const AxesHold &) = delete;

    private:
        ResponseChart &chart;
    };

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    static constexpr double levelFloor = -16; // dB: the level axis never shows less

    class FramedTitle;
    class SeriesLegend;
    class PlotFrame;

    void fitAxes();
    void placeDecorations();

    QLogValueAxis *frequencyAxis = nullptr;
    QValueAxis *levelAxis = nullptr;
    FramedTitle *title = nullptr;
    SeriesLegend *legend = nullptr;
    PlotFrame *frame = nullptr;
    bool axesHeld = false;
};
