#include "project/widgets/save_dialog.h"

#include <QFileDialog>

QString chooseSavePath(QWidget *parent, const QString &title, const QString &offered,
                       const QString &filter, const QString &suffix) {
    QFileDialog dialog(parent, title, {}, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(offered);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}
