#pragma once

#include "app/last_results.h"
#include "input/field_table.h"

#include <QObject>
#include <array>
#include <functional>
#include <map>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// What the 37 input fields share: the keystroke filter, the key-down reset of the group's results
// and the field check that every calculator runs before it computes.
class NumericFields : public QObject {
    Q_OBJECT

public:
    struct Controls {
        const std::array<QLineEdit *, 38> &edits;
        QLabel *banner;
        QPushButton *saveButton;
        QPushButton *defaultButton;           // pressed by Enter while it is shown
        std::map<int, QLabel *> resultLabels; // by the N of LabelN
        std::function<void()> emptyChart;     // empties Series2, then Series1
    };

    NumericFields(Controls controls, LastResults &last, QObject *parent);

    bool backspaceDown() const { return backspace; }

    // The protocol's opening steps of a run: "Сохранить" enabled (unless the run is the
    // start-up calculation), the group's fields back to the window colour, the banner hidden.
    void beginRun(FieldGroup group, bool enableSave);

    // The empty-field test, then the field check of every field in check order. False when the
    // run has to stop; the fields checked so far are stored in LastResults. A text that is no
    // number throws, so that the error report ends the run.
    bool checkFields(FieldGroup group, bool rangeFaultDisablesSave);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void resetOnKeyDown(QLineEdit *edit, int key);
    bool checkNumericField(QLineEdit *edit, const FieldSpec &field, bool rangeFaultDisablesSave);
    void markFaulty(QLineEdit *edit);

    Controls controls;
    LastResults &last;
    std::map<QObject *, int> editNumbers;
    bool backspace = false; // one flag for all fields: the last key-down was Backspace
};
