// Any bytes pasted into any of the 37 fields (the first byte picks the field): the comma test,
// the conversion and the range check must agree with the grammar of a field number (digits with
// at most one decimal comma), read it as the C library does, and never let anything else through
// as a value.

#include "core/decimal_text.h"
#include "input/field_table.h"

#include "comma_locale.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool condition, const char *what, std::string_view text) {
    if (!condition) {
        std::fprintf(stderr, "%s: '%.*s'\n", what, static_cast<int>(text.size()), text.data());
        std::abort();
    }
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// One or more digits, then at most one comma followed by any number of digits.
bool isFieldNumber(std::string_view text) {
    const auto comma = text.find(',');
    const std::string_view integer = text.substr(0, comma);
    const std::string_view fraction =
        comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    return !integer.empty() && std::all_of(integer.begin(), integer.end(), isDigit) &&
           std::all_of(fraction.begin(), fraction.end(), isDigit);
}

// The same number written shortest: no leading zeros in front of the comma, no trailing zeros
// after it, no comma with nothing after it.
std::string shortest(std::string_view number) {
    const auto comma = std::min(number.find(','), number.size());
    std::string integer(number.substr(0, comma));
    std::string fraction(number.substr(std::min(comma + 1, number.size())));
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size() - 1));
    fraction.erase(std::min(fraction.find_last_not_of('0') + 1, fraction.size()));
    return fraction.empty() ? integer : integer + ',' + fraction;
}

// Digits from the first non-zero one to the last non-zero one.
std::size_t significantDigits(std::string_view number) {
    std::string digits(number);
    digits.erase(std::remove(digits.begin(), digits.end(), ','), digits.end());
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? 0 : digits.find_last_not_of('0') + 1 - first;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0)
        return 0;
    const auto fields = fieldTable();
    const FieldSpec &field = fields[data[0] % fields.size()];
    const std::string_view text(reinterpret_cast<const char *>(data + 1), size - 1);

    const FieldCheck check = checkFieldText(text, field);
    const auto value = parseDecimalComma(text);

    if (!isFieldNumber(text)) {
        require(!value, "no field number, yet read as a value", text);
        const bool commaFault =
            text.starts_with(',') || std::count(text.begin(), text.end(), ',') > 1;
        require(check.verdict == (commaFault ? FieldVerdict::CommaFault : FieldVerdict::NotANumber),
                "no field number, yet not refused as one", text);
        return 0;
    }

    // The C library's correctly rounded reading, in the C locale, of the same digits.
    std::string pointText(text);
    std::replace(pointText.begin(), pointText.end(), ',', '.');
    const double reference = readPointText(pointText.c_str());
    if (std::isinf(reference)) {
        require(!value && check.verdict == FieldVerdict::NotANumber,
                "a number beyond the double range was accepted", text);
        return 0;
    }
    // Below the normal range the conversion may give zero instead of a subnormal.
    require(value && (*value == reference || (reference < DBL_MIN && *value == 0)),
            "a field number misread", text);
    require(check.value == *value, "the check holds another value than the conversion", text);

    switch (check.verdict) {
    case FieldVerdict::Accepted: {
        require(std::isfinite(*value) && *value >= field.min && *value <= field.max,
                "accepted outside the field's range", text);
        // The general format gives 15 significant digits, so an input that has no more shows
        // back exactly as typed (the chart legend shows the typed Rвых); a longer one shows
        // rounded in its 15th digit.
        const std::string shown = formatGeneral(*value);
        if (significantDigits(text) <= 15) {
            require(shown == shortest(text), "an accepted value shows other digits", text);
        } else {
            const auto reread = parseDecimalComma(shown);
            require(reread && std::fabs(*reread - *value) <= 5.5e-15 * *value,
                    "an accepted value shows beyond its 15th digit", text);
        }
        break;
    }
    case FieldVerdict::BelowMin:
    case FieldVerdict::AboveMax: {
        const bool below = check.verdict == FieldVerdict::BelowMin;
        require(below ? *value < field.min : *value > field.max, "a range fault inside the range",
                text);
        // The field is then given the bound it broke, which must pass as exactly that bound.
        const FieldCheck bound = checkFieldText(below ? field.minText : field.maxText, field);
        require(bound.verdict == FieldVerdict::Accepted &&
                    bound.value == (below ? field.min : field.max),
                "the bound put into the field does not pass", text);
        break;
    }
    case FieldVerdict::CommaFault:
    case FieldVerdict::NotANumber:
        require(false, "a field number refused", text);
    }
    return 0;
}
