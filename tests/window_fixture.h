#pragma once

// What the window tests share: the two windows as the program builds them, typing into a field
// as a user does, and the error report an action opens.

#include "app/unit1.h"
#include "help/widgets/unit2.h"
#include "speaker/widgets/response_chart.h"
#include "speaker/widgets/speaker_page.h"
#include "ui/qt_translations.h"
#include "ui/timage.h"
#include "user_locales.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <functional>
#include <memory>

// A control of the main window by its numbered object name, as the users' tools find it.
template <class Control>
Control *findControl(const QObject *window, const char *kind, int number) {
    const QString name = QString("%1%2").arg(kind).arg(number);
    auto *control = window->findChild<Control *>(name);
    if (!control)
        qFatal("no control %s", qPrintable(name));
    return control;
}
inline QLabel *findLabel(const QObject *window, int n) {
    return findControl<QLabel>(window, "Label", n);
}
inline QPushButton *findButton(const QObject *window, int n) {
    return findControl<QPushButton>(window, "Button", n);
}
inline QLineEdit *findEdit(const QObject *window, int n) {
    return findControl<QLineEdit>(window, "Edit", n);
}
inline QGroupBox *findGroupBox(const QObject *window, int n) {
    return findControl<QGroupBox>(window, "GroupBox", n);
}
inline TImage *findImage(const QObject *window, int n) {
    return findControl<TImage>(window, "Image", n);
}

// Replaces a field's text by typing, as a user who selected it all would.
inline void typeInto(QLineEdit *edit, const QString &text) {
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

// The context menu a right-click on `widget` opens, shown; null when none opens. The click goes
// to the window, which turns it into the context menu event as it does for the platform's.
inline QMenu *rightClickMenu(QWidget *widget) {
    QWidget *window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, {},
                      widget->mapTo(window, widget->rect().center()));
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

// The menu that a key opens on the focused control, pressed through the window as a user does.
inline QMenu *keyMenu(QWidget *focused, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    focused->setFocus();
    QTest::keyClick(focused->window()->windowHandle(), key, modifiers);
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

// The texts of a menu's items, "" for a separator.
inline QStringList itemTexts(const QMenu *menu) {
    QStringList texts;
    for (const QAction *item : menu->actions())
        texts << item->text();
    return texts;
}

// What a label shows, markup rendered, as a screen reader reads it.
inline QString shownText(QWidget *label) {
    return QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
}

// The tooltip on screen as it shows; empty when none is.
inline QString shownToolTip() {
    for (QWidget *tip : QApplication::topLevelWidgets())
        if (tip->objectName() == "qtooltip_label" && tip->isVisible())
            return shownText(tip);
    return {};
}

// The tooltip a control shows when the pointer rests on it.
inline QString restingTip(QWidget *control) {
    const QPoint centre = control->rect().center();
    QHelpEvent rest(QEvent::ToolTip, centre, control->mapToGlobal(centre));
    QApplication::sendEvent(control, &rest);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// What a screen reader hears of a control besides its name.
inline QString accessibleDescription(QObject *control) {
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Description);
}

// The item of `menu` with `text`.
inline QAction *menuItem(const QMenu *menu, const QString &text) {
    for (QAction *item : menu->actions())
        if (item->text() == text)
            return item;
    qFatal("no menu item %s", qPrintable(text));
}

// Chooses an item by a click on it, as a user does.
inline void chooseItem(QMenu *menu, const QString &text) {
    QTest::mouseClick(menu, Qt::LeftButton, {},
                      menu->actionGeometry(menuItem(menu, text)).center());
}

// Runs `action`, answering the file dialog it opens with `path`: the file to save, or the folder
// to choose.
inline void answerFileDialog(const QString &path, const std::function<void()> &action) {
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&path] {
        // Typed into the name field as a user would, once the dialog is up.
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(path);
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides it
        }
    });
    watcher.start(10);
    action();
}

// The text of the error report (or question) that `action` opens, as shown, the box closed again
// by its button `answer`; empty when none.
inline QString errorReportDuring(const std::function<void()> &action,
                                 QMessageBox::StandardButton answer = QMessageBox::Ok) {
    QString text;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&text, answer] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            text = shownText(box->findChild<QLabel *>("qt_msgbox_label"));
            box->button(answer)->click();
        }
    });
    watcher.start(10);
    action();
    return text;
}

// main() of a window test: the application as the program makes it, its settings (the recent
// projects) in a scratch folder rather than the user's, then every slot under C and under each
// comma locale.
template <class Test>
int runWindowTest(int argc, char **argv) {
    const QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    useRussianQtTexts(app);
    return runUnderEachLocale<Test>(argc, argv);
}

// A test class driving the main window, with the help window made but hidden, as at start-up.
class ProgramWindowTest : public QObject {
protected:
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TForm2> help;

    // True when the main window is shown and active, ready for keystrokes.
    bool openWindows() {
        form = std::make_unique<TForm1>();
        help = std::make_unique<TForm2>();
        form->setHelpWindow(help.get());
        form->show();
        form->activateWindow();
        return QTest::qWaitForWindowActive(form.get());
    }

    void closeWindows() {
        help.reset();
        form.reset();
    }

    void showPage(int index) {
        form->PageControl1->setCurrentIndex(index);
        QApplication::processEvents();
    }
    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    // The five fields of a group, from EditN on.
    QStringList fieldTexts(int first) {
        QStringList texts;
        for (int n = first; n < first + 5; ++n)
            texts << edit(n)->text();
        return texts;
    }

    QLineEdit *edit(int n) const { return findEdit(form.get(), n); }
    QLabel *label(int n) const { return findLabel(form.get(), n); }
    QPushButton *button(int n) const { return findButton(form.get(), n); }
    void type(int n, const QString &text) { typeInto(edit(n), text); }
};
