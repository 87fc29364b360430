#pragma once

#include <QStringList>

// The projects opened or saved last, newest first, at most eight, kept with QSettings
// (~/.config/ooscalc/ooscalc.conf) between runs; a file no longer there is dropped.
QStringList recentProjects();
void rememberProject(const QString &path);
