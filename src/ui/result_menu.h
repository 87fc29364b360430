#pragma once

#include <QString>
#include <functional>
#include <vector>

class QLabel;
class QMenu;

// What a page offers on its result labels: a context menu, and Ctrl+C once a click has given a
// label the focus (Tab still passes them by). Both appear only on demand.

// One line of copied results, «name = value unit»; the unit left out when there is none.
struct CopyLine {
    QString name;
    QString value;
    QString unit;
};

// The line of a caption written as "name (unit) =".
CopyLine captionLine(const QString &caption, const QString &value);

// The lines as plain text on the clipboard, one a line.
void copyLines(const std::vector<CopyLine> &lines);

// Why a group offers nothing while it shows no result of a run of its own (the design-time
// texts, the "0" of a key-down, a run stopped by a field).
inline const QString notComputed = "Нет результата: нажмите «Вычислить»";

// Adds an item that runs `run`; a `whyNot` that is not empty disables it and is its tooltip.
void addMenuItem(QMenu &menu, const QString &text, const QString &whyNot,
                 const std::function<void()> &run);

// Adds a disabled line that states `note` in the menu itself.
void addMenuNote(QMenu &menu, const QString &note);

// Adds «Копировать результаты»; while `missing` says why there is no result, disabled, with
// `missing` stated under it.
void addCopyItem(QMenu &menu, const QString &missing, const std::function<void()> &copy);

// Gives `label` the menu that `fillMenu` fills on a right-click, and `copy` on Ctrl+C.
void offerResults(QLabel *label, const std::function<void()> &copy,
                  const std::function<void(QMenu &)> &fillMenu);
