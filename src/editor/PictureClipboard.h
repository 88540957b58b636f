#pragma once

#include "spine/Editor.h"

namespace vemurion {

// The picture commands of the edit menu. Pictures on the clipboard are w x h dots, the size of
// the selection rectangle.

// Makes the whole picture the floating selection, with the selection tool current. Saves no
// undo: an undo returns to the picture before the selection.
void SelectAll1Click(Editor& e);
// Puts the floating content, as lifted or pasted, on the clipboard. Without a selection,
// nothing.
void Copy1Click(Editor& e);
// Puts what the selection rectangle shows on the clipboard, fills the rectangle with the
// background colour and ends the selection. Without a selection, nothing.
void Cut1Click(Editor& e);
// Pastes the clipboard's picture as a floating selection. A black-and-white picture of at most
// 48 x 32 is centred on the picture at once; any other goes through the conversion dialog.
void Paste1Click(Editor& e);
// The transparent-paste button went down (true) or up. Floating content is stamped again at once
// in the new mode.
void tbtnTransClick(Editor& e, bool transparent);

// A 48 x 32 picture chosen in the conversion dialog, pasted into the edit canvas as a floating
// selection covering the whole picture.
void pasteConvertedIntoCanvas(Editor& e, const Raster& picture);

} // namespace vemurion
