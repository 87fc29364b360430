#pragma once

#include "project/design_record.h"

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QMenu;
class QPushButton;
class QWidget;

// The design as a project file (.ooscalc), all on demand: Ctrl+S «Сохранить проект…», Ctrl+Shift+S
// «Сохранить проект как…», Ctrl+O «Открыть проект…», a note, and up to eight recent projects in
// the menu of "Сохранить" (right click, Shift+F10, the menu key), whose tooltip names the keys;
// a project file dropped on the window opens. Once a project is open or saved the window's title
// adds its name, and a mark while the inputs differ from the file's; leaving such changes (closing,
// opening another) asks first. Without a project the title stays the window's own.
class ProjectFiles : public QObject {
    Q_OBJECT

public:
    // What the project works on, given by the main window: the window (its title, its drops),
    // "Сохранить", the design on screen and the opening of one, which must succeed.
    struct Given {
        QWidget *window;
        QPushButton *button;
        std::function<DesignRecord()> current;
        std::function<void(const DesignRecord &design)> open;
    };
    explicit ProjectFiles(Given given);

    // Ctrl+S, Ctrl+Shift+S and Ctrl+O in a window of the design (the main window and those of
    // its own).
    void offerKeys(QWidget *window);

    // The design on screen with the project's note.
    DesignRecord current() const;

    // Opens the file, or throws the error report's text naming it and why it cannot be used,
    // with nothing on screen changed.
    void open(const QString &file);

    // Asks whether to save changes the open project would lose: true to go on.
    bool mayDiscardChanges();

    // The inputs may have changed: the title's mark follows.
    void designChanged();

    void fillMenu(QMenu &menu);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Keyed {
        const char *text;
        QKeySequence key;
        std::function<void()> run;
    };
    std::array<Keyed, 3> keyed();
    bool save(bool choose);
    void chooseAndOpen();
    void editNote();
    void updateTitle();

    Given given;
    const QString title; // the window's own
    QString path;        // the open project, absolute; empty while there is none
    DesignRecord saved;  // as the file holds it
    std::string note;
};
