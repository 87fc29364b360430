#include "ui/result_menu.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QShortcut>

CopyLine captionLine(const QString &caption, const QString &value) {
    static const QRegularExpression pattern(R"(^(.*) \((.*)\) =$)");
    const QRegularExpressionMatch match = pattern.match(caption);
    return {match.captured(1), value, match.captured(2)};
}

void copyLines(const std::vector<CopyLine> &lines) {
    QString text;
    for (const CopyLine &line : lines)
        text +=
            line.name + " = " + line.value + (line.unit.isEmpty() ? "" : " " + line.unit) + "\n";
    QApplication::clipboard()->setText(text);
}

void addMenuItem(QMenu &menu, const QString &text, const QString &whyNot,
                 const std::function<void()> &run) {
    QAction *item = menu.addAction(text, run);
    if (!whyNot.isEmpty()) {
        item->setEnabled(false);
        item->setToolTip(whyNot);
    }
}

void addMenuNote(QMenu &menu, const QString &note) { menu.addAction(note)->setEnabled(false); }

void addCopyItem(QMenu &menu, const QString &missing, const std::function<void()> &copy) {
    addMenuItem(menu, "Копировать результаты", missing, copy);
    if (!missing.isEmpty())
        addMenuNote(menu, missing);
}

void offerResults(QLabel *label, const std::function<void()> &copy,
                  const std::function<void(QMenu &)> &fillMenu) {
    label->setFocusPolicy(Qt::ClickFocus);
    auto *shortcut = new QShortcut(QKeySequence::Copy, label);
    shortcut->setContext(Qt::WidgetShortcut);
    QObject::connect(shortcut, &QShortcut::activated, label, copy);

    label->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(label, &QWidget::customContextMenuRequested, label,
                     [label, fillMenu](const QPoint &position) {
                         auto *menu = new QMenu(label);
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         menu->setToolTipsVisible(true);
                         fillMenu(*menu);
                         menu->popup(label->mapToGlobal(position));
                     });
}
