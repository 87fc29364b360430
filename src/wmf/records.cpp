#include "wmf/records.h"

#include "wmf/units.h"

#include <algorithm>
#include <stdexcept>

namespace {

// Record functions: the low byte names the call, the high byte counts its parameter words.
enum : std::uint16_t {
    META_EOF = 0x0000,
    META_SAVEDC = 0x001E,
    META_SETBKMODE = 0x0102,
    META_SETPOLYFILLMODE = 0x0106,
    META_RESTOREDC = 0x0127,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_DELETEOBJECT = 0x01F0,
    META_SETTEXTCOLOR = 0x0209,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_INTERSECTCLIPRECT = 0x0416,
    META_RECTANGLE = 0x041B,
    META_POLYPOLYGON = 0x0538,
    META_EXTTEXTOUT = 0x0A32,
    META_STRETCHDIB = 0x0F43,
};

constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t placeableKey = 0x9AC6CDD7;
// A picture's resolution: the device pixel, per metre (96 per inch, rounded).
constexpr std::uint32_t pixelsPerMetre = (wmfPixelsPerInch * 10000 + 127) / 254;
// The longest text run a record holds.
constexpr std::size_t maxTextBytes = 8000;

std::int16_t clamp16(long long v) {
    return static_cast<std::int16_t>(std::clamp<long long>(v, INT16_MIN, INT16_MAX));
}

void put16(std::vector<std::uint8_t> &out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t> &out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

void putColour(std::vector<std::int16_t> &params, WmfColour c) {
    // COLORREF: red, green, blue, 0 as bytes, i.e. two little-endian words.
    params.push_back(static_cast<std::int16_t>(c.red | (c.green << 8)));
    params.push_back(static_cast<std::int16_t>(c.blue));
}

void putPoints(std::vector<std::int16_t> &params, const std::vector<WmfPoint> &points) {
    for (const WmfPoint &p : points) {
        params.push_back(clamp16(p.x));
        params.push_back(clamp16(p.y));
    }
}

// A polyline or polygon holds at most this many points (the count is a 16-bit integer).
constexpr std::size_t maxPoints = 16000;

} // namespace

void WmfRecorder::record(std::uint16_t function, const std::vector<std::int16_t> &params) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(params.size() * 2);
    for (std::int16_t p : params)
        put16(bytes, static_cast<std::uint16_t>(p));
    record(function, bytes);
}

void WmfRecorder::record(std::uint16_t function, const std::vector<std::uint8_t> &params) {
    if (params.size() % 2 != 0)
        throw std::logic_error("metafile record of an odd byte count");
    const auto words = static_cast<std::uint32_t>(3 + params.size() / 2);
    put32(body, words);
    put16(body, function);
    body.insert(body.end(), params.begin(), params.end());
    maxRecordWords = std::max(maxRecordWords, words);
}

int WmfRecorder::allocateObject() {
    auto free = std::find(objectTable.begin(), objectTable.end(), false);
    if (free != objectTable.end()) {
        *free = true;
        return static_cast<int>(free - objectTable.begin());
    }
    objectTable.push_back(true);
    return static_cast<int>(objectTable.size() - 1);
}

int WmfRecorder::objectsInUse() const {
    return static_cast<int>(std::count(objectTable.begin(), objectTable.end(), true));
}

int WmfRecorder::createPen(WmfPenStyle style, int width, WmfColour colour) {
    // LogPen: style, width as a point (x is the width, y unused), colour.
    std::vector<std::int16_t> params{static_cast<std::int16_t>(style), clamp16(width), 0};
    putColour(params, colour);
    record(META_CREATEPENINDIRECT, params);
    return allocateObject();
}

int WmfRecorder::createBrush(WmfBrushStyle style, WmfColour colour, WmfHatch hatch) {
    std::vector<std::int16_t> params{static_cast<std::int16_t>(style)};
    putColour(params, colour);
    params.push_back(static_cast<std::int16_t>(hatch));
    record(META_CREATEBRUSHINDIRECT, params);
    return allocateObject();
}

int WmfRecorder::createFont(const WmfFont &font) {
    std::vector<std::uint8_t> p;
    put16(p, static_cast<std::uint16_t>(clamp16(font.height)));
    put16(p, 0); // width: the face's own aspect
    put16(p, static_cast<std::uint16_t>(clamp16(font.escapement)));
    put16(p, static_cast<std::uint16_t>(clamp16(font.escapement))); // orientation
    put16(p, static_cast<std::uint16_t>(clamp16(font.weight)));
    p.push_back(font.italic ? 1 : 0);
    p.push_back(font.underline ? 1 : 0);
    p.push_back(font.strikeOut ? 1 : 0);
    p.push_back(font.charset);
    p.push_back(0); // OUT_DEFAULT_PRECIS
    p.push_back(0); // CLIP_DEFAULT_PRECIS
    p.push_back(0); // DEFAULT_QUALITY
    p.push_back(0); // DEFAULT_PITCH | FF_DONTCARE
    // The face name field is 32 bytes, the last one always a terminating zero.
    const std::size_t nameLength = std::min<std::size_t>(font.faceName.size(), 31);
    p.insert(p.end(), font.faceName.begin(), font.faceName.begin() + nameLength);
    p.resize(p.size() + 32 - nameLength, 0);
    record(META_CREATEFONTINDIRECT, p);
    return allocateObject();
}

void WmfRecorder::selectObject(int index) {
    record(META_SELECTOBJECT, std::vector<std::int16_t>{static_cast<std::int16_t>(index)});
}

void WmfRecorder::deleteObject(int index) {
    if (index < 0 || index >= static_cast<int>(objectTable.size()) || !objectTable[index])
        throw std::logic_error("deleting a metafile object that does not exist");
    record(META_DELETEOBJECT, std::vector<std::int16_t>{static_cast<std::int16_t>(index)});
    objectTable[index] = false;
}

// Point-like parameters are stored y first: the player pops them in reverse order.
void WmfRecorder::setWindowOrg(int x, int y) {
    record(META_SETWINDOWORG, std::vector<std::int16_t>{clamp16(y), clamp16(x)});
}

void WmfRecorder::setWindowExt(int width, int height) {
    record(META_SETWINDOWEXT, std::vector<std::int16_t>{clamp16(height), clamp16(width)});
}

void WmfRecorder::setBkMode(std::uint16_t mode) {
    record(META_SETBKMODE, std::vector<std::int16_t>{static_cast<std::int16_t>(mode)});
}

void WmfRecorder::setTextAlign(std::uint16_t align) {
    record(META_SETTEXTALIGN, std::vector<std::int16_t>{static_cast<std::int16_t>(align)});
}

void WmfRecorder::setTextColour(WmfColour colour) {
    std::vector<std::int16_t> params;
    putColour(params, colour);
    record(META_SETTEXTCOLOR, params);
}

void WmfRecorder::setPolyFillMode(std::uint16_t mode) {
    record(META_SETPOLYFILLMODE, std::vector<std::int16_t>{static_cast<std::int16_t>(mode)});
}

void WmfRecorder::saveDc() { record(META_SAVEDC, std::vector<std::int16_t>{}); }

void WmfRecorder::restoreDc() { record(META_RESTOREDC, std::vector<std::int16_t>{-1}); }

void WmfRecorder::intersectClipRect(int left, int top, int right, int bottom) {
    record(META_INTERSECTCLIPRECT,
           std::vector<std::int16_t>{clamp16(bottom), clamp16(right), clamp16(top), clamp16(left)});
}

void WmfRecorder::moveTo(int x, int y) {
    record(META_MOVETO, std::vector<std::int16_t>{clamp16(y), clamp16(x)});
}

void WmfRecorder::lineTo(int x, int y) {
    record(META_LINETO, std::vector<std::int16_t>{clamp16(y), clamp16(x)});
}

void WmfRecorder::polyline(const std::vector<WmfPoint> &points) {
    // A long line is continued in the next record from its last point.
    for (std::size_t start = 0; start + 1 < points.size(); start += maxPoints - 1) {
        const std::size_t end = std::min(points.size(), start + maxPoints);
        std::vector<std::int16_t> params{static_cast<std::int16_t>(end - start)};
        putPoints(params, {points.begin() + start, points.begin() + end});
        record(META_POLYLINE, params);
    }
}

void WmfRecorder::polygon(const std::vector<WmfPoint> &points) {
    if (points.size() < 2)
        return;
    if (points.size() > maxPoints) {
        polyPolygon({points});
        return;
    }
    std::vector<std::int16_t> params{static_cast<std::int16_t>(points.size())};
    putPoints(params, points);
    record(META_POLYGON, params);
}

void WmfRecorder::polyPolygon(const std::vector<std::vector<WmfPoint>> &polygons) {
    std::vector<std::vector<WmfPoint>> kept;
    std::size_t total = 0;
    for (const auto &p : polygons) {
        if (p.size() < 2)
            continue;
        // A polygon beyond the limits keeps its outline, with fewer points.
        std::vector<WmfPoint> q = p;
        if (q.size() > maxPoints) {
            const std::size_t step = (q.size() + maxPoints - 1) / maxPoints;
            std::vector<WmfPoint> thinned;
            for (std::size_t i = 0; i < q.size(); i += step)
                thinned.push_back(q[i]);
            q = std::move(thinned);
        }
        if (total + q.size() > 4 * maxPoints)
            break;
        total += q.size();
        kept.push_back(std::move(q));
    }
    if (kept.empty())
        return;
    std::vector<std::int16_t> params{static_cast<std::int16_t>(kept.size())};
    for (const auto &p : kept)
        params.push_back(static_cast<std::int16_t>(p.size()));
    for (const auto &p : kept)
        putPoints(params, p);
    record(META_POLYPOLYGON, params);
}

void WmfRecorder::rectangle(int left, int top, int right, int bottom) {
    record(META_RECTANGLE,
           std::vector<std::int16_t>{clamp16(bottom), clamp16(right), clamp16(top), clamp16(left)});
}

void WmfRecorder::extTextOut(int x, int y, std::string_view text, const std::vector<int> &dx) {
    if (text.empty())
        return;
    text = text.substr(0, maxTextBytes);
    std::vector<std::uint8_t> p;
    put16(p, static_cast<std::uint16_t>(clamp16(y)));
    put16(p, static_cast<std::uint16_t>(clamp16(x)));
    put16(p, static_cast<std::uint16_t>(text.size()));
    put16(p, 0); // no clipping or opaquing rectangle
    p.insert(p.end(), text.begin(), text.end());
    if (text.size() % 2 != 0)
        p.push_back(0);
    if (dx.size() == text.size())
        for (int d : dx)
            put16(p, static_cast<std::uint16_t>(clamp16(d)));
    record(META_EXTTEXTOUT, p);
}

void WmfRecorder::stretchDib(int left, int top, int destWidth, int destHeight, int width,
                             int height, const std::vector<std::uint8_t> &rgb) {
    if (width <= 0 || height <= 0 || rgb.size() != std::size_t(width) * height * 3)
        throw std::logic_error("picture size does not match its pixels");
    std::vector<std::uint8_t> p;
    put32(p, SRCCOPY);
    put16(p, 0); // DIB_RGB_COLORS
    for (long long v : {(long long)height, (long long)width, 0LL, 0LL, (long long)destHeight,
                        (long long)destWidth, (long long)top, (long long)left})
        put16(p, static_cast<std::uint16_t>(clamp16(v)));
    // BITMAPINFOHEADER of a 24-bit uncompressed picture, rows from the bottom.
    const std::uint32_t stride = (std::uint32_t(width) * 3 + 3) & ~3u;
    put32(p, 40);
    put32(p, static_cast<std::uint32_t>(width));
    put32(p, static_cast<std::uint32_t>(height));
    put16(p, 1);
    put16(p, 24);
    put32(p, 0); // BI_RGB
    put32(p, stride * static_cast<std::uint32_t>(height));
    put32(p, pixelsPerMetre);
    put32(p, pixelsPerMetre);
    put32(p, 0);
    put32(p, 0);
    for (int row = height - 1; row >= 0; --row) {
        const std::uint8_t *src = rgb.data() + std::size_t(row) * width * 3;
        for (int col = 0; col < width; ++col) {
            p.push_back(src[col * 3 + 2]);
            p.push_back(src[col * 3 + 1]);
            p.push_back(src[col * 3]);
        }
        p.resize(p.size() + stride - std::uint32_t(width) * 3, 0);
    }
    if (p.size() % 2 != 0)
        p.push_back(0);
    record(META_STRETCHDIB, p);
}

std::uint16_t placeableChecksum(const std::uint8_t *header) {
    std::uint16_t sum = 0;
    for (int i = 0; i < 10; ++i)
        sum ^= static_cast<std::uint16_t>(header[2 * i] | (header[2 * i + 1] << 8));
    return sum;
}

std::vector<std::uint8_t> WmfRecorder::finish(int width, int height, int unitsPerInch) const {
    std::vector<std::uint8_t> out;
    out.reserve(22 + 18 + body.size() + 6);

    put32(out, placeableKey);
    put16(out, 0); // no handle: a file
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<std::uint16_t>(clamp16(width)));
    put16(out, static_cast<std::uint16_t>(clamp16(height)));
    put16(out, static_cast<std::uint16_t>(unitsPerInch));
    put32(out, 0);
    put16(out, placeableChecksum(out.data()));

    const std::uint32_t totalWords = static_cast<std::uint32_t>(9 + body.size() / 2 + 3);
    put16(out, 1);      // a metafile as held in memory, the type files carry
    put16(out, 9);      // header words
    put16(out, 0x0300); // the version with device-independent bitmaps
    put32(out, totalWords);
    put16(out, static_cast<std::uint16_t>(objectTable.size()));
    put32(out, maxRecordWords);
    put16(out, 0);

    out.insert(out.end(), body.begin(), body.end());
    put32(out, 3);
    put16(out, META_EOF);
    return out;
}
