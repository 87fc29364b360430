#pragma once

#include <QChartView>

class QLineSeries;

// Chart1: the two low-frequency responses of the loudspeaker page, addressed by index
// (0 is Series1, 1 is Series2).
class ResponseChart : public QChartView {
    Q_OBJECT

public:
    explicit ResponseChart(QWidget *parent = nullptr);

    QLineSeries *series(int index) const;

    // Empties Series2, then Series1.
    void emptySeries();
};
