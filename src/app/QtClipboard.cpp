#include "app/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace vemurion {

namespace {

const QMimeData* clipboardData() {
    return QGuiApplication::clipboard()->mimeData();
}

} // namespace

bool QtClipboard::hasPicture() const {
    const QMimeData* data = clipboardData();
    return data != nullptr && data->hasImage();
}

bool QtClipboard::hasFrameBlock() const {
    const QMimeData* data = clipboardData();
    return data != nullptr && data->hasFormat(kFrameClipboardFormat);
}

std::optional<Raster> QtClipboard::picture() const {
    const QMimeData* data = clipboardData();
    if (data == nullptr || !data->hasImage()) return std::nullopt;
    const QImage image =
        qvariant_cast<QImage>(data->imageData()).convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return std::nullopt;
    Raster picture(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            picture.set(x, y, row[x] & 0xFFFFFFu);
    }
    return picture;
}

std::optional<std::vector<std::uint8_t>> QtClipboard::frameBlock() const {
    const QMimeData* data = clipboardData();
    if (data == nullptr || !data->hasFormat(kFrameClipboardFormat)) return std::nullopt;
    const QByteArray bytes = data->data(kFrameClipboardFormat);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void QtClipboard::setPicture(const Raster& picture) {
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            row[x] = 0xFF000000u | picture.at(x, y);
    }
    QGuiApplication::clipboard()->setImage(image);
}

void QtClipboard::setFrameBlock(const std::vector<std::uint8_t>& block) {
    auto* data = new QMimeData;
    data->setData(kFrameClipboardFormat, QByteArray(reinterpret_cast<const char*>(block.data()),
                                                    static_cast<qsizetype>(block.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

void QtClipboard::setText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text.c_str()));
}

} // namespace vemurion
