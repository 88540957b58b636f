#pragma once

#include "document/AnimationDocument.h"
#include "document/Raster.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

namespace vemurion {

inline constexpr std::size_t kLcdHeaderSize = 16;
inline constexpr std::size_t kLcdTimeRecordSize = 4;
inline constexpr std::size_t kLcdDotBlockSize = 1536;
// The largest prefix of a file that a reader ever needs: 255 frames.
inline constexpr std::size_t kLcdMaxReadSize =
    kLcdHeaderSize + (kLcdTimeRecordSize + kLcdDotBlockSize) * 255;
inline constexpr std::uint8_t kLcdWhiteDot = 0;
inline constexpr std::uint8_t kLcdBlackDot = 8;

// The first 9 bytes every LCD file written by this program starts with.
inline constexpr std::uint8_t kLcdSignature[9] = {0x4C, 0x43, 0x44, 0x69, 0x01,
                                                  0x00, 0x30, 0x00, 0x20};

// The bytes of an LCD image file for frames 0 .. FrameCount-1 of `doc`, followed by `trailer`.
std::vector<std::uint8_t> encodeLcd(const AnimationDocument& doc, std::string_view trailer);

// What a file holds, byte for byte as stored: no value is mapped here.
struct LcdContent {
    std::uint8_t loopByte = 0;           // header byte 13
    int frameCount = 0;                  // header byte 14
    std::vector<std::uint8_t> timeBytes; // byte 1 of each time record, frameCount entries
    std::vector<Raster> frames;          // 48 x 32, black and white, frameCount entries
};

enum class LcdError {
    Truncated, // shorter than 16 + 1540 x N bytes
    NoFrames,  // frame count byte 0
};

std::variant<LcdContent, LcdError> decodeLcd(std::span<const std::uint8_t> bytes);

// True when `firstBytes` begins with the 9-byte signature.
bool IsInternalLcdText(std::span<const std::uint8_t> firstBytes);

// The length of an LCD image file as decodeLcd reads it, told by its first 16 bytes: the header,
// the time records and the dot blocks of the frames the header announces. 0 unless `header` is
// a whole header that begins with the letters "LCDi" (the four bytes by which the desktop knows
// the file) and announces at least one frame.
std::size_t lcdLengthAnnounced(std::span<const std::uint8_t> header);

} // namespace vemurion
