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
    box.exec();
}
