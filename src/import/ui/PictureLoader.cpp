#include "import/ui/PictureLoader.h"

#include <QImage>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vemurion {

bool sendImageRows(const QImage& image, PictureRows& rows) {
    if (image.isNull()) return false;
    const int width = image.width();
    if (!rows.begin(width, image.height(), DotOrder::Rgb)) return true;
    // Other formats are converted one scan line at a time, never the whole image.
    const bool direct =
        image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    std::vector<std::uint8_t> line(std::size_t(width) * 3);
    QImage converted;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* dots = nullptr;
        if (direct) {
            dots = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        } else {
            converted = image.copy(0, y, width, 1).convertToFormat(QImage::Format_RGB32);
            dots = reinterpret_cast<const QRgb*>(converted.constScanLine(0));
        }
        std::uint8_t* out = line.data();
        for (int x = 0; x < width; ++x, out += 3) {
            out[0] = static_cast<std::uint8_t>(qRed(dots[x]));
            out[1] = static_cast<std::uint8_t>(qGreen(dots[x]));
            out[2] = static_cast<std::uint8_t>(qBlue(dots[x]));
        }
        rows.row(line.data());
    }
    return true;
}

QImage imageFromRaster(const Raster& picture, int scale) {
    QImage image(picture.width() * scale, picture.height() * scale, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y * scale));
        for (int x = 0; x < picture.width(); ++x) {
            std::fill_n(row + x * scale, scale, 0xFF000000u | picture.at(x, y));
        }
        for (int i = 1; i < scale; ++i) {
            std::copy_n(row, image.width(), reinterpret_cast<QRgb*>(image.scanLine(y * scale + i)));
        }
    }
    return image;
}

} // namespace vemurion
