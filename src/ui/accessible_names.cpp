#include "ui/accessible_names.h"

#include "ui/error_report.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

namespace {

void makeBuddies(QWidget *control, std::initializer_list<QLabel *> captions) {
    for (QLabel *caption : captions)
        if (caption)
            caption->setBuddy(control);
}

// The captions whose buddy the control is, in the order they were made, joined by commas and
// without the closing "=": "Исходная добротность колонки, Qtc".
QString captionsOf(const QWidget *control) {
    QStringList texts;
    for (QObject *sibling : control->parentWidget()->children())
        if (auto *label = qobject_cast<QLabel *>(sibling); label && label->buddy() == control)
            texts.append(label->text());
    QString text = texts.join(", ");
    if (text.endsWith(" ="))
        text.chop(2);
    return text;
}

// The tooltip of a result, made when asked for.
class ResultTip : public QObject {
public:
    ResultTip(QLabel *result, std::function<QString()> tip)
        : QObject(result), text(std::move(tip)), result(result) {
        result->installEventFilter(this);
    }

    std::function<QString()> text;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched != result || event->type() != QEvent::ToolTip)
            return false;
        const QPoint at = static_cast<QHelpEvent *>(event)->globalPos();
        runHandler([&] { QToolTip::showText(at, text(), result); });
        return true;
    }

private:
    QLabel *result;
};

// A screen reader's question is no place for a message box: a fault in making the text is read
// out in its place.
QString described(const ResultTip &tip) {
    try {
        return tip.text();
    } catch (const std::exception &error) {
        return errorReportText(QString::fromUtf8(error.what()));
    }
}

// A result label read out as "caption = value". Its name is made when asked for, and QLabel
// announces every change of its text as a change of the name, so readers follow the results.
class ResultAccessible : public QAccessibleWidget {
public:
    explicit ResultAccessible(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return captionsOf(widget()) + " = " + static_cast<const QLabel *>(widget())->text();
        if (kind == QAccessible::Description)
            for (const QObject *child : widget()->children()) // ResultTip has no meta-object
                if (const auto *tip = dynamic_cast<const ResultTip *>(child))
                    return described(*tip);
        return QAccessibleWidget::text(kind);
    }
};

// Results are the labels that other labels name; every other label keeps Qt's own interface.
QAccessibleInterface *resultInterface(const QString &className, QObject *object) {
    auto *label = qobject_cast<QLabel *>(object);
    if (className != QLatin1String("QLabel") || !label || !label->parentWidget())
        return nullptr;
    for (QObject *sibling : label->parentWidget()->children())
        if (auto *caption = qobject_cast<QLabel *>(sibling); caption && caption->buddy() == label)
            return new ResultAccessible(label);
    return nullptr;
}

} // namespace

void nameField(QWidget *field, std::initializer_list<QLabel *> captions) {
    makeBuddies(field, captions);
    field->setAccessibleName(captionsOf(field));
}

void nameResult(QLabel *result, std::initializer_list<QLabel *> captions) {
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(resultInterface);
        return true;
    }();
    makeBuddies(result, captions);
    // Qt made the label's plain interface as soon as the label got its text; drop it, so that
    // the next query builds the result's own.
    QAccessible::deleteAccessibleInterface(
        QAccessible::uniqueId(QAccessible::queryAccessibleInterface(result)));
}

void describeResult(QLabel *result, std::function<QString()> tip) {
    new ResultTip(result, std::move(tip));
}
