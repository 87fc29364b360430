#include "project/widgets/driver_files.h"

#include "core/read_file.h"
#include "core/whole_file.h"
#include "project/widgets/save_dialog.h"
#include "ui/announcement.h"
#include "ui/dialog_folder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <stdexcept>

namespace {

const QString filter = "Файлы динамиков (*.wdr);;Все файлы (*)";

} // namespace

DriverFile readDriverFile(const QString &path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    const FileRead read = readFileUpTo(QFile::encodeName(full).toStdString(), driverFileLimit);
    DriverFileRead driver =
        read.whyNot.empty() ? readWdr(read.bytes) : DriverFileRead{std::nullopt, read.whyNot};
    if (!driver.driver)
        throw std::runtime_error("Не удалось загрузить динамик из «" + full.toStdString() +
                                 "»: " + driver.whyNot);
    return std::move(*driver.driver);
}

std::optional<ChosenDriver> chooseDriverFile(QWidget *control) {
    const QString path =
        QFileDialog::getOpenFileName(control, "Загрузить динамик", dialogFolder(), filter);
    if (path.isEmpty())
        return std::nullopt;
    return ChosenDriver{readDriverFile(path), QFileInfo(path).absoluteFilePath()};
}

void saveDriverFile(QWidget *control, DriverFile driver) {
    QString name =
        QString::fromStdString(driver.brand + (driver.brand.empty() ? "" : " ") + driver.model)
            .trimmed()
            .replace('/', '_');
    if (name.isEmpty())
        name = "Динамик";
    const QString path = chooseSavePath(
        control, "Сохранить динамик", QDir(dialogFolder()).filePath(name + ".wdr"), filter, "wdr");
    if (path.isEmpty())
        return;
    const QFileInfo file(path);
    if (driver.brand.empty() && driver.model.empty())
        driver.model = file.completeBaseName().toStdString();
    writeWholeFile(QFile::encodeName(path).toStdString(), wdrText(driver));
    announce(control, QString::fromStdString(savedNotice(file.absolutePath().toStdString(),
                                                         {file.fileName().toStdString()})));
}
