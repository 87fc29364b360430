#pragma once

#include "core/last_results.h"

#include <span>
#include <string>
#include <string_view>

// The calculator a field belongs to; a group's fields are checked in table order.
enum class FieldGroup {
    InvertingVariant1,    // Edit1–Edit5, Button1
    InvertingVariant2,    // Edit6–Edit10, Button2
    InvertingVariant3,    // Edit11–Edit15, Button3
    NonInvertingVariant1, // Edit16–Edit20, Button4
    NonInvertingVariant2, // Edit21–Edit25, Button5
    NonInvertingVariant3, // Edit26–Edit30, Button6
    Speaker,              // Edit31–Edit37, Button7 and the start-up run
};

struct FieldSpec {
    int edit; // the N of EditN
    FieldGroup group;
    const char *defaultText;
    double min; // both bounds inclusive
    const char *minText;
    double max;
    const char *maxText;
    bool kiloOhm; // typed in kΩ, stored in Ω
    double LastResults::*destination;
};

// All 37 fields, grouped, each group in check order.
std::span<const FieldSpec> fieldTable();
const FieldSpec &fieldSpec(int edit);
std::span<const FieldSpec> groupFields(FieldGroup group);

enum class FieldVerdict {
    CommaFault, // starts with a comma or holds more than one
    NotANumber, // got past the keystroke filter (a paste)
    BelowMin,
    AboveMax,
    Accepted,
};

struct FieldCheck {
    FieldVerdict verdict;
    double value = 0; // as typed, before the kΩ conversion; set from BelowMin on
};

// Whether `text`, written into the field, would pass its check: what a hand-over asks before it
// writes.
bool fieldTakes(const FieldSpec &field, std::string_view text);

// The range a field accepts, in its unit: "0,05 … 1000 кОм".
std::string rangeText(const FieldSpec &field, std::string_view unit);

// The decision part of the field check: comma test, conversion, lower then upper bound.
FieldCheck checkFieldText(std::string_view text, const FieldSpec &field);
// The same for any field with inclusive bounds.
FieldCheck checkNumberText(std::string_view text, double min, double max);
