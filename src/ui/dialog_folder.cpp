#include "ui/dialog_folder.h"

#include "core/current_folder.h"

#include <QDir>
#include <QFile>

QString dialogFolder() {
    const CurrentFolder folder = currentFolder();
    return folder.path.empty() ? QDir::homePath() : QFile::decodeName(folder.path.c_str());
}
