#pragma once

#include "document/Raster.h"

#include <vector>

namespace vemurion {

// How the conversion turns grey levels into black and white.
enum class DitherMethod {
    Threshold,      // one threshold per candidate; no pattern
    Ordered,        // an 8 x 8 Bayer matrix, fixed to the frame's dots
    FloydSteinberg, // error diffusion, the whole error to four neighbours
    Atkinson,       // error diffusion, six eighths of the error to six neighbours
};
inline constexpr int kDitherMethodCount = 4;

// Grey levels 0 .. 255, row by row.
struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<int> levels;
    int at(int x, int y) const {
        return levels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
};

// The tone curve of candidate `candidate` (0 .. 8) for the patterned methods: a power curve that
// keeps black and white and renders grey level 127.5 + 25 (candidate - 4) as half the dots
// white, near the threshold of candidateThreshold(candidate). Candidate 4's is the identity.
int candidateTone(int candidate, int level);

// The black-and-white rendering of `grey` by `method` (not Threshold) for candidate `candidate`;
// (originX, originY) is where the picture's top-left dot lies in the frame, which the ordered
// pattern is fixed to.
Raster ditherGrey(const GreyPicture& grey, DitherMethod method, int candidate, int originX,
                  int originY);

} // namespace vemurion
