#pragma once

#include "report/wmf_records.h"

#include <QByteArray>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <QRectF>
#include <QSize>
#include <QTransform>

#include <memory>
#include <optional>
#include <vector>

// A paint engine that turns what Qt paints into metafile records: lines and polylines, polygons
// and paths (curves flattened), rectangles, text runs, pictures, and rectangular clips. One
// pixel of the device is 1/96 inch; coordinates carry sub-pixel precision in logical units of
// 1/unitsPerInch inch.
class MetafilePaintEngine : public QPaintEngine {
public:
    // dpiY: the resolution at which point sizes of fonts become pixels.
    MetafilePaintEngine(QSize pixelSize, int dpiY);
    ~MetafilePaintEngine() override;

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
    struct PenKey {
        WmfPenStyle style = WmfPenStyle::Null;
        int width = 0;
        WmfColour colour;
        friend bool operator==(const PenKey &, const PenKey &) = default;
    };
    struct BrushKey {
        WmfBrushStyle style = WmfBrushStyle::Null;
        WmfColour colour;
        WmfHatch hatch = WmfHatch::Horizontal;
        friend bool operator==(const BrushKey &, const BrushKey &) = default;
    };
    struct ClipKey {
        bool active = false;
        int left = 0, top = 0, right = 0, bottom = 0;
        friend bool operator==(const ClipKey &, const ClipKey &) = default;
    };
    struct CachedObject {
        enum Kind { Pen, Brush, Font } kind;
        PenKey pen;
        BrushKey brush;
        WmfFont font;
        int index;
    };
    // What the player's device context holds.
    struct DcState {
        int pen = -1, brush = -1, font = -1; // selected objects, -1 unknown
        std::optional<WmfColour> textColour;
        std::optional<std::uint16_t> fillMode;
        std::optional<std::uint16_t> backgroundMode;
        std::optional<std::uint16_t> textAlign;
    };
    // A polyline or text run held back so that the pieces Qt sends one by one (line segments,
    // script runs of one text line) become one record.
    struct Pending {
        enum Kind { None, Line, Text } kind = None;
        ClipKey region;   // the clip in force
        bool cut = false; // whether the clip cuts it, so that the record needs the clip
        PenKey pen;
        std::vector<WmfPoint> points;
        WmfFont font;
        WmfColour colour;
        QPointF origin;              // device pixels
        std::vector<qreal> advances; // along the baseline, device pixels
        std::string text;            // Windows-1251
        qreal endX = 0;              // device x where the next run of the line starts
    };

    WmfColour colourOf(const QColor &colour) const;
    bool invisible(const QColor &colour) const;
    PenKey penKey() const;
    BrushKey brushKey() const;
    QRectF clipArea() const; // device pixels
    ClipKey clipKey(const QRectF &area) const;
    qreal penPixels() const;
    bool strokeShifted() const;
    WmfPoint logical(const QPointF &devicePoint) const;
    std::vector<WmfPoint> logical(const QPolygonF &devicePolygon) const;

    void addPolyline(const QPolygonF &devicePolygon);
    void stroke(const QPolygonF &line, const PenKey &key, const QRectF &area);
    void appendLine(std::vector<WmfPoint> points, const PenKey &key, const ClipKey &region,
                    bool cut);
    void fillShape(const std::vector<QPolygonF> &devicePolygons, Qt::FillRule rule);
    void emitFill(const std::vector<QPolygonF> &devicePolygons, Qt::FillRule rule,
                  const PenKey &penWanted, const BrushKey &brushWanted);
    void flush();
    void applyClip(const ClipKey &clip);
    void setBackgroundMode(std::uint16_t mode);
    void backgroundFor(const PenKey &penWanted, const BrushKey &brushWanted);
    void selectPen(const PenKey &key);
    void selectBrush(const BrushKey &key);
    void selectFont(const WmfFont &key);
    int objectFor(const CachedObject &wanted);
    void makeRoom();

    QSize pixelSize;
    int dpiY;
    int unitsPerInch;
    qreal unit; // logical units per device pixel

    WmfRecorder recorder;
    std::vector<CachedObject> cache;
    DcState dc, savedDc;
    ClipKey emittedClip;
    Pending pending;
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

// A paint device that records into a metafile.
class MetafileDevice : public QPaintDevice {
public:
    MetafileDevice(QSize pixelSize, int dpiX = 96, int dpiY = 96);
    ~MetafileDevice() override;

    QPaintEngine *paintEngine() const override;
    QByteArray metafile();

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize pixelSize;
    int dpiX, dpiY;
    std::unique_ptr<MetafilePaintEngine> engine;
};
