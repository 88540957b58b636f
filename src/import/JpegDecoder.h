#pragma once

#include "import/PictureRoad.h"

#include <cstdint>
#include <span>
#include <string>

namespace vemurion {

// A JPEG stream stops with an error after this many scans or this many corrupt-data warnings:
// each scan of a progressive picture passes over the whole picture.
inline constexpr int kMaxJpegScans = 100;
inline constexpr int kMaxJpegWarnings = 100;
// The most memory the library may take for one picture; only multi-scan pictures need more
// than a few megabytes, for their coefficients.
inline constexpr long kJpegMemoryLimit = 96L << 20;

// Decodes a JPEG stream into `rows`, grayscale, CMYK and YCCK pictures turned into RGB. A
// picture larger than 48 x 32 is decoded at the smallest of the library's scales (1/8 to 8/8)
// that still gives every frame dot at least 2 x 2 pixels. Returns the message for a refused
// picture, or an empty string: "<name> は大きすぎるため読み込めません." for a picture beyond the
// limits, else "JPEG エラー #N", N being the library's message code.
std::string decodeJpeg(std::span<const std::uint8_t> bytes, PictureRows& rows,
                       const std::string& name);

// Reads the JPEG file at `path` through the import road, a few kilobytes at a time. A file that
// cannot be opened gives "<file name> は読み込めません.".
ImportResult importJpegFile(const std::string& path);

// "JPEG エラー #N".
std::string jpegErrorText(int messageCode);

} // namespace vemurion
