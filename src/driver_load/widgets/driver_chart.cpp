#include "driver_load/widgets/driver_chart.h"

#include "core/decimal_text.h"
#include "speaker/round_step.h"
#include "ui/classic_look.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QLogValueAxis>
#include <QPainter>
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

constexpr int scaleWidth = 50; // beside the plot: the numbers, then the rotated title
constexpr int numberWidth = 32;
constexpr int numberGap = 4;
constexpr int plainEdge = 14; // where a side has no scale: room for the last frequency

} // namespace

// The chart's value scales, over its plot area: the left scale's numbers with a grid line at
// each, the right scale's numbers, and each scale's title turned along it.
class DriverChart::ValueScales : public QGraphicsItem {
public:
    ValueScales(QChart *chart, const Design &design)
        : QGraphicsItem(chart), chart(chart), titles{design.leftScale, design.rightScale},
          font(designFont(11)) {
        setZValue(2); // with the frequency axis's grid lines, under the lines
    }

    QRectF boundingRect() const override { return chart->rect(); }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override {
        const QRectF plot = chart->plotArea();
        const double height = QFontMetrics(font).height();
        painter->setFont(font);
        for (std::size_t side = 0; side < titles.size(); ++side) {
            if (!titles[side])
                continue;
            const Scale &scale = scales[side];
            const bool left = side == 0;
            for (double k = std::ceil(scale.low / scale.step - 1e-9);
                 k * scale.step <= scale.high + scale.step * 1e-9; ++k) {
                const double value = k * scale.step;
                const double y =
                    plot.bottom() - (value - scale.low) / (scale.high - scale.low) * plot.height();
                if (left) {
                    painter->setPen(QPen(QColor(200, 200, 200), 0));
                    painter->drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
                }
                painter->setPen(Qt::black);
                const double x =
                    left ? plot.left() - numberGap - numberWidth : plot.right() + numberGap;
                painter->drawText(QRectF(x, y - height / 2, numberWidth, height),
                                  (left ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                                  QString::fromStdString(withMinusSign(formatGeneral(value))));
            }
            painter->save();
            const double x = left ? plot.left() - scaleWidth + height / 2 + 2
                                  : plot.right() + scaleWidth - height / 2 - 2;
            painter->translate(x, plot.center().y());
            painter->rotate(-90);
            painter->drawText(QRectF(-plot.height(), -height / 2, 2 * plot.height(), height),
                              Qt::AlignCenter, titles[side]);
            painter->restore();
        }
    }

    std::array<Scale, 2> scales; // left, right

private:
    QChart *chart;
    std::array<const char *, 2> titles;
    QFont font;
};

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
    plot->setMargins(QMargins(scaleWidth, 2, design.rightScale ? scaleWidth : plainEdge, 2));
    plot->setBackgroundRoundness(0);
    plot->setDropShadowEnabled(false);
    plot->setBackgroundBrush(Qt::white);
    plot->setBackgroundPen(Qt::NoPen);
    plot->setTitle(design.title);
    plot->setTitleFont(designFont(13, true));
    plot->legend()->setAlignment(Qt::AlignBottom);
    plot->legend()->setFont(designFont(11));
    plot->legend()->setLabelColor(Qt::black);

    // Frequencies with the decimal comma and without group separators.
    QLocale numbers(QLocale::Russian, QLocale::Russia);
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    plot->setLocale(numbers);
    plot->setLocalizeNumbers(true);

    frequencyAxis = new QLogValueAxis;
    frequencyAxis->setBase(10);
    frequencyAxis->setLabelFormat("%.6g");
    frequencyAxis->setMinorTickCount(8);
    frequencyAxis->setMinorGridLineVisible(true);
    frequencyAxis->setRange(10, 1000);
    frequencyAxis->setTitleText("Частота, Гц");
    frequencyAxis->setTitleFont(designFont(11));
    frequencyAxis->setLabelsFont(designFont(11));
    frequencyAxis->setLabelsColor(Qt::black);
    // Zero-width pens draw one pixel wide; with a wider pen every grid line and tick would
    // measure its bounds by stroking its shape, again on every update.
    frequencyAxis->setGridLinePen(QPen(QColor(200, 200, 200), 0));
    frequencyAxis->setMinorGridLinePen(QPen(QColor(230, 230, 230), 0));
    frequencyAxis->setLinePen(QPen(Qt::black, 0));
    plot->addAxis(frequencyAxis, Qt::AlignBottom);
    plotAxis = new QValueAxis;
    plotAxis->setRange(0, 1);
    plotAxis->setVisible(false);
    plot->addAxis(plotAxis, Qt::AlignLeft);
    scales = new ValueScales(plot, design);

    auto *first = new QLineSeries;
    plot->addSeries(first);
    first->attachAxis(frequencyAxis);
    first->attachAxis(plotAxis);
    lines.push_back(first);
    connect(plot, &QChart::plotAreaChanged, this, [this] { scales->update(); });
}

bool DriverChart::hasCurves() const { return anchor()->count() > 0; }

double DriverChart::plotted(bool rightScale, double value) const {
    const Scale &scale = scales->scales[rightScale ? 1 : 0];
    return (value - scale.low) / (scale.high - scale.low);
}

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
    for (const ChartLine &line : shown) {
        const auto [least, most] = std::ranges::minmax(line.values);
        const int side = line.secondAxis ? 1 : 0;
        low[side] = std::min(low[side], least);
        high[side] = std::max(high[side], most);
    }
    for (std::size_t side = 0; side < 2; ++side)
        scales->scales[side] = fitted(low[side], high[side]);
    scales->update();

    for (std::size_t i = 0; i < shown.size(); ++i) {
        const ChartLine &line = shown[i];
        if (i == lines.size()) {
            lines.push_back(new QLineSeries);
            plot->addSeries(lines.back());
            lines.back()->attachAxis(frequencyAxis);
            lines.back()->attachAxis(plotAxis);
        }
        QLineSeries *series = lines[i];
        series->setName(QString::fromStdString(line.name));
        series->setPen(linePen(i, line.dashed));
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(frequency.size()));
        for (std::size_t k = 0; k < frequency.size(); ++k)
            points.append(QPointF(frequency[k], plotted(line.secondAxis, line.values[k])));
        series->replace(points);
    }
}

void DriverChart::clear() {
    for (QLineSeries *series : lines)
        series->clear();
}

// From zero, or from the design's span below the highest value, to just above the highest
// value, in round steps; a side without lines keeps a scale from 0 to 1.
DriverChart::Scale DriverChart::fitted(double low, double high) const {
    if (!(low <= high))
        return {};
    if (design.span > 0)
        low = std::max(low, high - design.span);
    else
        std::tie(low, high) = std::pair(std::min(low, 0.0), std::max(high, 0.0));
    // A little room above the top, so that a line there (Xmax) stays off the frame.
    high += std::max(high - low, std::fabs(high)) * 0.04;
    if (high == low)
        high = low + 1; // every value zero
    const double step = roundStep(high - low, 6);
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}
