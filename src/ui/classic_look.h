#pragma once

class QApplication;
class QColor;
class QFont;
class QWidget;

// The look the windows were designed for: "MS Sans Serif" 8 pt (11-pixel) controls on the
// button-face colour, mapped onto the free fonts at hand, with the same style on every desktop.
void applyClassicLook(QApplication &app);

// A font of the design at a pixel height: 11 (8 pt), 13 (10 pt) or 16 (12 pt).
QFont designFont(int pixelHeight, bool bold = false);

// The colours the design names.
QColor clWindow();
QColor clYellow();
QColor clNavy();

// Text colour; for labels drawn on a colour of their own also the background.
void setTextColour(QWidget *widget, const QColor &colour);
void setBackgroundColour(QWidget *widget, const QColor &colour);
