#pragma once

#include <QWidget>

// The help window: the method explained, its text saved to a file, the home page link.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);
};
