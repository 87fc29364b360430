#pragma once

#include <QImage>
#include <QLabel>

// A picture control: shows a bitmap at its own size and keeps it as it was drawn, so that it can
// be written out unchanged. The bitmap is drawn when the control is first shown or its picture
// first asked for, so that a page out of view costs nothing at start.
class TImage : public QLabel {
public:
    TImage(QSize size, QImage (*draw)(), QWidget *parent);
    const QImage &picture() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QImage (*draw)();
    mutable QImage held;
};
