#pragma once

#include "import/PictureRoad.h"

#include <string>

namespace vemurion {

// Reads a bitmap file (the path names ".bmp" or ".BMP") or else a JPEG file (".jpg" or ".JPG")
// through the import road, once: the picture comes out classified, and reduced when it is
// larger than the frame.
ImportResult importPictureFile(const std::string& path);

} // namespace vemurion
