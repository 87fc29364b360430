#include "report/wmf_paint_engine.h"

#include "core/windows1251.h"

#include <QFontMetricsF>
#include <QGradient>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace {

// The face a Windows player is asked for: the free metric twin the windows draw in goes by the
// name of the Windows face it stands in for.
std::string windowsFace(const QString &family) {
    return family == "Liberation Sans" ? std::string("Arial") : family.toStdString();
}

// The line patterns a metafile brush hatches itself; the others are drawn as a solid brush.
std::optional<WmfHatch> hatchOf(Qt::BrushStyle style) {
    switch (style) {
    case Qt::HorPattern:
        return WmfHatch::Horizontal;
    case Qt::VerPattern:
        return WmfHatch::Vertical;
    case Qt::CrossPattern:
        return WmfHatch::Cross;
    case Qt::BDiagPattern:
        return WmfHatch::BackwardDiagonal;
    case Qt::FDiagPattern:
        return WmfHatch::ForwardDiagonal;
    case Qt::DiagCrossPattern:
        return WmfHatch::DiagonalCross;
    default:
        return std::nullopt;
    }
}

// How much of its colour a dense pattern shows; the metafile gets the solid blend with white.
qreal patternCoverage(Qt::BrushStyle style) {
    switch (style) {
    case Qt::Dense1Pattern:
        return 0.94;
    case Qt::Dense2Pattern:
        return 0.88;
    case Qt::Dense3Pattern:
        return 0.63;
    case Qt::Dense4Pattern:
        return 0.50;
    case Qt::Dense5Pattern:
        return 0.37;
    case Qt::Dense6Pattern:
        return 0.12;
    case Qt::Dense7Pattern:
        return 0.06;
    default:
        return 1.0;
    }
}

QColor averageColour(const QBrush &brush) {
    if (const QGradient *g = brush.gradient(); g && !g->stops().isEmpty()) {
        qreal r = 0, gr = 0, b = 0, a = 0;
        for (const auto &stop : g->stops()) {
            r += stop.second.redF();
            gr += stop.second.greenF();
            b += stop.second.blueF();
            a += stop.second.alphaF();
        }
        const auto n = static_cast<qreal>(g->stops().size());
        return QColor::fromRgbF(float(r / n), float(gr / n), float(b / n), float(a / n));
    }
    if (brush.style() == Qt::TexturePattern && !brush.textureImage().isNull())
        return brush.textureImage()
            .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .pixelColor(0, 0);
    return brush.color();
}

// Logical units per inch: the finest of the values placeable readers accept that still keeps
// the whole picture within 16-bit coordinates.
int unitsPerInchFor(QSize pixels) {
    const int longest = std::max({pixels.width(), pixels.height(), 1});
    for (int inch : {1440, 720, 360})
        if (longest * inch / 96.0 <= 32767)
            return inch;
    return 360;
}

bool sameRow(qreal a, qreal b) { return std::abs(a - b) < 0.01; }

// The part of the segment a–b inside r (Liang–Barsky); false when none is. An end inside r
// is kept exactly, so that the pieces of a polyline still meet.
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

// The polygon cut to r (Sutherland–Hodgman, one edge of r after the other).
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

} // namespace

MetafilePaintEngine::MetafilePaintEngine(QSize pixelSize, int dpiY)
    : QPaintEngine(QPaintEngine::AllFeatures), pixelSize(pixelSize), dpiY(dpiY),
      unitsPerInch(unitsPerInchFor(pixelSize)), unit(unitsPerInch / 96.0) {
    // Every feature is claimed so that QPainter hands everything over as it is instead of
    // rasterising what it would otherwise emulate; what the format lacks (alpha, gradients,
    // anti-aliasing) is approximated here.
    recorder.setWindowOrg(0, 0);
    recorder.setWindowExt(qRound(pixelSize.width() * unit), qRound(pixelSize.height() * unit));
}

MetafilePaintEngine::~MetafilePaintEngine() = default;

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

WmfColour MetafilePaintEngine::colourOf(const QColor &colour) const {
    // No transparency in the format: a translucent colour is mixed with the white paper.
    const QColor c = colour.toRgb();
    const qreal a = std::clamp(c.alphaF() * opacity, 0.0, 1.0);
    auto mix = [a](int v) { return static_cast<std::uint8_t>(std::lround(v * a + 255 * (1 - a))); };
    return {mix(c.red()), mix(c.green()), mix(c.blue())};
}

bool MetafilePaintEngine::invisible(const QColor &colour) const {
    return colour.alpha() == 0 || opacity <= 0;
}

MetafilePaintEngine::PenKey MetafilePaintEngine::penKey() const {
    if (pen.style() == Qt::NoPen || invisible(pen.color()))
        return {};
    const qreal pixels = penPixels();
    PenKey key;
    key.width = std::max(1, qRound(pixels * unit));
    key.colour = colourOf(pen.color());
    switch (pen.style()) {
    case Qt::DashLine:
        key.style = WmfPenStyle::Dash;
        break;
    case Qt::DotLine:
        key.style = WmfPenStyle::Dot;
        break;
    case Qt::DashDotLine:
        key.style = WmfPenStyle::DashDot;
        break;
    case Qt::DashDotDotLine:
        key.style = WmfPenStyle::DashDotDot;
        break;
    case Qt::CustomDashLine: {
        const auto pattern = pen.dashPattern();
        const bool shortDashes = !pattern.isEmpty() && pattern.first() <= 1.5;
        key.style = shortDashes ? WmfPenStyle::Dot : WmfPenStyle::Dash;
        break;
    }
    default:
        key.style = WmfPenStyle::Solid;
        break;
    }
    // The player draws a styled pen only one device pixel wide; such a pen is given the
    // width 0, which means exactly that, so the dots survive any playback scale.
    if (key.style != WmfPenStyle::Solid && pixels <= 1)
        key.width = 0;
    return key;
}

MetafilePaintEngine::BrushKey MetafilePaintEngine::brushKey() const {
    BrushKey key;
    const Qt::BrushStyle style = brush.style();
    if (style == Qt::NoBrush)
        return key;
    QColor colour = averageColour(brush);
    if (invisible(colour))
        return key;
    if (const std::optional<WmfHatch> hatch = hatchOf(style)) {
        key.style = WmfBrushStyle::Hatched;
        key.hatch = *hatch;
    } else {
        key.style = WmfBrushStyle::Solid;
        colour.setAlphaF(colour.alphaF() * float(patternCoverage(style)));
    }
    key.colour = colourOf(colour);
    return key;
}

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

MetafilePaintEngine::ClipKey MetafilePaintEngine::clipKey(const QRectF &area) const {
    ClipKey key;
    key.left = static_cast<int>(std::floor(area.left() * unit));
    key.top = static_cast<int>(std::floor(area.top() * unit));
    key.right = static_cast<int>(std::ceil(area.right() * unit));
    key.bottom = static_cast<int>(std::ceil(area.bottom() * unit));
    const bool wholePicture = key.left <= 0 && key.top <= 0 &&
                              key.right >= qRound(pixelSize.width() * unit) &&
                              key.bottom >= qRound(pixelSize.height() * unit);
    if (wholePicture)
        return {};
    key.active = true;
    return key;
}

qreal MetafilePaintEngine::penPixels() const {
    const qreal width = pen.widthF();
    if (pen.isCosmetic() || width == 0)
        return std::max<qreal>(width, 1);
    return width * std::sqrt(std::abs(transform.determinant()));
}

// Without anti-aliasing Qt draws a line through integer coordinates along the pixels right and
// below it, as if half a pixel further on; the metafile gets the line where it shows.
bool MetafilePaintEngine::strokeShifted() const { return !(hints & QPainter::Antialiasing); }

WmfPoint MetafilePaintEngine::logical(const QPointF &p) const {
    auto scale = [this](qreal v) {
        if (!std::isfinite(v))
            return 0;
        return static_cast<int>(std::lround(std::clamp(v * unit, -1e6, 1e6)));
    };
    return {scale(p.x()), scale(p.y())};
}

std::vector<WmfPoint> MetafilePaintEngine::logical(const QPolygonF &polygon) const {
    std::vector<WmfPoint> points;
    points.reserve(polygon.size());
    for (const QPointF &p : polygon) {
        const WmfPoint q = logical(p);
        if (points.empty() || !(points.back() == q))
            points.push_back(q);
    }
    return points;
}

void MetafilePaintEngine::addPolyline(const QPolygonF &devicePolygon) {
    const PenKey key = penKey();
    if (key.style == WmfPenStyle::Null || devicePolygon.isEmpty())
        return;
    const QPointF shift = strokeShifted() ? QPointF(0.5, 0.5) : QPointF();
    stroke(devicePolygon.translated(shift), key, clipArea());
}

// Not every reader honours clip records, so what lies outside the clip is cut off here; the
// clip record is kept for the pieces that were cut, so that the pen's width ends at the clip
// edge as on screen.
void MetafilePaintEngine::stroke(const QPolygonF &line, const PenKey &key, const QRectF &area) {
    if (area.isEmpty())
        return;
    const ClipKey region = clipKey(area);
    const qreal half = penPixels() / 2;
    if (area.contains(line.boundingRect().adjusted(-half, -half, half, half))) {
        appendLine(logical(line), key, region, false);
        return;
    }
    for (const QPolygonF &piece : clipPolyline(line, area))
        appendLine(logical(piece), key, region, true);
}

void MetafilePaintEngine::appendLine(std::vector<WmfPoint> points, const PenKey &key,
                                     const ClipKey &region, bool cut) {
    if (points.empty())
        return;
    if (points.size() == 1)
        points.push_back(points.front()); // a dot: a line of no length
    // Qt sends a series line segment by segment; joined again it is one polyline.
    if (pending.kind == Pending::Line && pending.pen == key && pending.region == region &&
        pending.points.back() == points.front()) {
        pending.points.insert(pending.points.end(), points.begin() + 1, points.end());
        pending.cut = pending.cut || cut;
        return;
    }
    flush();
    pending.kind = Pending::Line;
    pending.pen = key;
    pending.region = region;
    pending.cut = cut;
    pending.points = std::move(points);
}

void MetafilePaintEngine::fillShape(const std::vector<QPolygonF> &devicePolygons,
                                    Qt::FillRule rule) {
    const PenKey penWanted = penKey();
    const BrushKey brushWanted = brushKey();
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
        emitFill(visible, rule, PenKey{}, brushWanted);
    }
    if (penWanted.style != WmfPenStyle::Null) {
        const QPointF shift = brushWanted.style == WmfBrushStyle::Null && strokeShifted()
                                  ? QPointF(0.5, 0.5)
                                  : QPointF();
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
                                   const PenKey &penWanted, const BrushKey &brushWanted) {
    // An outline alone lies where Qt's strokes lie; a filled shape where its fill does.
    const QPointF shift =
        brushWanted.style == WmfBrushStyle::Null && strokeShifted() ? QPointF(0.5, 0.5) : QPointF();
    std::vector<std::vector<WmfPoint>> polygons;
    for (const QPolygonF &p : devicePolygons) {
        std::vector<WmfPoint> points = logical(p.translated(shift));
        if (points.size() > 1 && points.front() == points.back())
            points.pop_back(); // the player closes a polygon itself
        if (points.size() >= 2)
            polygons.push_back(std::move(points));
    }
    if (polygons.empty())
        return;
    flush();
    applyClip(ClipKey{});
    selectPen(penWanted);
    selectBrush(brushWanted);
    backgroundFor(penWanted, brushWanted);
    const std::uint16_t mode = rule == Qt::WindingFill ? wmfFillWinding : wmfFillAlternate;
    if (dc.fillMode != mode) {
        recorder.setPolyFillMode(mode);
        dc.fillMode = mode;
    }
    if (polygons.size() == 1)
        recorder.polygon(polygons.front());
    else
        recorder.polyPolygon(polygons);
}

void MetafilePaintEngine::drawLines(const QLineF *lines, int lineCount) {
    for (int i = 0; i < lineCount; ++i)
        addPolyline(QPolygonF{transform.map(lines[i].p1()), transform.map(lines[i].p2())});
}

void MetafilePaintEngine::drawRects(const QRectF *rects, int rectCount) {
    for (int i = 0; i < rectCount; ++i) {
        const PenKey penWanted = penKey();
        QRectF r = transform.mapRect(rects[i]).normalized();
        if (strokeShifted())
            r.translate(0.5, 0.5);
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
        applyClip(ClipKey{});
        selectPen(penWanted);
        selectBrush(brushKey());
        backgroundFor(penWanted, brushKey());
        const WmfPoint topLeft = logical(r.topLeft());
        const WmfPoint bottomRight = logical(r.bottomRight());
        recorder.rectangle(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
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
    if (brushKey().style != WmfBrushStyle::Null) {
        fillShape({polygons.begin(), polygons.end()}, path.fillRule());
        return;
    }
    for (const QPolygonF &p : polygons)
        addPolyline(p);
}

void MetafilePaintEngine::drawTextItem(const QPointF &p, const QTextItem &textItem) {
    const QString text = textItem.text();
    if (text.isEmpty()) {
        // Glyphs without characters (a glyph run): their outlines.
        QPaintEngine::drawTextItem(p, textItem);
        return;
    }
    if (pen.style() == Qt::NoPen || invisible(pen.color()))
        return;
    // Text is not cut here: a run wholly inside the clip needs no clip record, one wholly
    // outside is left out, and one across the edge is clipped by the player.
    const QRectF area = clipArea();
    const QRectF box = transform
                           .map(QPolygonF(QRectF(p.x(), p.y() - textItem.ascent(), textItem.width(),
                                                 textItem.ascent() + textItem.descent())))
                           .boundingRect();
    if (!area.intersects(box))
        return;
    const ClipKey region = clipKey(area);
    const bool cut = !area.contains(box);

    const QFont f = textItem.font();
    const QPointF origin = transform.map(p);
    const QPointF along = transform.map(p + QPointF(1, 0)) - origin;
    const QPointF down = transform.map(p + QPointF(0, 1)) - origin;
    const qreal scaleAlong = std::hypot(along.x(), along.y());
    const qreal scaleDown = std::hypot(down.x(), down.y());
    const qreal pixelHeight = f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * dpiY / 72.0;

    WmfFont wanted;
    wanted.height = -std::max(1, qRound(pixelHeight * scaleDown * unit));
    wanted.escapement = qRound(std::atan2(-along.y(), along.x()) * 1800 / std::numbers::pi) % 3600;
    wanted.weight = std::clamp(static_cast<int>(f.weight()), 1, 1000);
    wanted.italic = f.style() != QFont::StyleNormal;
    wanted.faceName = toWindows1251(windowsFace(f.family()));
    // Underline and strike-out are lines QPainter draws itself.
    const WmfColour colour = colourOf(pen.color());

    // Each character's place as Qt laid the run out (kerning included), so that the player
    // puts them where they are on screen whatever face it substitutes.
    const QFontMetricsF metrics(f, paintDevice());
    const QList<uint> codePoints = text.toUcs4();
    std::string bytes;
    std::vector<qreal> offsets{0};
    int utf16 = 0;
    for (uint cp : codePoints) {
        const char32_t c = cp;
        const QString piece = QString::fromUcs4(&c, 1);
        bytes += toWindows1251(piece.toStdString()).substr(0, 1);
        utf16 += static_cast<int>(piece.size());
        offsets.push_back(metrics.horizontalAdvance(text.left(utf16)));
    }
    const qreal natural = offsets.back();
    const qreal factor = natural > 0 ? textItem.width() / natural : 1;
    std::vector<qreal> advances;
    for (std::size_t i = 1; i < offsets.size(); ++i)
        advances.push_back((offsets[i] - offsets[i - 1]) * factor * scaleAlong);
    const qreal width = textItem.width() * scaleAlong;

    // Qt sends one line in runs split where the script changes (Latin/Cyrillic); a run that
    // continues the held one on the same baseline joins it.
    if (pending.kind == Pending::Text && wanted.escapement == 0 && pending.font == wanted &&
        pending.colour == colour && pending.region == region &&
        sameRow(pending.origin.y(), origin.y()) && std::abs(pending.endX - origin.x()) < 0.05) {
        if (!pending.advances.empty())
            pending.advances.back() += origin.x() - pending.endX;
        pending.text += bytes;
        pending.advances.insert(pending.advances.end(), advances.begin(), advances.end());
        pending.endX = origin.x() + width;
        pending.cut = pending.cut || cut;
        return;
    }
    flush();
    pending.kind = Pending::Text;
    pending.region = region;
    pending.cut = cut;
    pending.font = wanted;
    pending.colour = colour;
    pending.origin = origin;
    pending.text = std::move(bytes);
    pending.advances = std::move(advances);
    pending.endX = origin.x() + width;
}

void MetafilePaintEngine::drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) {
    drawImage(r, pm.toImage(), sr, Qt::AutoColor);
}

void MetafilePaintEngine::drawImage(const QRectF &r, const QImage &image, const QRectF &sr,
                                    Qt::ImageConversionFlags) {
    QRectF target = transform.mapRect(r).normalized();
    QRectF source = sr;
    if (target.isEmpty() || source.isEmpty())
        return;
    // Only the visible part of the picture goes in.
    if (const QRectF area = clipArea(); !area.contains(target)) {
        const QRectF visible = target & area;
        if (visible.isEmpty())
            return;
        const qreal sx = source.width() / target.width();
        const qreal sy = source.height() / target.height();
        source = QRectF(source.x() + (visible.x() - target.x()) * sx,
                        source.y() + (visible.y() - target.y()) * sy, visible.width() * sx,
                        visible.height() * sy);
        target = visible;
    }
    const QRect pixelsTaken = source.toAlignedRect() & image.rect();
    if (pixelsTaken.isEmpty())
        return;
    // The picture goes in as 24-bit pixels over white paper.
    QImage rgb(pixelsTaken.size(), QImage::Format_RGB888);
    rgb.fill(Qt::white);
    {
        QPainter painter(&rgb);
        painter.setOpacity(opacity);
        painter.drawImage(QPoint(0, 0), image, pixelsTaken);
    }
    std::vector<std::uint8_t> pixels;
    pixels.reserve(std::size_t(rgb.width()) * rgb.height() * 3);
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar *line = rgb.constScanLine(y);
        pixels.insert(pixels.end(), line, line + rgb.width() * 3);
    }
    const WmfPoint topLeft = logical(target.topLeft());
    const WmfPoint bottomRight = logical(target.bottomRight());
    flush();
    applyClip(ClipKey{});
    recorder.stretchDib(topLeft.x, topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y,
                        rgb.width(), rgb.height(), pixels);
}

void MetafilePaintEngine::flush() {
    Pending held = std::move(pending);
    pending = Pending{};
    switch (held.kind) {
    case Pending::None:
        return;
    case Pending::Line:
        applyClip(held.cut ? held.region : ClipKey{});
        selectPen(held.pen);
        backgroundFor(held.pen, BrushKey{});
        // A single line as the pair of records programs have always written for one.
        if (held.points.size() == 2) {
            recorder.moveTo(held.points[0].x, held.points[0].y);
            recorder.lineTo(held.points[1].x, held.points[1].y);
        } else {
            recorder.polyline(held.points);
        }
        return;
    case Pending::Text: {
        applyClip(held.cut ? held.region : ClipKey{});
        selectFont(held.font);
        setBackgroundMode(wmfBackgroundTransparent);
        if (dc.textAlign != wmfAlignBaseline) {
            recorder.setTextAlign(wmfAlignBaseline);
            dc.textAlign = wmfAlignBaseline;
        }
        if (dc.textColour != held.colour) {
            recorder.setTextColour(held.colour);
            dc.textColour = held.colour;
        }
        // Distances rounded from the running sum, so that rounding does not add up.
        std::vector<int> dx;
        qreal sum = 0;
        for (qreal advance : held.advances) {
            const long before = std::lround(sum * unit);
            sum += advance;
            dx.push_back(static_cast<int>(std::lround(sum * unit) - before));
        }
        const WmfPoint at = logical(held.origin);
        recorder.extTextOut(at.x, at.y, held.text, dx);
        return;
    }
    }
}

// The format can only narrow the clip; a different clip is set by going back to the state
// saved before the last one and narrowing that.
void MetafilePaintEngine::applyClip(const ClipKey &wanted) {
    if (wanted == emittedClip)
        return;
    if (emittedClip.active) {
        recorder.restoreDc();
        dc = savedDc;
    }
    if (wanted.active) {
        savedDc = dc;
        recorder.saveDc();
        recorder.intersectClipRect(wanted.left, wanted.top, wanted.right, wanted.bottom);
        // The player keeps the state in the new level; some readers (libwmf) start it afresh
        // (text at the top instead of the baseline), so everything is set again when used.
        dc = DcState{};
    }
    emittedClip = wanted;
}

void MetafilePaintEngine::setBackgroundMode(std::uint16_t mode) {
    if (dc.backgroundMode != mode) {
        recorder.setBkMode(mode);
        dc.backgroundMode = mode;
    }
}

// The background mode matters to the player only where the background colour could show: the
// gaps of a dotted pen, between hatch lines, and behind text; Qt leaves all of those
// transparent. Elsewhere it is set opaque, as some readers (libwmf) draw every fill made in
// transparent mode half-transparent.
void MetafilePaintEngine::backgroundFor(const PenKey &penWanted, const BrushKey &brushWanted) {
    const bool styledPen =
        penWanted.style != WmfPenStyle::Solid && penWanted.style != WmfPenStyle::Null;
    if (styledPen || brushWanted.style == WmfBrushStyle::Hatched)
        setBackgroundMode(wmfBackgroundTransparent);
    else if (brushWanted.style == WmfBrushStyle::Solid)
        setBackgroundMode(wmfBackgroundOpaque);
}

void MetafilePaintEngine::selectPen(const PenKey &key) {
    const int index = objectFor({CachedObject::Pen, key, {}, {}, -1});
    if (dc.pen != index) {
        recorder.selectObject(index);
        dc.pen = index;
    }
}

void MetafilePaintEngine::selectBrush(const BrushKey &key) {
    const int index = objectFor({CachedObject::Brush, {}, key, {}, -1});
    if (dc.brush != index) {
        recorder.selectObject(index);
        dc.brush = index;
    }
}

void MetafilePaintEngine::selectFont(const WmfFont &key) {
    const int index = objectFor({CachedObject::Font, {}, {}, key, -1});
    if (dc.font != index) {
        recorder.selectObject(index);
        dc.font = index;
    }
}

int MetafilePaintEngine::objectFor(const CachedObject &wanted) {
    for (const CachedObject &o : cache) {
        if (o.kind != wanted.kind)
            continue;
        if ((o.kind == CachedObject::Pen && o.pen == wanted.pen) ||
            (o.kind == CachedObject::Brush && o.brush == wanted.brush) ||
            (o.kind == CachedObject::Font && o.font == wanted.font))
            return o.index;
    }
    makeRoom();
    CachedObject made = wanted;
    switch (wanted.kind) {
    case CachedObject::Pen:
        made.index = recorder.createPen(wanted.pen.style, wanted.pen.width, wanted.pen.colour);
        break;
    case CachedObject::Brush:
        made.index =
            recorder.createBrush(wanted.brush.style, wanted.brush.colour, wanted.brush.hatch);
        break;
    case CachedObject::Font:
        made.index = recorder.createFont(wanted.font);
        break;
    }
    cache.push_back(made);
    return made.index;
}

// Objects stay alive for reuse; past a few dozen the oldest one no device context still holds
// (neither the current one nor the one saved under the clip) makes way.
void MetafilePaintEngine::makeRoom() {
    constexpr std::size_t limit = 48;
    if (cache.size() < limit)
        return;
    auto held = [this](int index) {
        const bool current = index == dc.pen || index == dc.brush || index == dc.font;
        const bool saved = emittedClip.active && (index == savedDc.pen || index == savedDc.brush ||
                                                  index == savedDc.font);
        return current || saved;
    };
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (!held(it->index)) {
            recorder.deleteObject(it->index);
            cache.erase(it);
            return;
        }
    }
}

QByteArray MetafilePaintEngine::metafile() {
    if (!finished) {
        flush();
        applyClip(ClipKey{});
        for (const CachedObject &o : cache)
            recorder.deleteObject(o.index);
        cache.clear();
        finished = true;
    }
    const std::vector<std::uint8_t> bytes = recorder.finish(
        qRound(pixelSize.width() * unit), qRound(pixelSize.height() * unit), unitsPerInch);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

MetafileDevice::MetafileDevice(QSize pixelSize, int dpiX, int dpiY)
    : pixelSize(pixelSize), dpiX(dpiX), dpiY(dpiY),
      engine(std::make_unique<MetafilePaintEngine>(pixelSize, dpiY)) {}

MetafileDevice::~MetafileDevice() = default;

QPaintEngine *MetafileDevice::paintEngine() const { return engine.get(); }

QByteArray MetafileDevice::metafile() { return engine->metafile(); }

int MetafileDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return pixelSize.width();
    case PdmHeight:
        return pixelSize.height();
    case PdmWidthMM:
        return qRound(pixelSize.width() * 25.4 / dpiX);
    case PdmHeightMM:
        return qRound(pixelSize.height() * 25.4 / dpiY);
    case PdmNumColors:
        return 0x1000000;
    case PdmDepth:
        return 24;
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return dpiY;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}
