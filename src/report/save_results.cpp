// "Сохранить": the chart as a bitmap and as a metafile, the schematic of the last amplifier
// calculation and the report, in this order, into the current directory. The first failure ends
// the save; the files written before it stay.

#include "app/timage.h"
#include "app/unit1.h"
#include "report/output_files.h"
#include "report/wmf_writer.h"
#include "speaker/response_chart.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
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

void TForm1::Button10Click() {
    writeImageFile("АЧХ_колонки.bmp", bmpBytes(chartImage(Chart1)));
    const QByteArray metafile = widgetToMetafile(Chart1);
    writeImageFile("АЧХ_колонки.wmf", std::string_view(metafile.constData(),
                                                       static_cast<std::size_t>(metafile.size())));
    if (last.schemeKind == 1)
        writeImageFile("Схема.bmp", bmpBytes(Image1->picture()));
    else if (last.schemeKind == 2)
        writeImageFile("Схема.bmp", bmpBytes(Image2->picture()));
    writeReportFile("Комбинированная_ООС.txt", last);
}
