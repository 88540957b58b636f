#pragma once

#include "spine/Editor.h"

namespace vemurion {

// One-click operations on the current frame's picture. Each saves undo first and sets Modified.

// Fills the whole picture with the background colour and ends any selection.
void tbtnClearClick(Editor& e);
// Moves the drawing so that the box around its drawing-colour dots lies in the middle; an odd
// dot of spare room goes to the right and to the bottom. Acts on the whole picture and ends any
// selection.
void tbtnCenterClick(Editor& e);
// Inverts the floating content when a selection is active, else the whole picture.
void tbtnReverseClick(Editor& e);

enum class FlipDirection { UpDown, LeftRight };
// Mirrors the floating content when a selection is active, else the whole picture.
void FlipPicture(Editor& e, FlipDirection direction);

enum class ScrollDirection { Up, Down, Left, Right };
// Rotates the whole picture by one dot; what leaves on one side comes back on the other. Ends
// any selection first, leaving its content where it is.
void ScrollPicture(Editor& e, ScrollDirection direction);

} // namespace vemurion
