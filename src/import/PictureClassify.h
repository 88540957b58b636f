#pragma once

#include "document/Raster.h"

namespace vemurion {

// How a picture from outside can become a frame.
enum class PictureFit {
    Plain = 0,    // at most 48 x 32 and only pure black and white: taken as it is
    Colours = 1,  // fits, but has other colours: goes through the conversion dialog
    TooLarge = 2, // wider than 48 or higher than 32: goes through the conversion dialog
};

PictureFit classifyPicture(const Raster& picture);

// A picture of at most 48 x 32 on a 48 x 32 frame of `background`, placed at
// ((48 - w) / 2, (32 - h) / 2): centred, the odd dot of spare room going right and down.
Raster centredOnFrame(const Raster& picture, Rgb background);

} // namespace vemurion
