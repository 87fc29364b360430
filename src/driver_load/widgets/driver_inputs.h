#pragma once

#include "driver_load/driver_model.h"

#include <QString>
#include <functional>
#include <string>
#include <vector>

class BoundedField;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

// The inputs of the window «Динамик и усилитель»: a field per row of the field table with its
// caption (DriverField1 …), and the choice «Ящик» (BoxChoice) after the first ten, before the
// vented box's fields, which show for the vented box alone. The fields start from the values kept
// for the page. Fb shows the page's Fs, run after run, until the user types a value of their own.
class DriverInputs {
public:
    // `changed` runs on every change of a field's text or of the choice.
    DriverInputs(QWidget *window, DriverLoadInputs &kept, std::function<void()> changed);
    // A field that holds the focus finishes its editing as the window's destructor deletes it,
    // when the window is no longer one to compute anything: no change is signalled from here on.
    ~DriverInputs();

    QGroupBox *box() const { return group; }

    // The page's run taken in: Fb follows its Fs while the user has typed none, without a call of
    // `changed`.
    void follow(const SpeakerRun &run);
    void takeSenseResistor(double ohms);

    // A field's text, and a text put into it as a design gives it: a bound that replaced a value
    // beyond it is marked yellow. The box chosen, and a choice made.
    QString text(std::size_t row) const;
    void setText(std::size_t row, const QString &text, bool clamped);
    BoxKind chosenBox() const;
    void chooseBox(BoxKind box);

    // The inputs as the fields hold them, each value within its range kept for the page. Returns
    // the first field without one, or an Rт not below `run`'s Rвых, which is then marked: why
    // nothing can be computed; empty where all hold. The vented box's fields count only for the
    // vented box.
    std::string read(DriverLoadInputs &inputs, const SpeakerRun *run);

private:
    QLineEdit *fieldOf(double DriverLoadInputs::*destination) const;
    void showBox(BoxKind shown);

    DriverLoadInputs &kept;
    QGroupBox *group = nullptr;
    QComboBox *choice = nullptr;
    std::vector<QLabel *> captions;
    std::vector<QLineEdit *> fields;
    std::vector<BoundedField *> bounded;
    bool senseRefused = false; // the Rт field marked as refused beside the page's Rвых
};
