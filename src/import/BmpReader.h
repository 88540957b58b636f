#pragma once

#include "import/PictureRoad.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace vemurion {

// Reads the Windows bitmap in `file` (`fileSize` bytes) into `rows`, in the order the file stores
// them: the header kinds of OS/2 (12 bytes) and Windows (40, 52, 56, 108 and 124 bytes); 1, 2, 4
// and 8 bits a dot with a palette, full or short; 16 and 32 bits plain or with bit fields; 24
// bits; run-length coded 4 and 8 bits. Before any dot is decoded it checks that the file holds
// what the header announces. Returns the message for a refused file, or an empty string:
// "<name> は大きすぎるため読み込めません." beyond the limits, "<name>
// は壊れているため読み込めません." for a truncated or inconsistent file, and "<name>
// は読み込めません." for anything else that is no bitmap of these kinds. A file refused part way
// may have handed over some rows.
std::string readBitmap(std::FILE* file, std::uint64_t fileSize, PictureRows& rows,
                       const std::string& name);

// Reads the bitmap file at `path` through the import road.
ImportResult importBitmapFile(const std::string& path);

} // namespace vemurion
