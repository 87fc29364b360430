#pragma once

#include <QByteArray>

class QWidget;

// Draws `widget` as it is on screen, at its on-screen size, into a placeable (non-enhanced)
// Windows metafile of vector records, and answers the file's bytes.
QByteArray widgetToMetafile(QWidget *widget);
