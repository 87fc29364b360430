// The two schematics and the program icon: size, format, palette and the parts an engineer
// looks for, sampled where the drawing puts them.

#include "app/classic_look.h"
#include "app/program_icon.h"
#include "app/schematics.h"
#include "app/timage.h"
#include "app/unit1.h"
#include "help/unit2.h"

#include <QApplication>
#include <QTest>

#include <cstdlib>

namespace {

// Where the drawing puts things: N column x = 46, output column x = 138, inputs at y = 35 (upper)
// and 59 (lower), the R1 rung at y = 94, the R2 rung (node B) at y = 146, Rт and Roc centred at
// y = 166, the grounds of the output column at y = 186.
constexpr int ColumnN = 46, ColumnOut = 138, Upper = 35, Lower = 59, RungR1 = 94, RungR2 = 146;

const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Red = qRgb(255, 0, 0);

bool isReddish(QRgb c) { return qRed(c) > qGreen(c) + 40 && qGreen(c) == qBlue(c); }

int countWhere(const QImage &image, QRect box, bool (*predicate)(QRgb)) {
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            n += predicate(image.pixel(x, y));
    return n;
}

// A junction: the 5 × 5 dot without its corners.
bool hasDot(const QImage &image, QPoint at) {
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if ((std::abs(dx) < 2 || std::abs(dy) < 2) &&
                image.pixel(at.x() + dx, at.y() + dy) != Black)
                return false;
    return true;
}

// The sixteen colours of the VGA palette.
bool isVgaColour(QRgb c) {
    static const QRgb vga[] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                               0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                               0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (QRgb v : vga)
        if ((c & 0xFFFFFF) == v && qAlpha(c) == 255)
            return true;
    return false;
}

int countColour(const QImage &image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void schematicFormatAndFrame_data();
    void schematicFormatAndFrame();
    void redOnlyOnR2AndRt_data();
    void redOnlyOnR2AndRt();
    void commonNetwork_data();
    void commonNetwork();
    void nonInvertingInputSide();
    void invertingInputSide();
    void iconSizesAndPalette();
    void windowsShowThePictures();
};

void TestPictures::schematicFormatAndFrame_data() {
    QTest::addColumn<QImage>("image");
    QTest::newRow("non-inverting") << nonInvertingSchematic();
    QTest::newRow("inverting") << invertingSchematic();
}

void TestPictures::schematicFormatAndFrame() {
    QFETCH(QImage, image);
    QCOMPARE(image.size(), QSize(160, 203));
    QCOMPARE(image.format(), QImage::Format_RGB888);

    // A one-pixel black frame with nothing of the circuit touching it.
    const QRect outer = image.rect(), inner = outer.adjusted(1, 1, -1, -1);
    for (int x = 0; x < 160; ++x) {
        QCOMPARE(image.pixel(x, 0), Black);
        QCOMPARE(image.pixel(x, 202), Black);
        if (x >= inner.left() && x <= inner.right()) {
            QCOMPARE(image.pixel(x, 1), White);
            QCOMPARE(image.pixel(x, 201), White);
        }
    }
    for (int y = 0; y < 203; ++y) {
        QCOMPARE(image.pixel(0, y), Black);
        QCOMPARE(image.pixel(159, y), Black);
        if (y >= inner.top() && y <= inner.bottom()) {
            QCOMPARE(image.pixel(1, y), White);
            QCOMPARE(image.pixel(158, y), White);
        }
    }
}

void TestPictures::redOnlyOnR2AndRt_data() { schematicFormatAndFrame_data(); }

void TestPictures::redOnlyOnR2AndRt() {
    QFETCH(QImage, image);
    // R2 with its label above it on the B rung; Rт with its label to its left under node B.
    const QRect r2(72, 128, 41, 23), rt(100, 153, 43, 27);
    const int inR2 = countWhere(image, r2, isReddish);
    const int inRt = countWhere(image, rt, isReddish);
    const int all = countWhere(image, image.rect(), isReddish);
    QVERIFY2(inR2 > 62, qPrintable(QString::number(inR2))); // the outline alone is 62
    QVERIFY2(inRt > 62, qPrintable(QString::number(inRt)));
    QCOMPARE(all, inR2 + inRt);

    // The bodies are drawn in pure red, the other resistors in pure black.
    QCOMPARE(image.pixel(92, RungR2 - 4), Red);       // R2, top edge
    QCOMPARE(image.pixel(ColumnOut - 4, 166), Red);   // Rт, left edge
    QCOMPARE(image.pixel(92, RungR1 - 4), Black);     // R1
    QCOMPARE(image.pixel(ColumnOut - 4, 120), Black); // Rн
}

void TestPictures::commonNetwork_data() { schematicFormatAndFrame_data(); }

void TestPictures::commonNetwork() {
    QFETCH(QImage, image);
    QCOMPARE(nonInvertingSchematic(), nonInvertingSchematic()); // drawn the same every time

    // Resistors are rectangles: the wire does not run through their white inside.
    for (QPoint inside :
         {QPoint(92, RungR1), QPoint(92, RungR2), QPoint(ColumnOut, 120), QPoint(ColumnOut, 166)})
        QCOMPARE(image.pixel(inside), White);

    // Crisp wires: pure black all along the output column and the R1 rung.
    for (int y = 48; y < RungR1; ++y)
        QCOMPARE(image.pixel(ColumnOut, y), Black);
    for (int x = ColumnN + 3; x < 80; ++x)
        QCOMPARE(image.pixel(x, RungR1), Black);
    QCOMPARE(image.pixel(112, 47), Black); // the op-amp's apex, on the output line

    // Junctions where three wires meet: both ends of R1, node B.
    QVERIFY(hasDot(image, {ColumnN, RungR1}));
    QVERIFY(hasDot(image, {ColumnOut, RungR1}));
    QVERIFY(hasDot(image, {ColumnOut, RungR2}));

    // Rт's ground: three bars narrowing downwards, white beyond the widest.
    for (int x = ColumnOut - 6; x <= ColumnOut + 6; ++x)
        QCOMPARE(image.pixel(x, 186), Black);
    QCOMPARE(image.pixel(ColumnOut - 7, 186), White);
    QCOMPARE(image.pixel(ColumnOut - 4, 189), Black);
    QCOMPARE(image.pixel(ColumnOut - 5, 189), White);
    QCOMPARE(image.pixel(ColumnOut, 192), Black);
    QCOMPARE(image.pixel(ColumnOut - 3, 192), White);

    // The input terminal is a small open circle at the left.
    QCOMPARE(image.pixel(7, Upper - 3), Black);
    QCOMPARE(image.pixel(7, Upper), White);
}

void TestPictures::nonInvertingInputSide() {
    const QImage image = nonInvertingSchematic();
    QCOMPARE(image.pixel(40, Upper), Black); // the terminal wired straight to the upper input
    // + on the upper input (with its vertical stroke), − on the lower one.
    QCOMPARE(image.pixel(76, Upper - 2), Black);
    QCOMPARE(image.pixel(76, Lower), Black);
    QCOMPARE(image.pixel(76, Lower - 2), White);
    // − goes to N; N carries R1, R2 and Roc down to ground.
    QCOMPARE(image.pixel(60, Lower), Black);
    QCOMPARE(image.pixel(ColumnN, 70), Black);
    QVERIFY(hasDot(image, {ColumnN, RungR2}));
    QCOMPARE(image.pixel(ColumnN - 4, 166), Black); // Roc's body
    QCOMPARE(image.pixel(ColumnN, 166), White);
    QCOMPARE(image.pixel(ColumnN, 186), Black); // its ground
}

void TestPictures::invertingInputSide() {
    const QImage image = invertingSchematic();
    // The terminal reaches N through Roc, a body on the input line.
    QCOMPARE(image.pixel(27, Upper - 4), Black);
    QCOMPARE(image.pixel(27, Upper), White);
    QVERIFY(hasDot(image, {ColumnN, Upper}));
    // − on the upper input, + on the lower one, tied to a ground of its own.
    QCOMPARE(image.pixel(76, Upper), Black);
    QCOMPARE(image.pixel(76, Upper - 2), White);
    QCOMPARE(image.pixel(76, Lower - 2), Black);
    QCOMPARE(image.pixel(59, Lower + 8), Black);
    QCOMPARE(image.pixel(53, Lower + 8), Black);
    // N ends at the R2 rung: a corner, no dot, and nothing of Roc below it.
    QCOMPARE(image.pixel(ColumnN - 1, RungR2 - 1), White);
    QCOMPARE(image.pixel(ColumnN, RungR2 + 1), White);
    QCOMPARE(image.pixel(ColumnN - 4, 166), White);
}

void TestPictures::iconSizesAndPalette() {
    const QIcon icon = programIcon();
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));

    for (int size : {16, 32}) {
        const QImage image = icon.pixmap(size, size).toImage();
        QCOMPARE(image.size(), QSize(size, size)); // drawn at that size, not scaled
        const int frame = size / 16;               // 1 pixel at 16, 2 at 32
        for (int i = 0; i < size; ++i)
            for (int t = 0; t < frame; ++t) {
                QCOMPARE(image.pixel(i, t) & 0xFFFFFF, Red & 0xFFFFFF);
                QCOMPARE(image.pixel(t, i) & 0xFFFFFF, Red & 0xFFFFFF);
                QCOMPARE(image.pixel(i, size - 1 - t) & 0xFFFFFF, Red & 0xFFFFFF);
                QCOMPARE(image.pixel(size - 1 - t, i) & 0xFFFFFF, Red & 0xFFFFFF);
            }
        QCOMPARE(image.pixel(frame, frame) & 0xFFFFFF, 0x008000u); // green inside the frame
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                QVERIFY2(
                    isVgaColour(image.pixel(x, y)),
                    qPrintable(QString("%1 at %2,%3").arg(image.pixel(x, y), 0, 16).arg(x).arg(y)));
        QVERIFY(countColour(image, White) >= size * 2); // the amplifier and the loudspeaker
    }
    // Only the large one has the yellow resistors and the cyan sound waves.
    const QImage large = icon.pixmap(32, 32).toImage(), small = icon.pixmap(16, 16).toImage();
    QVERIFY(countColour(large, qRgb(255, 255, 0)) >= 20);
    QVERIFY(countColour(large, qRgb(0, 255, 255)) >= 10);
    QCOMPARE(countColour(small, qRgb(255, 255, 0)), 0);
}

void TestPictures::windowsShowThePictures() {
    TForm1 form1;
    TForm2 form2;
    QCOMPARE(form1.Image1->picture(), nonInvertingSchematic());
    QCOMPARE(form1.Image2->picture(), invertingSchematic());
    QCOMPARE(form1.Image1->size(), QSize(160, 203));

    const QIcon icon = programIcon();
    for (const QWidget *window : {static_cast<QWidget *>(&form1), static_cast<QWidget *>(&form2)})
        for (int size : {16, 32})
            QCOMPARE(window->windowIcon().pixmap(size, size).toImage(),
                     icon.pixmap(size, size).toImage());
}

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    applyClassicLook(app);
    TestPictures test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_pictures.moc"
