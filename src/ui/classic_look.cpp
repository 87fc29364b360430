#include "ui/classic_look.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>
#include <QWidget>

void applyClassicLook(QApplication &app) {
    app.setStyle(QStyleFactory::create("Fusion"));
    // Liberation Sans has the metrics of Arial, the closest free match of MS Sans Serif at 11 px.
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arial", "DejaVu Sans"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "DejaVu Sans"});
    app.setFont(designFont(11));
    // Group box captions sit on the frame line, as on the desktop the windows were drawn for.
    app.setStyleSheet("QGroupBox { border: 1px solid palette(mid); border-radius: 2px;"
                      " margin-top: 6px; }"
                      "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 2px; }");
}

QFont designFont(int pixelHeight, bool bold) {
    QFont font("MS Sans Serif");
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QColor clWindow() { return QApplication::palette().color(QPalette::Base); }
QColor clYellow() { return QColor(255, 255, 0); }
QColor clNavy() { return QColor(0, 0, 128); }

void setTextColour(QWidget *widget, const QColor &colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

void setBackgroundColour(QWidget *widget, const QColor &colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
