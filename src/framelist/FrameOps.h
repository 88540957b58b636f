#pragma once

#include "editor/Editor.h"

namespace vemurion {

// Moves frames index .. FrameCount-1, pictures and display times, one place up, leaving a gap
// at `index`, and counts one frame more.
void openFrameGap(AnimationDocument& doc, int index);
// Moves the frames after `index` one place down over it and counts one frame less; the append
// slot's cell and time come down too.
void closeFrameGap(AnimationDocument& doc, int index);
// After the frame count changed: the scroll range, the list scrolled to frame `index`, and that
// frame made current as a click on its slot does.
void showFrameList(Editor& e, int index);

// Inserts a frame of display time `time` and picture `picture` in front of the current frame
// (at the end when the append slot is current) and makes it current. Undo takes it out again.
void InsertFrameAt(Editor& e, int time, const Raster& picture);
// Removes the current frame, which must be a real frame; the one after it becomes current.
// Undo puts it back.
void RemoveCurrentFrame(Editor& e);

} // namespace vemurion
