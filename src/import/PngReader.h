#pragma once

#include "document/Raster.h"
#include "import/PictureRoad.h"

#include <cstdio>
#include <string>

namespace vemurion {

// Reads the PNG picture in `file` into `rows` as 8-bit RGB: every colour type and depth (16-bit
// samples cut to 8, palettes and grey expanded), translucent and transparent dots laid over
// `background` as a viewer shows them over a page of that colour. Rows go out as they are
// decoded, top row first, or for a progressive (interlaced) picture pass by pass as sparse rows
// of dots; chunks the dots do not depend on are skipped unread. Returns the message for a
// refused file, or an empty string: "<name> は大きすぎるため読み込めません." beyond the road's
// limits, or for a file that asks libpng for a block of memory larger than such a picture
// needs, "<name> は壊れているため読み込めません." for a damaged or truncated file, "<name>
// は読み込めません." for one that is no PNG.
std::string readPng(std::FILE* file, FrameReducer& rows, const std::string& name, Rgb background);

// Reads the PNG file at `path` through the import road.
ImportResult importPngFile(const std::string& path, Rgb background);

} // namespace vemurion
