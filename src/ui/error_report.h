#pragma once

#include <QString>
#include <exception>

// The default error report: an error a handler does not handle itself ends the handler where it
// happened and is shown, as plain text, in a message box with the error icon and one OK button,
// captioned with the application's title. The program then goes on with the state reached.
void showErrorReport(const QString &text);

// The text as the report shows it: a full stop is appended when the last character's code lies
// above that of ".".
QString errorReportText(const QString &text);

// Runs one event handler under the default error report.
template <typename Handler>
void runHandler(Handler &&handler) {
    try {
        handler();
    } catch (const std::exception &error) {
        showErrorReport(QString::fromUtf8(error.what()));
    }
}
