// The two schematics and the program icon: format, palette, and the parts an engineer looks for,
// sampled where the drawing puts them.

#include "amplifier/widgets/amplifier_page.h"
#include "amplifier/widgets/schematics.h"
#include "app/unit1.h"
#include "help/widgets/unit2.h"
#include "ui/classic_look.h"
#include "ui/program_icon.h"

#include <QApplication>
#include <QTest>

#include <functional>
#include <vector>

namespace {

const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Red = qRgb(255, 0, 0);

struct Sample {
    int x, y;
    QRgb colour;
    const char *what;
};

// The drawing: N column at x = 46, output column at x = 138, inputs at y = 35 (upper) and 59
// (lower), the R1 rung at y = 94, the R2 rung (node B) at y = 146, Rт and Roc centred at y = 166.
const std::vector<Sample> bothCircuits = {
    {92, 90, Black, "R1 body edge"},
    {92, 94, White, "R1 body inside"},
    {92, 142, Red, "R2 body edge"},
    {92, 146, White, "R2 body inside"},
    {134, 120, Black, "Rн body edge"},
    {138, 120, White, "Rн body inside"},
    {134, 166, Red, "Rт body edge"},
    {138, 166, White, "Rт body inside"},
    {112, 47, Black, "op-amp apex"},
    {138, 70, Black, "output column"},
    {60, 94, Black, "R1 rung"},
    {136, 93, Black, "dot at R1 and Rн"},
    {136, 145, Black, "dot at node B"},
    {44, 93, Black, "dot at N and R1"},
    {132, 186, Black, "Rт ground, wide"},
    {131, 186, White, "Rт ground, beyond"},
    {136, 192, Black, "Rт ground, narrow"},
    {135, 192, White, "Rт ground, narrow end"},
    {7, 32, Black, "input terminal ring"},
    {7, 35, White, "input terminal hollow"},
};
const std::vector<Sample> nonInvertingOnly = {
    {40, 35, Black, "terminal to +"},    {76, 33, Black, "+ sign, upper input"},
    {76, 57, White, "− sign, lower"},    {46, 70, Black, "− to N"},
    {44, 145, Black, "dot at N and R2"}, {42, 166, Black, "Roc body on N"},
    {46, 186, Black, "Roc ground"},
};
const std::vector<Sample> invertingOnly = {
    {27, 31, Black, "Roc body on input"}, {27, 35, White, "Roc body inside"},
    {44, 34, Black, "dot at N"},          {76, 33, White, "− sign, upper input"},
    {76, 57, Black, "+ sign, lower"},     {53, 67, Black, "ground of +"},
    {45, 145, White, "N corner, no dot"}, {42, 166, White, "no Roc on N"},
};

bool isReddish(QRgb c) { return qRed(c) > qGreen(c) + 40 && qGreen(c) == qBlue(c); }

int count(const QImage &image, QRect box, const std::function<bool(QRgb)> &is) {
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            n += is(image.pixel(x, y));
    return n;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void schematic_data() {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<bool>("inverting");
        QTest::newRow("non-inverting") << nonInvertingSchematic() << false;
        QTest::newRow("inverting") << invertingSchematic() << true;
    }

    void schematic() {
        QFETCH(QImage, image);
        QFETCH(bool, inverting);
        QCOMPARE(image.size(), QSize(160, 203));
        QCOMPARE(image.format(), QImage::Format_RGB888);

        // A thin black frame that nothing of the circuit touches.
        const QRect frame = image.rect(), inside = frame.adjusted(1, 1, -1, -1);
        const auto isBlack = [](QRgb c) { return c == Black; };
        QCOMPARE(count(image, frame, isBlack) - count(image, inside, isBlack), 2 * (160 + 203) - 4);
        QCOMPARE(count(image, inside, [](QRgb c) { return c != White; }) -
                     count(image, inside.adjusted(1, 1, -1, -1), [](QRgb c) { return c != White; }),
                 0);

        // Red is R2 and Rт with their labels, nothing else; the outline alone is 62 pixels.
        const QRect r2(72, 128, 41, 23), rt(100, 153, 43, 27);
        const int inR2 = count(image, r2, isReddish), inRt = count(image, rt, isReddish);
        QVERIFY(inR2 > 62 && inRt > 62);
        QCOMPARE(count(image, image.rect(), isReddish), inR2 + inRt);

        // Exact colours, so lines are crisp: no antialiasing grey where a wire or body is.
        for (const Sample &s : bothCircuits)
            QVERIFY2(image.pixel(s.x, s.y) == s.colour, s.what);
        for (const Sample &s : inverting ? invertingOnly : nonInvertingOnly)
            QVERIFY2(image.pixel(s.x, s.y) == s.colour, s.what);

        QCOMPARE(inverting ? invertingSchematic() : nonInvertingSchematic(), image); // repeatable
    }

    void icon() {
        const QIcon icon = programIcon();
        const QList<QSize> sizes = icon.availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)));

        const QList<QRgb> vga = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                 0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        for (int size : {16, 32}) {
            const QImage image = icon.pixmap(size, size).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            const int frame = size / 16; // red, 1 pixel at 16, 2 at 32; green inside
            const QRect outer = image.rect(), inner = outer.adjusted(frame, frame, -frame, -frame);
            const auto is = [](QRgb colour) {
                return [colour](QRgb c) { return (c & 0xFFFFFF) == colour && qAlpha(c) == 255; };
            };
            QCOMPARE(count(image, outer, is(0xFF0000)) - count(image, inner, is(0xFF0000)),
                     size * size - inner.width() * inner.height());
            QVERIFY(is(0x008000)(image.pixel(inner.topLeft())));
            QCOMPARE(count(image, outer, [&](QRgb c) { return vga.contains(c & 0xFFFFFF); }),
                     size * size);
            QVERIFY(count(image, outer, is(0xFFFFFF)) >= 2 * size); // amplifier and loudspeaker
            // Only the large one has the yellow resistors and the cyan sound waves.
            QCOMPARE(count(image, outer, is(0xFFFF00)) > 0, size == 32);
            QCOMPARE(count(image, outer, is(0x00FFFF)) > 0, size == 32);
        }
    }

    void windowsUseThem() {
        TForm1 form1;
        TForm2 form2;
        QCOMPARE(form1.TabSheet1->schematic(), nonInvertingSchematic());
        QCOMPARE(form1.TabSheet2->schematic(), invertingSchematic());
        for (const QWidget *window :
             {static_cast<QWidget *>(&form1), static_cast<QWidget *>(&form2)})
            for (int size : {16, 32})
                QCOMPARE(window->windowIcon().pixmap(size, size).toImage(),
                         programIcon().pixmap(size, size).toImage());
    }
};

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    applyClassicLook(app);
    TestPictures test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_pictures.moc"
