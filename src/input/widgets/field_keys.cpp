#include "input/widgets/field_keys.h"

#include "input/key_filter.h"

#include <QKeyEvent>
#include <QLineEdit>

bool filterFieldKey(QLineEdit *edit, const QKeyEvent &key, bool backspaceDown) {
    // Shortcuts (copy, paste, undo, select all) and keys without a character (arrows, Delete,
    // Home, End) work as in any edit field.
    if (key.modifiers() & Qt::ControlModifier)
        return false;
    const QString text = key.text();
    if (text.isEmpty() || key.key() == Qt::Key_Delete)
        return false;

    const auto typed = numericKeyFilter(text.toUcs4().value(0), backspaceDown);
    if (!typed)
        return true; // dropped
    if (*typed == U',' && text != ",") {
        edit->insert(","); // a typed point
        return true;
    }
    return false;
}

void setFieldColour(QLineEdit *edit, const QColor &colour) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colour);
    edit->setPalette(palette);
}
