#include "ui/chart_readout.h"

#include "ui/error_report.h"

#include <QChart>
#include <QChartView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QToolTip>
#include <algorithm>
#include <cmath>

ChartReadout::ChartReadout(QChartView *c, QAbstractSeries *a, QString resting, QString h, Source s)
    : QObject(c), chart(c), viewport(c->viewport()), anchor(a),
      restingDescription(std::move(resting)), hint(std::move(h)), source(std::move(s)) {
    chart->setAccessibleDescription(restingDescription);
    viewport->setMouseTracking(true);
    viewport->installEventFilter(this);
    chart->installEventFilter(this);
}

QString ChartReadout::textAt(QPoint at) const {
    if (!source.hasCurves())
        return {};
    QChart *plot = chart->chart();
    const QPointF point = plot->mapFromScene(chart->mapToScene(at));
    if (!plot->plotArea().contains(point))
        return {};
    return source.text(plot->mapToValue(point, anchor).x());
}

void ChartReadout::curvesGone() {
    QToolTip::hideText();
    chart->setAccessibleDescription(restingDescription);
}

void ChartReadout::curvesChanged(const QString &resting) {
    restingDescription = resting;
    if (chart->hasFocus() && point >= 0)
        showKeyboardReadout();
    else
        chart->setAccessibleDescription(restingDescription);
}

// Under the chart from its left edge, moved left where the screen ends first. Qt puts a tooltip
// a cursor's height below the point it is given.
void ChartReadout::showTip(const QString &text) {
    const QPoint corner = chart->mapToGlobal(QPoint(0, chart->height()));
    const QSize tip = QFontMetrics(QToolTip::font()).size(0, text) + QSize(10, 10);
    int x = corner.x();
    if (const QScreen *screen = chart->screen()) {
        const QRect area = screen->availableGeometry();
        x = std::max(area.left(), std::min(x, area.right() - tip.width()));
    }
    QToolTip::showText(QPoint(x, corner.y()), text, viewport);
}

// The keyboard twin of the pointer's readout: it stands on a grid point of the curves.
void ChartReadout::showKeyboardReadout() {
    if (!source.hasCurves())
        return;
    const std::vector<double> &frequencies = source.grid;
    if (point < 0) // the first time at the grid point nearest the start
        point = static_cast<int>(std::min_element(frequencies.begin(), frequencies.end(),
                                                  [start = source.start()](double a, double b) {
                                                      return std::fabs(std::log(a / start)) <
                                                             std::fabs(std::log(b / start));
                                                  }) -
                                 frequencies.begin());
    const double f = frequencies[static_cast<std::size_t>(point)];
    const QString text = source.text(f) + "\n" + hint;
    chart->setAccessibleDescription(text);
    showTip(text);
}

// Left and Right move the readout along the grid. The tooltip hides itself on every key, so it
// is shown again when the key comes up; Tab onto the chart shows it where it stood.
bool ChartReadout::chartKey(QEvent *event) {
    switch (event->type()) {
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            showKeyboardReadout();
        return false;
    }
    case QEvent::FocusOut:
        QToolTip::hideText();
        return false;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Left && key != Qt::Key_Right)
            return false;
        if (point >= 0)
            point = std::clamp(point + (key == Qt::Key_Right ? 1 : -1), 0,
                               static_cast<int>(source.grid.size()) - 1);
        showKeyboardReadout();
        return true;
    }
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat() && chart->hasFocus() && point >= 0)
            showKeyboardReadout();
        return false;
    }
    default:
        return false;
    }
}

// The readout follows the pointer. The chart's scene answers the tooltip request that comes
// when the pointer rests with a hidden tip (none of its items has one), so that request is
// answered here instead. Both run under the error report. The viewport is known from the start:
// its own events still come while the chart is being destroyed.
bool ChartReadout::eventFilter(QObject *watched, QEvent *event) {
    bool handled = false;
    if (watched == chart) {
        runHandler([&] { handled = chartKey(event); });
        return handled;
    }
    if (watched != viewport ||
        (event->type() != QEvent::MouseMove && event->type() != QEvent::ToolTip))
        return false;
    const bool move = event->type() == QEvent::MouseMove;
    const QPoint at = move ? static_cast<QMouseEvent *>(event)->position().toPoint()
                           : static_cast<QHelpEvent *>(event)->pos();
    runHandler([&] {
        const QString text = textAt(at);
        if (text.isEmpty())
            QToolTip::hideText();
        else
            showTip(text + "\n" + hint);
    });
    return !move;
}
