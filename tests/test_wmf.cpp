#include "cp1251.h"
#include "speaker/widgets/response_chart.h"
#include "ui/classic_look.h"
#include "window_fixture.h"
#include "wmf/writer.h"

#include <QApplication>
#include <QChart>
#include <QFile>
#include <QLineSeries>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

int word(const QByteArray &b, qsizetype at) {
    return static_cast<qint16>(quint8(b[at]) | quint8(b[at + 1]) << 8);
}
quint32 dword(const QByteArray &b, qsizetype at) {
    return quint16(word(b, at)) | quint32(quint16(word(b, at + 2))) << 16;
}

struct Colour {
    int r = -1, g = -1, b = -1;
    bool operator==(const Colour &) const = default;
};

// A reader of the file written from the format description: it checks the headers and the
// record chain, keeps the object table as a player does, and collects what is drawn.
struct Metafile {
    struct Line {
        QList<QPoint> points; // logical units
        Colour colour;
        int penStyle = 0;
        bool clipped = false; // drawn while a clip record is in force
    };
    struct Text {
        QPoint at;
        QByteArray bytes;
        int fontHeight = 0, charset = 0;
        QByteArray face;
    };
    struct Object {
        int kind = 0; // 1 pen, 2 brush, 3 font
        QByteArray params;
    };

    QString fault; // empty when the file reads well
    int width = 0, height = 0, unitsPerInch = 0;
    QList<Line> lines;
    QList<Text> texts;
    QList<QRect> rectangles;
    QList<QList<QPoint>> polygons;
    QList<QSize> pictureSources;
    QList<QRect> pictureTargets;
    int pictures = 0;
    int clipRecords = 0;

    explicit Metafile(const QByteArray &file) { read(file); }

    void read(const QByteArray &file) {
        if (file.size() < 46)
            return fail("too short");
        if (dword(file, 0) != 0x9AC6CDD7u)
            return fail("no placeable key");
        quint16 sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= quint16(word(file, 2 * i));
        if (sum != quint16(word(file, 20)))
            return fail("placeable checksum");
        if (word(file, 6) != 0 || word(file, 8) != 0)
            return fail("bounding box not at the origin");
        width = word(file, 10);
        height = word(file, 12);
        unitsPerInch = quint16(word(file, 14));
        if (word(file, 22) != 1 || word(file, 24) != 9 || word(file, 26) != 0x0300)
            return fail("metafile header");
        if (dword(file, 28) * 2 != quint32(file.size() - 22))
            return fail("size in the header");
        const int objectSlots = word(file, 32);
        const quint32 maxRecord = dword(file, 34);

        QList<std::optional<Object>> table(objectSlots);
        int pen = -1, brush = -1, font = -1;
        QList<int> saved;
        int clipDepth = 0;
        quint32 largest = 0;
        QPoint position;
        qsizetype at = 40;
        for (;;) {
            if (at + 6 > file.size())
                return fail("record beyond the end");
            const quint32 words = dword(file, at);
            const int function = quint16(word(file, at + 4));
            if (words < 3 || at + qsizetype(words) * 2 > file.size())
                return fail("record size");
            largest = std::max(largest, words);
            const QByteArray p = file.mid(at + 6, qsizetype(words) * 2 - 6);
            at += qsizetype(words) * 2;
            auto penColour = [&] {
                const QByteArray &q = table[pen]->params;
                return Colour{quint8(q[6]), quint8(q[7]), quint8(q[8])};
            };
            auto create = [&](int kind) {
                const auto free = std::find(table.begin(), table.end(), std::nullopt);
                if (free == table.end())
                    return fail("more objects than the header says");
                *free = Object{kind, p};
            };
            switch (function) {
            case 0x0000:
                if (at != file.size())
                    return fail("data after the end record");
                if (largest != maxRecord)
                    return fail("largest record in the header");
                return;
            case 0x02FA:
                create(1);
                break;
            case 0x02FC:
                create(2);
                break;
            case 0x02FB:
                create(3);
                break;
            case 0x012D: {
                const int index = word(p, 0);
                if (index < 0 || index >= table.size() || !table[index])
                    return fail("selecting a missing object");
                (table[index]->kind == 1 ? pen : table[index]->kind == 2 ? brush : font) = index;
                break;
            }
            case 0x01F0:
                table[word(p, 0)].reset();
                break;
            case 0x001E:
                saved << clipDepth;
                break;
            case 0x0127:
                if (saved.isEmpty())
                    return fail("restoring an unsaved state");
                clipDepth = saved.takeLast();
                break;
            case 0x0416:
                ++clipDepth;
                ++clipRecords;
                break;
            case 0x0214:
                position = QPoint(word(p, 2), word(p, 0));
                break;
            case 0x0213:
            case 0x0325: {
                if (pen < 0 || !table[pen])
                    return fail("drawing without a pen");
                Line line;
                if (function == 0x0213) {
                    line.points = {position, QPoint(word(p, 2), word(p, 0))};
                    position = line.points.last();
                } else {
                    for (int i = 0; i < word(p, 0); ++i)
                        line.points << QPoint(word(p, 2 + 4 * i), word(p, 4 + 4 * i));
                }
                line.colour = penColour();
                line.penStyle = word(table[pen]->params, 0);
                line.clipped = clipDepth > 0;
                lines << line;
                break;
            }
            case 0x041B:
                rectangles << QRect(QPoint(word(p, 6), word(p, 4)), QPoint(word(p, 2), word(p, 0)));
                break;
            case 0x0A32: {
                if (font < 0 || !table[font])
                    return fail("text without a font");
                const QByteArray &f = table[font]->params;
                Text text{QPoint(word(p, 2), word(p, 0)), p.mid(8, word(p, 4)), word(f, 0),
                          quint8(f[13]), f.mid(18).split('\0').first()};
                texts << text;
                break;
            }
            case 0x0324: {
                QList<QPoint> polygon;
                for (int i = 0; i < word(p, 0); ++i)
                    polygon << QPoint(word(p, 2 + 4 * i), word(p, 4 + 4 * i));
                polygons << polygon;
                break;
            }
            case 0x0F43:
                ++pictures;
                pictureSources << QSize(word(p, 8), word(p, 6));
                pictureTargets << QRect(word(p, 20), word(p, 18), word(p, 16), word(p, 14));
                break;
            default:
                break;
            }
        }
    }

    void fail(const char *what) {
        if (fault.isEmpty())
            fault = what;
    }

    QList<Line> linesOf(Colour colour) const {
        QList<Line> found;
        for (const Line &l : lines)
            if (l.colour == colour)
                found << l;
        return found;
    }
    QList<QByteArray> textBytes() const {
        QList<QByteArray> all;
        for (const Text &t : texts)
            all << t.bytes;
        return all;
    }
};

const Colour red{255, 0, 0}, blue{0, 0, 255}, silver{192, 192, 192};

// What wmf2svg (libwmf) makes of the file, scaled to the picture's size in pixels: lines and
// polylines by stroke colour name, and the text, which it writes one character at a time (with
// the character distances) and unconverted, joined again along each baseline.
struct SvgReading {
    struct Stroke {
        QString colour;
        QList<QPointF> points;
        bool dashed = false;
    };
    bool ran = false;
    QList<Stroke> strokes;
    QStringList texts;
    QList<QPointF> textOrigins;

    SvgReading(const QByteArray &wmf, QSize pixels) {
        QTemporaryDir dir;
        QFile file(dir.filePath("picture.wmf"));
        if (!file.open(QIODevice::WriteOnly) || file.write(wmf) != wmf.size())
            return;
        file.close();
        QProcess process;
        process.start("wmf2svg", {QString("--maxwidth=%1").arg(pixels.width()),
                                  QString("--maxheight=%1").arg(pixels.height()), "-o",
                                  dir.filePath("picture.svg"), file.fileName()});
        if (!process.waitForFinished(30000) || process.exitCode() != 0)
            return;
        QFile svgFile(dir.filePath("picture.svg"));
        if (!svgFile.open(QIODevice::ReadOnly))
            return;
        const QByteArray svg = svgFile.readAll();
        ran = true;

        static const QRegularExpression shape(
            R"re(<(polyline points="([^"]*)"|line x1="([-\d.]+)" y1="([-\d.]+)" x2="([-\d.]+)" y2="([-\d.]+)")\s*style="([^"]*)")re");
        static const QRegularExpression colour(R"((?:^|;)\s*stroke:\s*([#\w]+))");
        const QString latin1 = QString::fromLatin1(svg);
        for (auto m = shape.globalMatch(latin1); m.hasNext();) {
            const auto s = m.next();
            Stroke stroke;
            if (!s.captured(2).isNull()) {
                const QStringList numbers =
                    s.captured(2).split(QRegularExpression("[\\s,]+"), Qt::SkipEmptyParts);
                for (qsizetype i = 0; i + 1 < numbers.size(); i += 2)
                    stroke.points << QPointF(numbers[i].toDouble(), numbers[i + 1].toDouble());
            } else {
                stroke.points = {QPointF(s.captured(3).toDouble(), s.captured(4).toDouble()),
                                 QPointF(s.captured(5).toDouble(), s.captured(6).toDouble())};
            }
            const QString style = s.captured(7);
            stroke.colour = colour.match(style).captured(1);
            stroke.dashed = !style.contains("stroke-dasharray:none");
            strokes << stroke;
        }

        // A character further on than an em from the previous one starts another text.
        static const QRegularExpression text(
            R"re(<text[^>]*font-size:([\d.]+)[^>]*transform="matrix\([-\d.]+ [-\d.]+ [-\d.]+ [-\d.]+ ([-\d.]+) ([-\d.]+)\)"\s*>([^<]*)</text>)re");
        QPointF last(-1e9, -1e9);
        for (auto m = text.globalMatch(latin1); m.hasNext();) {
            const auto t = m.next();
            const double em = t.captured(1).toDouble();
            const QPointF at(t.captured(2).toDouble(), t.captured(3).toDouble());
            const QString piece = fromCp1251(t.captured(4).toLatin1());
            if (std::abs(at.y() - last.y()) < 0.01 && at.x() > last.x() && at.x() - last.x() < em) {
                texts.last() += piece;
            } else {
                texts << piece;
                textOrigins << at;
            }
            last = at;
        }
    }

    QList<Stroke> strokesOf(const QString &name) const {
        QList<Stroke> found;
        for (const Stroke &s : strokes)
            if (s.colour == name)
                found << s;
        return found;
    }
};

bool haveWmf2svg() { return !QStandardPaths::findExecutable("wmf2svg").isEmpty(); }

// A small picture of what a chart draws: a line sent segment by segment, a line cut by a clip,
// a dotted hairline, text in two scripts and a rectangle under a transform.
class Scene : public QWidget {
public:
    Scene() { resize(240, 240); }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing); // coordinates as given, without pixel snapping
        p.fillRect(rect(), Qt::white);
        p.setPen(QPen(Qt::red, 2));
        p.drawLine(QPointF(20, 100), QPointF(60, 40));
        p.drawLine(QPointF(60, 40), QPointF(100, 70));
        p.drawLine(QPointF(100, 70), QPointF(140, 30));

        p.setClipRect(QRect(150, 20, 60, 60));
        p.setPen(QPen(Qt::blue, 2));
        p.drawPolyline(QPolygonF{QPointF(130, 50), QPointF(180, 60), QPointF(230, 50)});
        p.setClipping(false);

        QPen dots(QColor(192, 192, 192), 1, Qt::DotLine);
        dots.setCosmetic(true);
        p.setPen(dots);
        p.drawLine(QPointF(20, 150), QPointF(200, 150));

        QFont font("Arial");
        font.setPixelSize(12);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPointF(20, 180), "АЧХ при Rвых = 0");

        p.translate(30, 200);
        p.setBrush(Qt::green);
        p.drawRect(QRectF(0, 0, 40, 20));
    }
};

// A triangle and a picture, both partly outside the clip.
class ClippedScene : public QWidget {
public:
    ClippedScene() { resize(100, 100); }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        p.setClipRect(QRect(20, 20, 40, 40));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::blue);
        p.drawPolygon(QPolygonF{QPointF(0, 40), QPointF(40, 0), QPointF(40, 40)});
        QImage picture(80, 10, QImage::Format_RGB32);
        picture.fill(Qt::red);
        p.drawImage(QPointF(0, 70), picture); // below the clip: left out
        p.drawImage(QPointF(0, 30), picture);
    }
};

} // namespace

class WmfTest : public ProgramWindowTest {
    Q_OBJECT

    // Chart1's plot area in logical units of its metafile (15 a pixel).
    QRectF plotArea() const {
        const QRectF scene = form->TabSheet3->chart()->chart()->mapRectToScene(
            form->TabSheet3->chart()->chart()->plotArea());
        const QRectF view = form->TabSheet3->chart()->mapFromScene(scene).boundingRect();
        return QRectF(view.topLeft() * 15, view.size() * 15);
    }

private slots:
    void initTestCase() { applyClassicLook(*qApp); }

    void init() { QVERIFY(openWindows()); }
    void cleanup() { closeWindows(); }

    void paintedSceneBecomesRecords() {
        Scene scene;
        const Metafile wmf(widgetToMetafile(&scene));
        QVERIFY2(wmf.fault.isEmpty(), qPrintable(wmf.fault));
        QCOMPARE(wmf.unitsPerInch, 1440); // one pixel of 1/96 inch is 15 units
        QCOMPARE(QSize(wmf.width, wmf.height), QSize(3600, 3600));

        // The three segments joined into one polyline.
        const auto reds = wmf.linesOf(red);
        QCOMPARE(reds.size(), 1);
        QCOMPARE(reds[0].points,
                 QList<QPoint>({{300, 1500}, {900, 600}, {1500, 1050}, {2100, 450}}));
        QVERIFY(!reds[0].clipped);

        // Cut at the clip's sides x = 150 and 210 (y 54 there), and the clip kept for the pen.
        const auto blues = wmf.linesOf(blue);
        QCOMPARE(blues.size(), 1);
        QCOMPARE(blues[0].points, QList<QPoint>({{2250, 810}, {2700, 900}, {3150, 810}}));
        QVERIFY(blues[0].clipped);

        const auto dotted = wmf.linesOf(silver);
        QCOMPARE(dotted.size(), 1);
        QCOMPARE(dotted[0].penStyle, 2); // PS_DOT

        // One text record for the two scripts, in Windows-1251, with a Cyrillic Arial font
        // 12 pixels high.
        QCOMPARE(wmf.texts.size(), 1);
        QCOMPARE(wmf.texts[0].bytes, QByteArray("\xC0\xD7\xD5 \xEF\xF0\xE8 R\xE2\xFB\xF5 = 0"));
        QCOMPARE(wmf.texts[0].at, QPoint(300, 2700));
        QCOMPARE(wmf.texts[0].fontHeight, -180);
        QCOMPARE(wmf.texts[0].charset, 204);
        QCOMPARE(wmf.texts[0].face, QByteArray("Arial"));

        // The rectangle moved by the painter's translation.
        QVERIFY(wmf.rectangles.contains(QRect(QPoint(450, 3000), QPoint(1050, 3300))));
        QCOMPARE(wmf.pictures, 0);
    }

    void independentReaderSeesTheScene() {
        if (!haveWmf2svg())
            QSKIP("wmf2svg (libwmf-bin) is not installed");
        Scene scene;
        const SvgReading svg(widgetToMetafile(&scene), scene.size());
        QVERIFY(svg.ran);

        auto near = [](const QList<QPointF> &got, const QList<QPointF> &want) {
            if (got.size() != want.size())
                return false;
            for (qsizetype i = 0; i < got.size(); ++i)
                if (QLineF(got[i], want[i]).length() > 0.25)
                    return false;
            return true;
        };
        const auto reds = svg.strokesOf("red");
        QCOMPARE(reds.size(), 1);
        QVERIFY(near(reds[0].points, {{20, 100}, {60, 40}, {100, 70}, {140, 30}}));
        const auto blues = svg.strokesOf("blue");
        QCOMPARE(blues.size(), 1);
        QVERIFY(near(blues[0].points, {{150, 54}, {180, 60}, {210, 54}}));
        const auto dotted = svg.strokesOf("silver");
        QCOMPARE(dotted.size(), 1);
        QVERIFY(dotted[0].dashed);

        QCOMPARE(svg.texts, QStringList({"АЧХ при Rвых = 0"}));
        QVERIFY(QLineF(svg.textOrigins[0], QPointF(20, 180)).length() < 0.25);
    }

    void fillsAndPicturesAreCutToTheClip() {
        ClippedScene scene;
        const Metafile wmf(widgetToMetafile(&scene));
        QVERIFY2(wmf.fault.isEmpty(), qPrintable(wmf.fault));
        // The triangle's part inside x, y >= 20: the corner (20, 20), then along the clip's
        // edges to (40, 20), (40, 40) and (20, 40), in some rotation of that order.
        QCOMPARE(wmf.polygons.size(), 2); // the background, then the triangle
        QList<QPoint> triangle = wmf.polygons[1];
        QCOMPARE(triangle.size(), 4);
        while (triangle.first() != QPoint(300, 300))
            triangle.append(triangle.takeFirst());
        QCOMPARE(triangle, QList<QPoint>({{300, 300}, {600, 300}, {600, 600}, {300, 600}}));
        // Of the picture at y 30 only the 40 × 10 pixels from x = 20 on are kept.
        QCOMPARE(wmf.pictures, 1);
        QCOMPARE(wmf.pictureSources[0], QSize(40, 10));
        QCOMPARE(wmf.pictureTargets[0], QRect(300, 450, 600, 150));
    }

    void chartHoldsCurvesTitleAndLegend() {
        const Metafile wmf(widgetToMetafile(form->TabSheet3->chart()));
        QVERIFY2(wmf.fault.isEmpty(), qPrintable(wmf.fault));
        QCOMPARE(QSize(wmf.width, wmf.height), form->TabSheet3->chart()->size() * 15);
        QCOMPARE(wmf.pictures, 0); // shapes and text only, no bitmap

        // Each curve one polyline of its 100 points less those below the plot, all of them
        // inside the plot area; both start below -16 dB, so they enter through its bottom.
        const QRectF plot = plotArea().adjusted(-8, -8, 8, 8); // the half-pixel of line snapping
        for (const Colour &colour : {red, blue}) {
            QList<Metafile::Line> curves;
            for (const auto &l : wmf.linesOf(colour))
                if (l.points.size() > 2)
                    curves << l;
            QCOMPARE(curves.size(), 1);
            const auto &points = curves[0].points;
            QVERIFY(points.size() > 50 && points.size() <= 101);
            for (const QPoint &p : points)
                QVERIFY2(plot.contains(p), qPrintable(QString("%1 %2").arg(p.x()).arg(p.y())));
            QVERIFY(std::abs(points.first().y() - plotArea().bottom()) <= 8);
            QVERIFY(curves[0].clipped);
        }

        const QList<QByteArray> texts = wmf.textBytes();
        for (const QString &expected :
             {QString("Корректировка АЧХ сабвуфера (ЗЯ) на НЧ за счет"),
              QString("увеличения добротности при Rвых усилителя > 0"), QString("АЧХ при Rвых = 0"),
              QString("АЧХ при Rвых = 6  Ом")}) {
            const bool found = std::any_of(texts.begin(), texts.end(), [&](const QByteArray &t) {
                return t.trimmed() == toCp1251(expected).value();
            });
            QVERIFY2(found, qPrintable(expected));
        }
        for (const auto &t : wmf.texts)
            QCOMPARE(t.charset, 204);
    }

    void independentReaderSeesTheChart() {
        if (!haveWmf2svg())
            QSKIP("wmf2svg (libwmf-bin) is not installed");
        const SvgReading svg(widgetToMetafile(form->TabSheet3->chart()),
                             form->TabSheet3->chart()->size());
        QVERIFY(svg.ran);
        for (const char *name : {"red", "blue"}) {
            qsizetype longest = 0;
            for (const auto &s : svg.strokesOf(name))
                longest = std::max(longest, s.points.size());
            QVERIFY2(longest > 50, qPrintable(name));
        }
        QStringList texts;
        for (const QString &t : svg.texts)
            texts << t.trimmed();
        QVERIFY(texts.contains("Корректировка АЧХ сабвуфера (ЗЯ) на НЧ за счет"));
        QVERIFY(texts.contains("увеличения добротности при Rвых усилителя > 0"));
        QVERIFY(texts.contains("АЧХ при Rвых = 0"));
        QVERIFY(texts.contains("АЧХ при Rвых = 6  Ом"));
    }

    void emptiedChartStillMakesAMetafile() {
        form->TabSheet3->chart()->emptySeries();
        const Metafile wmf(widgetToMetafile(form->TabSheet3->chart()));
        QVERIFY2(wmf.fault.isEmpty(), qPrintable(wmf.fault));
        for (const Colour &colour : {red, blue})
            for (const auto &l : wmf.linesOf(colour))
                QCOMPARE(l.points.size(), 2); // the legend's swatches only
        QVERIFY(wmf.textBytes().contains(toCp1251("АЧХ при Rвых = 0").value()));
    }
};

QTEST_MAIN(WmfTest)
#include "test_wmf.moc"
