#include "ui/announcement.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

namespace {

constexpr int shownMs = 6000;
constexpr char noticeName[] = "Announcement";

QAccessibleInterface *noticeInterface(const QString &className, QObject *object) {
    if (className != "QWidget" || object->objectName() != noticeName)
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
}

// Made at the window's first word; 0 × 0, so that it paints nothing.
QWidget *notice(QWidget *window) {
    if (auto *made = window->findChild<QWidget *>(noticeName, Qt::FindDirectChildrenOnly))
        return made;
    QAccessible::installFactory(noticeInterface);
    auto *widget = new QWidget(window);
    widget->setObjectName(noticeName);
    widget->setGeometry(0, 0, 0, 0);
    return widget;
}

} // namespace

void announce(QWidget *control, const QString &text) {
    // A tooltip takes markup; the text, folder names and all, is shown as it is.
    QToolTip::showText(control->mapToGlobal(control->rect().center()),
                       Qt::convertFromPlainText(text), control, {}, shownMs);
    QWidget *word = notice(control->window());
    word->hide(); // shown afresh, so that a second word is spoken too
    word->setAccessibleName(text);
    word->show();
    QTimer::singleShot(shownMs, word, [word, text] {
        if (word->accessibleName() == text)
            word->hide();
    });
}
