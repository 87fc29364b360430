#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Records of a Windows metafile (the 16-bit format with the placeable header), written in the
// order they are called. Coordinates are logical units as 16-bit integers; values outside that
// range are clamped. The recorder keeps the object table: a created object takes the lowest free
// index, as the player assigns them, and a deleted one frees its index.

struct WmfPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const WmfPoint &, const WmfPoint &) = default;
};

struct WmfColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const WmfColour &, const WmfColour &) = default;
};

enum class WmfPenStyle : std::uint16_t {
    Solid = 0,
    Dash = 1,
    Dot = 2,
    DashDot = 3,
    DashDotDot = 4,
    Null = 5,
};

enum class WmfBrushStyle : std::uint16_t { Solid = 0, Null = 1, Hatched = 2 };

enum class WmfHatch : std::uint16_t {
    Horizontal = 0,
    Vertical = 1,
    ForwardDiagonal = 2,
    BackwardDiagonal = 3,
    Cross = 4,
    DiagonalCross = 5,
};

struct WmfFont {
    int height = 0;     // negative: the em height; positive: the cell height
    int escapement = 0; // tenths of a degree, counter-clockwise
    int weight = 400;   // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charset = 204; // RUSSIAN_CHARSET: the face's Cyrillic half for bytes 0xC0–0xFF
    std::string faceName;       // Windows-1251 bytes, at most 31 are kept
    friend bool operator==(const WmfFont &, const WmfFont &) = default;
};

struct WmfPen {
    WmfPenStyle style = WmfPenStyle::Null;
    int width = 0; // logical units; 0: one device pixel at any scale
    WmfColour colour;
    friend bool operator==(const WmfPen &, const WmfPen &) = default;
};

struct WmfBrush {
    WmfBrushStyle style = WmfBrushStyle::Null;
    WmfColour colour;
    WmfHatch hatch = WmfHatch::Horizontal;
    friend bool operator==(const WmfBrush &, const WmfBrush &) = default;
};

// Text alignment flags of SetTextAlign.
inline constexpr std::uint16_t wmfAlignLeftTop = 0;
inline constexpr std::uint16_t wmfAlignBaseline = 24;

inline constexpr std::uint16_t wmfBackgroundTransparent = 1;
inline constexpr std::uint16_t wmfBackgroundOpaque = 2;
inline constexpr std::uint16_t wmfFillAlternate = 1;
inline constexpr std::uint16_t wmfFillWinding = 2;

class WmfRecorder {
public:
    int createPen(WmfPenStyle style, int width, WmfColour colour);
    int createBrush(WmfBrushStyle style, WmfColour colour, WmfHatch hatch = WmfHatch::Horizontal);
    int createFont(const WmfFont &font);
    void selectObject(int index);
    void deleteObject(int index);

    void setWindowOrg(int x, int y);
    void setWindowExt(int width, int height);
    void setBkMode(std::uint16_t mode);
    void setTextAlign(std::uint16_t align);
    void setTextColour(WmfColour colour);
    void setPolyFillMode(std::uint16_t mode);

    void saveDc();
    void restoreDc(); // the state of the last saveDc()
    void intersectClipRect(int left, int top, int right, int bottom);

    void moveTo(int x, int y);
    void lineTo(int x, int y);
    void polyline(const std::vector<WmfPoint> &points);
    void polygon(const std::vector<WmfPoint> &points);
    void polyPolygon(const std::vector<std::vector<WmfPoint>> &polygons);
    void rectangle(int left, int top, int right, int bottom);

    // `text` holds Windows-1251 bytes; `dx`, when not empty, the distance from each character's
    // origin to the next one's, one entry per byte.
    void extTextOut(int x, int y, std::string_view text, const std::vector<int> &dx = {});

    // A picture of `width` × `height` pixels, rows from the top, 3 bytes (red, green, blue) a
    // pixel, stretched onto the destination rectangle.
    void stretchDib(int left, int top, int destWidth, int destHeight, int width, int height,
                    const std::vector<std::uint8_t> &rgb);

    int objectsInUse() const;

    // The whole file: the placeable header with the bounding box (0, 0, width, height) in units
    // of 1/unitsPerInch inch, the metafile header, the records and the end-of-file record.
    std::vector<std::uint8_t> finish(int width, int height, int unitsPerInch) const;

private:
    void record(std::uint16_t function, const std::vector<std::int16_t> &params);
    void record(std::uint16_t function, const std::vector<std::uint8_t> &params);
    int allocateObject();

    std::vector<std::uint8_t> body;
    std::uint32_t maxRecordWords = 3; // the end-of-file record
    std::vector<bool> objectTable;    // the player's object table: true where an object lives
};

// The XOR of the first ten 16-bit words of a placeable header.
std::uint16_t placeableChecksum(const std::uint8_t *header);
