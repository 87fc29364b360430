#include "input/widgets/bounded_field.h"

#include "input/field_table.h"
#include "input/widgets/field_keys.h"
#include "ui/classic_look.h"

#include <QKeyEvent>
#include <QLineEdit>

BoundedField::BoundedField(QLineEdit *e, Range r) : QObject(e), edit(e), range(r) {
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::editingFinished, this, &BoundedField::clamp);
}

std::optional<double> BoundedField::value() const {
    const FieldCheck check = checkNumberText(edit->text().toStdString(), range.min, range.max);
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
    const FieldCheck check = checkNumberText(edit->text().toStdString(), range.min, range.max);
    if (check.verdict == FieldVerdict::Accepted)
        return;
    if (check.verdict == FieldVerdict::BelowMin)
        edit->setText(range.minText);
    else if (check.verdict == FieldVerdict::AboveMax)
        edit->setText(range.maxText);
    setFieldColour(edit, clYellow());
}
