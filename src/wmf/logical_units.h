#pragma once

#include "wmf/device_context.h"
#include "wmf/records.h"

#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSize>

#include <vector>

// Device pixels as the logical units of a picture `pixelSize` large: as fine as 16-bit
// coordinates allow, so that coordinates keep sub-pixel precision.
class LogicalUnits {
public:
    explicit LogicalUnits(QSize pixelSize);

    int perInch() const { return unitsPerInch; }
    qreal perPixel() const { return unit; }
    QSize extent() const { return size; } // the whole picture

    WmfPoint point(const QPointF &devicePoint) const;
    // The polygon's points, each one repeated in a row kept once.
    std::vector<WmfPoint> points(const QPolygonF &devicePolygon) const;
    // The clip to `area`, inactive where it leaves the whole picture.
    WmfClipRect clip(const QRectF &area) const;

private:
    int unitsPerInch;
    qreal unit;
    QSize size;
};
