#include "ui/action_menu.h"

#include "ui/error_report.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>

void copyLines(const std::vector<CopyLine> &lines) {
    QString text;
    for (const CopyLine &line : lines)
        text +=
            line.name + " = " + line.value + (line.unit.isEmpty() ? "" : " " + line.unit) + "\n";
    QApplication::clipboard()->setText(text);
}

ActionMenu::ActionMenu(QMenu &m, const QString &why) : menu(m), missing(why) {
    menu.setToolTipsVisible(true);
    if (!missing.isEmpty()) {
        menu.addAction(missing)->setEnabled(false);
        menu.addSeparator();
    }
}

QAction *ActionMenu::addItem(const QString &text, const QString &whyNot,
                             const std::function<void()> &run) {
    QAction *item = menu.addAction(text, [run] { runHandler(run); });
    const QString reason = missing.isEmpty() ? whyNot : missing;
    if (reason.isEmpty())
        return item;
    item->setEnabled(false);
    item->setToolTip(reason);
    if (missing.isEmpty())
        menu.addAction(reason)->setEnabled(false);
    return item;
}

QAction *ActionMenu::addAlwaysItem(const QString &text, const std::function<void()> &run) {
    return menu.addAction(text, [run] { runHandler(run); });
}

void ActionMenu::startSection() {
    if (started)
        menu.addSeparator();
    started = true;
}

namespace {

// Answers the context-menu requests of one widget with a fresh menu.
class MenuOffer : public QObject {
public:
    MenuOffer(QWidget *widget, std::function<void(QMenu &)> fill)
        : QObject(widget), widget(widget), fill(std::move(fill)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched != widget || event->type() != QEvent::ContextMenu)
            return false;
        const auto *request = static_cast<QContextMenuEvent *>(event);
        auto *menu = new QMenu(widget);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        if (!runHandler([&] { fill(*menu); })) {
            delete menu;
            return true;
        }
        menu->popup(request->reason() == QContextMenuEvent::Mouse
                        ? request->globalPos()
                        : widget->mapToGlobal(widget->rect().bottomLeft()));
        return true;
    }

private:
    QWidget *widget;
    std::function<void(QMenu &)> fill;
};

} // namespace

void offerMenu(QWidget *widget, const std::function<void(QMenu &)> &fill) {
    new MenuOffer(widget, fill);
}

namespace {

// Ctrl+C on a focused label, caught as the key it is: no shortcut object per label at start-up.
class CopyKey : public QObject {
public:
    CopyKey(QLabel *label, std::function<void()> copy)
        : QObject(label), label(label), copy(std::move(copy)) {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched != label || event->type() != QEvent::KeyPress ||
            !static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy))
            return false;
        copy();
        return true;
    }

private:
    QLabel *label;
    std::function<void()> copy;
};

} // namespace

void offerCopy(QLabel *label, const std::function<void()> &copy) {
    label->setFocusPolicy(Qt::ClickFocus);
    new CopyKey(label, copy);
}

QString menuHint(const QStringList &actions) {
    return "Правая кнопка мыши, или Shift+F10 на кнопке «Вычислить»: " + actions.join(", ");
}

void describeMenuButton(QWidget *button, const QStringList &actions) {
    button->setAccessibleDescription("Меню результатов: Shift+F10 или клавиша меню — " +
                                     actions.join(", "));
}
