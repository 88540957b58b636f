#pragma once

#include "document/Raster.h"

#include <optional>
#include <string>

namespace vemurion {

// Decodes a Windows bitmap file through Qt's image reader into a plain picture.
std::optional<Raster> loadBitmapFile(const std::string& path);

} // namespace vemurion
