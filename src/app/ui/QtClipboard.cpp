#include "app/ui/QtClipboard.h"

#include "framelist/FrameClipboard.h"
#include "import/ui/PictureLoader.h"

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
    return data != nullptr && data->hasFormat(kFrameClipboardFormat) &&
           static_cast<std::size_t>(data->data(kFrameClipboardFormat).size()) == kFrameBlockSize;
}

bool QtClipboard::readPicture(PictureRows& rows) const {
    const QMimeData* data = clipboardData();
    if (data == nullptr || !data->hasImage()) return false;
    return sendImageRows(qvariant_cast<QImage>(data->imageData()), rows);
}

std::optional<std::vector<std::uint8_t>> QtClipboard::frameBlock() const {
    const QMimeData* data = clipboardData();
    if (data == nullptr || !data->hasFormat(kFrameClipboardFormat)) return std::nullopt;
    const QByteArray bytes = data->data(kFrameClipboardFormat);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void QtClipboard::setPicture(const Raster& picture) {
    QGuiApplication::clipboard()->setImage(imageFromRaster(picture));
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
