#pragma once

#include <QString>

class QWidget;

// The save dialog at `offered` (a folder and a name): a name typed without a suffix takes
// `suffix`, before the dialog asks whether to replace a file of that name. Empty when cancelled.
QString chooseSavePath(QWidget *parent, const QString &title, const QString &offered,
                       const QString &filter, const QString &suffix);
