#pragma once

#include "document/Raster.h"
#include "editor/Services.h"

#include <string>

class QImage;

namespace vemurion {

// The picture of a QImage as plain RGB dots; transparency is dropped.
Raster rasterFromImage(const QImage& image);
// The other way: an opaque RGB32 image, each dot `scale` x `scale` pixels.
QImage imageFromRaster(const Raster& picture, int scale = 1);

// Picture files for the editor: bitmaps through Qt's BMP reader, JPEG pictures through the
// core's libjpeg decoder. A file that cannot be read, is no bitmap, or has more than
// kMaxPictureDots dots gives "<file name> は読み込めません."; a JPEG file that the decoder refuses
// gives "JPEG エラー #N".
class QtPictureFiles : public PictureFiles {
public:
    PictureReadResult readBitmap(const std::string& path) override;
    PictureReadResult readJpeg(const std::string& path) override;
};

} // namespace vemurion
