#pragma once

#include "document/Raster.h"
#include "spine/IncomingPicture.h"

namespace vemurion {

// Which of the three kinds of picture `picture` is.
PictureFit classifyPicture(const Raster& picture);

// A picture of at most 48 x 32 on a 48 x 32 frame of `background`, placed at
// ((48 - w) / 2, (32 - h) / 2): centred, the odd dot of spare room going right and down.
Raster centredOnFrame(const Raster& picture, Rgb background);

} // namespace vemurion
