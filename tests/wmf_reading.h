#pragma once

// Two readers of a written metafile, independent of the writer: one from the format description,
// which checks the headers and the record chain and collects what is drawn, and what wmf2svg
// (libwmf) makes of it.

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

inline int word(const QByteArray &b, qsizetype at) {
    return static_cast<qint16>(quint8(b[at]) | quint8(b[at + 1]) << 8);
}
inline quint32 dword(const QByteArray &b, qsizetype at) {
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

inline const Colour red{255, 0, 0}, blue{0, 0, 255}, silver{192, 192, 192};

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

inline bool haveWmf2svg() { return !QStandardPaths::findExecutable("wmf2svg").isEmpty(); }
