#pragma once

#include <QObject>
#include <optional>

class QLineEdit;

// A numeric field of a window of its own (the spread, the loudspeaker as load), with an inclusive
// range: the program's keystroke filter, and Enter finishes the editing. A value out of range is
// replaced by the bound it broke, and the field turns yellow, only when the field is left or Enter
// is pressed: "1" on the way to "15" stays as typed; so is a pasted one, negative or with more
// digits than a double holds. A field left empty, with a misplaced comma or with no number
// turns yellow as it is. The next key-down in the field takes the yellow off.
class BoundedField : public QObject {
public:
    struct Range {
        double min;
        const char *minText;
        double max;
        const char *maxText;
    };

    // Made a child of `edit`, which it serves as long as the field lives.
    BoundedField(QLineEdit *edit, Range range);

    // The value, while the text is a number within the range.
    std::optional<double> value() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void clamp();

    QLineEdit *edit;
    Range range;
};
