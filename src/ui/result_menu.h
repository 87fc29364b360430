#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QWidget;

// What a page offers on its results beyond the calculation, each only on demand: a context menu
// on the result labels and, for the keyboard, on the button that computes them; Ctrl+C on a
// result label that a click focused; and a tooltip on each result, also its description for
// screen readers, with the value behind the rounded text and how to open the menu.

// One line of copied results, «name = value unit»; the unit left out when there is none.
struct CopyLine {
    QString name;
    QString value;
    QString unit;
};

// The line of a caption written as "name (unit) =" or "name =".
CopyLine captionLine(const QString &caption, const QString &value);

// The lines as plain text on the clipboard, one a line.
void copyLines(const std::vector<CopyLine> &lines);

// A result menu being filled. While the group has no result (`missing` says why), every item is
// disabled and the reason heads the menu; otherwise an item's own reason disables it and is
// stated under it. A reason is also the disabled item's tooltip. An item runs as a handler does,
// under the default error report.
class ResultMenu {
public:
    ResultMenu(QMenu &menu, const QString &missing);

    QAction *addItem(const QString &text, const QString &whyNot, const std::function<void()> &run);
    // Starts the items of the next action, apart from those before it.
    void startSection();

private:
    QMenu &menu;
    QString missing;
    bool started = false;
};

// Opens the menu that `fill` fills on every context-menu request of `widget`: a right-click,
// or Shift+F10 and the menu key while it has the focus (then the menu opens under it).
void offerMenu(QWidget *widget, const std::function<void(QMenu &)> &fill);

// Ctrl+C on `label` once a click has given it the focus; Tab still passes it by.
void offerCopy(QLabel *label, const std::function<void()> &copy);

// The second line of a result's tooltip: how its menu opens, and what it offers.
QString menuHint(const QStringList &actions);

// Tells screen readers that the button opens its results' menu from the keyboard.
void describeMenuButton(QWidget *button, const QStringList &actions);
