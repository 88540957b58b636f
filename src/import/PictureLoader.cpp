#include "import/PictureLoader.h"

#include <QImage>
#include <QImageReader>

namespace vemurion {

std::optional<Raster> loadBitmapFile(const std::string& path) {
    QImageReader reader(QString::fromStdString(path), "bmp");
    QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    image = image.convertToFormat(QImage::Format_RGB32);
    Raster picture(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            picture.set(x, y, row[x] & 0xFFFFFFu);
    }
    return picture;
}

} // namespace vemurion
