#pragma once

class QColor;
class QKeyEvent;
class QLineEdit;

// What every numeric field does on its own, in the main window and elsewhere.

// The keystroke filter (numericKeyFilter) applied to a key press in `edit`. True when the key
// was dealt with here: dropped, or a typed point inserted as a comma. Shortcuts and keys without
// a character are left to the field.
bool filterFieldKey(QLineEdit *edit, const QKeyEvent &key, bool backspaceDown);

// The field's background: the window colour, or yellow for a refused input.
void setFieldColour(QLineEdit *edit, const QColor &colour);
