#include "ui/export_file.h"

#include "core/whole_file.h"
#include "ui/announcement.h"
#include "ui/dialog_folder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

void exportFile(QWidget *control, const QString &title, const QString &name, const QString &filter,
                std::string_view bytes) {
    const QString path =
        QFileDialog::getSaveFileName(control, title, QDir(dialogFolder()).filePath(name), filter);
    if (path.isEmpty())
        return;
    writeWholeFile(QFile::encodeName(path).toStdString(), bytes);
    const QFileInfo file(path);
    announce(control, QString::fromStdString(savedNotice(file.absolutePath().toStdString(),
                                                         {file.fileName().toStdString()})));
}
