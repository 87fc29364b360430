#include "ui/error_report.h"

#include <QApplication>
#include <QMessageBox>

QString errorReportText(const QString &text) {
    if (!text.isEmpty() && text.back() > QChar('.'))
        return text + '.';
    return text;
}

void showErrorReport(const QString &text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(),
                    errorReportText(text), QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText); // a file name is shown as it is, never as markup
    box.exec();
}
