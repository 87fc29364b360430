#pragma once

#include <QString>
#include <functional>
#include <initializer_list>

class QLabel;
class QWidget;

// What a screen reader announces for the controls of a page. The captions beside a control become
// its buddies, so the accessibility bridge reports them as the labels of the control. Nothing on
// screen changes: a buddy only shows as an underlined mnemonic, and no caption holds a '&'.

// A field announced by its captions without the closing "=" ("Ку (раз) =" gives "Ку (раз)").
// Null captions are passed over.
void nameField(QWidget *field, std::initializer_list<QLabel *> captions);

// A result announced by its captions and the text it shows at the moment it is read
// ("R1 (кОм) = 6,04"), whichever code sets that text.
void nameResult(QLabel *result, std::initializer_list<QLabel *> captions);

// A result's tooltip, made by `tip` when the pointer rests on the result, and the same text as
// its description when a screen reader asks: both always tell the result as it stands.
void describeResult(QLabel *result, std::function<QString()> tip);
