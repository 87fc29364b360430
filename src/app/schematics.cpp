#include "app/schematics.h"

namespace {

QImage blankSchematic() {
    QImage image(160, 203, QImage::Format_RGB888);
    image.fill(Qt::white);
    return image;
}

} // namespace

QImage nonInvertingSchematic() { return blankSchematic(); }
QImage invertingSchematic() { return blankSchematic(); }
