#pragma once

#include "editor/Editor.h"

namespace vemurion {

// A 48 x 32 picture chosen in the conversion dialog, pasted into the edit canvas as a floating
// selection covering the whole picture.
void pasteConvertedIntoCanvas(Editor& e, const Raster& picture);

} // namespace vemurion
