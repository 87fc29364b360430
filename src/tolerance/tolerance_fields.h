#pragma once

#include <span>

// The inputs of the window «Разброс параметров»: the key (also the field's object name), caption,
// default text and the inclusive range, whose bound texts replace a value beyond them. The window
// builds its fields from this table; a project keeps each field's text under its key.
struct ToleranceField {
    const char *key;
    const char *caption;
    const char *defaultText;
    double min;
    const char *minText;
    double max;
    const char *maxText;
};

// In the order of the window's fields: the parts' tolerance, Rт's, the power in the load.
std::span<const ToleranceField> toleranceFields();
