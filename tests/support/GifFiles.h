#pragma once

#include "document/Raster.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vemurion::test {

// An animated GIF as giflib reads it back, each frame composed on the logical screen the
// plain way, the whole screen at a time: it starts as `background`, and after each frame its
// rectangle is left, cleared or put back as the frame's disposal says.
struct GifReadBack {
    int width = 0;
    int height = 0;
    std::vector<int> delays;   // hundredths of a second, one per frame
    std::optional<int> repeat; // the NETSCAPE2.0 repeat count, if the file has the extension
    std::vector<Raster> frames;
    std::string error; // empty when the file was read
};

GifReadBack readGifBack(const std::vector<std::uint8_t>& bytes, Rgb background = kWhite);

// One image of a GIF made for a test: its rectangle on the screen, its colour indices row by
// row from the top, and its graphic control block.
struct GifImageSpec {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;
    int delay = 0;    // hundredths of a second
    int disposal = 0; // 0 unspecified, 1 leave, 2 clear to the background, 3 put back
    int transparent = -1;
    bool interlaced = false;  // stored in the four passes of an interlaced image
    std::vector<Rgb> palette; // a colour table of its own, when not empty
};

// A GIF89a with a global colour table of `palette` (0x00RRGGBB, padded to a power of two).
std::vector<std::uint8_t> makeGif(int width, int height, const std::vector<Rgb>& palette,
                                  const std::vector<GifImageSpec>& images);

} // namespace vemurion::test
