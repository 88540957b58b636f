#pragma once

#include "editor/Editor.h"

#include <cstdint>
#include <string>

namespace vemurion {

// One tick of display time, in milliseconds.
inline constexpr int kDisplayTickMs = 250;

// "アニメーション再生中 - 01/03": the frame number and the count, each at least two digits.
std::string playbackCaption(int frame, int frameCount);

// Playback. The caller owns the 10 ms timer: it runs the timer while `e.playing` is true and
// passes the system's millisecond tick count, which may wrap around.
//
// Starts at the first frame, whatever frame is current, and disables every command and control
// that could change the document; does nothing while already playing.
void P1Click(Editor& e, std::uint32_t nowMs);
// Advances to the next frame once the shown frame has been up for its display time, measured
// from when it was put up, so a late step lengthens that frame rather than shortening the
// next. Stops after the last frame of the last pass unless the loop count is 255.
void tmAnimationTimer(Editor& e, std::uint32_t nowMs);
// Stops and puts back the frame and the caption of the start; does nothing while idle.
void N3Click(Editor& e);

} // namespace vemurion
