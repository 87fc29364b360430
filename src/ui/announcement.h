#pragma once

class QString;
class QWidget;

// A short word after an action, shown as plain text whatever it holds: a tooltip at the control
// that ran it for a few seconds, and for as long an empty widget in its window that screen
// readers take for a notification, named by the text. Its showing is what a screen reader speaks
// (Orca: "notification <text>"); a change of the control's accessible description would not do,
// as Qt 6.4 reports it over AT-SPI without the new text.
void announce(QWidget *control, const QString &text);
