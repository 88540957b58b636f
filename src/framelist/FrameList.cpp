#include "framelist/FrameList.h"

#include "spine/CanvasState.h"
#include "spine/CommandStates.h"

#include <algorithm>
#include <cstdio>

namespace vemurion {

namespace {

constexpr std::uint32_t kHoldDelayMs = 1000;
constexpr int kHoldExtraStep = 9;

std::string slotLabel(int index, int count) {
    char text[32];
    std::snprintf(text, sizeof text, "%03d/%03d", index + 1, count);
    return text;
}

} // namespace

int slotOfFrame(const Editor& e, int index) {
    const int slot = index - e.list.position;
    return slot >= 0 && slot < kSlotCount ? slot : -1;
}

void applyScrollRange(Editor& e) {
    FrameListState& list = e.list;
    const int count = e.doc.FrameCount;
    int position = list.position;
    if (count >= 5) {
        list.scrollEnabled = true;
        list.maximum = count == kMaxFrames ? 250 : count - 4;
        position = std::clamp(position, 0, list.maximum);
    } else {
        list.scrollEnabled = false;
        position = 0;
    }
    if (position != list.position) scListChange(e, position);
    e.notify(kViewSlots);
}

void scListChange(Editor& e, int position) {
    e.list.position = std::clamp(position, 0, std::max(e.list.maximum, 0));
    RefreshFrameSlots(e);
    UpdateListCursor(e);
}

void RefreshFrameSlots(Editor& e) {
    const AnimationDocument& doc = e.doc;
    for (int k = 0; k < kSlotCount; ++k) {
        SlotView& slot = e.list.slotViews[static_cast<std::size_t>(k)];
        slot.index = e.list.position + k;
        if (slot.index < doc.FrameCount) {
            slot.kind = SlotView::Kind::Frame;
            slot.label = slotLabel(slot.index, doc.FrameCount);
        } else if (slot.index == doc.FrameCount && doc.FrameCount < kMaxFrames) {
            slot.kind = SlotView::Kind::Append;
            slot.label.clear();
        } else {
            slot.kind = SlotView::Kind::Empty;
            slot.label.clear();
        }
        slot.time = doc.DisplayTimes[static_cast<std::size_t>(std::min(slot.index, 255))];
    }
    e.notify(kViewSlots);
}

void UpdateListCursor(Editor& e) {
    const int slot = slotOfFrame(e, e.doc.CurrentFrame);
    e.list.cursorVisible = slot >= 0;
    e.list.cursorSlot = std::max(slot, 0);
    e.notify(kViewSlots);
}

void SelectFrameSlot(Editor& e, int slot) {
    Deselect(e);
    UpdateCommandStates(e);
    const int index = e.list.position + slot;
    if (slot < 0 || index > e.doc.FrameCount || index >= kMaxFrames) return;
    e.doc.CurrentFrame = index;
    UpdateListCursor(e);
    if (index == e.doc.FrameCount) e.doc.sheet.fillCell(index, e.rightColor);
    e.imgListWork = e.doc.sheet.cell(index);
    ShowCurrentFrame(e);
}

void ScrollToCurrent(Editor& e) {
    const int current = e.doc.CurrentFrame;
    if (current < e.list.position) {
        scListChange(e, current);
    } else if (current > e.list.position + 4) {
        scListChange(e, current - 4);
    }
}

void UpdateFrameListCommands(Editor& e) {
    const bool removable = e.doc.FrameCount >= 2;
    for (const char* name : {"T1", "Cut2", "D1", "Delete2"})
        e.setEnabled(name, removable);
    const bool growable = e.doc.FrameCount < kMaxFrames;
    for (const char* name : {"I2", "N8", "P3", "Paste2"})
        e.setEnabled(name, growable);
    e.notify(kViewCommands);
    applyScrollRange(e);
}

int holdStep(HoldTimer& hold, int position, StepDirection direction, std::uint32_t nowMs) {
    if (!hold.held) {
        hold.held = true;
        hold.pressTick = nowMs;
    }
    // Unsigned difference: correct across the wrap of the millisecond counter.
    if (nowMs - hold.pressTick > kHoldDelayMs) {
        position = direction == StepDirection::Up ? std::min(position + kHoldExtraStep, kMaxTime)
                                                  : std::max(position - kHoldExtraStep, kMinTime);
    }
    return std::clamp(position, kMinTime, kMaxTime);
}

void releaseHold(HoldTimer& hold) {
    hold.held = false;
}

void ChangeSlotTime(Editor& e, int slot, int position, StepDirection direction,
                    std::uint32_t nowMs) {
    const int index = e.list.position + slot;
    if (index < 0 || index >= e.doc.FrameCount) return;
    e.doc.DisplayTimes[static_cast<std::size_t>(index)] =
        holdStep(e.hold, position, direction, nowMs);
    RefreshFrameSlots(e);
    e.doc.Modified = true;
}

void CommitTrailingFrame(Editor& e) {
    AnimationDocument& doc = e.doc;
    if (doc.CurrentFrame != doc.FrameCount) return;
    doc.FrameCount += 1;
    doc.DisplayTimes[static_cast<std::size_t>(doc.CurrentFrame)] = 1;
    RefreshFrameSlots(e);
    UpdateFrameListCommands(e);
}

void ShowLoopCount(Editor& e) {
    e.notify(kViewLoopCount);
}

void udLoopsClick(Editor& e, int position, StepDirection direction, std::uint32_t nowMs) {
    e.doc.LoopCount = holdStep(e.hold, position, direction, nowMs);
    ShowLoopCount(e);
    e.doc.Modified = true;
}

} // namespace vemurion
