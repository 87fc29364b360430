#include "amplifier/widgets/schematics.h"

#include <QFont>
#include <QPainter>
#include <vector>

namespace {

// Both circuits share one frame: the op-amp with its output column on the right (load Rн,
// node B, sense resistor Rт to ground) and the inverting-input node N as a column on the
// left; R1 (output → N) and R2 (B → N) are the two horizontal rungs between the columns.
constexpr int Width = schematicSize.width(), Height = schematicSize.height();
constexpr int AmpLeft = 70, AmpApex = 112, AmpTop = 24, AmpBottom = 70, AmpMid = 47;
constexpr int UpperInput = 35, LowerInput = 59;
constexpr int ColumnN = 46, ColumnOut = 138;
constexpr int RungR1 = 94, RungR2 = 146;
constexpr int LowerRow = RungR2 + 20; // Rт and, in the non-inverting circuit, Roc
constexpr int GroundY = RungR2 + 40;

enum class LabelSide { Above, Left, Right };

struct Resistor {
    QPoint centre;
    bool vertical;
    const char *label;
    LabelSide side;
    bool red; // R2 and Rт, the current-feedback path
};

struct Circuit {
    bool invertingInputOnTop;
    QPoint terminal;
    std::vector<std::vector<QPoint>> wires; // resistor bodies are drawn over them
    std::vector<Resistor> resistors;
    std::vector<QPoint> junctions;
    std::vector<QPoint> grounds; // the top of each ground symbol
};

const QColor Ink = Qt::black;
const QColor Red(255, 0, 0);

// The parts common to both circuits: output column, the two rungs, Rн and Rт.
Circuit commonPart(bool invertingInputOnTop) {
    Circuit c;
    c.invertingInputOnTop = invertingInputOnTop;
    c.terminal = {7, UpperInput};
    c.wires = {{{AmpApex, AmpMid}, {ColumnOut, AmpMid}, {ColumnOut, GroundY}},
               {{ColumnN, RungR1}, {ColumnOut, RungR1}},
               {{ColumnN, RungR2}, {ColumnOut, RungR2}}};
    c.resistors = {{{92, RungR1}, false, "R1", LabelSide::Above, false},
                   {{92, RungR2}, false, "R2", LabelSide::Above, true},
                   {{ColumnOut, (RungR1 + RungR2) / 2}, true, "Rн", LabelSide::Left, false},
                   {{ColumnOut, LowerRow}, true, "Rт", LabelSide::Left, true}};
    c.junctions = {{ColumnN, RungR1}, {ColumnOut, RungR1}, {ColumnOut, RungR2}};
    c.grounds = {{ColumnOut, GroundY}};
    return c;
}

// Signal into +; − is N, tied to ground through Roc.
Circuit nonInverting() {
    Circuit c = commonPart(false);
    c.wires.push_back({{10, UpperInput}, {AmpLeft, UpperInput}});
    c.wires.push_back({{AmpLeft, LowerInput}, {ColumnN, LowerInput}, {ColumnN, GroundY}});
    c.resistors.push_back({{ColumnN, LowerRow}, true, "Roc", LabelSide::Right, false});
    c.junctions.push_back({ColumnN, RungR2});
    c.grounds.push_back({ColumnN, GroundY});
    return c;
}

// + grounded; the signal reaches N through Roc.
Circuit inverting() {
    Circuit c = commonPart(true);
    constexpr int plusGroundX = 59;
    c.wires.push_back({{10, UpperInput}, {AmpLeft, UpperInput}});
    c.wires.push_back({{ColumnN, UpperInput}, {ColumnN, RungR2}});
    c.wires.push_back(
        {{AmpLeft, LowerInput}, {plusGroundX, LowerInput}, {plusGroundX, LowerInput + 8}});
    c.resistors.push_back({{27, UpperInput}, false, "Roc", LabelSide::Above, false});
    c.junctions.push_back({ColumnN, UpperInput});
    c.grounds.push_back({plusGroundX, LowerInput + 8});
    return c;
}

void drawResistor(QPainter &p, const Resistor &r) {
    const int halfWidth = 4, halfLength = 12;
    const QRect body = r.vertical ? QRect(r.centre.x() - halfWidth, r.centre.y() - halfLength,
                                          2 * halfWidth + 1, 2 * halfLength)
                                  : QRect(r.centre.x() - halfLength, r.centre.y() - halfWidth,
                                          2 * halfLength, 2 * halfWidth + 1);
    const QColor colour = r.red ? Red : Ink;
    p.fillRect(body, Qt::white);
    p.setPen(colour);
    p.drawRect(body.adjusted(0, 0, -1, -1)); // a 1-pixel outline exactly on the body's edge

    QRect text;
    Qt::Alignment align = Qt::AlignVCenter;
    switch (r.side) {
    case LabelSide::Above:
        text = QRect(body.left() - 8, body.top() - 14, body.width() + 16, 13);
        align |= Qt::AlignHCenter;
        break;
    case LabelSide::Left:
        text = QRect(body.left() - 30, body.top(), 27, body.height());
        align |= Qt::AlignRight;
        break;
    case LabelSide::Right:
        text = QRect(body.right() + 4, body.top(), 30, body.height());
        align |= Qt::AlignLeft;
        break;
    }
    p.drawText(text, align, QString::fromUtf8(r.label));
}

void drawGround(QPainter &p, QPoint top) {
    p.setPen(Ink);
    for (int bar = 0; bar < 3; ++bar) {
        const int half = 6 - 2 * bar, y = top.y() + 3 * bar;
        p.drawLine(top.x() - half, y, top.x() + half, y);
    }
}

void drawJunction(QPainter &p, QPoint at) {
    // A 5 × 5 dot with its corners cut, round without antialiasing.
    p.fillRect(at.x() - 1, at.y() - 2, 3, 5, Ink);
    p.fillRect(at.x() - 2, at.y() - 1, 5, 3, Ink);
}

void drawOpAmp(QPainter &p, bool invertingInputOnTop) {
    p.setPen(Ink);
    const QPoint triangle[] = {{AmpLeft, AmpTop}, {AmpApex, AmpMid}, {AmpLeft, AmpBottom}};
    p.drawPolygon(triangle, 3);

    const int minusY = invertingInputOnTop ? UpperInput : LowerInput;
    const int plusY = invertingInputOnTop ? LowerInput : UpperInput;
    const int signX = AmpLeft + 6;
    p.drawLine(signX - 3, minusY, signX + 3, minusY);
    p.drawLine(signX - 3, plusY, signX + 3, plusY);
    p.drawLine(signX, plusY - 3, signX, plusY + 3);
}

QImage draw(const Circuit &c) {
    QImage image(Width, Height, QImage::Format_RGB888);
    image.fill(Qt::white);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font("Liberation Sans");
    font.setPixelSize(11);
    p.setFont(font);

    p.setPen(Ink);
    p.drawRect(0, 0, Width - 1, Height - 1);
    for (const auto &wire : c.wires)
        p.drawPolyline(wire.data(), static_cast<int>(wire.size()));
    p.drawEllipse(c.terminal, 3, 3);
    drawOpAmp(p, c.invertingInputOnTop);
    for (const Resistor &r : c.resistors)
        drawResistor(p, r);
    for (QPoint at : c.junctions)
        drawJunction(p, at);
    for (QPoint at : c.grounds)
        drawGround(p, at);
    return image;
}

} // namespace

QImage nonInvertingSchematic() { return draw(nonInverting()); }
QImage invertingSchematic() { return draw(inverting()); }
