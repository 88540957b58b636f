#pragma once

#include "editor/Services.h"
#include "import/PictureRoad.h"

#include <cstdint>
#include <span>
#include <string>

namespace vemurion {

// Decodes the bytes of a JPEG file into an RGB picture; grayscale, CMYK and YCCK pictures are
// turned into RGB. Only 8-bit samples are read. A failure leaves `picture` empty and `error`
// "JPEG エラー #N", N being the library's message code.
PictureReadResult decodeJpeg(std::span<const std::uint8_t> bytes);

// Reads the file at `path` and decodes it. A file that cannot be read gives the error
// "<file name> は読み込めません.".
PictureReadResult readJpegFile(const std::string& path);

// "JPEG エラー #N".
std::string jpegErrorText(int messageCode);

} // namespace vemurion
