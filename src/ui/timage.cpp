#include "ui/timage.h"

#include <QPixmap>

TImage::TImage(QSize size, QImage (*draw)(), QWidget *parent) : QLabel(parent), draw(draw) {
    resize(size);
}

const QImage &TImage::picture() const {
    if (held.isNull())
        held = draw();
    return held;
}

void TImage::showEvent(QShowEvent *event) {
    if (pixmap().isNull())
        setPixmap(QPixmap::fromImage(picture()));
    QLabel::showEvent(event);
}
