#pragma once

#include "files/FileKind.h"
#include "import/PictureRoad.h"

#include <string>

namespace vemurion {

// Reads a bitmap file (the path names ".bmp" or ".BMP") or else a JPEG file (".jpg" or ".JPG")
// through the import road, once: the picture comes out classified, and reduced when it is
// larger than the frame.
ImportResult importPictureFile(const std::string& path);
// Reads a still picture of the given kind (a bitmap, JPEG or PNG file; a GIF is read by
// importGifFile) through the import road; a PNG's transparent dots show `background`.
ImportResult importPictureFile(const std::string& path, PictureKind kind, Rgb background);

} // namespace vemurion
