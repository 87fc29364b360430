#pragma once

#include <QImage>
#include <QRectF>

#include <cstdint>
#include <optional>
#include <vector>

// The part of an image that shows, as a metafile takes pictures: 24-bit pixels over white paper.
struct WmfPicture {
    QRectF target; // device pixels
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb; // rows from the top, red, green, blue
};

// The source rectangle `source` of `image`, drawn onto `target` at `opacity`, as far as it lies
// within `area` (all in device pixels); nothing when none of it does.
std::optional<WmfPicture> visiblePicture(const QImage &image, QRectF source, QRectF target,
                                         const QRectF &area, qreal opacity);
