#include "speaker/widgets/response_chart.h"

#include "speaker/round_step.h"

#include <QChart>
#include <QFontMetrics>
#include <QGraphicsItem>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QLocale>
#include <QLogValueAxis>
#include <QPainter>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Arial by its installed metric twin, asked for by name: the name "Arial" would send the font
// lookup through the system's fallback lists first. The metafile names it Arial again.
QFont arial(int pixelHeight) {
    QFont font("Liberation Sans");
    font.setPixelSize(pixelHeight);
    return font;
}

// A cosmetic one-pixel pen; the dash pattern counts in pixels.
QPen hairline(const QColor &colour, const QList<qreal> &dashes = {}) {
    QPen pen(colour, 1);
    pen.setCosmetic(true);
    if (!dashes.isEmpty())
        pen.setDashPattern(dashes);
    return pen;
}

// The frame of a box drawn inside its rectangle, one pixel wide, without antialiasing.
void drawBox(QPainter *painter, const QRect &box) {
    painter->setPen(hairline(Qt::black));
    painter->setBrush(Qt::white);
    painter->drawRect(box.adjusted(0, 0, -1, -1));
}

constexpr int edgeGap = 4;         // between the chart's border and the title or legend
constexpr int majorTickLength = 4; // outward from the plot frame
constexpr int minorTickLength = 3;
constexpr int swatchWidth = 30;

} // namespace

// The two-line chart title in a frame on white.
class ResponseChart::FramedTitle : public QGraphicsItem {
public:
    FramedTitle(const QString &text, QGraphicsItem *parent)
        : QGraphicsItem(parent), text(text), font(arial(12)) {
        const QRect textBox = QFontMetrics(font).boundingRect(QRect(), Qt::AlignCenter, text);
        box = QRect(0, 0, textBox.width() + 2 * paddingX, textBox.height() + 2 * paddingY);
    }

    QRectF boundingRect() const override { return box; }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override {
        drawBox(painter, box);
        painter->setFont(font);
        painter->setPen(Qt::black);
        painter->drawText(box, Qt::AlignCenter, text);
    }

private:
    static constexpr int paddingX = 6;
    static constexpr int paddingY = 2;
    QString text;
    QFont font;
    QRect box;
};

// The legend below the plot: one row of 30-pixel line swatches in the series' pens, each followed
// by the series' name as plain text (so the two spaces before "Ом" stay two).
class ResponseChart::SeriesLegend : public QGraphicsItem {
public:
    SeriesLegend(QList<QLineSeries *> entries, QGraphicsItem *parent)
        : QGraphicsItem(parent), entries(std::move(entries)), font(arial(11)) {
        measure();
    }

    QRectF boundingRect() const override { return box; }

    void measure() {
        prepareGeometryChange();
        const QFontMetrics metrics(font);
        int width = paddingX;
        for (const QLineSeries *series : entries)
            width += swatchWidth + textGap + metrics.horizontalAdvance(series->name()) + spacing;
        width += paddingX - spacing;
        box = QRect(0, 0, width, metrics.height() + 2 * paddingY);
    }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override {
        drawBox(painter, box);
        const QFontMetrics metrics(font);
        const int middle = box.height() / 2;
        int x = paddingX;
        painter->setFont(font);
        for (const QLineSeries *series : entries) {
            QPen swatch = series->pen();
            swatch.setCapStyle(Qt::FlatCap);
            painter->setPen(swatch);
            painter->drawLine(x, middle, x + swatchWidth, middle);
            x += swatchWidth + textGap;
            painter->setPen(Qt::black);
            const int textWidth = metrics.horizontalAdvance(series->name());
            painter->drawText(QRect(x, paddingY, textWidth, metrics.height()),
                              Qt::AlignLeft | Qt::AlignVCenter, series->name());
            x += textWidth + spacing;
        }
    }

private:
    static constexpr int paddingX = 6;
    static constexpr int paddingY = 3;
    static constexpr int textGap = 4;
    static constexpr int spacing = 12;
    QList<QLineSeries *> entries;
    QFont font;
    QRect box;
};

// The chart's border, the frame of the plot and the outward tick marks on it: decades on the
// frequency axis (its minor grid lines carry no marks), and on the level axis every labelled step
// with one shorter mark halfway between. Drawn over the grid, whose lines at the ends of a range
// would otherwise dot the frame.
class ResponseChart::PlotFrame : public QGraphicsItem {
public:
    PlotFrame(QChart *chart, QLogValueAxis *frequencyAxis, QValueAxis *levelAxis)
        : QGraphicsItem(chart), chart(chart), frequencyAxis(frequencyAxis), levelAxis(levelAxis) {
        setZValue(1000);
    }

    QRectF boundingRect() const override { return chart->rect(); }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override {
        painter->setPen(hairline(Qt::black));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(chart->rect().toRect().adjusted(0, 0, -1, -1));

        const QRectF plot = chart->plotArea();
        painter->drawLine(plot.topLeft(), plot.topRight());
        painter->drawLine(plot.bottomLeft(), plot.bottomRight());
        painter->drawLine(plot.topLeft(), plot.bottomLeft());
        painter->drawLine(plot.topRight(), plot.bottomRight());

        // Positions as the axes compute them: logarithmic across, linear upwards.
        const double logMin = std::log10(frequencyAxis->min());
        const double logSpan = std::log10(frequencyAxis->max()) - logMin;
        for (double decade = std::ceil(logMin - 1e-9); decade <= logMin + logSpan + 1e-9;
             ++decade) {
            const double x = plot.left() + (decade - logMin) / logSpan * plot.width();
            painter->drawLine(QPointF(x, plot.bottom()),
                              QPointF(x, plot.bottom() + majorTickLength));
        }

        const double min = levelAxis->min();
        const double span = levelAxis->max() - min;
        const double step = levelAxis->tickInterval();
        const double tolerance = span * 1e-9;
        const auto mark = [&](double level, int length) {
            if (level < min - tolerance || level > min + span + tolerance)
                return;
            const double y = plot.bottom() - (level - min) / span * plot.height();
            painter->drawLine(QPointF(plot.left() - length, y), QPointF(plot.left(), y));
        };
        const double first = levelAxis->tickAnchor() +
                             std::ceil((min - levelAxis->tickAnchor()) / step - 1e-9) * step;
        mark(first - step / 2, minorTickLength);
        for (double level = first; level <= min + span + tolerance; level += step) {
            mark(level, majorTickLength);
            mark(level + step / 2, minorTickLength);
        }
    }

private:
    QChart *chart;
    QLogValueAxis *frequencyAxis;
    QValueAxis *levelAxis;
};

// The view is given its chart at once: left to itself it would make a default one first.
ResponseChart::ResponseChart(QWidget *parent) : QChartView(new QChart, parent) {
    setFrameShape(QFrame::NoFrame);
    // The viewport covers the whole view. Left to Qt, the view's own background would be painted
    // under it only while Qt does not yet count the viewport as shown, so that a picture of a
    // chart never on screen would hold one fill more than the same chart's later pictures.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setRubberBand(QChartView::NoRubberBand);
    setInteractive(false);

    QChart *chart = QChartView::chart();
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    chart->setDropShadowEnabled(false);
    chart->setBackgroundBrush(Qt::white); // in place of the theme's gradient
    chart->setBackgroundPen(Qt::NoPen);   // PlotFrame draws the border
    chart->setPlotAreaBackgroundVisible(true);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundPen(Qt::NoPen);
    chart->legend()->hide();

    // Axis numbers with the decimal comma and without group separators, as everywhere else.
    QLocale numbers(QLocale::Russian, QLocale::Russia);
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    chart->setLocale(numbers);
    chart->setLocalizeNumbers(true);

    const QString names[] = {"АЧХ при Rвых = 0", "АЧХ при Rвых > 0"};
    const QColor colours[] = {QColor(255, 0, 0), QColor(0, 0, 255)};
    QList<QLineSeries *> lines;
    for (int i = 0; i < 2; ++i) {
        auto *line = new QLineSeries;
        line->setName(names[i]);
        line->setPen(QPen(colours[i], 2));
        line->setPointsVisible(false);
        chart->addSeries(line);
        lines.append(line);
    }

    const QPen gridPen = hairline(QColor(128, 128, 128), {1, 2});
    frequencyAxis = new QLogValueAxis;
    frequencyAxis->setBase(10);
    frequencyAxis->setLabelFormat("%.6g");
    frequencyAxis->setMinorTickCount(8); // at 2, 3, … 9 times each decade
    frequencyAxis->setMinorGridLineVisible(true);
    frequencyAxis->setMinorGridLinePen(hairline(QColor(192, 192, 192), {1, 1}));
    frequencyAxis->setGridLinePen(gridPen);
    frequencyAxis->setRange(10, 1000);

    levelAxis = new QValueAxis;
    levelAxis->setTickType(QValueAxis::TicksDynamic);
    levelAxis->setTickAnchor(0);
    levelAxis->setTickInterval(2);
    levelAxis->setMinorTickCount(0);
    levelAxis->setLabelFormat("%.6g");
    levelAxis->setGridLinePen(gridPen);
    levelAxis->setRange(levelFloor, 0);

    for (QAbstractAxis *axis :
         {static_cast<QAbstractAxis *>(frequencyAxis), static_cast<QAbstractAxis *>(levelAxis)}) {
        axis->setLineVisible(false); // the plot frame is the axis line
        axis->setLabelsFont(arial(11));
        // The axes have no titles; a font of their own keeps the theme from loading a bold one.
        axis->setTitleFont(arial(11));
        axis->setLabelsColor(Qt::black);
        axis->setTruncateLabels(false);
    }
    chart->addAxis(frequencyAxis, Qt::AlignBottom);
    chart->addAxis(levelAxis, Qt::AlignLeft);
    for (QLineSeries *line : lines) {
        line->attachAxis(frequencyAxis);
        line->attachAxis(levelAxis);
    }

    title = new FramedTitle("Корректировка АЧХ сабвуфера (ЗЯ) на НЧ за счет \n"
                            "увеличения добротности при Rвых усилителя > 0",
                            chart);
    legend = new SeriesLegend(lines, chart);
    frame = new PlotFrame(chart, frequencyAxis, levelAxis);
    // Space for the title above the plot and for the legend below the frequency labels.
    chart->setMargins(QMargins(edgeGap, qRound(title->boundingRect().height()) + 2 * edgeGap,
                               2 * edgeGap, qRound(legend->boundingRect().height()) + edgeGap));

    const auto follow = [this] {
        if (!axesHeld)
            fitAxes();
    };
    for (QLineSeries *line : lines) {
        connect(line, &QXYSeries::pointsReplaced, this, follow);
        connect(line, &QXYSeries::pointAdded, this, follow);
        connect(line, &QXYSeries::pointsRemoved, this, follow);
        connect(line, &QAbstractSeries::nameChanged, this, [this] {
            legend->measure();
            placeDecorations();
        });
    }
    connect(chart, &QChart::plotAreaChanged, this, [this] { frame->update(); });
}

QLineSeries *ResponseChart::series(int index) const {
    return static_cast<QLineSeries *>(chart()->series().at(index));
}

void ResponseChart::setPoints(int index, const QList<QPointF> &points) {
    series(index)->replace(points);
}

void ResponseChart::emptySeries() {
    series(1)->clear();
    series(0)->clear();
}

// Frequencies from the lowest to the highest point; levels from the fixed floor to the highest
// point, so a curve below the floor leaves the plot at its bottom edge. Empty series keep the
// ranges they had.
void ResponseChart::fitAxes() {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    double top = -low;
    for (QAbstractSeries *s : chart()->series())
        for (const QPointF &p : static_cast<QXYSeries *>(s)->points()) {
            low = std::min(low, p.x());
            high = std::max(high, p.x());
            top = std::max(top, p.y());
        }
    if (!(low <= high))
        return;
    if (high == low)
        high = low * 10;
    if (!(top > levelFloor))
        top = 0; // every point lies below the floor: show the floor up to the pass band
    frequencyAxis->setRange(low, high);
    levelAxis->setRange(levelFloor, top);
    levelAxis->setTickInterval(roundStep(top - levelFloor, 8));
    // Laid out at once: the axis labels and grid would otherwise follow the new step only at the
    // next event, and a picture drawn before it would show the old step's labels.
    chart()->layout()->activate();
    frame->update();
}

void ResponseChart::resizeEvent(QResizeEvent *event) {
    QChartView::resizeEvent(event);
    placeDecorations();
}

void ResponseChart::placeDecorations() {
    const QRectF area = chart()->rect();
    const QRectF titleBox = title->boundingRect();
    title->setPos(std::round(area.center().x() - titleBox.width() / 2), area.top() + edgeGap);
    const QRectF legendBox = legend->boundingRect();
    legend->setPos(std::round(area.center().x() - legendBox.width() / 2),
                   area.bottom() - edgeGap - legendBox.height());
}
