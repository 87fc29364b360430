#pragma once

#include <QObject>

// Shift+F10 and the menu key open the context menu of the focused control, in every window of
// the application while this object lives. The request goes to the control as the platform's
// own would (X11 sends one for the menu key itself, and then the key goes to the open menu); the
// key still reaches the control afterwards, so a field takes it as any other key-down.
class KeyboardMenus : public QObject {
    Q_OBJECT

public:
    explicit KeyboardMenus(QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
