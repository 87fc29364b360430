#include "core/standard_values.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>

namespace {

constexpr std::array<int, 24> e24{10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                                  33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};

constexpr std::array<int, 96> e96{
    100, 102, 105, 107, 110, 113, 115, 118, 121, 124, 127, 130, 133, 137, 140, 143,
    147, 150, 154, 158, 162, 165, 169, 174, 178, 182, 187, 191, 196, 200, 205, 210,
    215, 221, 226, 232, 237, 243, 249, 255, 261, 267, 274, 280, 287, 294, 301, 309,
    316, 324, 332, 340, 348, 357, 365, 374, 383, 392, 402, 412, 422, 432, 442, 453,
    464, 475, 487, 499, 511, 523, 536, 549, 562, 576, 590, 604, 619, 634, 649, 665,
    681, 698, 715, 732, 750, 768, 787, 806, 825, 845, 866, 887, 909, 931, 953, 976};

// x·10^n with a single rounding: the powers of ten used here are exact doubles, and dividing by
// one gives, for a whole x, the double nearest the decimal value.
double timesPowerOfTen(double x, int n) {
    const double power = std::pow(10.0, std::abs(n));
    return n >= 0 ? x * power : x / power;
}

} // namespace

std::span<const int> seriesValues(StandardSeries series) {
    if (series == StandardSeries::E24)
        return e24;
    return e96;
}

namespace {

// A series value as the index of its mantissa in the decade table and its power of ten.
struct SeriesStep {
    int index;
    int exponent;
};

SeriesStep nearestStep(StandardSeries series, double value) {
    assert(value > 0 && std::isfinite(value));
    const auto values = seriesValues(series);
    const int first = values.front();

    // value = mantissa·10^exponent with the mantissa in the table's decade; log10 may land one
    // decade off next to a decade edge.
    int exponent = static_cast<int>(std::floor(std::log10(value / first)));
    double mantissa = timesPowerOfTen(value, -exponent);
    if (mantissa < first)
        mantissa = timesPowerOfTen(value, -(--exponent));
    else if (mantissa >= 10.0 * first)
        mantissa = timesPowerOfTen(value, -(++exponent));

    const auto above = std::lower_bound(values.begin(), values.end(), mantissa);
    const auto index = static_cast<int>(above - values.begin());
    if (above != values.end() && *above == mantissa)
        return {index, exponent};
    const double upper = above == values.end() ? 10.0 * first : *above;
    const double lower = *(above - 1);
    // Nearer the upper value on a log scale when upper/m ≤ m/lower. The scaled mantissa carries
    // a rounding, so a value at the geometric mean within it counts as the tie.
    const bool up = upper * lower <= mantissa * mantissa * (1 + 1e-12);
    if (!up)
        return {index - 1, exponent};
    if (above == values.end())
        return {0, exponent + 1};
    return {index, exponent};
}

// The value `steps` places above (below, when negative) a step of the series.
double valueAt(StandardSeries series, SeriesStep step, int steps) {
    const auto values = seriesValues(series);
    const int size = static_cast<int>(values.size());
    const int shifted = step.index + steps;
    const int decades = shifted >= 0 ? shifted / size : -((size - 1 - shifted) / size);
    const int index = shifted - decades * size;
    return timesPowerOfTen(values[static_cast<std::size_t>(index)], step.exponent + decades);
}

} // namespace

double nearestStandardValue(StandardSeries series, double value) {
    return valueAt(series, nearestStep(series, value), 0);
}

std::vector<double> standardValuesAround(StandardSeries series, double value, int steps) {
    const SeriesStep nearest = nearestStep(series, value);
    std::vector<double> around;
    for (int k = -steps; k <= steps; ++k)
        around.push_back(valueAt(series, nearest, k));
    return around;
}
