#pragma once

#include <span>
#include <vector>

// The preferred values of resistors (IEC 60063): each decade divided into 24 or 96 steps that
// are nearly equal on a log scale.
enum class StandardSeries { E24, E96 };

// The values of one decade as whole numbers: 10 … 91 for E24, 100 … 976 for E96.
std::span<const int> seriesValues(StandardSeries series);

// The value of the series nearest to a positive `value`, in the same unit, compared on a log
// scale as the tolerance bands are; a tie goes to the larger value.
double nearestStandardValue(StandardSeries series, double value);

// The values from `steps` places below to `steps` places above the value nearest `value`, in
// ascending order; the steps run on into the neighbouring decades (… 82, 91, 100, 110 …).
std::vector<double> standardValuesAround(StandardSeries series, double value, int steps);
