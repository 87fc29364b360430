#include "wmf/picture.h"

#include <QPainter>

std::optional<WmfPicture> visiblePicture(const QImage &image, QRectF source, QRectF target,
                                         const QRectF &area, qreal opacity) {
    if (target.isEmpty() || source.isEmpty())
        return std::nullopt;
    if (!area.contains(target)) {
        const QRectF visible = target & area;
        if (visible.isEmpty())
            return std::nullopt;
        const qreal sx = source.width() / target.width();
        const qreal sy = source.height() / target.height();
        source = QRectF(source.x() + (visible.x() - target.x()) * sx,
                        source.y() + (visible.y() - target.y()) * sy, visible.width() * sx,
                        visible.height() * sy);
        target = visible;
    }
    const QRect pixelsTaken = source.toAlignedRect() & image.rect();
    if (pixelsTaken.isEmpty())
        return std::nullopt;
    QImage rgb(pixelsTaken.size(), QImage::Format_RGB888);
    rgb.fill(Qt::white);
    {
        QPainter painter(&rgb);
        painter.setOpacity(opacity);
        painter.drawImage(QPoint(0, 0), image, pixelsTaken);
    }
    WmfPicture picture{target, rgb.width(), rgb.height(), {}};
    picture.rgb.reserve(std::size_t(rgb.width()) * rgb.height() * 3);
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar *line = rgb.constScanLine(y);
        picture.rgb.insert(picture.rgb.end(), line, line + rgb.width() * 3);
    }
    return picture;
}
