// Any double (the first 8 bytes, so NaN, infinities, subnormals, -0 and the extremes all come up)
// through the result-label formats and the report's number format; the next two bytes pick the
// decimals and the report field's width. A finite value must read back close to itself at the
// stated precision; a non-finite one, which the calculators never let through, must not pass for
// a number.

#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"
#include "report/report_number.h"

#include "comma_locale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace {

double input = 0; // for the failure message

void require(bool condition, const char *what, std::string_view text) {
    if (!condition) {
        std::fprintf(stderr, "%s: %.17g gives '%.*s'\n", what, input, static_cast<int>(text.size()),
                     text.data());
        std::abort();
    }
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t countDigits(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return end - from;
}

// Half a unit in the last place rounded to (none for the general format), plus the relative
// error of the digits kept and of reading them back, plus the spacing of the subnormals.
double tolerance(double lastPlace, double relative, double a, double b) {
    return 0.5 * lastPlace * (1 + 1e-12) + relative * std::max(std::fabs(a), std::fabs(b)) +
           std::numeric_limits<double>::denorm_min();
}

// A label text in the general format, -d,dddE-x included: checks its shape and reads it.
double readGeneral(std::string_view text) {
    const std::size_t first = text.starts_with('-') ? 1 : 0;
    const std::size_t integerDigits = countDigits(text, first);
    require(integerDigits == 1 || (integerDigits > 1 && text[first] != '0'),
            "a malformed integer part", text);
    std::size_t i = first + integerDigits;
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == ',') {
        fractionDigits = countDigits(text, i + 1);
        require(fractionDigits > 0 && text[i + fractionDigits] != '0',
                "an empty or zero-padded fraction", text);
        i += 1 + fractionDigits;
    }
    const bool scientific = i < text.size() && text[i] == 'E';
    if (scientific) {
        require(integerDigits == 1 && text[first] != '0', "a malformed mantissa", text);
        i += text.substr(i + 1).starts_with('-') ? 2 : 1;
        const std::size_t exponentDigits = countDigits(text, i);
        require(exponentDigits > 0 && (exponentDigits == 1 || text[i] != '0'),
                "a malformed exponent", text);
        i += exponentDigits;
    }
    require(i == text.size(), "characters after the number", text);

    std::string mantissa(text.substr(0, text.find('E')));
    mantissa.erase(std::remove(mantissa.begin(), mantissa.end(), '-'), mantissa.end());
    mantissa.erase(std::remove(mantissa.begin(), mantissa.end(), ','), mantissa.end());
    mantissa.erase(0, mantissa.find_first_not_of('0'));
    require(mantissa.size() <= 15, "more than 15 significant digits", text);

    std::string c(text);
    std::replace(c.begin(), c.end(), ',', '.');
    const double read = readPointText(c.c_str());
    require(text.starts_with('-') == (read < 0), "a sign other than the number's", text);
    // Scientific below 1e-5 and from 1e15 on, either bound reached by rounding to 15 digits.
    const double magnitude = std::fabs(read);
    require(scientific ? magnitude <= 1e-5 || magnitude >= 1e15
                       : magnitude == 0 || (magnitude >= 1e-5 && magnitude < 1e15),
            "scientific notation out of its range", text);
    return read;
}

// The fraction digits of a label text in fixed notation, or nothing when it is scientific.
std::optional<std::size_t> fixedDecimals(std::string_view text) {
    if (text.find('E') != std::string_view::npos)
        return std::nullopt;
    const auto comma = text.find(',');
    return comma == std::string_view::npos ? 0 : text.size() - comma - 1;
}

void checkLabels(double value, int decimals) {
    const std::string general = formatGeneral(value);
    const std::string rounded = displayRounded(value, decimals);
    const std::string kiloOhms = displayKiloOhms(value);
    if (!std::isfinite(value)) {
        const char *expected = std::isnan(value) ? "NAN" : value > 0 ? "INF" : "-INF";
        for (const std::string &text : {general, rounded, kiloOhms})
            require(text == expected && !parseDecimalComma(text),
                    "a non-finite value not shown as such", text);
        return;
    }

    const double g = readGeneral(general);
    require(std::fabs(g - value) <= tolerance(0, 5.5e-15, g, value), "the general format is off",
            general);

    const double r = readGeneral(rounded);
    require(std::fabs(r - value) <= tolerance(std::pow(10.0, -decimals), 6e-15, r, value),
            "a rounded label is off", rounded);
    require(fixedDecimals(rounded).value_or(0) <= static_cast<std::size_t>(decimals),
            "a rounded label shows more decimals", rounded);

    const double k = readGeneral(kiloOhms);
    require(std::fabs(k - value / 1000) <= tolerance(0.01, 6e-15, k, value / 1000),
            "a kilo-ohm label is off", kiloOhms);
    require(fixedDecimals(kiloOhms).value_or(0) <= 2, "a kilo-ohm label shows more decimals",
            kiloOhms);
}

// "number w.d": right-aligned in at least w characters, exactly d decimals after a point.
void checkReport(double value, int width, int decimals) {
    std::string text;
    try {
        text = formatReportNumber(value, width, decimals);
    } catch (const ArithmeticFault &) {
        require(!std::isfinite(value), "a finite value refused", text);
        return;
    }
    require(std::isfinite(value), "a non-finite value printed", text);
    require(text.size() >= static_cast<std::size_t>(width), "cut to less than its width", text);

    const std::string_view body = std::string_view(text).substr(text.find_first_not_of(' '));
    require(body.size() == text.size() || text.size() == static_cast<std::size_t>(width),
            "padded beyond its width", text);
    std::size_t i = body.starts_with('-') ? 1 : 0;
    require((i == 1) == (value < 0), "sign other than the value's", text);
    const std::size_t integerDigits = countDigits(body, i);
    require(integerDigits > 0 && (integerDigits == 1 || body[i] != '0'), "a malformed integer part",
            text);
    i += integerDigits;
    if (decimals > 0) {
        require(i < body.size() && body[i] == '.' &&
                    countDigits(body, i + 1) == static_cast<std::size_t>(decimals),
                "not exactly its decimals", text);
        i += 1 + static_cast<std::size_t>(decimals);
    }
    require(i == body.size(), "characters after the number", text);

    const double read = readPointText(std::string(body).c_str());
    // The digits come from the value taken to 18 significant digits (relative 5e-18), then
    // rounded to the decimals; reading them back rounds once more.
    require(std::fabs(read - value) <= tolerance(std::pow(10.0, -decimals), 2.5e-16, read, value),
            "a report number is off", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    input = 0;
    std::memcpy(&input, data, std::min(size, sizeof input));
    const int choice = size > 8 ? data[8] : 0;
    const int width = size > 9 ? data[9] % 41 : 4;
    checkLabels(input, choice % 7);
    checkReport(input, width, choice % 21);
    return 0;
}
