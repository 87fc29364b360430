#pragma once

#include <QString>

// Where the program's file dialogs open: the folder "Сохранить" writes to (currentFolder()), or
// the home folder while that cannot be named, as when it was deleted while the program runs.
QString dialogFolder();
