#include "core/plain_decimal.h"

#include <charconv>

std::string plainDecimal(double value) {
    // The largest finite double takes 309 digits before the point.
    char buffer[330];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed).ptr;
    return std::string(buffer, end);
}
