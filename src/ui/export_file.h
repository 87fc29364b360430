#pragma once

#include <QString>
#include <string_view>

class QWidget;

// A file that leaves the program from a menu: a netlist, an impedance or a level curve.

// Writes `bytes` whole (writeWholeFile) to the file the save dialog chooses, which starts in
// the folder «Сохранить» writes to (dialogFolder()) with `name` offered; then the word after it
// names the file at `control`. Nothing happens when the dialog is cancelled.
void exportFile(QWidget *control, const QString &title, const QString &name, const QString &filter,
                std::string_view bytes);
