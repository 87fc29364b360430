#pragma once

#include <QImage>

// The two circuit pictures of the amplifier pages, 160 × 203 pixels, 24-bit colour.
QImage nonInvertingSchematic();
QImage invertingSchematic();
