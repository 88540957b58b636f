#pragma once

#include "editor/Editor.h"
#include "framelist/FrameList.h"

#include <cstdint>

namespace vemurion {

// Makes the document a fresh one-frame document in the background colour. Leaves the undo
// record alone; callers empty it.
void NewDocument(Editor& e);
// Turns the append slot into a frame of display time 1 when it is the current frame.
void CommitTrailingFrame(Editor& e);
void ShowLoopCount(Editor& e);
void ShowDocumentTitle(Editor& e);
// "Vemurion - [" + the file-name part of `fileName` + "]".
std::string documentTitle(const std::string& fileName);

// The loop count up-down stepped to `position`.
void udLoopsClick(Editor& e, int position, StepDirection direction, std::uint32_t nowMs);

} // namespace vemurion
