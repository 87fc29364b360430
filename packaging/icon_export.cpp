// Build-time converter from the pixel-art icon sources to the files the desktop theme wants:
//   icon_export <source image> <output.png | output.svg>
// A PNG keeps the pixels as they are; an SVG draws each run of equal pixels in a row as one
// rectangle, with crisp edges, so that it scales to any size without blurring the pixel art.

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTextStream>

#include <cstdio>

namespace {

bool writeSvg(const QImage &image, const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QTextStream out(&file);
    const int w = image.width(), h = image.height();
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << w << "\" height=\"" << h
        << "\" viewBox=\"0 0 " << w << ' ' << h << "\" shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w;) {
            const QRgb colour = image.pixel(x, y);
            int run = 1;
            while (x + run < w && image.pixel(x + run, y) == colour)
                ++run;
            if (qAlpha(colour) != 0) {
                out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << run
                    << "\" height=\"1\" fill=\"" << QColor(colour).name() << '"';
                if (qAlpha(colour) != 255)
                    out << " fill-opacity=\"" << qAlpha(colour) / 255.0 << '"';
                out << "/>\n";
            }
            x += run;
        }
    }
    out << "</svg>\n";
    out.flush();
    return out.status() == QTextStream::Ok && file.error() == QFile::NoError;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <source image> <output.png|output.svg>\n", argv[0]);
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);

    const QImage image = QImage(source).convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    const bool written = target.endsWith(".svg", Qt::CaseInsensitive) ? writeSvg(image, target)
                                                                      : image.save(target, "PNG");
    if (!written) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        QFile::remove(target); // no half-written icon for the next build to take as done
        return 1;
    }
    return 0;
}
