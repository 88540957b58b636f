#pragma once

#include "document/FrameSheet.h"
#include "document/Raster.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vemurion {

// One frame on the clipboard: byte 0 is the display time (its low byte), then the 48 x 32 dots
// as ReadDots gives them for a frame: rows from the top, 144 bytes each (blue, green, red per
// dot), nothing between rows. No header, count or size field.
inline constexpr std::size_t kFrameBlockSize = 1 + static_cast<std::size_t>(kFrameBufferSize);

std::vector<std::uint8_t> encodeFrameBlock(int displayTime, const Raster& picture);

struct FrameBlockContent {
    int displayTime = 1; // 1 .. 255
    Raster picture{kFrameWidth, kFrameHeight};
};

// Only a block of exactly kFrameBlockSize bytes is a frame. A display time byte of 0, which no
// frame can have, is read as 1. A block from another program may hold any colours: each dot is
// black when its first (blue) byte is 0 and white otherwise, as the LCD writer tells them, so the
// frame shows what it will be saved and exported as.
std::optional<FrameBlockContent> decodeFrameBlock(const std::vector<std::uint8_t>& block);

} // namespace vemurion
