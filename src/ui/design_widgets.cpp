#include "ui/design_widgets.h"

#include "ui/classic_look.h"
#include "ui/program_icon.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// A control with its text, its numbered name (`kind` N) and its place.
template <class Control>
Control *newControl(QWidget *parent, const char *kind, int number, const QString &text,
                    QRect geometry) {
    auto *control = new Control(text, parent);
    control->setObjectName(QString("%1%2").arg(kind).arg(number));
    control->setGeometry(geometry);
    return control;
}

} // namespace

void setUpWindow(QWidget *window, const char *name, const QString &title) {
    window->setObjectName(name);
    window->setPalette(designPalette());
    window->setWindowTitle(title);
    window->setWindowIcon(programIcon());
}

QLabel *newLabel(QWidget *parent, int number, const QString &text, int x, int y) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString("Label%1").arg(number));
    // Not resized here: Qt fits a control that was never given a size to its contents when it is
    // first shown, so the captions of pages out of view are not measured at start.
    label->move(x, y);
    return label;
}

QLabel *newFixedLabel(QWidget *parent, int number, const QString &text, QRect geometry) {
    return newControl<QLabel>(parent, "Label", number, text, geometry);
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
    auto *button = newControl<QPushButton>(parent, "Button", number, caption, geometry);
    if (bold)
        button->setFont(designFont(16, true));
    return button;
}

// The text is set after the field has its font: given to the constructor, it would be laid out
// again for each font the field is given on the way.
QLineEdit *newEdit(QWidget *parent, int number, const QString &text, QRect geometry) {
    QLineEdit *edit = newControl<QLineEdit>(parent, "Edit", number, QString(), geometry);
    edit->setText(text);
    return edit;
}

QGroupBox *newGroupBox(QWidget *parent, int number, const QString &caption, QRect geometry) {
    return newControl<QGroupBox>(parent, "GroupBox", number, caption, geometry);
}

QLabel *newStatusLabel(QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName("RunStatus");
    label->setWordWrap(true);
    setTextColour(label, Qt::red);
    label->hide();
    return label;
}
