#include "wmf/records.h"

#include <QTest>

#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

namespace {

// The records written after the two headers, up to the end-of-file record.
Bytes recordsOf(const Bytes &file) { return Bytes(file.begin() + 40, file.end() - 6); }

Bytes fileOf(WmfRecorder &recorder) { return recorder.finish(6135, 5895, 1440); }

} // namespace

// Expected bytes are written out by hand from the record layouts of the format: a 32-bit size in
// 16-bit words, the 16-bit function, then the parameters, little-endian.
class WmfRecordsTest : public QObject {
    Q_OBJECT

private slots:
    void headersOfAWholeFile() {
        WmfRecorder recorder;
        recorder.createBrush(WmfBrushStyle::Solid, {255, 255, 255}); // 7 words
        const Bytes file = fileOf(recorder);

        // Placeable header: key, no handle, box 0 0 6135 5895, 1440 a inch, reserved, and the
        // XOR of those ten words: CDD7^9AC6^17F7^1707^05A0 = 5241.
        const Bytes placeable{0xD7, 0xCD, 0xC6, 0x9A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF7,
                              0x17, 0x07, 0x17, 0xA0, 0x05, 0x00, 0x00, 0x00, 0x00, 0x41, 0x52};
        QCOMPARE(Bytes(file.begin(), file.begin() + 22), placeable);
        QCOMPARE(placeableChecksum(file.data()), std::uint16_t(0x5241));

        // Metafile header: type 1, 9 header words, version 3.0, 9 + 7 + 3 = 19 words in all,
        // one object, the largest record 7 words, no parameters.
        const Bytes header{0x01, 0x00, 0x09, 0x00, 0x00, 0x03, 0x13, 0x00, 0x00,
                           0x00, 0x01, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00};
        QCOMPARE(Bytes(file.begin() + 22, file.begin() + 40), header);
        QCOMPARE(file.size(), std::size_t(22 + 19 * 2));
        QCOMPARE(Bytes(file.end() - 6, file.end()), Bytes({0x03, 0, 0, 0, 0, 0}));
    }

    void objectRecordsAndTheObjectTable() {
        WmfRecorder recorder;
        QCOMPARE(recorder.createPen(WmfPenStyle::Dot, 0, {192, 192, 192}), 0);
        QCOMPARE(recorder.createBrush(WmfBrushStyle::Hatched, {0, 0, 255}, WmfHatch::Cross), 1);
        recorder.selectObject(1);
        recorder.deleteObject(0);
        WmfFont font;
        font.height = -180;
        font.weight = 700;
        font.faceName = "Arial";
        QCOMPARE(recorder.createFont(font), 0); // the lowest free index, as the player does
        QCOMPARE(recorder.objectsInUse(), 2);

        const Bytes expected{
            0x08, 0x00, 0x00, 0x00, 0xFA, 0x02, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, // pen
            0xC0, 0xC0, 0xC0, 0x00,                                                 //
            0x07, 0x00, 0x00, 0x00, 0xFC, 0x02, 0x02, 0x00, 0x00, 0x00, 0xFF, 0x00, // brush
            0x04, 0x00,                                                             //
            0x04, 0x00, 0x00, 0x00, 0x2D, 0x01, 0x01, 0x00,                         // select 1
            0x04, 0x00, 0x00, 0x00, 0xF0, 0x01, 0x00, 0x00,                         // delete 0
            0x1C, 0x00, 0x00, 0x00, 0xFB, 0x02,                                     // font:
            0x4C, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xBC, 0x02, // -180, 0, 0, 0, 700
            0x00, 0x00, 0x00, 0xCC, 0x00, 0x00, 0x00, 0x00,             // Cyrillic set 204
        };
        const char face[32] = "Arial"; // zeros to the end of the 32-byte field
        const Bytes file = fileOf(recorder);
        const Bytes records = recordsOf(file);
        QCOMPARE(records.size(), expected.size() + 32);
        QCOMPARE(Bytes(records.begin(), records.end() - 32), expected);
        QCOMPARE(Bytes(records.end() - 32, records.end()), Bytes(face, face + 32));
        // Two object slots were ever needed; the font record of 28 words is the largest.
        QCOMPARE(file[32] | file[33] << 8, 2);
        QCOMPARE(file[34] | file[35] << 8, 28);
    }

    void drawingRecords() {
        WmfRecorder recorder;
        recorder.setWindowExt(6135, 5895);
        recorder.intersectClipRect(1, 2, 3, 4);
        recorder.polyline({{10, 20}, {30, -40}, {40000, 0}}); // beyond 16 bits: clamped
        recorder.rectangle(100, 200, 300, 400);
        recorder.moveTo(5, 6);
        recorder.lineTo(7, 8);
        // "АЧХ" in Windows-1251, with the distances to the next character.
        recorder.extTextOut(100, 200, "\xC0\xD7\xD5", {10, 11, 12});
        recorder.restoreDc();

        const Bytes expected{
            0x05, 0x00, 0x00, 0x00, 0x0C, 0x02, 0x07, 0x17, 0xF7, 0x17, // window ext: y, x
            0x07, 0x00, 0x00, 0x00, 0x16, 0x04, 0x04, 0x00, 0x03, 0x00, // clip: bottom, right,
            0x02, 0x00, 0x01, 0x00,                                     // top, left
            0x0A, 0x00, 0x00, 0x00, 0x25, 0x03, 0x03, 0x00, 0x0A, 0x00, // polyline of 3
            0x14, 0x00, 0x1E, 0x00, 0xD8, 0xFF, 0xFF, 0x7F, 0x00, 0x00, //
            0x07, 0x00, 0x00, 0x00, 0x1B, 0x04, 0x90, 0x01, 0x2C, 0x01, // rectangle, reversed
            0xC8, 0x00, 0x64, 0x00,                                     //
            0x05, 0x00, 0x00, 0x00, 0x14, 0x02, 0x06, 0x00, 0x05, 0x00, // move to: y, x
            0x05, 0x00, 0x00, 0x00, 0x13, 0x02, 0x08, 0x00, 0x07, 0x00, // line to: y, x
            0x0C, 0x00, 0x00, 0x00, 0x32, 0x0A, 0xC8, 0x00, 0x64, 0x00, // text: y, x,
            0x03, 0x00, 0x00, 0x00, 0xC0, 0xD7, 0xD5, 0x00,             // length, no options,
            0x0A, 0x00, 0x0B, 0x00, 0x0C, 0x00,                         // padded string, dx
            0x04, 0x00, 0x00, 0x00, 0x27, 0x01, 0xFF, 0xFF,             // restore: -1
        };
        QCOMPARE(recordsOf(fileOf(recorder)), expected);
    }

    void longPolylinesContinueFromTheirLastPoint() {
        WmfRecorder recorder;
        std::vector<WmfPoint> points;
        for (int i = 0; i < 20000; ++i)
            points.push_back({i % 1000, i / 1000});
        recorder.polyline(points);
        const Bytes records = recordsOf(fileOf(recorder));
        // 16000 points, then the remaining 4000 after the shared 16000th.
        const int firstCount = records[6] | records[7] << 8;
        QCOMPARE(firstCount, 16000);
        const std::size_t second = std::size_t(3 + 1 + 2 * 16000) * 2;
        QCOMPARE(records[second + 6] | records[second + 7] << 8, 4001);
        const auto x = [&](std::size_t at) { return records[at] | records[at + 1] << 8; };
        QCOMPARE(x(8 + 4 * 15999), 999); // point 15999: (999, 15)
        QCOMPARE(x(second + 8), 999);    // starts there again
        QCOMPARE(records.size(), second + std::size_t(3 + 1 + 2 * 4001) * 2);
    }

    void picturesAreBottomUpRowsOfBgr() {
        WmfRecorder recorder;
        // 1 × 2 pixels: red above blue; rows padded to four bytes.
        recorder.stretchDib(0, 0, 15, 30, 1, 2, {255, 0, 0, 0, 0, 255});
        const Bytes records = recordsOf(fileOf(recorder));
        const std::size_t bits = 6 + 4 + 2 + 16 + 40;
        QCOMPARE(Bytes(records.begin() + 4, records.begin() + 6), Bytes({0x43, 0x0F}));
        QCOMPARE(Bytes(records.begin() + bits, records.end()), Bytes({255, 0, 0, 0, 0, 0, 255, 0}));
    }
};

QTEST_APPLESS_MAIN(WmfRecordsTest)
#include "test_wmf_records.moc"
