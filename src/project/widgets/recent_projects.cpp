#include "project/widgets/recent_projects.h"

#include <QFileInfo>
#include <QSettings>

namespace {

constexpr qsizetype kept = 8;
constexpr char key[] = "recentProjects";

void store(const QStringList &paths) { QSettings("ooscalc", "ooscalc").setValue(key, paths); }

} // namespace

QStringList recentProjects() {
    const QStringList stored = QSettings("ooscalc", "ooscalc").value(key).toStringList();
    QStringList paths;
    for (const QString &path : stored)
        if (QFileInfo(path).isFile() && !paths.contains(path) && paths.size() < kept)
            paths << path;
    if (paths != stored)
        store(paths);
    return paths;
}

void rememberProject(const QString &path) {
    QStringList paths = recentProjects();
    paths.removeAll(path);
    paths.prepend(path);
    store(paths.mid(0, kept));
}
