#pragma once

#include "amplifier/amplifier_run.h"
#include "core/last_valid_run.h"
#include "speaker/speaker_run.h"
#include "tolerance/spread.h"
#include "ui/following_windows.h"

#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

class BoundedField;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// «Разброс параметров»: how far Rвых, Ку and the loudspeaker's Qtc' of a group's last run stray
// within the part tolerances, and the power the sense resistor takes. A non-modal window of its
// own, made once by the main window, whose fields keep their values from one showing to the next;
// Escape and «Закрыть» close it.
//
// The table follows every change of a field while all three hold values within their ranges, and
// shows no values otherwise. A value out of range is replaced by the bound it broke, and the
// field turns yellow, only when the field is left or Enter is pressed: "1" on the way to "15"
// stays as typed. A field left empty or with a misplaced comma turns yellow as it is. The next
// key-down in the field takes the yellow off.
class ToleranceWindow : public QWidget, public PageFollower {
    Q_OBJECT

public:
    explicit ToleranceWindow(QWidget *parent);
    ~ToleranceWindow() override;

    // Follows a group's record and the loudspeaker page's, from the group's result (which it
    // must have) and the page's when it has one; then shows the window and brings it to the
    // front.
    void showFor(const LastValidRun<AmplifierRun> &group,
                 const LastValidRun<SpeakerRun> &loudspeaker);

    // A record changed: a new result is taken in; where one followed has none now, the window
    // says so and offers no copy until it has one again.
    void follow() override;

    // The fields' texts in the order of toleranceFields(), as a project keeps them; writing one is
    // as typing it: its yellow goes and the table follows.
    QString inputText(std::size_t row) const;
    void setInputText(std::size_t row, const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Inputs {
        Tolerances tolerances;
        double loadWatts;
    };
    std::optional<Inputs> inputs() const;
    void fillTable();
    void copyTable() const;
    void updateCopy();

    std::array<QLineEdit *, 3> fields{};
    std::array<BoundedField *, 3> bounded{};
    QLabel *caption = nullptr;
    QTableWidget *table = nullptr;
    QPushButton *copyButton = nullptr;
    QLabel *status = nullptr; // where a record followed has no result now
    const LastValidRun<AmplifierRun> *group = nullptr;
    const LastValidRun<SpeakerRun> *loudspeakerPage = nullptr;
    std::optional<AmplifierRun> run;
    std::optional<SpeakerRun> speaker;
    std::vector<std::vector<std::string>> cells; // as shown; empty while a field has no value
};
