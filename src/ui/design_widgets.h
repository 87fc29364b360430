#pragma once

#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The windows' frame: a title bar with the system menu and the close button only.
inline constexpr Qt::WindowFlags designWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint;

// A window as the design shows it: its name, its title, the program's icon, and the design's
// palette, so that the desktop's theme stays outside.
void setUpWindow(QWidget *window, const char *name, const QString &title);

// Controls made as the design places them, each under its numbered object name (LabelN, EditN,
// ButtonN, GroupBoxN), which users' tools and the tests find them by.

// A caption label at (x, y), as large as its text.
QLabel *newLabel(QWidget *parent, int number, const QString &text, int x, int y);
// A label of fixed size, as the result and message labels are.
QLabel *newFixedLabel(QWidget *parent, int number, const QString &text, QRect geometry);
// A label on the yellow of the design's messages and banner.
QLabel *newMessageLabel(QWidget *parent, int number, const QString &text, QRect geometry,
                        bool bold);
QPushButton *newButton(QWidget *parent, int number, const QString &caption, QRect geometry,
                       bool bold);
QLineEdit *newEdit(QWidget *parent, int number, const QString &text, QRect geometry);
QGroupBox *newGroupBox(QWidget *parent, int number, const QString &caption, QRect geometry);

// The red line of a window of its own ("RunStatus") that says why it offers nothing now; hidden
// until then, and wrapped to the window's width.
QLabel *newStatusLabel(QWidget *parent);
