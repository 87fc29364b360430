#include "report/save_results.h"

#include "report/output_files.h"
#include "wmf/writer.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QWidget>
#include <stdexcept>

namespace {

// An uncompressed BMP with a 40-byte information header, 24 bits per pixel for any colour image:
// the 160 × 203 schematic comes out as 97 494 bytes.
std::string bmpBytes(const QImage &image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image))
        throw std::runtime_error("Stream write error");
    return buffer.data().toStdString();
}

// The chart as the screen shows it, at its size on screen; drawn afresh, so also while its page
// is not the one shown.
QImage chartImage(QWidget *chart) {
    QImage image(chart->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    chart->render(&image);
    return image;
}

} // namespace

void saveResults(const SavePlan &plan, QWidget *chart, const QImage *schematic) {
    writeWholeFile(chartBitmapFileName, bmpBytes(chartImage(chart)));
    const QByteArray metafile = widgetToMetafile(chart);
    writeWholeFile(
        chartMetafileFileName,
        std::string_view(metafile.constData(), static_cast<std::size_t>(metafile.size())));
    if (schematic)
        writeWholeFile(schematicFileName, bmpBytes(*schematic));
    writeReportFile(reportFileName, plan.record, plan.routNote);
}
