#pragma once

#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

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
