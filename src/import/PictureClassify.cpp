#include "import/PictureClassify.h"

#include "document/FrameSheet.h"

#include <algorithm>

namespace vemurion {

PictureFit classifyPicture(const Raster& picture) {
    if (picture.width() > kFrameWidth || picture.height() > kFrameHeight) {
        return PictureFit::TooLarge;
    }
    const auto& dots = picture.dots();
    const bool plain = std::all_of(dots.begin(), dots.end(),
                                   [](Rgb dot) { return dot == kBlack || dot == kWhite; });
    return plain ? PictureFit::Plain : PictureFit::Colours;
}

Raster centredOnFrame(const Raster& picture, Rgb background) {
    Raster frame(kFrameWidth, kFrameHeight, background);
    frame.paste(picture, (kFrameWidth - picture.width()) / 2,
                (kFrameHeight - picture.height()) / 2);
    return frame;
}

} // namespace vemurion
