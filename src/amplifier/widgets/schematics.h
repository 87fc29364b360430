#pragma once

#include <QImage>
#include <QSize>

// The two circuit pictures of the amplifier pages, 24-bit colour.
inline constexpr QSize schematicSize(160, 203);
QImage nonInvertingSchematic();
QImage invertingSchematic();
