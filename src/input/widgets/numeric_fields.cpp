#include "input/widgets/numeric_fields.h"

#include "input/widgets/field_keys.h"
#include "ui/classic_look.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <stdexcept>

namespace {

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

} // namespace

NumericFields::NumericFields(LastResults &lastResults, QObject *parent)
    : QObject(parent), last(lastResults) {}

void NumericFields::addGroup(FieldGroup group, std::vector<QLineEdit *> edits,
                             std::vector<QLabel *> results, std::function<void()> alsoOnKeyDown) {
    for (QLineEdit *edit : edits) {
        groupOfEdit[edit] = group;
        edit->installEventFilter(this);
    }
    groups[group] = {std::move(edits), std::move(results), std::move(alsoOnKeyDown)};
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
    if (isEnter(key->key()) && defaultButton && defaultButton->isVisible())
        return false;

    resetOnKeyDown(edit, key->key());
    return filterFieldKey(edit, *key, backspace);
}

void NumericFields::resetOnKeyDown(QLineEdit *edit, int key) {
    backspace = key == Qt::Key_Backspace;
    setFieldColour(edit, clWindow());
    const Group &group = groups.at(groupOfEdit.at(edit));
    for (QLabel *result : group.results)
        result->setText("0");
    emit bannerShown(false);
    if (group.alsoOnKeyDown)
        group.alsoOnKeyDown();
}

void NumericFields::replaceText(QLineEdit *edit, const QString &text) {
    resetOnKeyDown(edit, 0);
    edit->setText(text);
}

void NumericFields::beginRun(FieldGroup group, bool enableSave) {
    if (enableSave)
        emit saveEnabled(true);
    for (QLineEdit *edit : groups.at(group).edits)
        setFieldColour(edit, clWindow());
    emit bannerShown(false);
}

namespace {

// A field as a run's refusal names it: by its captions, «Rн (Ом)».
std::string fieldName(const QLineEdit *edit) {
    return "«" + edit->accessibleName().toStdString() + "»";
}

} // namespace

NumericFields::Outcome NumericFields::checkFields(FieldGroup group, bool rangeFaultDisablesSave) {
    const std::vector<QLineEdit *> &edits = groups.at(group).edits;
    for (QLineEdit *edit : edits)
        if (edit->text().isEmpty())
            return {{}, "поле " + fieldName(edit) + " пусто"}; // silently: the user is still typing
    const auto fields = groupFields(group);
    Outcome outcome;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        const std::optional<double> value =
            checkNumericField(edits[i], fields[i], rangeFaultDisablesSave, outcome.stop);
        if (!value)
            return {{}, outcome.stop};
        outcome.typed.push_back(*value);
    }
    return outcome;
}

// The value as typed when the field passes; otherwise the field is marked and `whyNot` says why.
std::optional<double> NumericFields::checkNumericField(QLineEdit *edit, const FieldSpec &field,
                                                       bool rangeFaultDisablesSave,
                                                       std::string &whyNot) {
    const QString text = edit->text();
    const FieldCheck check = checkFieldText(text.toStdString(), field);
    switch (check.verdict) {
    case FieldVerdict::CommaFault:
        whyNot = "в поле " + fieldName(edit) + " запятая не на месте: «" + text.toStdString() + "»";
        markFaulty(edit);
        return std::nullopt;
    case FieldVerdict::NotANumber:
        throw std::runtime_error(
            QString("'%1' is not a valid floating point value").arg(text).toStdString());
    case FieldVerdict::BelowMin:
    case FieldVerdict::AboveMax:
        // The rejected value is stored all the same; the field shows the bound it broke.
        whyNot = "значение поля " + fieldName(edit) + " «" + text.toStdString() +
                 "» вне диапазона " + field.minText + " … " + field.maxText;
        last.*field.destination = check.value;
        edit->setText(check.verdict == FieldVerdict::BelowMin ? field.minText : field.maxText);
        if (rangeFaultDisablesSave)
            emit saveEnabled(false);
        markFaulty(edit);
        return std::nullopt;
    case FieldVerdict::Accepted:
        last.*field.destination = field.kiloOhm ? check.value * 1000 : check.value;
        return check.value;
    }
    return std::nullopt;
}

void NumericFields::markFaulty(QLineEdit *edit) {
    emit bannerShown(true);
    setFieldColour(edit, clYellow());
    edit->setFocus();
}
