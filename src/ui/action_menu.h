#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <span>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QWidget;

// What the pages offer beyond the calculation, each only on demand: context menus on the
// results, the schematics and the chart (for the keyboard also on the button that computes the
// results), Ctrl+C on a result label that a click focused, and a tooltip on each result, also its
// description for screen readers, with the value behind the rounded text and how to open the menu.

// One line of copied results, «name = value unit»; the unit left out when there is none.
struct CopyLine {
    QString name;
    QString value;
    QString unit;
};

// The lines as plain text on the clipboard, one a line.
void copyLines(const std::vector<CopyLine> &lines);

// A menu being filled. While its subject has no result (`missing` says why), every item is
// disabled and the reason heads the menu; otherwise an item's own reason disables it and is
// stated under it. A reason is also the disabled item's tooltip. An item runs as a handler does,
// under the default error report.
//
// An item acts on what its menu was filled from: it keeps a copy of the run it was offered for,
// and of the group's number, never a reference into a page, so that what it does is what the
// menu showed.
class ActionMenu {
public:
    ActionMenu(QMenu &menu, const QString &missing);

    QAction *addItem(const QString &text, const QString &whyNot, const std::function<void()> &run);
    // An item that needs no result of the subject (it brings a new one), always enabled.
    QAction *addAlwaysItem(const QString &text, const std::function<void()> &run);
    // Starts the items of the next action, apart from those before it.
    void startSection();

private:
    QMenu &menu;
    QString missing;
    bool started = false;
};

// What an item keeps of the run its menu was filled from: a copy, or an empty run where there is
// none (the item is then disabled).
template <class Run>
Run kept(const Run *run) {
    return run ? *run : Run{};
}

// One action of a page's menus: how the tooltips and the button's description name it, whether it
// is offered for a subject (always, when null), and the items it adds.
template <class Subject>
struct MenuAction {
    const char *hint;
    bool (*offered)(const Subject &subject);
    void (*add)(ActionMenu &menu, const Subject &subject);
};

template <class Subject>
bool isOffered(const MenuAction<Subject> &action, const Subject &subject) {
    return !action.offered || action.offered(subject);
}

// The hints of the actions offered for `subject`.
template <class Subject>
QStringList offeredHints(std::span<const MenuAction<Subject>> actions, const Subject &subject) {
    QStringList hints;
    for (const MenuAction<Subject> &action : actions)
        if (isOffered(action, subject))
            hints << action.hint;
    return hints;
}

// The items of the actions offered for `subject`, each action in a section of its own.
template <class Subject>
void addActions(ActionMenu &menu, std::span<const MenuAction<Subject>> actions,
                const Subject &subject) {
    for (const MenuAction<Subject> &action : actions)
        if (isOffered(action, subject)) {
            menu.startSection();
            action.add(menu, subject);
        }
}

// Opens the menu that `fill` fills on every context-menu request of `widget`: a right-click,
// or Shift+F10 and the menu key while it has the focus (then the menu opens under it). Filling
// runs under the default error report; a menu whose filling failed is not shown.
void offerMenu(QWidget *widget, const std::function<void(QMenu &)> &fill);

// Ctrl+C on `label` once a click has given it the focus; Tab still passes it by.
void offerCopy(QLabel *label, const std::function<void()> &copy);

// The second line of a result's tooltip: how its menu opens, and what it offers.
QString menuHint(const QStringList &actions);

// Tells screen readers that the button opens its results' menu from the keyboard.
void describeMenuButton(QWidget *button, const QStringList &actions);
