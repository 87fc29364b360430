#include "input/widgets/hand_over_field.h"

#include "core/decimal_text.h"
#include "input/widgets/numeric_fields.h"

#include <QLineEdit>

HandOverField::HandOverField(NumericFields &f, QLineEdit *e, const FieldSpec &s, const char *u,
                             std::string (*fmt)(double))
    : fields(&f), edit(e), tableRow(&s), unit(u), format(fmt) {}

std::string HandOverField::refusedRange(double value) const {
    return fieldTakes(*tableRow, text(value)) ? std::string() : range();
}

void HandOverField::write(double value) const {
    fields->replaceText(edit, QString::fromStdString(text(value)));
}

std::string routHandOverText(double ohms) { return displayRounded(ohms, 3); }
