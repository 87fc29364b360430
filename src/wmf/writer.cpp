#include "wmf/writer.h"

#include "wmf/paint_engine.h"
#include "wmf/units.h"

#include <QPaintDevice>
#include <QWidget>

#include <memory>

namespace {

// A paint device that records into a metafile.
class MetafileDevice : public QPaintDevice {
public:
    MetafileDevice(QSize pixelSize, int dpiX, int dpiY)
        : pixelSize(pixelSize), dpiX(dpiX), dpiY(dpiY),
          engine(std::make_unique<MetafilePaintEngine>(pixelSize, dpiY)) {}

    QPaintEngine *paintEngine() const override { return engine.get(); }
    QByteArray metafile() { return engine->metafile(); }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize pixelSize;
    int dpiX, dpiY;
    std::unique_ptr<MetafilePaintEngine> engine;
};

int MetafileDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return pixelSize.width();
    case PdmHeight:
        return pixelSize.height();
    case PdmWidthMM:
        return qRound(pixelSize.width() * wmfMillimetresPerInch / dpiX);
    case PdmHeightMM:
        return qRound(pixelSize.height() * wmfMillimetresPerInch / dpiY);
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

} // namespace

QByteArray widgetToMetafile(QWidget *widget) {
    // Rendered through the widget at its own size, as it paints itself on screen: a graphics
    // view paints its items as shapes and text this way (drawing its scene into some other
    // rectangle would hand over cached bitmaps instead).
    MetafileDevice device(widget->size(), widget->logicalDpiX(), widget->logicalDpiY());
    widget->render(&device, QPoint(), QRegion(),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return device.metafile();
}
