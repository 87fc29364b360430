#include "input/numeric_fields.h"

#include "app/classic_look.h"
#include "input/key_filter.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <stdexcept>

namespace {

void setFieldColour(QLineEdit *edit, const QColor &colour) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colour);
    edit->setPalette(palette);
}

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

} // namespace

NumericFields::NumericFields(Controls c, LastResults &lastResults, QObject *parent)
    : QObject(parent), controls(std::move(c)), last(lastResults) {
    for (const FieldSpec &field : fieldTable()) {
        QLineEdit *edit = controls.edits[static_cast<std::size_t>(field.edit)];
        editNumbers[edit] = field.edit;
        edit->installEventFilter(this);
    }
}

bool NumericFields::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *edit = static_cast<QLineEdit *>(watched);
    auto *key = static_cast<QKeyEvent *>(event);

    // Tab moves the focus, and Enter presses the default button while it is shown: neither
    // reaches the field as a key of its own.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    if (isEnter(key->key()) && controls.defaultButton->isVisible())
        return false;

    resetOnKeyDown(edit, key->key());

    // Shortcuts (copy, paste, undo, select all) and keys without a character (arrows, Delete,
    // Home, End) work as in any edit field.
    if (key->modifiers() & Qt::ControlModifier)
        return false;
    const QString text = key->text();
    if (text.isEmpty() || key->key() == Qt::Key_Delete)
        return false;

    const auto typed = numericKeyFilter(text.toUcs4().value(0), backspace);
    if (!typed)
        return true; // dropped
    if (*typed == U',' && text != ",") {
        edit->insert(","); // a typed point
        return true;
    }
    return false;
}

void NumericFields::resetOnKeyDown(QLineEdit *edit, int key) {
    backspace = key == Qt::Key_Backspace;
    setFieldColour(edit, clWindow());
    const FieldGroup group = fieldSpec(editNumbers.at(edit)).group;
    for (const int label : resetLabels(group))
        controls.resultLabels.at(label)->setText("0");
    controls.banner->hide();
    if (group == FieldGroup::Speaker)
        controls.emptyChart();
}

void NumericFields::beginRun(FieldGroup group, bool enableSave) {
    if (enableSave)
        controls.saveButton->setEnabled(true);
    for (const FieldSpec &field : groupFields(group))
        setFieldColour(controls.edits[static_cast<std::size_t>(field.edit)], clWindow());
    controls.banner->hide();
}

bool NumericFields::checkFields(FieldGroup group, bool rangeFaultDisablesSave) {
    const auto fields = groupFields(group);
    for (const FieldSpec &field : fields)
        if (controls.edits[static_cast<std::size_t>(field.edit)]->text().isEmpty())
            return false; // silently: the user is still typing
    for (const FieldSpec &field : fields)
        if (!checkNumericField(controls.edits[static_cast<std::size_t>(field.edit)], field,
                               rangeFaultDisablesSave))
            return false;
    return true;
}

bool NumericFields::checkNumericField(QLineEdit *edit, const FieldSpec &field,
                                      bool rangeFaultDisablesSave) {
    const QString text = edit->text();
    const FieldCheck check = checkFieldText(text.toStdString(), field);
    switch (check.verdict) {
    case FieldVerdict::CommaFault:
        markFaulty(edit);
        return false;
    case FieldVerdict::NotANumber:
        throw std::runtime_error(
            QString("'%1' is not a valid floating point value").arg(text).toStdString());
    case FieldVerdict::BelowMin:
    case FieldVerdict::AboveMax:
        // The rejected value is stored all the same; the field shows the bound it broke.
        last.*field.destination = check.value;
        edit->setText(check.verdict == FieldVerdict::BelowMin ? field.minText : field.maxText);
        if (rangeFaultDisablesSave)
            controls.saveButton->setEnabled(false);
        markFaulty(edit);
        return false;
    case FieldVerdict::Accepted:
        last.*field.destination = field.kiloOhm ? check.value * 1000 : check.value;
        return true;
    }
    return false;
}

void NumericFields::markFaulty(QLineEdit *edit) {
    controls.banner->show();
    setFieldColour(edit, clYellow());
    edit->setFocus();
}
