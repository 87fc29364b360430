#pragma once

#include "driver_file/wdr_file.h"

#include <QString>
#include <optional>

class QWidget;

// Driver files (.wdr) through the file dialogs, which start in the folder "Сохранить" writes to.

// The driver of the file the open dialog chooses, read whole; none when the dialog is cancelled.
// A file that cannot be used throws the error report's text, naming the file and why.
struct ChosenDriver {
    DriverFile driver;
    QString path; // absolute
};
std::optional<ChosenDriver> chooseDriverFile(QWidget *control);
DriverFile readDriverFile(const QString &path);

// Writes the driver as the save dialog says (all or nothing), offered as «<марка> <модель>.wdr»
// or «Динамик.wdr»; a driver without a name takes the file's as its model. The word after it
// names the file at `control`.
void saveDriverFile(QWidget *control, DriverFile driver);
