#pragma once

#include "document/Raster.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vemurion::test {

// An animated GIF as giflib reads it back, each frame composed on the logical screen.
struct GifReadBack {
    int width = 0;
    int height = 0;
    std::vector<int> delays;   // hundredths of a second, one per frame
    std::optional<int> repeat; // the NETSCAPE2.0 repeat count, if the file has the extension
    std::vector<Raster> frames;
    std::string error; // empty when the file was read
};

GifReadBack readGifBack(const std::vector<std::uint8_t>& bytes);

} // namespace vemurion::test
