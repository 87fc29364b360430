#pragma once

#include "wmf/records.h"

#include <QBrush>
#include <QColor>
#include <QPen>

// Qt's colours, pens and brushes as a metafile can draw them: no transparency, no gradients or
// textures, a handful of line styles and hatches.

// A colour at `opacity` as it shows on the white paper.
WmfColour onPaper(const QColor &colour, qreal opacity);

// Whether a colour at `opacity` leaves no trace.
bool invisible(const QColor &colour, qreal opacity);

// The pen drawing lines `pixels` device pixels wide, at `unit` logical units a pixel.
WmfPen penFor(const QPen &pen, qreal pixels, qreal unit, qreal opacity);

WmfBrush brushFor(const QBrush &brush, qreal opacity);
