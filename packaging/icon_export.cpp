// Build-time converter from the pixel-art icon sources to the PNG files the desktop theme wants:
//   icon_export <source image> <output.png>

#include <QFile>
#include <QImage>

#include <cstdio>

int main(int argc, char *argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <source image> <output.png>\n", argv[0]);
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);

    const QImage image = QImage(source).convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    if (!image.save(target, "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        QFile::remove(target); // no half-written icon for the next build to take as done
        return 1;
    }
    return 0;
}
