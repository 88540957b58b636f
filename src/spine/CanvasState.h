#pragma once

#include "spine/Editor.h"

namespace vemurion {

// What every subsystem does to the canvas when it changes the frame or the picture under it.

// Shows the current frame's cell on the canvas and the preview; any canvas mark goes.
void ShowCurrentFrame(Editor& e);

// Redraws the grid over the canvas, which removes any mark.
void clearCanvasMark(Editor& e);

// Ends the selection. Its content stays where it was last stamped: it is already part of the
// working picture and the frame sheet.
void Deselect(Editor& e);

} // namespace vemurion
