#include "input/field_table.h"

#include "core/decimal_text.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace {

using G = FieldGroup;
using L = LastResults;

constexpr std::array<FieldSpec, 37> table{{
    // Inverting amplifier
    {1, G::InvertingVariant1, "10", 0.05, "0,05", 1000, "1000", true, &L::r1},
    {2, G::InvertingVariant1, "1", 0.05, "0,05", 1000, "1000", true, &L::roc},
    {3, G::InvertingVariant1, "4", 1, "1", 100, "100", false, &L::rload},
    {4, G::InvertingVariant1, "0,2", 0.05, "0,05", 20, "20", false, &L::rt},
    {5, G::InvertingVariant1, "2,2", 0.1, "0,1", 200, "200", false, &L::rout},
    {6, G::InvertingVariant2, "6,5", 3, "3", 300, "300", false, &L::targetGain},
    {7, G::InvertingVariant2, "1", 0.05, "0,05", 1000, "1000", true, &L::roc},
    {8, G::InvertingVariant2, "4", 1, "1", 100, "100", false, &L::rload},
    {9, G::InvertingVariant2, "0,2", 0.05, "0,05", 20, "20", false, &L::rt},
    {10, G::InvertingVariant2, "2,2", 0.1, "0,1", 200, "200", false, &L::rout},
    {11, G::InvertingVariant3, "10", 0.05, "0,05", 1000, "1000", true, &L::r1},
    {12, G::InvertingVariant3, "1", 0.05, "0,05", 1000, "1000", true, &L::r2},
    {13, G::InvertingVariant3, "1", 0.05, "0,05", 1000, "1000", true, &L::roc},
    {14, G::InvertingVariant3, "4", 1, "1", 100, "100", false, &L::rload},
    {15, G::InvertingVariant3, "0,2", 0.05, "0,05", 20, "20", false, &L::rt},
    // Non-inverting amplifier
    {16, G::NonInvertingVariant1, "20", 0.05, "0,05", 1000, "1000", true, &L::r1},
    {17, G::NonInvertingVariant1, "1", 0.05, "0,05", 1000, "1000", true, &L::roc},
    {18, G::NonInvertingVariant1, "4", 1, "1", 100, "100", false, &L::rload},
    {19, G::NonInvertingVariant1, "0,2", 0.05, "0,05", 20, "20", false, &L::rt},
    {20, G::NonInvertingVariant1, "0,6", 0.1, "0,1", 200, "200", false, &L::rout},
    {21, G::NonInvertingVariant2, "20", 3, "3", 300, "300", false, &L::targetGain},
    {22, G::NonInvertingVariant2, "1", 0.05, "0,05", 1000, "1000", true, &L::roc},
    {23, G::NonInvertingVariant2, "4", 1, "1", 100, "100", false, &L::rload},
    {24, G::NonInvertingVariant2, "0,2", 0.05, "0,05", 20, "20", false, &L::rt},
    {25, G::NonInvertingVariant2, "0,6", 0.1, "0,1", 200, "200", false, &L::rout},
    {26, G::NonInvertingVariant3, "20", 0.05, "0,05", 1000, "1000", true, &L::r1},
    {27, G::NonInvertingVariant3, "10", 0.05, "0,05", 1000, "1000", true, &L::r2},
    {28, G::NonInvertingVariant3, "1", 0.05, "0,05", 1000, "1000", true, &L::roc},
    {29, G::NonInvertingVariant3, "4", 1, "1", 100, "100", false, &L::rload},
    {30, G::NonInvertingVariant3, "0,2", 0.05, "0,05", 20, "20", false, &L::rt},
    // Loudspeaker in a closed box
    {31, G::Speaker, "19", 10, "10", 500, "500", false, &L::fs},
    {32, G::Speaker, "3,4", 1, "1", 100, "100", false, &L::re},
    {33, G::Speaker, "2,63", 0.1, "0,1", 10, "10", false, &L::qms},
    {34, G::Speaker, "0,18", 0.1, "0,1", 10, "10", false, &L::qes},
    {35, G::Speaker, "90", 2, "2", 500, "500", false, &L::vas},
    {36, G::Speaker, "50", 3, "3", 500, "500", false, &L::vb},
    {37, G::Speaker, "6", 0.1, "0,1", 200, "200", false, &L::speakerRout},
}};

} // namespace

std::span<const FieldSpec> fieldTable() { return table; }

const FieldSpec &fieldSpec(int edit) {
    assert(edit >= 1 && edit <= 37);
    // The table lists the fields in the order of their numbers.
    return table[static_cast<std::size_t>(edit - 1)];
}

std::span<const FieldSpec> groupFields(FieldGroup group) {
    const auto first = std::find_if(table.begin(), table.end(),
                                    [group](const FieldSpec &f) { return f.group == group; });
    const auto last =
        std::find_if(first, table.end(), [group](const FieldSpec &f) { return f.group != group; });
    return {first, last};
}

bool fieldTakes(const FieldSpec &field, std::string_view text) {
    return checkFieldText(text, field).verdict == FieldVerdict::Accepted;
}

std::string rangeText(const FieldSpec &field, std::string_view unit) {
    return std::string(field.minText) + " … " + field.maxText + " " + std::string(unit);
}

FieldCheck checkFieldText(std::string_view text, const FieldSpec &field) {
    return checkNumberText(text, field.min, field.max);
}

FieldCheck checkNumberText(std::string_view text, double min, double max) {
    if (text.starts_with(',') || std::count(text.begin(), text.end(), ',') > 1)
        return {FieldVerdict::CommaFault};
    const auto value = parseDecimalComma(text);
    if (!value)
        return {FieldVerdict::NotANumber};
    if (*value < min)
        return {FieldVerdict::BelowMin, *value};
    if (*value > max)
        return {FieldVerdict::AboveMax, *value};
    return {FieldVerdict::Accepted, *value};
}
