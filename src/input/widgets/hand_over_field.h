#pragma once

#include "input/field_table.h"

#include <functional>
#include <string>

class NumericFields;
class QLineEdit;

// A field that a menu writes a value into, from its own page or from another. The field says
// whether it takes the value by its own check, of the very text it would be given, and the
// writing is what typing over its text would do: so the check and the write cannot part.
class HandOverField {
public:
    HandOverField(NumericFields &fields, QLineEdit *edit, const FieldSpec &tableRow,
                  const char *unit, std::string (*format)(double));

    // The value as the field would be given it.
    std::string text(double value) const { return format(value); }

    // The range the field takes, «0,1 … 200 Ом», when its check would refuse the value; empty
    // when it takes it.
    std::string refusedRange(double value) const;
    // The range it takes, «0,05 … 1000 кОм».
    std::string range() const { return rangeText(*tableRow, unit); }

    void write(double value) const;

private:
    NumericFields *fields;
    QLineEdit *edit;
    const FieldSpec *tableRow;
    const char *unit;
    std::string (*format)(double);
};

// A field on another page that a menu item hands a value to, and the taking: the window shows
// that page, then the field gets the value.
struct HandOver {
    const HandOverField *field = nullptr;
    std::function<void(double)> take;
};

// An output resistance handed to another page, as that page shows it: to 0,001 Ω.
std::string routHandOverText(double ohms);
