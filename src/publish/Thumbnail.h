#pragma once

#include "document/Raster.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vemurion {

inline constexpr int kMaxThumbnailSize = 4096;

struct ThumbnailSize {
    int width;
    int height;
};

// The picture size for a thumbnail of at most `size` pixels on its longer side (1 to
// kMaxThumbnailSize): from 48 up, each dot a whole number of pixels square; below 48, the frame
// is sampled dot by dot, never blurred.
ThumbnailSize thumbnailSize(int size);

// `frame` (48 x 32, black and white) as a black-and-white PNG of thumbnailSize(size); nullopt for
// a size out of range or when the encoder fails.
std::optional<std::vector<std::uint8_t>> encodeThumbnailPng(const Raster& frame, int size);

} // namespace vemurion
