#pragma once

#include <string>

// A number for other programs to read: fixed point with a decimal point whatever the locale, no
// exponent, and the fewest digits that read back as the same double ("0.2", "1000000",
// "-23.228711985303372").
std::string plainDecimal(double value);
