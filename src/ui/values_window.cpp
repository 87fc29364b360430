#include "ui/values_window.h"

#include "ui/design_widgets.h"
#include "ui/error_report.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

void showValues(QWidget *over, const QString &group, const QStringList &lines) {
    auto *window = new QDialog(over->window(), designWindowFlags);
    setUpWindow(window, "ValuesWindow", "Значения полностью");
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(window);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *text = new QLabel(group + "\n" + lines.join("\n"), window);
    text->setObjectName("Values");
    text->setTextFormat(Qt::PlainText);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(text);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *copy = new QPushButton("Копировать", window);
    copy->setObjectName("CopyButton");
    connectHandler(copy, window, [group, lines] {
        QApplication::clipboard()->setText(group + "\n" + lines.join("\n") + "\n");
    });
    buttons->addWidget(copy);
    auto *close = new QPushButton("Закрыть", window);
    close->setObjectName("CloseButton");
    connectHandler(close, window, [window] { window->close(); });
    buttons->addWidget(close);
    layout->addLayout(buttons);

    window->show();
    window->raise();
    window->activateWindow();
}
