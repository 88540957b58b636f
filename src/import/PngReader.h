#pragma once

#include "document/Raster.h"
#include "import/PictureRoad.h"

#include <cstdio>
#include <string>

namespace vemurion {

// Reads the PNG picture in `file` into `rows` as 8-bit RGB, top row first: every colour type
// and depth (16-bit samples cut to 8, palettes and grey expanded), translucent and transparent
// dots laid over `background` as a viewer shows them over a page of that colour. A progressive
// (interlaced) picture holds its rows until the last pass; any other is handed over as it is
// decoded. Returns the message for a refused file, or an empty string: "<name> は大きすぎるため
// 読み込めません." beyond the road's limits, "<name> は壊れているため読み込めません." for a
// damaged or truncated file, "<name> は読み込めません." for one that is no PNG.
std::string readPng(std::FILE* file, PictureRows& rows, const std::string& name, Rgb background);

// Reads the PNG file at `path` through the import road.
ImportResult importPngFile(const std::string& path, Rgb background);

} // namespace vemurion
