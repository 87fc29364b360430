#include "ui/program_icon.h"

// The icons are compiled into a static library, whose resource initialiser the linker would
// drop as unreferenced: register them explicitly, once. (Q_INIT_RESOURCE must be used outside
// any namespace.)
static void registerIconResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)registered;
}

QIcon programIcon() {
    registerIconResources();
    QIcon icon;
    icon.addFile(":/icons/ooscalc-16.xpm", QSize(16, 16));
    icon.addFile(":/icons/ooscalc-32.xpm", QSize(32, 32));
    return icon;
}
