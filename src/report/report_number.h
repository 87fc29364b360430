#pragma once

#include <string>

// A number of the report file: fixed point with exactly `decimals` digits after a point, halves
// rounded away from zero, right-aligned in `width` characters and never cut when it needs more.
// The value is first taken to 18 significant decimal digits, so 0.125 prints as 0.13 and 1.005
// (stored as 1.00499999999999989…) as 1.00.
//
// A negative value keeps its "-" even when its digits round to zero (-0.001 at two decimals is
// "-0.00": the sign is what says a required resistance is unattainable); zero, -0 included,
// has none. Every finite double is printed in full; NaN and infinities throw ArithmeticFault.
std::string formatReportNumber(double value, int width, int decimals);
