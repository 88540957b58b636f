#pragma once

#include "document/FrameSheet.h"

#include <array>
#include <string>

namespace vemurion {

// The name of a document that has never been saved or loaded.
inline constexpr const char* kUntitled = "無題";
inline constexpr int kInfiniteLoops = 255;

// The animation being edited: frame i is cell i of the sheet together with DisplayTimes[i].
// Index FrameCount is the append slot while FrameCount < 255; cells and times from FrameCount on
// hold leftovers that are never shown, played or saved.
struct AnimationDocument {
    int FrameCount = 1;                  // 1 .. 255
    std::array<int, 256> DisplayTimes{}; // ticks of 250 ms, 1 .. 255
    int LoopCount = kInfiniteLoops;      // 1 .. 255; 255 plays without end
    int CurrentFrame = 0;                // 0 .. FrameCount, and below 255
    std::string DocumentFileName = kUntitled;
    bool Modified = false;
    FrameSheet sheet;

    bool isUntitled() const { return DocumentFileName == kUntitled; }
    bool onAppendSlot() const { return CurrentFrame == FrameCount; }
};

// "無限" for 255, otherwise the number in decimal.
std::string loopCountText(int loopCount);

} // namespace vemurion
