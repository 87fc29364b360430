#include "ui/program_icon.h"

#include <QPixmap>

// The pixel art is C source (XPM): read straight from the arrays, with no image file to probe.
#include "ooscalc-16.xpm"
#include "ooscalc-32.xpm"

QIcon programIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap(ooscalc_16));
    icon.addPixmap(QPixmap(ooscalc_32));
    return icon;
}
