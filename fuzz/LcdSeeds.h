#pragma once

#include "FuzzSupport.h"

namespace vemurion::fuzz {

// LCD files the program writes, and the odd ones it must read: loop and time bytes of 0, dot
// bytes other than 0 and 8, a trailer, a missing frame, no frames, 255 frames.
void writeLcdSeeds();

} // namespace vemurion::fuzz
