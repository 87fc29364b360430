#include "report/wmf_writer.h"

#include "report/wmf_paint_engine.h"

#include <QWidget>

QByteArray widgetToMetafile(QWidget *widget) {
    // Rendered through the widget at its own size, as it paints itself on screen: a graphics
    // view paints its items as shapes and text this way (drawing its scene into some other
    // rectangle would hand over cached bitmaps instead).
    MetafileDevice device(widget->size(), widget->logicalDpiX(), widget->logicalDpiY());
    widget->render(&device, QPoint(), QRegion(),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return device.metafile();
}
