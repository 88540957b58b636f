#include "import/PictureLoader.h"

#include "files/FileKind.h"
#include "import/JpegDecoder.h"

#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace vemurion {

Raster rasterFromImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Raster picture(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            picture.set(x, y, row[x] & 0xFFFFFFu);
    }
    return picture;
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

PictureReadResult QtPictureFiles::readBitmap(const std::string& path) {
    const PictureReadResult unreadable{std::nullopt, fileNamePart(path) + " は読み込めません."};
    QImageReader reader(QString::fromStdString(path), "bmp");
    // The header's size is checked before any dot is decoded: a bitmap may declare millions of
    // dots in either direction. A top-down bitmap reports a negative height; where no size can
    // be told, the reader's own allocation limit still applies.
    const QSize size = reader.size();
    if (std::uint64_t(std::abs(size.width())) * std::uint64_t(std::abs(size.height())) >
        kMaxPictureDots) {
        return unreadable;
    }
    const QImage image = reader.read();
    if (image.isNull()) return unreadable;
    return {rasterFromImage(image), {}};
}

PictureReadResult QtPictureFiles::readJpeg(const std::string& path) {
    return readJpegFile(path);
}

} // namespace vemurion
