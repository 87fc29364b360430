#include "ui/keyboard_menus.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QWidget>

KeyboardMenus::KeyboardMenus(QObject *parent) : QObject(parent) { qApp->installEventFilter(this); }

bool KeyboardMenus::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool menuKey = key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier;
    const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
    // Only the key as it reaches the focused control, not again as it goes up to the parents,
    // and not while a menu that the platform already opened takes the keys.
    QWidget *focused = QApplication::focusWidget();
    if (!(menuKey || shiftF10) || watched != focused || QApplication::activePopupWidget())
        return false;
    const QPoint at = focused->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, at, focused->mapToGlobal(at),
                              key->modifiers());
    QApplication::sendEvent(focused, &request);
    return false;
}
