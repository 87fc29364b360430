#pragma once

#include <QAbstractButton>
#include <QString>
#include <exception>

// The default error report: an error a handler does not handle itself ends the handler where it
// happened and is shown, as plain text, in a message box with the error icon and one OK button,
// captioned with the application's title. The program then goes on with the state reached.
void showErrorReport(const QString &text);

// The text as the report shows it: a full stop is appended when the last character's code lies
// above that of ".".
QString errorReportText(const QString &text);

// Runs one event handler under the default error report: every click, menu item, menu filling,
// tooltip and event filter of the program runs through here, so that no exception reaches Qt's
// event loop. False when the handler ended with an error.
template <typename Handler>
bool runHandler(Handler &&handler) {
    try {
        handler();
        return true;
    } catch (const std::exception &error) {
        showErrorReport(QString::fromUtf8(error.what()));
        return false;
    }
}

// The one way a button is wired to its handler: every click runs it under the error report.
template <typename Handler>
void connectHandler(QAbstractButton *button, QObject *context, Handler handler) {
    QObject::connect(button, &QAbstractButton::clicked, context,
                     [handler] { runHandler(handler); });
}
