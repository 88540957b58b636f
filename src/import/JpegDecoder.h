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
// The most memory the library may take for one picture. Only multi-scan pictures need more than
// a few megabytes, for the coefficients of the whole picture, and real ones hold far more than
// one byte of file for every 32 bytes of those: a small file that declares a large progressive
// picture is refused before its coefficients are allocated.
inline constexpr long kJpegMemoryBase = 16L << 20;
inline constexpr long kJpegMemoryPerFileByte = 32;
inline constexpr long kJpegMemoryLimit = 256L << 20;
long jpegMemoryLimit(std::uint64_t fileBytes);

// The road's limits apply to a JPEG picture as the library decodes it, scaled down; the size it
// declares bounds the blocks the library passes over on the way, phone photographs of 200
// megapixels included.
inline constexpr std::int64_t kMaxJpegDeclaredDots = 4 * kMaxPictureDots;

// Decodes a JPEG stream into `rows`, grayscale, CMYK and YCCK pictures turned into RGB. A
// picture larger than 48 x 32 is decoded at the smallest of the library's scales (1/8 to 8/8)
// that still gives every frame dot at least 2 x 2 pixels. Returns the message for a refused
// picture, or an empty string: "<name> は大きすぎるため読み込めません." for a picture that
// declares more than kMaxJpegDeclaredDots or whose scaled decoding lies beyond the road's
// limits, else "JPEG エラー #N", N being the library's message code.
std::string decodeJpeg(std::span<const std::uint8_t> bytes, PictureRows& rows,
                       const std::string& name);

// Reads the JPEG file at `path` through the import road, a few kilobytes at a time. A file that
// cannot be opened gives "<file name> は読み込めません.".
ImportResult importJpegFile(const std::string& path);

// "JPEG エラー #N".
std::string jpegErrorText(int messageCode);

} // namespace vemurion
