#include "cp1251.h"
#include "speaker/widgets/response_chart.h"
#include "ui/classic_look.h"
#include "window_fixture.h"
#include "wmf/writer.h"
#include "wmf_reading.h"

#include <QApplication>
#include <QChart>
#include <QFile>
#include <QLineSeries>
#include <QPainter>
#include <QTest>

#include <memory>

namespace {

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
