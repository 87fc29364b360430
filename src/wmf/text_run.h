#pragma once

#include "wmf/device_context.h"
#include "wmf/logical_units.h"
#include "wmf/records.h"

#include <QPaintDevice>
#include <QPointF>
#include <QRectF>
#include <QTextItem>
#include <QTransform>

#include <string>
#include <vector>

// A run of text as Qt laid it out, to be written as one text record with each character's
// advance, so that the player puts the characters where they are on screen whatever face it
// substitutes.
struct TextRun {
    WmfFont font;
    WmfColour colour;
    WmfClipRect region;          // the clip in force
    bool cut = false;            // whether the clip cuts it, so that the record needs the clip
    QPointF origin;              // on the baseline, device pixels
    std::vector<qreal> advances; // along the baseline, device pixels
    std::string text;            // Windows-1251
    qreal endX = 0;              // device x where the next run of the line starts
};

// The box the text item at `p` covers, device pixels.
QRectF textBox(const QPointF &p, const QTextItem &item, const QTransform &transform);

// The run of the text item at `p`; its colour, region and cut are left to the caller. `dpiY`:
// the resolution at which point sizes become pixels.
TextRun layoutRun(const QPointF &p, const QTextItem &item, const QTransform &transform,
                  const QPaintDevice *device, int dpiY, const LogicalUnits &units);

// Appends `next` to `held` when it continues it on the same baseline in the same font, colour
// and clip; false, and `held` unchanged, when it does not.
bool joinRun(TextRun &held, const TextRun &next);

void writeRun(MetafileContext &context, const TextRun &run, const LogicalUnits &units);
