#include "wmf/style.h"

#include <QGradient>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

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

} // namespace

WmfColour onPaper(const QColor &colour, qreal opacity) {
    const QColor c = colour.toRgb();
    const qreal a = std::clamp(c.alphaF() * opacity, 0.0, 1.0);
    auto mix = [a](int v) { return static_cast<std::uint8_t>(std::lround(v * a + 255 * (1 - a))); };
    return {mix(c.red()), mix(c.green()), mix(c.blue())};
}

bool invisible(const QColor &colour, qreal opacity) { return colour.alpha() == 0 || opacity <= 0; }

WmfPen penFor(const QPen &pen, qreal pixels, qreal unit, qreal opacity) {
    if (pen.style() == Qt::NoPen || invisible(pen.color(), opacity))
        return {};
    WmfPen key;
    key.width = std::max(1, qRound(pixels * unit));
    key.colour = onPaper(pen.color(), opacity);
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

WmfBrush brushFor(const QBrush &brush, qreal opacity) {
    WmfBrush key;
    const Qt::BrushStyle style = brush.style();
    if (style == Qt::NoBrush)
        return key;
    QColor colour = averageColour(brush);
    if (invisible(colour, opacity))
        return key;
    if (const std::optional<WmfHatch> hatch = hatchOf(style)) {
        key.style = WmfBrushStyle::Hatched;
        key.hatch = *hatch;
    } else {
        key.style = WmfBrushStyle::Solid;
        colour.setAlphaF(colour.alphaF() * float(patternCoverage(style)));
    }
    key.colour = onPaper(colour, opacity);
    return key;
}
