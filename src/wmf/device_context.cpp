#include "wmf/device_context.h"

#include <cstddef>

template <typename T>
void MetafileContext::update(std::optional<T> &held, T wanted, void (WmfRecorder::*record)(T)) {
    if (held != wanted) {
        (recorder.*record)(wanted);
        held = wanted;
    }
}

// The format can only narrow the clip; a different clip is set by going back to the state
// saved before the last one and narrowing that.
void MetafileContext::clipTo(const WmfClipRect &wanted) {
    if (wanted == emittedClip)
        return;
    if (emittedClip.active) {
        recorder.restoreDc();
        dc = savedDc;
    }
    if (wanted.active) {
        savedDc = dc;
        recorder.saveDc();
        recorder.intersectClipRect(wanted.left, wanted.top, wanted.right, wanted.bottom);
        // The player keeps the state in the new level; some readers (libwmf) start it afresh
        // (text at the top instead of the baseline), so everything is set again when used.
        dc = State{};
    }
    emittedClip = wanted;
}

void MetafileContext::setBackgroundMode(std::uint16_t mode) {
    update(dc.backgroundMode, mode, &WmfRecorder::setBkMode);
}

void MetafileContext::setTextAlign(std::uint16_t align) {
    update(dc.textAlign, align, &WmfRecorder::setTextAlign);
}

void MetafileContext::setTextColour(WmfColour colour) {
    update(dc.textColour, colour, &WmfRecorder::setTextColour);
}

void MetafileContext::setPolyFillMode(std::uint16_t mode) {
    update(dc.fillMode, mode, &WmfRecorder::setPolyFillMode);
}

// The background mode matters to the player only where the background colour could show: the
// gaps of a dotted pen, between hatch lines, and behind text; Qt leaves all of those
// transparent. Elsewhere it is set opaque, as some readers (libwmf) draw every fill made in
// transparent mode half-transparent.
void MetafileContext::backgroundFor(const WmfPen &pen, const WmfBrush &brush) {
    const bool styledPen = pen.style != WmfPenStyle::Solid && pen.style != WmfPenStyle::Null;
    if (styledPen || brush.style == WmfBrushStyle::Hatched)
        setBackgroundMode(wmfBackgroundTransparent);
    else if (brush.style == WmfBrushStyle::Solid)
        setBackgroundMode(wmfBackgroundOpaque);
}

void MetafileContext::selectPen(const WmfPen &pen) {
    update(dc.pen, objectFor({CachedObject::Pen, pen, {}, {}, -1}), &WmfRecorder::selectObject);
}

void MetafileContext::selectBrush(const WmfBrush &brush) {
    update(dc.brush, objectFor({CachedObject::Brush, {}, brush, {}, -1}),
           &WmfRecorder::selectObject);
}

void MetafileContext::selectFont(const WmfFont &font) {
    update(dc.font, objectFor({CachedObject::Font, {}, {}, font, -1}), &WmfRecorder::selectObject);
}

int MetafileContext::objectFor(const CachedObject &wanted) {
    for (const CachedObject &o : cache) {
        if (o.kind != wanted.kind)
            continue;
        if ((o.kind == CachedObject::Pen && o.pen == wanted.pen) ||
            (o.kind == CachedObject::Brush && o.brush == wanted.brush) ||
            (o.kind == CachedObject::Font && o.font == wanted.font))
            return o.index;
    }
    makeRoom();
    CachedObject made = wanted;
    switch (wanted.kind) {
    case CachedObject::Pen:
        made.index = recorder.createPen(wanted.pen.style, wanted.pen.width, wanted.pen.colour);
        break;
    case CachedObject::Brush:
        made.index =
            recorder.createBrush(wanted.brush.style, wanted.brush.colour, wanted.brush.hatch);
        break;
    case CachedObject::Font:
        made.index = recorder.createFont(wanted.font);
        break;
    }
    cache.push_back(made);
    return made.index;
}

// Objects stay alive for reuse; past a few dozen the oldest one no device context still holds
// (neither the current one nor the one saved under the clip) makes way.
void MetafileContext::makeRoom() {
    constexpr std::size_t limit = 48;
    if (cache.size() < limit)
        return;
    auto held = [this](int index) {
        const bool current = index == dc.pen || index == dc.brush || index == dc.font;
        const bool saved = emittedClip.active && (index == savedDc.pen || index == savedDc.brush ||
                                                  index == savedDc.font);
        return current || saved;
    };
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (!held(it->index)) {
            recorder.deleteObject(it->index);
            cache.erase(it);
            return;
        }
    }
}

void MetafileContext::release() {
    clipTo(WmfClipRect{});
    for (const CachedObject &o : cache)
        recorder.deleteObject(o.index);
    cache.clear();
}
