#include "wmf/logical_units.h"

#include "wmf/units.h"

#include <algorithm>
#include <cmath>

namespace {

// Far beyond 16 bits, where the records clamp, yet safe to convert.
constexpr double farOut = 1e6;

} // namespace

LogicalUnits::LogicalUnits(QSize pixelSize)
    : unitsPerInch(unitsPerInchFor(std::max(pixelSize.width(), pixelSize.height()))),
      unit(unitsPerInch / double(wmfPixelsPerInch)),
      size(qRound(pixelSize.width() * unit), qRound(pixelSize.height() * unit)) {}

WmfPoint LogicalUnits::point(const QPointF &p) const {
    auto scale = [this](qreal v) {
        if (!std::isfinite(v))
            return 0;
        return static_cast<int>(std::lround(std::clamp(v * unit, -farOut, farOut)));
    };
    return {scale(p.x()), scale(p.y())};
}

std::vector<WmfPoint> LogicalUnits::points(const QPolygonF &polygon) const {
    std::vector<WmfPoint> points;
    points.reserve(polygon.size());
    for (const QPointF &p : polygon) {
        const WmfPoint q = point(p);
        if (points.empty() || !(points.back() == q))
            points.push_back(q);
    }
    return points;
}

WmfClipRect LogicalUnits::clip(const QRectF &area) const {
    WmfClipRect key;
    key.left = static_cast<int>(std::floor(area.left() * unit));
    key.top = static_cast<int>(std::floor(area.top() * unit));
    key.right = static_cast<int>(std::ceil(area.right() * unit));
    key.bottom = static_cast<int>(std::ceil(area.bottom() * unit));
    const bool wholePicture =
        key.left <= 0 && key.top <= 0 && key.right >= size.width() && key.bottom >= size.height();
    if (wholePicture)
        return {};
    key.active = true;
    return key;
}
