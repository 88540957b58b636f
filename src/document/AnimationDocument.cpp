#include "document/AnimationDocument.h"

namespace vemurion {

std::string loopCountText(int loopCount) {
    return loopCount == kInfiniteLoops ? std::string("無限") : std::to_string(loopCount);
}

} // namespace vemurion
