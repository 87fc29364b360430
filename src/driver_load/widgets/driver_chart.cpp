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
#include <QStaticText>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <tuple>

namespace {

// The colours ChartLine::colour names.
const std::array<QColor, 6> lineColours{QColor(200, 0, 0),   QColor(0, 0, 220),   QColor(0, 128, 0),
                                        QColor(220, 120, 0), QColor(140, 0, 160), QColor(0, 0, 0)};

QPen linePen(const ChartLine &line) {
    QPen pen(lineColours[line.colour % lineColours.size()], line.bold ? 3.5 : 2);
    if (line.style == LineStyle::Dashed)
        pen.setStyle(Qt::DashLine);
    else if (line.style == LineStyle::Dotted)
        pen.setStyle(Qt::DotLine);
    return pen;
}

constexpr int scaleWidth = 50; // beside the plot: the numbers, then the rotated title
constexpr int numberWidth = 32;
constexpr int numberGap = 4;
constexpr int plainEdge = 14; // where a side has no scale: room for the last frequency
constexpr int legendRows = 2;
constexpr int legendRowHeight = 15;
constexpr int sampleWidth = 18; // the line drawn before an entry's text
constexpr int entryGap = 10;
constexpr int legendEdge = 8; // left free at both ends of a row

// Room for the scales at the sides and for the legend under the frequency axis.
QMargins margins(const DriverChart::Design &design) {
    return {scaleWidth, 2, design.rightScale ? scaleWidth : plainEdge,
            legendRows * legendRowHeight + 2};
}

} // namespace

// The chart's value scales, over its plot area: the left scale's numbers with a grid line at
// each, the right scale's numbers, and each scale's title turned along it.
class DriverChart::ValueScales : public QGraphicsItem {
public:
    ValueScales(QChart *chart, const Design &design)
        : QGraphicsItem(chart), chart(chart), font(designFont(11)) {
        titles = {design.leftScale, design.rightScale};
        setZValue(2); // with the frequency axis's grid lines, under the lines
    }

    std::array<const char *, 2> titles;

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
    QFont font;
};

// The legend under the frequency axis: each entry a sample of its line and its text, in rows as
// wide as the chart, each row centred. Laid out when its entries change, not at every paint.
class DriverChart::Legend : public QGraphicsItem {
public:
    struct Entry {
        QString text;
        QPen pen;
        bool operator==(const Entry &) const = default;
    };

    explicit Legend(QChart *chart) : QGraphicsItem(chart), chart(chart), font(designFont(11)) {
        setZValue(3);
    }

    QRectF boundingRect() const override { return chart->rect(); }

    void setEntries(const std::vector<Entry> &shown) {
        if (shown == entries)
            return;
        entries = shown;
        texts.clear();
        for (const Entry &entry : entries) {
            texts.emplace_back(entry.text);
            texts.back().prepare(QTransform(), font);
        }
        laidOutIn = {};
        update();
    }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override {
        if (chart->rect() != laidOutIn)
            layOut();
        painter->setFont(font);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const QPointF at = places[i];
            const double middle = at.y() + legendRowHeight / 2.0;
            painter->setPen(entries[i].pen);
            painter->drawLine(QPointF(at.x(), middle), QPointF(at.x() + sampleWidth, middle));
            painter->setPen(Qt::black);
            painter->drawStaticText(
                QPointF(at.x() + sampleWidth + 4, middle - texts[i].size().height() / 2), texts[i]);
        }
    }

private:
    QChart *chart;
    QFont font;
    std::vector<Entry> entries;
    std::vector<QStaticText> texts;
    std::vector<QPointF> places; // each entry's top left
    QRectF laidOutIn;            // the chart's area the places are for

    // Entries go into a row while they fit; a row holds one at least.
    void layOut() {
        laidOutIn = chart->rect();
        places.clear();
        const QRectF area = laidOutIn.adjusted(legendEdge, 0, -legendEdge, 0);
        const auto width = [&](std::size_t i) { return sampleWidth + 4 + texts[i].size().width(); };
        double y = area.bottom() - legendRows * legendRowHeight;
        for (std::size_t first = 0; first < entries.size(); y += legendRowHeight) {
            std::size_t end = first + 1;
            double used = width(first);
            while (end < entries.size() && used + entryGap + width(end) <= area.width())
                used += entryGap + width(end++);
            for (double x = area.center().x() - used / 2; first < end; ++first) {
                places.emplace_back(x, y);
                x += width(first) + entryGap;
            }
        }
    }
};

DriverChart::DriverChart(const Design &d, QWidget *parent)
    : QChartView(new QChart, parent), design(&d) {
    setObjectName(design->objectName);
    // A grey frame drawn by the view, around the whole chart.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setTextColour(this, QColor(160, 160, 160));
    setRubberBand(QChartView::NoRubberBand);
    setInteractive(false);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(size);

    QChart *plot = chart();
    plot->layout()->setContentsMargins(0, 0, 0, 0);
    plot->setMargins(margins(*design));
    plot->setBackgroundRoundness(0);
    plot->setDropShadowEnabled(false);
    plot->setBackgroundBrush(Qt::white);
    plot->setBackgroundPen(Qt::NoPen);
    plot->setTitle(design->title);
    plot->setTitleFont(designFont(13, true));
    plot->legend()->hide();

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
    scales = new ValueScales(plot, *design);
    legend = new Legend(plot);

    auto *first = new QLineSeries;
    plot->addSeries(first);
    first->attachAxis(frequencyAxis);
    first->attachAxis(plotAxis);
    lines.push_back(first);
    connect(plot, &QChart::plotAreaChanged, this, [this] { scales->update(); });
}

void DriverChart::setDesign(const Design &shown) {
    if (&shown == design)
        return;
    design = &shown;
    chart()->setMargins(margins(shown));
    chart()->setTitle(shown.title);
    scales->titles = {shown.leftScale, shown.rightScale};
    scales->update();
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
        const int side = line.secondAxis ? 1 : 0;
        if (design->headroom > 0 && side == 0 && &line != &shown.front())
            continue;
        const auto [least, most] = std::ranges::minmax(line.values);
        low[side] = std::min(low[side], least);
        high[side] = std::max(high[side], most + (side == 0 ? design->headroom : 0));
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
        series->setPen(linePen(line));
        // A limit, the same at every point, as the straight line from the first to the last: the
        // points between would only cost their joins at every repaint.
        const bool straight =
            std::ranges::adjacent_find(line.values, std::not_equal_to()) == line.values.end();
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(frequency.size()));
        for (std::size_t k = 0; k < frequency.size(); ++k)
            if (!straight || k == 0 || k + 1 == frequency.size())
                points.append(QPointF(frequency[k], plotted(line.secondAxis, line.values[k])));
        if (series->points() != points) // an unchanged line is not laid out again
            series->replace(points);
    }

    // The heated coil's lines, in the colours of the cold ones, named once in black.
    std::vector<Legend::Entry> entries;
    const auto heated = std::ranges::find_if(shown, &ChartLine::heated);
    for (const ChartLine &line : shown)
        if (!line.heated())
            entries.push_back({QString::fromStdString(line.legend), linePen(line)});
    if (heated != shown.end())
        entries.push_back(
            {QString::fromStdString(heated->legend), QPen(Qt::black, 2, Qt::DotLine)});
    legend->setEntries(entries);
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
    if (design->span > 0)
        low = std::max(low, high - design->span);
    else
        std::tie(low, high) = std::pair(std::min(low, 0.0), std::max(high, 0.0));
    // A little room above the top, so that a line there (Xmax) stays off the frame.
    high += std::max(high - low, std::fabs(high)) * 0.04;
    if (high == low)
        high = low + 1; // every value zero
    const double step = roundStep(high - low, 6);
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}
