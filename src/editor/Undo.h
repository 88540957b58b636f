#pragma once

#include "spine/Editor.h"

namespace vemurion {

// Keeps the working picture as the other version of the current frame, before an edit.
void SaveUndo(Editor& e);
// Reverses the undo record; a second call reverses the reversal.
void Undo1Click(Editor& e);
// Forgets the record: Undo becomes unavailable.
void discardUndo(Editor& e);

} // namespace vemurion
