#pragma once

#include "spine/Editor.h"

namespace vemurion {

// Brings the enabled states of the clipboard, frame, selection and undo commands in line with
// the document, the clipboard, the selection and the undo record. Does nothing while playing.
void UpdateCommandStates(Editor& e);

} // namespace vemurion
