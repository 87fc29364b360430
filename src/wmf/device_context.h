#pragma once

#include "wmf/records.h"

#include <cstdint>
#include <optional>
#include <vector>

// A rectangular clip in logical units; inactive: the whole picture.
struct WmfClipRect {
    bool active = false;
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const WmfClipRect &, const WmfClipRect &) = default;
};

// The player's device context as the records so far leave it, and the pens, brushes and fonts
// made for it: a state record or an object is written only when what is wanted differs from what
// the player already holds. Drawing records go to records() directly.
class MetafileContext {
public:
    WmfRecorder &records() { return recorder; }

    void clipTo(const WmfClipRect &wanted);
    void selectPen(const WmfPen &pen);
    void selectBrush(const WmfBrush &brush);
    void selectFont(const WmfFont &font);
    void setBackgroundMode(std::uint16_t mode);
    // The background mode that draws this pen and brush as Qt does.
    void backgroundFor(const WmfPen &pen, const WmfBrush &brush);
    void setTextAlign(std::uint16_t align);
    void setTextColour(WmfColour colour);
    void setPolyFillMode(std::uint16_t mode);

    // Drops the clip and deletes every object, as a finished file leaves the player.
    void release();

private:
    struct CachedObject {
        enum Kind { Pen, Brush, Font } kind;
        WmfPen pen;
        WmfBrush brush;
        WmfFont font;
        int index;
    };
    // What the player holds; nothing where it is not known.
    struct State {
        std::optional<int> pen, brush, font; // the selected objects
        std::optional<WmfColour> textColour;
        std::optional<std::uint16_t> fillMode;
        std::optional<std::uint16_t> backgroundMode;
        std::optional<std::uint16_t> textAlign;
    };

    // Writes the record setting `wanted` unless the player holds it already.
    template <typename T>
    void update(std::optional<T> &held, T wanted, void (WmfRecorder::*record)(T));
    int objectFor(const CachedObject &wanted);
    void makeRoom();

    WmfRecorder recorder;
    std::vector<CachedObject> cache;
    State dc, savedDc;
    WmfClipRect emittedClip;
};
