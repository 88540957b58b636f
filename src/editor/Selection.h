#pragma once

#include "spine/Editor.h"

namespace vemurion {

// Width and height of the selection rectangle in dots.
int selectionWidth(const Selection& s);
int selectionHeight(const Selection& s);

// Makes the selection rectangle the floating selection; a single dot selects nothing.
void LiftSelection(Editor& e);
// Restores the picture under the floating content, then stamps the content at (px, py) in the
// current stamping mode, clipped to the picture.
void StampSelection(Editor& e, int px, int py);
// Follows a drag of the floating content to the pointer dot (cursorX, cursorY).
void moveSelectionContent(Editor& e);
// The rectangle spanned by the press dot and (x, y), normalised and clamped to the picture.
void setRubberBand(Editor& e, int x, int y);

// Makes the selection tool current without ending the selection, for commands that make one.
void makeSelectToolCurrent(Editor& e);

} // namespace vemurion
