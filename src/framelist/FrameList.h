#pragma once

#include "spine/Editor.h"

#include <cstdint>

namespace vemurion {

enum class StepDirection { Down, Up };

// The range of a display time, and of the hold rule's steps.
inline constexpr int kMinTime = 1;
inline constexpr int kMaxTime = 255;

// The slot (0 to 4) that shows document index `index`, or -1 when it is scrolled out of view.
int slotOfFrame(const Editor& e, int index);

// With 5 frames or more the scroll bar is enabled with the maximum FrameCount - 4 (250 for a
// full list, so that the append slot is never shown then); with 4 or fewer it is disabled at
// position 0.
void applyScrollRange(Editor& e);
// The scroll position changed, by the user or by the program.
void scListChange(Editor& e, int position);

void RefreshFrameSlots(Editor& e);
void UpdateListCursor(Editor& e);
void SelectFrameSlot(Editor& e, int slot);
void ScrollToCurrent(Editor& e);
void UpdateFrameListCommands(Editor& e);

// The hold rule of the up-down controls, applied after the control has stepped by one to
// `position`: once the button has been held for more than a second, it steps by nine more, but
// not beyond 1 .. 255. Returns the new position.
int holdStep(HoldTimer& hold, int position, StepDirection direction, std::uint32_t nowMs);
void releaseHold(HoldTimer& hold);

// A display-time up-down of slot `slot` stepped to `position`.
void ChangeSlotTime(Editor& e, int slot, int position, StepDirection direction,
                    std::uint32_t nowMs);

// Turns the append slot into a frame of display time 1 when it is the current frame.
void CommitTrailingFrame(Editor& e);

void ShowLoopCount(Editor& e);
// The loop count up-down stepped to `position`.
void udLoopsClick(Editor& e, int position, StepDirection direction, std::uint32_t nowMs);

} // namespace vemurion
