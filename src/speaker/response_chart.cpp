#include "speaker/response_chart.h"

#include <QChart>
#include <QLineSeries>

ResponseChart::ResponseChart(QWidget *parent) : QChartView(parent) {
    auto *chart = new QChart;
    auto *series1 = new QLineSeries;
    series1->setName("АЧХ при Rвых = 0");
    auto *series2 = new QLineSeries;
    series2->setName("АЧХ при Rвых > 0");
    chart->addSeries(series1);
    chart->addSeries(series2);
    setChart(chart);
}

QLineSeries *ResponseChart::series(int index) const {
    return static_cast<QLineSeries *>(chart()->series().at(index));
}

void ResponseChart::emptySeries() {
    series(1)->clear();
    series(0)->clear();
}
