#include "wmf/clip_geometry.h"

#include <algorithm>

namespace {

// The part of the segment a–b inside r (Liang–Barsky); false when none is. An end inside r is
// kept exactly.
bool clipSegment(QPointF &a, QPointF &b, const QRectF &r) {
    const QPointF d = b - a;
    qreal enter = 0, leave = 1;
    auto edge = [&](qreal p, qreal q) {
        if (p == 0)
            return q >= 0;
        const qreal t = q / p;
        if (p < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
        return enter <= leave;
    };
    if (!edge(-d.x(), a.x() - r.left()) || !edge(d.x(), r.right() - a.x()) ||
        !edge(-d.y(), a.y() - r.top()) || !edge(d.y(), r.bottom() - a.y()))
        return false;
    const QPointF start = a;
    if (leave < 1)
        b = start + d * leave;
    if (enter > 0)
        a = start + d * enter;
    return true;
}

} // namespace

std::vector<QPolygonF> clipPolyline(const QPolygonF &line, const QRectF &r) {
    std::vector<QPolygonF> pieces;
    if (line.size() == 1) {
        if (r.contains(line.first()))
            pieces.push_back(line);
        return pieces;
    }
    for (qsizetype i = 1; i < line.size(); ++i) {
        QPointF a = line[i - 1], b = line[i];
        if (!clipSegment(a, b, r))
            continue;
        if (pieces.empty() || pieces.back().last() != a)
            pieces.push_back(QPolygonF{a});
        pieces.back() << b;
    }
    return pieces;
}

QPolygonF clipPolygon(const QPolygonF &polygon, const QRectF &r) {
    QPolygonF out = polygon;
    if (!out.isEmpty() && out.first() == out.last())
        out.removeLast();
    auto cutBy = [&out](auto inside, auto crossing) {
        QPolygonF in = std::move(out);
        out = QPolygonF();
        for (qsizetype i = 0; i < in.size(); ++i) {
            const QPointF current = in[i];
            const QPointF previous = in[(i + in.size() - 1) % in.size()];
            if (inside(current)) {
                if (!inside(previous))
                    out << crossing(previous, current);
                out << current;
            } else if (inside(previous)) {
                out << crossing(previous, current);
            }
        }
    };
    auto atX = [](qreal x) {
        return [x](QPointF p, QPointF q) {
            return QPointF(x, p.y() + (q.y() - p.y()) * (x - p.x()) / (q.x() - p.x()));
        };
    };
    auto atY = [](qreal y) {
        return [y](QPointF p, QPointF q) {
            return QPointF(p.x() + (q.x() - p.x()) * (y - p.y()) / (q.y() - p.y()), y);
        };
    };
    cutBy([&r](QPointF p) { return p.x() >= r.left(); }, atX(r.left()));
    cutBy([&r](QPointF p) { return p.x() <= r.right(); }, atX(r.right()));
    cutBy([&r](QPointF p) { return p.y() >= r.top(); }, atY(r.top()));
    cutBy([&r](QPointF p) { return p.y() <= r.bottom(); }, atY(r.bottom()));
    return out;
}
