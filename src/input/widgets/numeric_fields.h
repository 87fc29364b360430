#pragma once

#include "core/last_results.h"
#include "input/field_table.h"

#include <QObject>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

// What the 37 input fields share: the keystroke filter, the key-down reset of the group's results
// and the field check that every calculator runs before it computes. The pages hand in their
// fields; the banner "Проверьте ввод !" and "Сохранить" follow the two signals.
class NumericFields : public QObject {
    Q_OBJECT

public:
    NumericFields(LastResults &last, QObject *parent);

    // A group's fields, in check order, and its result labels, which a key-down in one of the
    // fields sets to "0"; `alsoOnKeyDown` runs after that (the loudspeaker page empties its chart).
    void addGroup(FieldGroup group, std::vector<QLineEdit *> edits, std::vector<QLabel *> results,
                  std::function<void()> alsoOnKeyDown = {});

    // Enter presses this button while it is shown, instead of reaching a field.
    void setDefaultButton(QPushButton *button) { defaultButton = button; }

    bool backspaceDown() const { return backspace; }

    // Writes a field as a user typing over its text would: the key-down reaction, then the text.
    void replaceText(QLineEdit *edit, const QString &text);

    // The protocol's opening steps of a run: "Сохранить" enabled (unless the run is the
    // start-up calculation), the group's fields back to the window colour, the banner hidden.
    void beginRun(FieldGroup group, bool enableSave);

    // The outcome of a run's field checks: the values as typed (before the kΩ conversion), in
    // check order, when every field passed; otherwise why the run stopped.
    struct Outcome {
        std::vector<double> typed;
        std::string stop; // «поле «Rн (Ом)» пусто»
        bool passed() const { return stop.empty(); }
    };

    // The empty-field test, then the field check of every field in check order; the fields
    // checked so far are stored in LastResults. A text that is no number throws, so that the
    // error report ends the run.
    Outcome checkFields(FieldGroup group, bool rangeFaultDisablesSave);

signals:
    void bannerShown(bool shown);
    void saveEnabled(bool enabled);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Group {
        std::vector<QLineEdit *> edits;
        std::vector<QLabel *> results;
        std::function<void()> alsoOnKeyDown;
    };

    void resetOnKeyDown(QLineEdit *edit, int key);
    std::optional<double> checkNumericField(QLineEdit *edit, const FieldSpec &field,
                                            bool rangeFaultDisablesSave, std::string &whyNot);
    void markFaulty(QLineEdit *edit);

    LastResults &last;
    std::map<FieldGroup, Group> groups;
    std::map<QObject *, FieldGroup> groupOfEdit;
    QPushButton *defaultButton = nullptr;
    bool backspace = false; // one flag for all fields: the last key-down was Backspace
};
