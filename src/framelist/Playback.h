#pragma once

#include "spine/Editor.h"

#include <chrono>
#include <string>

namespace vemurion {

// One tick of display time, in milliseconds.
inline constexpr int kDisplayTickMs = 250;

// "アニメーション再生中 - 01/03": the frame number and the count, each at least two digits.
std::string playbackCaption(int frame, int frameCount);

// A reading of a steady clock, from any fixed origin. Microseconds, so that a frame's time is
// kept to well under a millisecond.
using PlaybackClock = std::chrono::microseconds;

// Playback. The caller owns the timer: after each call, while `e.playing` is true, it has the
// timer fire at `nextFrameDue(e)` (not before) and then calls `tmAnimationTimer`.
//
// Starts at the first frame, whatever frame is current, and disables every command and control
// that could change the document; does nothing while already playing.
void P1Click(Editor& e, PlaybackClock now);
// Advances to the next frame once the shown frame has been up for its display time, measured
// from when it was put up, so a late step lengthens that frame rather than shortening the
// next. Stops after the last frame of the last pass unless the loop count is 255. A call before
// the frame is due does nothing.
void tmAnimationTimer(Editor& e, PlaybackClock now);
// When the frame on show will have been up for its display time.
PlaybackClock nextFrameDue(const Editor& e);
// Stops and puts back the frame and the caption of the start; does nothing while idle.
void N3Click(Editor& e);

} // namespace vemurion
