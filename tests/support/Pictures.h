#pragma once

#include "document/Raster.h"
#include "import/Conversion.h"
#include "import/PictureRoad.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vemurion::test {

// Pictures in tests are text: '#' is a black dot, '.' a white one, one string per row.
Raster pictureFromText(const std::vector<std::string>& rows);
std::vector<std::string> pictureToText(const Raster& picture);
// The w x h dots at (x, y) of `picture` as text.
std::vector<std::string> pictureToText(const Raster& picture, int x, int y, int w, int h);

// Passes when the top-left rows.size() x rows[0].size() dots of `picture` match `rows`; on
// failure both pictures are printed.
::testing::AssertionResult pictureMatches(const Raster& picture,
                                          const std::vector<std::string>& rows);

// Hands `picture` row by row to `rows`, as a reader would, from the top or the bottom; false
// when begin refused it.
bool sendRows(const Raster& picture, PictureRows& rows, DotOrder order = DotOrder::Rgb,
              bool bottomUp = false);
// A binary PPM (P6) or PGM (P5) file of 8-bit samples; grey samples fill all three channels.
Raster readNetpbm(const std::string& path);
// `picture` through the import road.
ImportedPicture importRaster(const Raster& picture);
// A picture larger than the frame as `fit` shapes it, each dot the area average of what it
// covers, computed by visiting every source dot for every dot.
Raster slowFit(const Raster& source, AspectFit fit);
// A 48 x 32 black-and-white frame, a different pattern for each seed.
Raster patterned(int seed);
// The largest difference of any channel of any dot; pictures of different sizes differ by 256.
int largestDifference(const Raster& a, const Raster& b);

} // namespace vemurion::test

#define EXPECT_PICTURE(picture, ...)                                                               \
    EXPECT_TRUE(::vemurion::test::pictureMatches((picture), std::vector<std::string> __VA_ARGS__))
