#pragma once

#include <QImage>
#include <QLabel>

// A picture control: shows a bitmap at its own size and keeps it as it was drawn, so that it can
// be written out unchanged.
class TImage : public QLabel {
public:
    TImage(const QImage &picture, QWidget *parent) : QLabel(parent), held(picture) {
        setPixmap(QPixmap::fromImage(held));
        resize(held.size());
    }
    const QImage &picture() const { return held; }

private:
    QImage held;
};
