#include "speaker/driver_chart.h"

#include "speaker/round_step.h"
#include "ui/classic_look.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QLogValueAxis>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace {

// The lines of a chart in the order of its legend.
const std::array<QColor, 3> lineColours{QColor(200, 0, 0), QColor(0, 0, 220), QColor(0, 128, 0)};

QPen linePen(std::size_t index, bool dashed) {
    QPen pen(lineColours[index % lineColours.size()], 2);
    if (dashed)
        pen.setStyle(Qt::DashLine);
    return pen;
}

void styleAxis(QAbstractAxis *axis, const char *title) {
    axis->setTitleText(title);
    axis->setTitleFont(designFont(11));
    axis->setLabelsFont(designFont(11));
    axis->setLabelsColor(Qt::black);
    axis->setGridLinePen(QPen(QColor(200, 200, 200), 1));
}

} // namespace

DriverChart::DriverChart(const Design &d, QWidget *parent)
    : QChartView(new QChart, parent), design(d) {
    setObjectName(design.objectName);
    // A grey frame drawn by the view, around the whole chart.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setTextColour(this, QColor(160, 160, 160));
    setRubberBand(QChartView::NoRubberBand);
    setInteractive(false);
    setFocusPolicy(Qt::StrongFocus);

    QChart *plot = chart();
    plot->layout()->setContentsMargins(0, 0, 0, 0);
    plot->setMargins(QMargins(4, 2, 4, 2));
    plot->setBackgroundRoundness(0);
    plot->setDropShadowEnabled(false);
    plot->setBackgroundBrush(Qt::white);
    plot->setBackgroundPen(Qt::NoPen);
    plot->setTitle(design.title);
    plot->setTitleFont(designFont(13, true));
    plot->legend()->setAlignment(Qt::AlignBottom);
    plot->legend()->setFont(designFont(11));
    plot->legend()->setLabelColor(Qt::black);

    // Axis numbers with the decimal comma and without group separators.
    QLocale numbers(QLocale::Russian, QLocale::Russia);
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    plot->setLocale(numbers);
    plot->setLocalizeNumbers(true);

    frequencyAxis = new QLogValueAxis;
    frequencyAxis->setBase(10);
    frequencyAxis->setLabelFormat("%.6g");
    frequencyAxis->setMinorTickCount(8);
    frequencyAxis->setMinorGridLineVisible(true);
    frequencyAxis->setMinorGridLinePen(QPen(QColor(230, 230, 230), 1));
    frequencyAxis->setRange(10, 1000);
    styleAxis(frequencyAxis, "Частота, Гц");
    plot->addAxis(frequencyAxis, Qt::AlignBottom);
    for (auto [axis, title, side] : {std::tuple{&leftAxis, design.leftAxis, Qt::AlignLeft},
                                     std::tuple{&rightAxis, design.rightAxis, Qt::AlignRight}}) {
        if (!title)
            continue;
        *axis = new QValueAxis;
        (*axis)->setTickType(QValueAxis::TicksDynamic);
        (*axis)->setTickAnchor(0);
        (*axis)->setLabelFormat("%.6g");
        styleAxis(*axis, title);
        plot->addAxis(*axis, side);
    }
    if (rightAxis)
        rightAxis->setGridLineVisible(false); // the left axis's grid serves both

    auto *first = new QLineSeries;
    plot->addSeries(first);
    first->attachAxis(frequencyAxis);
    first->attachAxis(leftAxis);
    lines.push_back(first);
}

bool DriverChart::hasCurves() const { return anchor()->count() > 0; }

void DriverChart::showLines(const ChartLines &shown, const ChartCurve &frequency) {
    QChart *plot = chart();
    while (lines.size() > std::max<std::size_t>(shown.size(), 1)) {
        plot->removeSeries(lines.back());
        delete lines.back();
        lines.pop_back();
    }
    double low[2] = {std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::infinity()};
    double high[2] = {-low[0], -low[1]};
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const ChartLine &line = shown[i];
        if (i == lines.size()) {
            lines.push_back(new QLineSeries);
            plot->addSeries(lines.back());
            lines.back()->attachAxis(frequencyAxis);
        }
        QLineSeries *series = lines[i];
        QValueAxis *axis = line.secondAxis ? rightAxis : leftAxis;
        const QList<QAbstractAxis *> attached = series->attachedAxes();
        if (!attached.contains(axis)) {
            for (QAbstractAxis *other : attached)
                if (other != frequencyAxis)
                    series->detachAxis(other);
            series->attachAxis(axis);
        }
        series->setName(QString::fromStdString(line.name));
        series->setPen(linePen(i, line.dashed));
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(frequency.size()));
        for (std::size_t k = 0; k < frequency.size(); ++k)
            points.append(QPointF(frequency[k], line.values[k]));
        series->replace(points);
        const auto [least, most] = std::ranges::minmax(line.values);
        const int side = line.secondAxis ? 1 : 0;
        low[side] = std::min(low[side], least);
        high[side] = std::max(high[side], most);
    }
    fitAxis(leftAxis, low[0], high[0]);
    if (rightAxis)
        fitAxis(rightAxis, low[1], high[1]);
}

void DriverChart::clear() {
    for (QLineSeries *series : lines)
        series->clear();
}

// From zero, or from the design's span below the highest value, to just above the highest
// value, in round steps. Set once, and only when it changes: every change lays the axis out anew.
void DriverChart::fitAxis(QValueAxis *axis, double low, double high) const {
    if (!(low <= high))
        return; // no line on this axis
    if (design.span > 0)
        low = std::max(low, high - design.span);
    else
        std::tie(low, high) = std::pair(std::min(low, 0.0), std::max(high, 0.0));
    // A little room above the top, so that a line there (Xmax) stays off the frame.
    high += std::max(high - low, std::fabs(high)) * 0.04;
    if (high == low)
        high = low + 1; // every value zero
    const double step = roundStep(high - low, 6);
    low = std::floor(low / step) * step;
    high = std::ceil(high / step) * step;
    if (axis->tickInterval() != step)
        axis->setTickInterval(step);
    if (axis->min() != low || axis->max() != high)
        axis->setRange(low, high);
}
