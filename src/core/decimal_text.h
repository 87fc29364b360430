#pragma once

#include <optional>
#include <string>
#include <string_view>

// Numbers as the window shows them: decimal comma, whatever the locale.

// Reads a field text: digits with at most one decimal comma ("5," reads as 5). Anything else
// (signs, exponents, spaces, points, a value beyond the double range) is not a number.
std::optional<double> parseDecimalComma(std::string_view text);

// A finite value's digits, correctly rounded to `significant` digits: digits[0] weighs
// 10^exponent.
struct DecimalDigits {
    std::string digits;
    int exponent;
    bool negative;
};
DecimalDigits decimalDigits(double value, int significant);

// Multiplies by 10^decimals, rounds to the nearest integer with halves to even, divides back.
// Done in floating point, so no value can overflow an integer conversion; a value from 2^52 on
// is whole already and comes back as it is.
double roundHalfEven(double value, int decimals);

// The general number format: at most 15 significant digits, no trailing zeros, no separator
// when none is needed, no thousands separator, decimal comma; scientific only below 1e-5 or
// from 1e15 on. Zero (also -0) shows as "0"; NaN and infinities, which the calculators never let
// through, show as "NAN", "INF" and "-INF".
std::string formatGeneral(double value);

// A result label: the value rounded to `decimals` places, then in the general format.
std::string displayRounded(double value, int decimals);

// A value to exactly `significant` digits, trailing zeros kept to state the precision, decimal
// comma: 26.502 at four shows as 26,50, 0.7 as 0,7000, 12346 as 12350.
std::string formatSignificant(double value, int significant);

// A resistance to four significant digits in the unit that reads best: "26,52 Ом", "10 кОм",
// "1,2 МОм".
std::string resistanceText(double ohms);

// A resistance in ohms shown in kilo-ohms with two decimals. Rounded from R/10 so that an exact
// 10 075 Ω lands on the tie 1007.5 (shown 10,08), which R/1000·100 would miss.
std::string displayKiloOhms(double ohms);

// A signed value with exactly `decimals` places, rounded as displayRounded rounds: "+1,60",
// "−0,40" with the true minus sign (U+2212). A value that rounds to zero shows unsigned, "0,00".
std::string signedFixed(double value, int decimals);

// A number text with the true minus sign (U+2212) in place of a leading hyphen, for prose.
std::string withMinusSign(std::string text);
