#pragma once

#include <algorithm>

// The units a metafile is drawn in. One device pixel is 1/96 inch, as on the screen the widgets
// are laid out for; logical coordinates are finer, in units of 1/unitsPerInch inch, and are
// 16-bit integers.

inline constexpr int wmfPixelsPerInch = 96;
inline constexpr double wmfPointsPerInch = 72; // a font's point size
inline constexpr double wmfMillimetresPerInch = 25.4;
inline constexpr int wmfMaxCoordinate = 32767;

// Of the units per inch placeable readers accept (1440, 720, 360), the finest that still keeps a
// picture `longestPixels` long within 16-bit coordinates.
constexpr int unitsPerInchFor(int longestPixels) {
    constexpr int finest = 1440, coarsest = 360;
    for (int inch = finest; inch > coarsest; inch /= 2)
        if (std::max(longestPixels, 1) * inch / double(wmfPixelsPerInch) <= wmfMaxCoordinate)
            return inch;
    return coarsest;
}
