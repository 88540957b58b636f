#pragma once

#include "document/AnimationDocument.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vemurion {

inline constexpr int kMinGifScale = 1;
inline constexpr int kMaxGifScale = 16;
// A display time tick of 250 ms in the GIF's unit of delay, hundredths of a second.
inline constexpr int kGifDelayPerTick = 25;

// The NETSCAPE2.0 repeat count for a loop count, or nullopt where the GIF carries no loop
// extension. The repeat count says how often the animation plays again after its first pass,
// 0 without end: loop count L (played L times in all) is L - 1, and 255 (without end) is 0. A
// loop count of 1 plays once, which is what a GIF without the extension does.
std::optional<int> gifRepeatCount(int loopCount);

// The document as an animated GIF89a: each frame at its display time, black and white (0 black
// and 1 white), each dot `scale` x `scale` pixels (1 to 16). The first frame is drawn whole;
// each later one draws only the rectangle that changed, left in place (disposal 1), with its
// unchanged dots transparent (index 2) where that codes smaller. A frame like the one before
// adds its time to that one's delay, or past the longest delay a GIF can say is drawn as one
// pixel in its own colour. nullopt when the scale is out of range.
std::optional<std::vector<std::uint8_t>> encodeGifAnimation(const AnimationDocument& doc,
                                                            int scale);

} // namespace vemurion
