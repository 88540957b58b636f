#include "files/LcdFile.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace vemurion {

namespace {

constexpr std::size_t kLoopOffset = 13;
constexpr std::size_t kFrameCountOffset = 14;
constexpr std::size_t kTimeInRecordOffset = 1;

// The header's fixed part; bytes 13 and 14 are filled in per document.
constexpr std::uint8_t kHeaderTemplate[kLcdHeaderSize] = {
    0x4C, 0x43, 0x44, 0x69, 0x01, 0x00, 0x30, 0x00, 0x20, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00};

constexpr std::uint8_t lowByte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

constexpr std::size_t lcdSize(std::size_t frameCount) {
    return kLcdHeaderSize + (kLcdTimeRecordSize + kLcdDotBlockSize) * frameCount;
}

} // namespace

std::vector<std::uint8_t> encodeLcd(const AnimationDocument& doc, std::string_view trailer) {
    const int frameCount = std::clamp(doc.FrameCount, 0, kMaxFrames);
    const auto frames = static_cast<std::size_t>(frameCount);

    std::vector<std::uint8_t> bytes(std::begin(kHeaderTemplate), std::end(kHeaderTemplate));
    bytes.reserve(lcdSize(frames) + trailer.size());
    bytes[kLoopOffset] = lowByte(doc.LoopCount);
    bytes[kFrameCountOffset] = lowByte(frameCount);

    for (std::size_t i = 0; i < frames; ++i) {
        bytes.insert(bytes.end(), {0x00, lowByte(doc.DisplayTimes[i]), 0x00, 0x00});
    }

    const Raster& sheet = doc.sheet.raster();
    for (int i = 0; i < frameCount; ++i) {
        const CellPos origin = CellOrigin(i);
        for (int y = 0; y < kFrameHeight; ++y) {
            for (int x = 0; x < kFrameWidth; ++x) {
                const bool black = blueOf(sheet.at(origin.x + x, origin.y + y)) == 0;
                bytes.push_back(black ? kLcdBlackDot : kLcdWhiteDot);
            }
        }
    }

    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    return bytes;
}

std::variant<LcdContent, LcdError> decodeLcd(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kLcdHeaderSize) return LcdError::Truncated;
    const std::size_t frames = bytes[kFrameCountOffset];
    if (frames == 0) return LcdError::NoFrames;
    if (bytes.size() < lcdSize(frames)) return LcdError::Truncated;

    LcdContent content;
    content.loopByte = bytes[kLoopOffset];
    content.frameCount = static_cast<int>(frames);

    const auto records = bytes.subspan(kLcdHeaderSize, kLcdTimeRecordSize * frames);
    content.timeBytes.reserve(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        content.timeBytes.push_back(records[i * kLcdTimeRecordSize + kTimeInRecordOffset]);
    }

    auto dot = bytes.begin() + static_cast<std::ptrdiff_t>(kLcdHeaderSize + records.size());
    content.frames.reserve(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        Raster& frame = content.frames.emplace_back(kFrameWidth, kFrameHeight, kWhite);
        for (int y = 0; y < kFrameHeight; ++y) {
            for (int x = 0; x < kFrameWidth; ++x, ++dot) {
                if (*dot != kLcdWhiteDot) frame.set(x, y, kBlack);
            }
        }
    }
    return content;
}

bool IsInternalLcdText(std::span<const std::uint8_t> firstBytes) {
    return firstBytes.size() >= std::size(kLcdSignature) &&
           std::equal(std::begin(kLcdSignature), std::end(kLcdSignature), firstBytes.begin());
}

std::size_t lcdLengthAnnounced(std::span<const std::uint8_t> header) {
    constexpr std::size_t kLetters = 4;
    if (header.size() < kLcdHeaderSize || header[kFrameCountOffset] == 0) return 0;
    if (!std::equal(kLcdSignature, kLcdSignature + kLetters, header.begin())) return 0;
    return lcdSize(header[kFrameCountOffset]);
}

} // namespace vemurion
