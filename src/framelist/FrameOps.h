#pragma once

#include "editor/Editor.h"

namespace vemurion {

// Inserts a frame of display time `time` and picture `picture` in front of the current frame
// (at the end when the append slot is current) and makes it current. Undo takes it out again.
void InsertFrameAt(Editor& e, int time, const Raster& picture);
// Removes the current frame, which must be a real frame; the one after it becomes current.
// Undo puts it back.
void RemoveCurrentFrame(Editor& e);

} // namespace vemurion
