#include "core/decimal_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

std::optional<double> parseDecimalComma(std::string_view text) {
    std::string ascii;
    bool comma = false;
    bool integerDigits = false;
    bool nonZeroIntegerDigit = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            if (!comma) {
                integerDigits = true;
                nonZeroIntegerDigit = nonZeroIntegerDigit || c != '0';
            }
            ascii += c;
        } else if (c == ',' && !comma) {
            comma = true;
            ascii += '.';
        } else {
            return std::nullopt;
        }
    }
    if (!integerDigits)
        return std::nullopt;

    double value = 0;
    const auto [end, error] =
        std::from_chars(ascii.data(), ascii.data() + ascii.size(), value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range)
        // Too small for a double reads as zero; too large is no number.
        return nonZeroIntegerDigit ? std::nullopt : std::optional<double>(0.0);
    if (error != std::errc() || end != ascii.data() + ascii.size())
        return std::nullopt;
    return value;
}

double roundHalfEven(double value, int decimals) {
    // From 2^52 on a double has no fraction to round, and scaling it could overflow to infinity.
    if (std::fabs(value) >= 0x1p52)
        return value;
    const double scale = std::pow(10.0, decimals);
    // nearbyint follows the default rounding mode: to nearest, ties to even.
    return std::nearbyint(value * scale) / scale;
}

DecimalDigits decimalDigits(double value, int significant) {
    // "-d.ddde±x", the point whatever the process locale says (printf would follow it).
    char buffer[48];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                   std::chars_format::scientific, significant - 1)
                         .ptr;
    const std::string text(buffer, end);
    const auto e = text.find('e');
    DecimalDigits d{{}, std::atoi(text.c_str() + e + 1), text[0] == '-'};
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] >= '0' && text[i] <= '9')
            d.digits += text[i];
    return d;
}

std::string formatGeneral(double value) {
    if (value == 0)
        return "0";
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");

    auto [digits, exponent, negative] = decimalDigits(value, 15);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (std::fabs(value) < 1e-5 || exponent >= 15) {
        out += digits[0];
        if (digits.size() > 1)
            out.append(",").append(digits, 1);
        out.append("E").append(std::to_string(exponent));
    } else if (exponent < 0) {
        out.append("0,").append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
    } else {
        const auto integerCount = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerCount)
            out.append(digits).append(integerCount - digits.size(), '0');
        else
            out.append(digits, 0, integerCount).append(",").append(digits, integerCount);
    }
    return out;
}

std::string displayRounded(double value, int decimals) {
    return formatGeneral(roundHalfEven(value, decimals));
}

std::string displayKiloOhms(double ohms) { return formatGeneral(std::nearbyint(ohms / 10) / 100); }

namespace {

// The value correctly rounded to `significant` digits, read back from those digits.
double roundSignificant(double value, int significant) {
    const DecimalDigits d = decimalDigits(value, significant);
    const std::string text = (d.negative ? "-" : "") + d.digits + "e" +
                             std::to_string(d.exponent + 1 - static_cast<int>(d.digits.size()));
    double rounded = 0;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    return rounded;
}

} // namespace

std::string formatSignificant(double value, int significant) {
    if (value == 0 || !std::isfinite(value))
        return formatGeneral(value);
    const auto [digits, exponent, negative] = decimalDigits(value, significant);
    std::string out = negative ? "-" : "";
    if (exponent < 0)
        return out.append("0,").append(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const auto integerCount = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerCount)
        return out.append(digits).append(integerCount - digits.size(), '0');
    return out.append(digits, 0, integerCount).append(",").append(digits, integerCount);
}

std::string resistanceText(double ohms) {
    // The unit follows the rounded value, so 999,96 Ω reads as 1 кОм, not 1000 Ом.
    const double rounded = ohms == 0 || !std::isfinite(ohms) ? ohms : roundSignificant(ohms, 4);
    if (std::fabs(rounded) >= 1e6)
        return formatSignificant(rounded / 1e6, 4) + " МОм";
    if (std::fabs(rounded) >= 1e3)
        return formatSignificant(rounded / 1e3, 4) + " кОм";
    return formatSignificant(rounded, 4) + " Ом";
}

std::string signedFixed(double value, int decimals) {
    const double rounded = roundHalfEven(value, decimals);
    std::string text = formatGeneral(std::fabs(rounded));
    if (decimals > 0) {
        const auto comma = text.find(',');
        if (comma == std::string::npos)
            text += ',';
        const auto places = comma == std::string::npos ? 0 : text.size() - comma - 1;
        text.append(static_cast<std::size_t>(decimals) - places, '0');
    }
    if (rounded == 0)
        return text;
    return (rounded < 0 ? "−" : "+") + text;
}

std::string withMinusSign(std::string text) {
    if (text.starts_with('-'))
        text.replace(0, 1, "−");
    return text;
}
