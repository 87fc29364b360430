#include "wmf/text_run.h"

#include "core/windows1251.h"
#include "wmf/units.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Escapements are in tenths of a degree.
constexpr int halfTurn = 1800;
constexpr int fullTurn = 3600;

bool sameRow(qreal a, qreal b) { return std::abs(a - b) < 0.01; }

// The face a Windows player is asked for: the free metric twin the windows draw in goes by the
// name of the Windows face it stands in for.
std::string windowsFace(const QString &family) {
    return family == "Liberation Sans" ? std::string("Arial") : family.toStdString();
}

} // namespace

QRectF textBox(const QPointF &p, const QTextItem &item, const QTransform &transform) {
    return transform
        .map(QPolygonF(
            QRectF(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent())))
        .boundingRect();
}

TextRun layoutRun(const QPointF &p, const QTextItem &item, const QTransform &transform,
                  const QPaintDevice *device, int dpiY, const LogicalUnits &units) {
    const QString text = item.text();
    const QFont f = item.font();
    TextRun run;
    run.origin = transform.map(p);
    const QPointF along = transform.map(p + QPointF(1, 0)) - run.origin;
    const QPointF down = transform.map(p + QPointF(0, 1)) - run.origin;
    const qreal scaleAlong = std::hypot(along.x(), along.y());
    const qreal scaleDown = std::hypot(down.x(), down.y());
    const qreal pixelHeight =
        f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * dpiY / wmfPointsPerInch;

    run.font.height = -std::max(1, qRound(pixelHeight * scaleDown * units.perPixel()));
    run.font.escapement =
        qRound(std::atan2(-along.y(), along.x()) * halfTurn / std::numbers::pi) % fullTurn;
    run.font.weight = std::clamp(static_cast<int>(f.weight()), 1, 1000);
    run.font.italic = f.style() != QFont::StyleNormal;
    run.font.faceName = toWindows1251(windowsFace(f.family()));
    // Underline and strike-out are lines QPainter draws itself.

    // Each character's place as Qt laid the run out, kerning included.
    const QFontMetricsF metrics(f, device);
    std::vector<qreal> offsets{0};
    int utf16 = 0;
    for (uint cp : text.toUcs4()) {
        const char32_t c = cp;
        const QString piece = QString::fromUcs4(&c, 1);
        run.text += toWindows1251(piece.toStdString()).substr(0, 1);
        utf16 += static_cast<int>(piece.size());
        offsets.push_back(metrics.horizontalAdvance(text.left(utf16)));
    }
    const qreal natural = offsets.back();
    const qreal factor = natural > 0 ? item.width() / natural : 1;
    for (std::size_t i = 1; i < offsets.size(); ++i)
        run.advances.push_back((offsets[i] - offsets[i - 1]) * factor * scaleAlong);
    run.endX = run.origin.x() + item.width() * scaleAlong;
    return run;
}

// Qt sends one line in runs split where the script changes (Latin/Cyrillic).
bool joinRun(TextRun &held, const TextRun &next) {
    const bool continues = next.font.escapement == 0 && held.font == next.font &&
                           held.colour == next.colour && held.region == next.region &&
                           sameRow(held.origin.y(), next.origin.y()) &&
                           std::abs(held.endX - next.origin.x()) < 0.05;
    if (!continues)
        return false;
    if (!held.advances.empty())
        held.advances.back() += next.origin.x() - held.endX;
    held.text += next.text;
    held.advances.insert(held.advances.end(), next.advances.begin(), next.advances.end());
    held.endX = next.endX;
    held.cut = held.cut || next.cut;
    return true;
}

void writeRun(MetafileContext &context, const TextRun &run, const LogicalUnits &units) {
    context.clipTo(run.cut ? run.region : WmfClipRect{});
    context.selectFont(run.font);
    context.setBackgroundMode(wmfBackgroundTransparent);
    context.setTextAlign(wmfAlignBaseline);
    context.setTextColour(run.colour);
    // Distances rounded from the running sum, so that rounding does not add up.
    const qreal unit = units.perPixel();
    std::vector<int> dx;
    qreal sum = 0;
    for (qreal advance : run.advances) {
        const long before = std::lround(sum * unit);
        sum += advance;
        dx.push_back(static_cast<int>(std::lround(sum * unit) - before));
    }
    const WmfPoint at = units.point(run.origin);
    context.records().extTextOut(at.x, at.y, run.text, dx);
}
