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
    if (block.size() != kFrameBlockSize) return std::nullopt;
    FrameBlockContent content;
    content.displayTime = block[0] == 0 ? 1 : block[0];
    const std::uint8_t* blue = block.data() + 1;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x, blue += 3)
            content.picture.set(x, y, *blue == 0 ? kBlack : kWhite);
    }
    return content;
}

} // namespace vemurion
