#pragma once

class QApplication;
class QColor;
class QFont;
class QPalette;
class QWidget;

// The look the windows were designed for: "MS Sans Serif" 8 pt (11-pixel) controls on the
// button-face colour, mapped onto the free fonts at hand, with the same style on every desktop.
void applyClassicLook(QApplication &app);

// The colours the windows were drawn in, whatever the desktop's theme: grey face and buttons,
// white fields, black text. Each window sets it on itself, so its controls inherit it.
QPalette designPalette();

// A font of the design at a pixel height: 11 (8 pt), 13 (10 pt) or 16 (12 pt).
QFont designFont(int pixelHeight, bool bold = false);

// The colours the design names.
QColor clWindow();
QColor clYellow();
QColor clNavy();

// Text colour; for labels drawn on a colour of their own also the background. A group box takes
// it for its caption only (through Text, which its labels do not use).
void setTextColour(QWidget *widget, const QColor &colour);
void setBackgroundColour(QWidget *widget, const QColor &colour);
