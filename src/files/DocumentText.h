#pragma once

#include "document/AnimationDocument.h"
#include "document/Raster.h"

#include <string>

namespace vemurion {

// A document described in three lines, each ended by a line feed:
//   frames: N
//   loop: L            ("loop: infinite" for 255)
//   times: t0 t1 ... tN-1
std::string documentInfoText(const AnimationDocument& doc);

// A 48 x 32 picture as 32 lines of 48 characters, '#' for a black dot and '.' for any other,
// each line ended by a line feed.
std::string frameText(const Raster& picture);

// Every frame of the document, each as "frame i/N time t" (i counted from 1), its frameText and
// an empty line.
std::string documentFramesText(const AnimationDocument& doc);

} // namespace vemurion
