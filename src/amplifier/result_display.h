#pragma once

#include "amplifier/network.h"
#include "core/standard_values.h"

#include <array>
#include <string>

// What the two result labels of a "Вариант" group show, and the values behind them.

enum class ResultQuantity { R1, R2, Rout, Gain };

// The results of Variant 1, 2 or 3 in the order of their labels: R2 and Ку, R1 and R2, Rвых
// and Ку.
std::array<ResultQuantity, 2> variantResults(int variant);

// The label's text: R1 and R2 in kΩ with two decimals, Rвых in ohms with two, Ку with one.
std::string resultText(ResultQuantity quantity, double value);

// The value behind the label, four significant digits in the unit that reads best:
// «R2 = 26,50 Ом», «Ку = 20,00».
std::string resultValue(ResultQuantity quantity, double value);

// R1 and R2 of a network in kΩ, each the nearest value of a series; 0 for a part that is not
// positive, which no series holds.
std::array<double, 2> nearestParts(const Network &network, StandardSeries series);
