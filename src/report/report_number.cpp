#include "report/report_number.h"

#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"

std::string formatReportNumber(double value, int width, int decimals) {
    checked(value);

    // The value to 18 significant digits, correctly rounded.
    const DecimalDigits d = decimalDigits(value, 18);
    const std::string &digits = d.digits;
    const int exponent = d.exponent;

    // digits[i] weighs 10^(exponent - i); the last one kept weighs 10^-decimals. Everything is
    // done on the digit string, so no magnitude can overflow.
    const int kept = exponent + 1 + decimals;
    std::string scaled; // |value| · 10^decimals, rounded to an integer
    if (kept >= static_cast<int>(digits.size())) {
        scaled = digits + std::string(static_cast<std::size_t>(kept) - digits.size(), '0');
    } else if (kept < 0) {
        scaled = "0"; // below a tenth of the last place
    } else {
        scaled = "0"; // room for a carry
        scaled.append(digits, 0, static_cast<std::size_t>(kept));
        if (digits[static_cast<std::size_t>(kept)] >= '5') {
            std::size_t i = scaled.size();
            while (scaled[--i] == '9')
                scaled[i] = '0';
            ++scaled[i];
        }
    }

    const auto firstDigit = scaled.find_first_not_of('0');
    scaled.erase(0, firstDigit == std::string::npos ? scaled.size() : firstDigit);
    const auto places = static_cast<std::size_t>(decimals);
    if (scaled.size() < places + 1)
        scaled.insert(0, places + 1 - scaled.size(), '0');

    std::string out = value < 0 ? "-" : "";
    out.append(scaled, 0, scaled.size() - places);
    if (places > 0)
        out.append(".").append(scaled, scaled.size() - places);
    if (static_cast<int>(out.size()) < width)
        out.insert(0, static_cast<std::size_t>(width) - out.size(), ' ');
    return out;
}
