#include "wmf/paint_engine.h"

#include "wmf/clip_geometry.h"
#include "wmf/picture.h"
#include "wmf/style.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <utility>

MetafilePaintEngine::MetafilePaintEngine(QSize pixelSize, int dpiY)
    : QPaintEngine(QPaintEngine::AllFeatures), pixelSize(pixelSize), dpiY(dpiY), units(pixelSize) {
    // Every feature is claimed so that QPainter hands everything over as it is instead of
    // rasterising what it would otherwise emulate; what the format lacks (alpha, gradients,
    // anti-aliasing) is approximated here.
    context.records().setWindowOrg(0, 0);
    context.records().setWindowExt(units.extent().width(), units.extent().height());
}

bool MetafilePaintEngine::begin(QPaintDevice *) {
    // Every widget of a render opens its own painter; the records go on in one stream.
    transform = QTransform();
    pen = QPen();
    brush = QBrush();
    hints = {};
    opacity = 1;
    clipEnabled = false;
    clip.reset();
    return !finished;
}

bool MetafilePaintEngine::end() {
    flush();
    return true;
}

void MetafilePaintEngine::updateState(const QPaintEngineState &state) {
    const QPaintEngine::DirtyFlags flags = state.state();
    if (flags & DirtyTransform)
        transform = state.transform();
    if (flags & DirtyPen)
        pen = state.pen();
    if (flags & DirtyBrush)
        brush = state.brush();
    if (flags & DirtyHints)
        hints = state.renderHints();
    if (flags & DirtyOpacity)
        opacity = state.opacity();
    if (flags & DirtyClipEnabled)
        clipEnabled = state.isClipEnabled();
    // A clip arrives in the coordinates of the transform current with it (QPainter replays
    // the saved clips with their own transforms on restore). The format clips to rectangles:
    // other shapes are taken by their bounding box.
    if (flags & (DirtyClipRegion | DirtyClipPath)) {
        QRectF area;
        if (flags & DirtyClipRegion)
            area = QRectF(transform.map(state.clipRegion()).boundingRect());
        else
            area = transform.map(state.clipPath()).boundingRect();
        switch (state.clipOperation()) {
        case Qt::NoClip:
            clip.reset();
            break;
        case Qt::ReplaceClip:
            clip = area;
            clipEnabled = true;
            break;
        case Qt::IntersectClip:
            clip = clip ? (*clip & area) : area;
            clipEnabled = true;
            break;
        }
    }
}

WmfPen MetafilePaintEngine::currentPen() const {
    return penFor(pen, penPixels(), units.perPixel(), opacity);
}

WmfBrush MetafilePaintEngine::currentBrush() const { return brushFor(brush, opacity); }

// Empty when everything is clipped away.
QRectF MetafilePaintEngine::clipArea() const {
    // Nothing outside the picture shows, and cutting there keeps coordinates within 16 bits.
    QRectF area(QPointF(0, 0), QSizeF(pixelSize));
    if (clipEnabled && clip)
        area &= *clip;
    // While a widget is rendered, Qt confines it to its own visible part.
    const QRegion system = systemClip();
    if (!system.isEmpty())
        area &= QRectF(system.boundingRect());
    return area.isValid() ? area : QRectF();
}

qreal MetafilePaintEngine::penPixels() const {
    const qreal width = pen.widthF();
    if (pen.isCosmetic() || width == 0)
        return std::max<qreal>(width, 1);
    return width * std::sqrt(std::abs(transform.determinant()));
}

// Without anti-aliasing Qt draws a line through integer coordinates along the pixels right and
// below it, as if half a pixel further on; the metafile gets the line where it shows.
QPointF MetafilePaintEngine::strokeShift() const {
    return hints & QPainter::Antialiasing ? QPointF() : QPointF(0.5, 0.5);
}

void MetafilePaintEngine::addPolyline(const QPolygonF &devicePolygon) {
    const WmfPen key = currentPen();
    if (key.style == WmfPenStyle::Null || devicePolygon.isEmpty())
        return;
    const QPointF shift = strokeShift();
    stroke(devicePolygon.translated(shift), key, clipArea());
}

// Not every reader honours clip records, so what lies outside the clip is cut off here; the
// clip record is kept for the pieces that were cut, so that the pen's width ends at the clip
// edge as on screen.
void MetafilePaintEngine::stroke(const QPolygonF &line, const WmfPen &key, const QRectF &area) {
    if (area.isEmpty())
        return;
    const WmfClipRect region = units.clip(area);
    const qreal half = penPixels() / 2;
    if (area.contains(line.boundingRect().adjusted(-half, -half, half, half))) {
        appendLine(units.points(line), key, region, false);
        return;
    }
    for (const QPolygonF &piece : clipPolyline(line, area))
        appendLine(units.points(piece), key, region, true);
}

void MetafilePaintEngine::appendLine(std::vector<WmfPoint> points, const WmfPen &key,
                                     const WmfClipRect &region, bool cut) {
    if (points.empty())
        return;
    if (points.size() == 1)
        points.push_back(points.front()); // a dot: a line of no length
    // Qt sends a series line segment by segment; joined again it is one polyline.
    auto *held = std::get_if<PendingLine>(&pending);
    if (held && held->pen == key && held->region == region &&
        held->points.back() == points.front()) {
        held->points.insert(held->points.end(), points.begin() + 1, points.end());
        held->cut = held->cut || cut;
        return;
    }
    flush();
    pending = PendingLine{key, region, cut, std::move(points)};
}

void MetafilePaintEngine::fillShape(const std::vector<QPolygonF> &devicePolygons,
                                    Qt::FillRule rule) {
    const WmfPen penWanted = currentPen();
    const WmfBrush brushWanted = currentBrush();
    if (penWanted.style == WmfPenStyle::Null && brushWanted.style == WmfBrushStyle::Null)
        return;
    const QRectF area = clipArea();
    if (area.isEmpty())
        return;
    QRectF bounds;
    for (const QPolygonF &p : devicePolygons)
        bounds |= p.boundingRect();
    const qreal half = penWanted.style == WmfPenStyle::Null ? 0 : penPixels() / 2;
    if (area.contains(bounds.adjusted(-half, -half, half, half))) {
        emitFill(devicePolygons, rule, penWanted, brushWanted);
        return;
    }
    // Cut by the clip: the fill is cut exactly, the outline as lines.
    if (brushWanted.style != WmfBrushStyle::Null) {
        std::vector<QPolygonF> visible;
        for (const QPolygonF &p : devicePolygons)
            if (QPolygonF q = clipPolygon(p, area); q.size() >= 3)
                visible.push_back(q);
        emitFill(visible, rule, WmfPen{}, brushWanted);
    }
    if (penWanted.style != WmfPenStyle::Null) {
        const QPointF shift = brushWanted.style == WmfBrushStyle::Null ? strokeShift() : QPointF();
        for (QPolygonF p : devicePolygons) {
            if (p.isEmpty())
                continue;
            if (p.first() != p.last())
                p << p.first();
            stroke(p.translated(shift), penWanted, area);
        }
    }
}

void MetafilePaintEngine::emitFill(const std::vector<QPolygonF> &devicePolygons, Qt::FillRule rule,
                                   const WmfPen &penWanted, const WmfBrush &brushWanted) {
    // An outline alone lies where Qt's strokes lie; a filled shape where its fill does.
    const QPointF shift = brushWanted.style == WmfBrushStyle::Null ? strokeShift() : QPointF();
    std::vector<std::vector<WmfPoint>> polygons;
    for (const QPolygonF &p : devicePolygons) {
        std::vector<WmfPoint> points = units.points(p.translated(shift));
        if (points.size() > 1 && points.front() == points.back())
            points.pop_back(); // the player closes a polygon itself
        if (points.size() >= 2)
            polygons.push_back(std::move(points));
    }
    if (polygons.empty())
        return;
    flush();
    context.clipTo(WmfClipRect{});
    context.selectPen(penWanted);
    context.selectBrush(brushWanted);
    context.backgroundFor(penWanted, brushWanted);
    const std::uint16_t mode = rule == Qt::WindingFill ? wmfFillWinding : wmfFillAlternate;
    context.setPolyFillMode(mode);
    if (polygons.size() == 1)
        context.records().polygon(polygons.front());
    else
        context.records().polyPolygon(polygons);
}

void MetafilePaintEngine::drawLines(const QLineF *lines, int lineCount) {
    for (int i = 0; i < lineCount; ++i)
        addPolyline(QPolygonF{transform.map(lines[i].p1()), transform.map(lines[i].p2())});
}

void MetafilePaintEngine::drawRects(const QRectF *rects, int rectCount) {
    for (int i = 0; i < rectCount; ++i) {
        const WmfPen penWanted = currentPen();
        QRectF r = transform.mapRect(rects[i]).normalized();
        r.translate(strokeShift());
        const qreal half = penPixels() / 2;
        const bool whole = clipArea().contains(r.adjusted(-half, -half, half, half));
        if (transform.type() > QTransform::TxScale || penWanted.style == WmfPenStyle::Null ||
            !whole) {
            // Turned or cut rectangles, and fills alone (the player's Rectangle leaves out the
            // last pixel row and column of a fill without an outline).
            fillShape({transform.map(QPolygonF(rects[i]))}, Qt::OddEvenFill);
            continue;
        }
        flush();
        context.clipTo(WmfClipRect{});
        context.selectPen(penWanted);
        context.selectBrush(currentBrush());
        context.backgroundFor(penWanted, currentBrush());
        const WmfPoint topLeft = units.point(r.topLeft());
        const WmfPoint bottomRight = units.point(r.bottomRight());
        context.records().rectangle(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    }
}

void MetafilePaintEngine::drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode) {
    const QPolygonF polygon = transform.map(QPolygonF(QList<QPointF>(points, points + pointCount)));
    if (mode == PolylineMode)
        addPolyline(polygon);
    else
        fillShape({polygon}, mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
}

void MetafilePaintEngine::drawPath(const QPainterPath &path) {
    const QList<QPolygonF> polygons = path.toSubpathPolygons(transform);
    if (currentBrush().style != WmfBrushStyle::Null) {
        fillShape({polygons.begin(), polygons.end()}, path.fillRule());
        return;
    }
    for (const QPolygonF &p : polygons)
        addPolyline(p);
}

void MetafilePaintEngine::drawTextItem(const QPointF &p, const QTextItem &textItem) {
    if (textItem.text().isEmpty()) {
        // Glyphs without characters (a glyph run): their outlines.
        QPaintEngine::drawTextItem(p, textItem);
        return;
    }
    if (pen.style() == Qt::NoPen || invisible(pen.color(), opacity))
        return;
    // Text is not cut here: a run wholly inside the clip needs no clip record, one wholly
    // outside is left out, and one across the edge is clipped by the player.
    const QRectF area = clipArea();
    const QRectF box = textBox(p, textItem, transform);
    if (!area.intersects(box))
        return;
    TextRun run = layoutRun(p, textItem, transform, paintDevice(), dpiY, units);
    run.colour = onPaper(pen.color(), opacity);
    run.region = units.clip(area);
    run.cut = !area.contains(box);
    if (auto *held = std::get_if<TextRun>(&pending); held && joinRun(*held, run))
        return;
    flush();
    pending = std::move(run);
}

void MetafilePaintEngine::drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) {
    drawImage(r, pm.toImage(), sr, Qt::AutoColor);
}

// Only the visible part of the picture goes in.
void MetafilePaintEngine::drawImage(const QRectF &r, const QImage &image, const QRectF &sr,
                                    Qt::ImageConversionFlags) {
    const QRectF target = transform.mapRect(r).normalized();
    const std::optional<WmfPicture> picture =
        visiblePicture(image, sr, target, clipArea(), opacity);
    if (!picture)
        return;
    const WmfPoint topLeft = units.point(picture->target.topLeft());
    const WmfPoint bottomRight = units.point(picture->target.bottomRight());
    flush();
    context.clipTo(WmfClipRect{});
    context.records().stretchDib(topLeft.x, topLeft.y, bottomRight.x - topLeft.x,
                                 bottomRight.y - topLeft.y, picture->width, picture->height,
                                 picture->rgb);
}

void MetafilePaintEngine::flush() {
    const auto held = std::exchange(pending, std::monostate{});
    if (const auto *run = std::get_if<TextRun>(&held)) {
        writeRun(context, *run, units);
        return;
    }
    const auto *line = std::get_if<PendingLine>(&held);
    if (!line)
        return;
    context.clipTo(line->cut ? line->region : WmfClipRect{});
    context.selectPen(line->pen);
    context.backgroundFor(line->pen, WmfBrush{});
    // A single line as the pair of records programs have always written for one.
    if (line->points.size() == 2) {
        context.records().moveTo(line->points[0].x, line->points[0].y);
        context.records().lineTo(line->points[1].x, line->points[1].y);
    } else {
        context.records().polyline(line->points);
    }
}

QByteArray MetafilePaintEngine::metafile() {
    if (!finished) {
        flush();
        context.release();
        finished = true;
    }
    const std::vector<std::uint8_t> bytes =
        context.records().finish(units.extent().width(), units.extent().height(), units.perInch());
    return QByteArray(reinterpret_cast<const char *>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}
