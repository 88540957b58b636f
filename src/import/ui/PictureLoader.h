#pragma once

#include "document/Raster.h"
#include "spine/Services.h"

#include <string>

class QImage;

namespace vemurion {

// Hands the picture of a QImage to `rows` from its own scan lines, a row at a time;
// transparency is dropped. False when the image is null.
bool sendImageRows(const QImage& image, PictureRows& rows);
// An opaque RGB32 image of a picture, each dot `scale` x `scale` pixels.
QImage imageFromRaster(const Raster& picture, int scale = 1);

} // namespace vemurion
