#include "ui/classic_look.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>
#include <QWidget>

namespace {

const QColor face(239, 239, 239);
const QColor white(255, 255, 255);
const QColor black(0, 0, 0);

// The frame of a group box: one pixel in the mid tone with corners rounded at a 2-pixel radius.
// Each straight edge is filled between the corners, bottom, right, left and top in turn, each
// followed by its two antialiased quarter arcs; that order sets the blend of the corner pixels.
void drawGroupFrame(QPainter *painter, const QRectF &r, const QBrush &brush) {
    struct Arc {
        qreal x, y;
        int start, span; // in sixteenths of a degree
    };
    struct Edge {
        QRectF line;
        Arc arcs[2];
    };
    const qreal x = r.x(), y = r.y(), right = r.x() + r.width(), bottom = r.y() + r.height();
    const Edge edges[] = {
        {{x + 2, bottom - 1, r.width() - 4, 1},
         {{x + 0.5, bottom - 3.5, -90 * 16, -45 * 16},
          {right - 3.5, bottom - 3.5, -90 * 16, 45 * 16}}},
        {{right - 1, y + 2, 1, r.height() - 4},
         {{right - 3.5, y + 0.5, 45 * 16, -45 * 16},
          {right - 3.5, bottom - 3.5, 315 * 16, 45 * 16}}},
        {{x, y + 2, 1, r.height() - 4},
         {{x + 0.5, y + 0.5, 135 * 16, 45 * 16}, {x + 0.5, bottom - 3.5, 180 * 16, 45 * 16}}},
        {{x + 2, y, r.width() - 4, 1},
         {{x + 0.5, y + 0.5, 135 * 16, -45 * 16}, {right - 3.5, y + 0.5, 45 * 16, 45 * 16}}},
    };
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    for (const Edge &edge : edges) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(brush);
        painter->drawRect(edge.line);
        painter->setPen(QPen(brush, 1, Qt::SolidLine, Qt::SquareCap));
        painter->setBrush(Qt::NoBrush);
        for (const Arc &arc : edge.arcs)
            painter->drawArc(QRectF(arc.x, arc.y, 3, 3), arc.start, arc.span);
    }
    painter->restore();
}

// Fusion with the group boxes of the design: the caption sits on the frame line, 7 pixels in. It
// is centred in a box 2 pixels wider than the text on either side, which starts 2 pixels further
// in, and the frame line stops 2 pixels clear of that box.
class ClassicStyle : public QProxyStyle {
public:
    ClassicStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override {
        const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
        if (control != CC_GroupBox || !box)
            return QProxyStyle::subControlRect(control, option, part, widget);
        switch (part) {
        case SC_GroupBoxFrame:
            return option->rect.adjusted(0, captionDrop, 0, 0);
        case SC_GroupBoxContents:
            return option->rect.adjusted(1, captionDrop + 1, -1, -1);
        case SC_GroupBoxLabel: {
            // The text's width in whole pixels, the fraction dropped.
            const int width =
                static_cast<int>(QFontMetricsF(option->fontMetrics).horizontalAdvance(box->text));
            return QRect(option->rect.x() + captionIndent + captionPadding, option->rect.y(),
                         width + 2 * captionPadding, option->fontMetrics.height());
        }
        default:
            return QProxyStyle::subControlRect(control, option, part, widget);
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override {
        const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
        if (control != CC_GroupBox || !box) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QRect caption = subControlRect(control, option, SC_GroupBoxLabel, widget);
        painter->save();
        painter->setClipRegion(QRegion(option->rect) -
                               caption.adjusted(-captionPadding, 0, captionPadding, 0));
        drawGroupFrame(painter, subControlRect(control, option, SC_GroupBoxFrame, widget),
                       option->palette.mid());
        painter->restore();

        QPalette palette = box->palette;
        if (box->textColor.isValid())
            palette.setColor(QPalette::WindowText, box->textColor);
        drawItemText(painter, caption, Qt::AlignCenter, palette, box->state & State_Enabled,
                     box->text, QPalette::WindowText);
    }

    // A focused button gets the classic dotted frame inside its edge: Fusion marks focus only
    // by the same outline it gives the default button, so the focus on a default button could
    // not be seen.
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override {
        QProxyStyle::drawControl(element, option, painter, widget);
        if (element != CE_PushButton || !(option->state & State_HasFocus))
            return;
        QPen dots(option->palette.buttonText(), 1);
        dots.setCosmetic(true);
        dots.setDashPattern({1, 1});
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(dots);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(
            option->rect.adjusted(focusInset, focusInset, -focusInset - 1, -focusInset - 1));
        painter->restore();
    }

private:
    static constexpr int focusInset = 4;  // from a button's edge to its focus frame
    static constexpr int captionDrop = 6; // from the box's top to its frame line
    static constexpr int captionIndent = 7;
    static constexpr int captionPadding = 2;
};

} // namespace

void applyClassicLook(QApplication &app) {
    app.setStyle(new ClassicStyle);
    app.setFont(designFont(11));
}

QPalette designPalette() {
    struct Role {
        QPalette::ColorRole role;
        QColor normal;
        QColor disabled;
    };
    const QColor greyed(190, 190, 190);
    const Role roles[] = {
        {QPalette::Window, face, face},
        {QPalette::WindowText, black, greyed},
        {QPalette::Base, white, face},
        {QPalette::AlternateBase, QColor(247, 247, 247), QColor(247, 247, 247)},
        {QPalette::Text, black, greyed},
        {QPalette::PlaceholderText, QColor(0, 0, 0, 128), QColor(0, 0, 0, 128)},
        {QPalette::Button, face, face},
        {QPalette::ButtonText, black, greyed},
        {QPalette::BrightText, white, white},
        {QPalette::Light, white, white},
        {QPalette::Midlight, QColor(202, 202, 202), QColor(202, 202, 202)},
        {QPalette::Mid, QColor(184, 184, 184), QColor(184, 184, 184)},
        {QPalette::Dark, QColor(159, 159, 159), greyed},
        {QPalette::Shadow, QColor(118, 118, 118), QColor(177, 177, 177)},
        {QPalette::Highlight, QColor(48, 140, 198), QColor(145, 145, 145)},
        {QPalette::HighlightedText, white, white},
        {QPalette::Link, QColor(0, 0, 255), QColor(0, 0, 255)},
        {QPalette::LinkVisited, QColor(255, 0, 255), QColor(255, 0, 255)},
        {QPalette::ToolTipBase, QColor(255, 255, 220), QColor(255, 255, 220)},
        {QPalette::ToolTipText, black, black},
    };
    QPalette palette;
    for (const Role &r : roles) {
        palette.setColor(QPalette::Active, r.role, r.normal);
        palette.setColor(QPalette::Inactive, r.role, r.normal);
        palette.setColor(QPalette::Disabled, r.role, r.disabled);
    }
    return palette;
}

// Liberation Sans has the metrics of Arial, the closest free match of MS Sans Serif at 11 px. It
// is asked for by name: a name not installed ("MS Sans Serif", "Arial") sends every lookup through
// the system's fallback lists before a substitute is tried.
QFont designFont(int pixelHeight, bool bold) {
    QFont font("Liberation Sans");
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QColor clWindow() { return white; }
QColor clYellow() { return QColor(255, 255, 0); }
QColor clNavy() { return QColor(0, 0, 128); }

void setTextColour(QWidget *widget, const QColor &colour) {
    QPalette palette = widget->palette();
    if (!qobject_cast<QGroupBox *>(widget))
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
