#include "input/widgets/bounded_field.h"

#include "input/field_table.h"
#include "input/widgets/field_keys.h"
#include "ui/classic_look.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <limits>
#include <string_view>

namespace {

// The field check, and beyond it what only a paste brings: a number after a minus sign (also
// the true minus sign of the program's texts) is the negative value it reads as, and more digits
// than a double holds lie above any bound. Both are then clamped as typed numbers are.
FieldCheck boundedCheck(std::string_view text, const BoundedField::Range &range) {
    std::string_view number = text;
    bool negative = false;
    for (const std::string_view minus : {"-", "−"})
        if (text.starts_with(minus)) {
            number.remove_prefix(minus.size());
            negative = true;
        }
    constexpr double infinity = std::numeric_limits<double>::infinity();
    FieldCheck check = checkNumberText(number, -infinity, infinity);
    if (check.verdict == FieldVerdict::NotANumber && !number.empty() &&
        number.find_first_not_of("0123456789,") == std::string_view::npos)
        check.value = infinity; // digits with one comma, but too many for a double
    else if (check.verdict != FieldVerdict::Accepted)
        return checkNumberText(text, range.min, range.max);
    const double value = negative ? 0 - check.value : check.value; // "-0" reads as +0
    if (value < range.min)
        return {FieldVerdict::BelowMin, value};
    if (value > range.max)
        return {FieldVerdict::AboveMax, value};
    return {FieldVerdict::Accepted, value};
}

} // namespace

BoundedField::BoundedField(QLineEdit *e, Range r) : QObject(e), edit(e), range(r) {
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::editingFinished, this, &BoundedField::clamp);
}

std::optional<double> BoundedField::value() const {
    const FieldCheck check = boundedCheck(edit->text().toStdString(), range);
    if (check.verdict != FieldVerdict::Accepted)
        return std::nullopt;
    return check.value;
}

bool BoundedField::eventFilter(QObject *watched, QEvent *event) {
    if (watched != edit || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const int code = key->key();
    if (code == Qt::Key_Tab || code == Qt::Key_Backtab || code == Qt::Key_Escape)
        return false;
    setFieldColour(edit, clWindow());
    // Enter reaches the field, which then finishes its editing.
    return code != Qt::Key_Return && code != Qt::Key_Enter &&
           filterFieldKey(edit, *key, code == Qt::Key_Backspace);
}

// A field left holding no value within its range: the bound it broke, if any, and yellow.
void BoundedField::clamp() {
    const FieldCheck check = boundedCheck(edit->text().toStdString(), range);
    if (check.verdict == FieldVerdict::Accepted)
        return;
    if (check.verdict == FieldVerdict::BelowMin)
        edit->setText(range.minText);
    else if (check.verdict == FieldVerdict::AboveMax)
        edit->setText(range.maxText);
    setFieldColour(edit, clYellow());
}
