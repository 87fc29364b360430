#pragma once

#include <QPolygonF>
#include <QRectF>

#include <vector>

// Cutting lines and shapes to a rectangle, in device pixels. Not every metafile reader honours
// clip records, so what lies outside the clip is cut off before it is recorded.

// The pieces of a polyline inside r, each one continuous. A point inside r is kept exactly, so
// that the pieces still meet where the line does not leave r. A single point is kept if inside.
std::vector<QPolygonF> clipPolyline(const QPolygonF &line, const QRectF &r);

// The polygon cut to r (Sutherland–Hodgman, one edge of r after the other); open, the first
// point not repeated at the end.
QPolygonF clipPolygon(const QPolygonF &polygon, const QRectF &r);
