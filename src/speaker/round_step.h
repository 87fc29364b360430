#pragma once

#include <cmath>

// A value axis's step: 1, 2 or 5 times a power of ten, the smallest such step that cuts `span`
// into at most `parts`.
inline double roundStep(double span, int parts) {
    const double decade = std::pow(10.0, std::floor(std::log10(span / parts)));
    for (const double m : {1.0, 2.0, 5.0})
        if (span / (m * decade) <= parts)
            return m * decade;
    return 10 * decade;
}
