#include "report/widgets/save_results.h"

#include "core/whole_file.h"
#include "report/output_files.h"
#include "report/report_text.h"
#include "wmf/writer.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QWidget>
#include <stdexcept>

namespace {

// An uncompressed BMP with a 40-byte information header, 24 bits per pixel for any colour image:
// the 160 × 203 schematic comes out as 97 494 bytes.
std::string bmpBytes(const QImage &image, const char *fileName) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image))
        throw std::runtime_error(cannotSaveText(fileName, "рисунок не удалось записать в BMP"));
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
    const std::string chartBitmap = bmpBytes(chartImage(chart), chartBitmapFileName);
    const QByteArray metafile = widgetToMetafile(chart);
    const std::string schematicBitmap = schematic ? bmpBytes(*schematic, schematicFileName) : "";
    const std::string report = reportFileBytes(plan.record, plan.routNote);

    std::vector<FileBytes> files{
        {chartBitmapFileName, chartBitmap},
        {chartMetafileFileName,
         std::string_view(metafile.constData(), static_cast<std::size_t>(metafile.size()))}};
    if (schematic)
        files.push_back({schematicFileName, schematicBitmap});
    files.push_back({reportFileName, report});
    writeWholeFiles(files);
}
