#pragma once

#include "document/Raster.h"
#include "import/PictureRoad.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vemurion {

// An animated GIF's frames cost the dots their images hold, which are decoded, whatever part of
// them lies on the screen: the sum is capped, so that a small file declaring many frames far
// larger than the screen is refused. The screen costs what the frames change on it.
inline constexpr std::int64_t kMaxGifDecodedDots = 4 * kMaxPictureDots;
// The logical screen takes memory for the tiles its frames draw on, in a few bits a dot for the
// few colours most tiles hold; what disposal "previous" keeps shares the tiles the frame leaves
// alone. A file whose screen would need more than this is refused.
inline constexpr std::int64_t kMaxGifScreenBytes = 48 << 20;

// A GIF delay (hundredths of a second) as a display time: the nearest number of 25-hundredth
// ticks, at least 1 and at most 255.
int gifDelayToTicks(int hundredths);

struct GifFrame {
    ImportedPicture picture; // through the import road, like any picture
    int ticks = 1;
};

struct GifImport {
    std::vector<GifFrame> frames; // the first `maxFrames` frames kept
    int frameCount = 0;           // every frame of the file, read or not
    std::vector<int> ticks;       // the display time of every frame of the file
    std::string error;            // empty when the file was read
};

// Reads the GIF file at `path`, each frame composed on the logical screen as viewers compose
// it: the screen starts as `background`, a frame's transparent dots show what lies below, and
// after its delay the frame is left, cleared to `background` or put back as it was, as its
// disposal says; dots outside the screen are cut off. Each composed frame enters the road's
// rows. Of frames 0, `every`, 2 `every`, ... the first `maxFrames` are kept; the frames between
// them are composed but not kept, and those past the last kept one's are only counted. Refusals:
// "<name> は読み込めません." for a file that cannot be opened or is no GIF, "<name>
// は壊れているため読み込めません." for a damaged or truncated one, "<name>
// は大きすぎるため読み込めません." beyond the road's limits, kMaxGifDecodedDots or
// kMaxGifScreenBytes. The frames offer every aspect of the conversion, or only the stretch when
// not `everyAspect`, which takes less time.
GifImport importGifFile(const std::string& path, Rgb background, int maxFrames, int every = 1,
                        bool everyAspect = true);

} // namespace vemurion
