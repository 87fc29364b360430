#include "ui/design_widgets.h"

#include "ui/classic_look.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLabel *newLabel(QWidget *parent, int number, const QString &text, int x, int y) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString("Label%1").arg(number));
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel *newFixedLabel(QWidget *parent, int number, const QString &text, QRect geometry) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString("Label%1").arg(number));
    label->setGeometry(geometry);
    return label;
}

QLabel *newMessageLabel(QWidget *parent, int number, const QString &text, QRect geometry,
                        bool bold) {
    QLabel *label = newFixedLabel(parent, number, text, geometry);
    label->setFont(designFont(13, bold));
    label->setAlignment(Qt::AlignCenter);
    setTextColour(label, Qt::black);
    setBackgroundColour(label, clYellow());
    label->hide();
    return label;
}

QPushButton *newButton(QWidget *parent, int number, const QString &caption, QRect geometry,
                       bool bold) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString("Button%1").arg(number));
    button->setGeometry(geometry);
    if (bold)
        button->setFont(designFont(16, true));
    return button;
}

QLineEdit *newEdit(QWidget *parent, int number, const QString &text, QRect geometry) {
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QString("Edit%1").arg(number));
    edit->setGeometry(geometry);
    return edit;
}

QGroupBox *newGroupBox(QWidget *parent, int number, const QString &caption, QRect geometry) {
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(QString("GroupBox%1").arg(number));
    box->setGeometry(geometry);
    return box;
}
