#include "project/widgets/project_files.h"

#include "core/read_file.h"
#include "core/whole_file.h"
#include "project/project_text.h"
#include "project/widgets/project_reader.h"
#include "project/widgets/recent_projects.h"
#include "project/widgets/save_dialog.h"
#include "ui/action_menu.h"
#include "ui/announcement.h"
#include "ui/dialog_folder.h"
#include "ui/error_report.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <stdexcept>

namespace {

const QString filter = "Проекты ooscalc (*.ooscalc);;Все файлы (*)";

// The one local file a drag carries, if it carries exactly one.
QString droppedFile(const QMimeData *data) {
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

} // namespace

ProjectFiles::ProjectFiles(Given g)
    : QObject(g.window), given(std::move(g)), title(given.window->windowTitle()) {
    offerKeys(given.window);
    offerMenu(given.button, [this](QMenu &menu) { fillMenu(menu); });
    given.button->setToolTip(
        "Сохранить: отчёт и рисунки в папку, из которой запущена программа.\nПравая кнопка мыши, "
        "Shift+F10 или F10 (также пока кнопка недоступна): проекты — Ctrl+S сохранить проект, "
        "Ctrl+Shift+S сохранить как, Ctrl+O открыть, недавние проекты; файл проекта можно "
        "перетащить на окно.");
    given.button->setAccessibleDescription(given.button->toolTip());
    given.window->setAcceptDrops(true);
    qApp->installEventFilter(this);
}

// The menu's items that have keys, and their keys.
std::array<ProjectFiles::Keyed, 3> ProjectFiles::keyed() {
    return {{{"Сохранить проект…", Qt::CTRL | Qt::Key_S, [this] { save(false); }},
             {"Сохранить проект как…", Qt::CTRL | Qt::SHIFT | Qt::Key_S, [this] { save(true); }},
             {"Открыть проект…", Qt::CTRL | Qt::Key_O, [this] { chooseAndOpen(); }}}};
}

void ProjectFiles::offerKeys(QWidget *window) {
    for (const Keyed &item : keyed())
        connect(new QShortcut(item.key, window), &QShortcut::activated, this,
                [run = item.run] { runHandler(run); });
    // The menu from the keyboard also while "Сохранить", disabled until a first calculation,
    // cannot take the focus that Shift+F10 needs.
    connect(new QShortcut(Qt::Key_F10, window), &QShortcut::activated, this, [this] {
        const QPoint at = given.button->rect().center();
        QContextMenuEvent request(QContextMenuEvent::Keyboard, at, given.button->mapToGlobal(at));
        QApplication::sendEvent(given.button, &request);
    });
}

DesignRecord ProjectFiles::current() const {
    DesignRecord design = given.current();
    design.note = note;
    return design;
}

void ProjectFiles::fillMenu(QMenu &menu) {
    ActionMenu items(menu, {});
    items.startSection();
    for (const Keyed &keyedItem : keyed()) {
        QAction *item = items.addItem(keyedItem.text, {}, keyedItem.run);
        item->setShortcut(keyedItem.key);
        item->setShortcutVisibleInContextMenu(true);
    }
    items.addItem("Заметка к проекту…", {}, [this] { editNote(); });
    const QStringList recent = recentProjects();
    if (recent.isEmpty())
        return;
    items.startSection();
    for (const QString &file : recent)
        items.addItem(QDir::toNativeSeparators(file).replace('&', "&&"), {}, [this, file] {
            if (mayDiscardChanges())
                open(file);
        });
}

// Ctrl+S writes the open project in place; the first time, and «как…» always, the dialog asks
// where, offering «Проект.ooscalc» or the open project's name in the folder "Сохранить" writes to.
bool ProjectFiles::save(bool choose) {
    const DesignRecord design = current();
    if (const std::string fault = designFault(design); !fault.empty())
        throw std::runtime_error("Проект не сохранён: " + fault);
    QString target = path;
    if (choose || target.isEmpty()) {
        const QString offered =
            QDir(dialogFolder())
                .filePath(path.isEmpty() ? "Проект.ooscalc" : QFileInfo(path).fileName());
        target = chooseSavePath(given.window, "Сохранить проект", offered, filter,
                                QString::fromUtf8(projectSuffix.data(), projectSuffix.size()));
        if (target.isEmpty())
            return false;
    }
    writeWholeFile(QFile::encodeName(target).toStdString(), projectText(design));
    const QFileInfo file(target);
    path = file.absoluteFilePath();
    saved = design;
    rememberProject(path);
    updateTitle();
    announce(given.button, QString::fromStdString(savedNotice(file.absolutePath().toStdString(),
                                                              {file.fileName().toStdString()})));
    return true;
}

void ProjectFiles::chooseAndOpen() {
    if (!mayDiscardChanges())
        return;
    const QString file =
        QFileDialog::getOpenFileName(given.window, "Открыть проект", dialogFolder(), filter);
    if (!file.isEmpty())
        open(file);
}

void ProjectFiles::open(const QString &file) {
    const QString full = QFileInfo(file).absoluteFilePath();
    const FileRead read = readFileUpTo(QFile::encodeName(full).toStdString(), projectFileLimit);
    const ProjectRead project =
        read.whyNot.empty() ? readProject(read.bytes) : ProjectRead{std::nullopt, read.whyNot};
    if (!project.design)
        throw std::runtime_error("Не удалось открыть проект «" + full.toStdString() +
                                 "»: " + project.whyNot);
    note = project.design->note;
    given.open(*project.design);
    path = full;
    saved = *project.design;
    rememberProject(path);
    updateTitle();
}

bool ProjectFiles::mayDiscardChanges() {
    if (path.isEmpty() || sameInputs(current(), saved))
        return true;
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(),
                    "Сохранить изменения в «" + QFileInfo(path).fileName() + "»?",
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, given.window);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Save)->setText("Сохранить");
    box.button(QMessageBox::Discard)->setText("Не сохранять");
    box.button(QMessageBox::Cancel)->setText("Отмена");
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save: {
        bool saving = false;
        return runHandler([&] { saving = save(false); }) && saving;
    }
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void ProjectFiles::designChanged() {
    if (!path.isEmpty())
        updateTitle();
}

void ProjectFiles::editNote() {
    bool ok = false;
    const QString text = QInputDialog::getMultiLineText(
        given.window, "Заметка к проекту",
        "Заметка, которую проект хранит вместе с расчётом:", QString::fromStdString(note), &ok);
    if (ok) {
        note = text.toStdString();
        designChanged();
    }
}

void ProjectFiles::updateTitle() {
    const bool changed = !sameInputs(current(), saved);
    given.window->setWindowTitle(QFileInfo(path).fileName() + (changed ? "*" : "") + " — " + title);
}

// A file dragged anywhere over the window, a field too (which would take its name as text).
bool ProjectFiles::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    const auto *widget = qobject_cast<QWidget *>(watched);
    auto *drop = static_cast<QDropEvent *>(event);
    const QString file = droppedFile(drop->mimeData());
    if (!widget || widget->window() != given.window || file.isEmpty())
        return false;
    drop->acceptProposedAction();
    // Opened once the drop is over, so that the questions and errors do not hold the drag.
    if (type == QEvent::Drop)
        QTimer::singleShot(0, this, [this, file] {
            runHandler([&] {
                if (mayDiscardChanges())
                    open(file);
            });
        });
    return true;
}
