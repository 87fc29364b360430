#pragma once

#include <QStringList>

class QWidget;

// «Значения полностью»: the values behind a group's rounded results, for whoever does not rest
// the pointer on them, one a line under the group's name, with «Копировать» for the lines as they
// stand and «Закрыть» (also Escape). A small window of its own over `over`'s window, gone when
// closed.
void showValues(QWidget *over, const QString &group, const QStringList &lines);
