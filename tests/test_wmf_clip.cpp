// Cutting to the clip rectangle before recording: lines as continuous pieces that meet where the
// line stays inside, polygons as one open outline along the rectangle's edges.

#include "wmf/clip_geometry.h"

#include <QTest>

using Pieces = std::vector<QPolygonF>;

namespace {

const QRectF box(0, 0, 10, 10);

} // namespace

class WmfClipTest : public QObject {
    Q_OBJECT

private slots:
    void polylines() {
        const QPolygonF inside{{1, 1}, {5, 5}, {9, 2}};
        QCOMPARE(clipPolyline(inside, box), Pieces{inside});
        // Out through the right edge and back in: two pieces, the inner points kept exactly.
        QCOMPARE(clipPolyline({{5, 5}, {15, 5}, {15, 8}, {5, 8}}, box),
                 (Pieces{{{5, 5}, {10, 5}}, {{10, 8}, {5, 8}}}));
        QCOMPARE(clipPolyline({{-5, 5}, {15, 5}}, box), (Pieces{{{0, 5}, {10, 5}}}));
        QCOMPARE(clipPolyline({{0, 2}, {0, 8}}, box), (Pieces{{{0, 2}, {0, 8}}})); // on an edge
        QCOMPARE(clipPolyline({{-1, 2}, {-1, 8}}, box), Pieces{});
        QCOMPARE(clipPolyline({{12, 0}, {20, 20}}, box), Pieces{});
        QCOMPARE(clipPolyline({{3, 4}}, box), (Pieces{QPolygonF{{3, 4}}})); // a dot
        QCOMPARE(clipPolyline({{13, 4}}, box), Pieces{});
    }

    void polygons() {
        // Inside, a corner on the edge: unchanged, but open.
        const QPolygonF inside{{1, 1}, {9, 1}, {5, 10}};
        QCOMPARE(clipPolygon(inside + QPolygonF{inside.first()}, box), inside);
        // A closed square over the corner: its quarter inside, open.
        QCOMPARE(clipPolygon({{-5, -5}, {5, -5}, {5, 5}, {-5, 5}, {-5, -5}}, box),
                 QPolygonF({{0, 0}, {5, 0}, {5, 5}, {0, 5}}));
        // Around the whole rectangle: the rectangle.
        QCOMPARE(clipPolygon({{-5, -5}, {15, -5}, {15, 15}, {-5, 15}}, box),
                 QPolygonF({{0, 10}, {0, 0}, {10, 0}, {10, 10}}));
        QCOMPARE(clipPolygon({{12, 1}, {19, 1}, {15, 9}}, box), QPolygonF());
    }
};

QTEST_APPLESS_MAIN(WmfClipTest)
#include "test_wmf_clip.moc"
