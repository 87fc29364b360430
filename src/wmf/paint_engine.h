#pragma once

#include "wmf/device_context.h"
#include "wmf/logical_units.h"
#include "wmf/text_run.h"

#include <QByteArray>
#include <QPaintEngine>
#include <QPen>
#include <QRectF>
#include <QSize>
#include <QTransform>

#include <optional>
#include <variant>
#include <vector>

// A paint engine that turns what Qt paints into metafile records: lines and polylines, polygons
// and paths (curves flattened), rectangles, text runs, pictures, and rectangular clips.
// Coordinates carry sub-pixel precision in logical units (logical_units.h).
class MetafilePaintEngine : public QPaintEngine {
public:
    // dpiY: the resolution at which point sizes of fonts become pixels.
    MetafilePaintEngine(QSize pixelSize, int dpiY);

    bool begin(QPaintDevice *device) override;
    bool end() override;
    void updateState(const QPaintEngineState &state) override;
    Type type() const override { return QPaintEngine::User; }

    void drawLines(const QLineF *lines, int lineCount) override;
    void drawRects(const QRectF *rects, int rectCount) override;
    void drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode) override;
    void drawPath(const QPainterPath &path) override;
    void drawTextItem(const QPointF &p, const QTextItem &textItem) override;
    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) override;
    void drawImage(const QRectF &r, const QImage &image, const QRectF &sr,
                   Qt::ImageConversionFlags flags) override;

    // The finished file; nothing may be painted afterwards.
    QByteArray metafile();

private:
    // A polyline held back so that the segments Qt sends one by one become one record.
    struct PendingLine {
        WmfPen pen;
        WmfClipRect region; // the clip in force
        bool cut = false;   // whether the clip cuts it, so that the record needs the clip
        std::vector<WmfPoint> points;
    };

    WmfPen currentPen() const;
    WmfBrush currentBrush() const;
    QRectF clipArea() const; // device pixels
    qreal penPixels() const;
    QPointF strokeShift() const;

    void addPolyline(const QPolygonF &devicePolygon);
    void stroke(const QPolygonF &line, const WmfPen &key, const QRectF &area);
    void appendLine(std::vector<WmfPoint> points, const WmfPen &key, const WmfClipRect &region,
                    bool cut);
    void fillShape(const std::vector<QPolygonF> &devicePolygons, Qt::FillRule rule);
    void emitFill(const std::vector<QPolygonF> &devicePolygons, Qt::FillRule rule,
                  const WmfPen &penWanted, const WmfBrush &brushWanted);
    void flush();

    QSize pixelSize;
    int dpiY;
    LogicalUnits units;

    MetafileContext context;
    std::variant<std::monostate, PendingLine, TextRun> pending;
    bool finished = false;

    // Qt's state.
    QTransform transform;
    QPen pen;
    QBrush brush;
    QPainter::RenderHints hints;
    qreal opacity = 1;
    bool clipEnabled = false;
    std::optional<QRectF> clip; // device pixels
};
