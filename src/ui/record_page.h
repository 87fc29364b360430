#pragma once

#include <QWidget>

// A page of the main window whose runs keep records that other windows follow. It says in this
// one way that one of them changed: a run started or ended, or a key-down made its result stale.
class RecordPage : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

signals:
    void recordChanged();
};
