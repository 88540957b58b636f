#pragma once

#include <span>
#include <string>
#include <vector>

namespace vemurion {

// An animation of more frames than a list has room for is thinned evenly: frames 0, step,
// 2 step, ... are kept, each standing for itself and the frames after it up to the next kept one.

// The smallest step that keeps at most `room` (at least 1) of `count` frames.
int thinningStep(int count, int room);
// The indices of the frames kept at `step`.
std::vector<int> thinnedFrames(int count, int step);
// The display times of the frames kept at `step`: each the sum of the times of the frames it
// stands for, at most 255.
std::vector<int> thinnedTimes(std::span<const int> times, int step);

// The question Add to list asks when the file `name` brings `count` frames and the list has room
// for `room`: yes thins them, no takes the first that fit.
std::string tooManyFramesQuestion(const std::string& name, int count, int room);

} // namespace vemurion
