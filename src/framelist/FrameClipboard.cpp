#include "framelist/FrameClipboard.h"

namespace vemurion {

std::vector<std::uint8_t> encodeFrameBlock(int displayTime, const Raster& picture) {
    DotBuffer dots;
    ReadDots(picture, 0, 0, dots, kFrameHeight, kFrameWidth);
    std::vector<std::uint8_t> block;
    block.reserve(kFrameBlockSize);
    block.push_back(static_cast<std::uint8_t>(displayTime & 0xFF));
    block.insert(block.end(), dots.begin(), dots.end());
    return block;
}

std::optional<FrameBlockContent> decodeFrameBlock(const std::vector<std::uint8_t>& block) {
    if (block.size() < kFrameBlockSize) return std::nullopt;
    FrameBlockContent content;
    content.displayTime = block[0] == 0 ? 1 : block[0];
    const DotBuffer dots(block.begin() + 1, block.begin() + kFrameBlockSize);
    WriteDots(content.picture, 0, 0, dots, kFrameHeight, kFrameWidth);
    return content;
}

} // namespace vemurion
