#include "framelist/FrameOps.h"

#include "app/CommandStates.h"
#include "framelist/FrameList.h"

namespace vemurion {

void InsertFrameAt(Editor& e, int time, const Raster& picture) {
    AnimationDocument& doc = e.doc;
    if (doc.FrameCount >= kMaxFrames) return;
    const int i = doc.CurrentFrame;
    e.undo.undoState = 1;
    e.undo.undoFrame = i;
    for (int k = doc.FrameCount - 1; k >= i; --k) {
        doc.sheet.CopyFrameCell(k + 1, k);
        doc.DisplayTimes[static_cast<std::size_t>(k + 1)] =
            doc.DisplayTimes[static_cast<std::size_t>(k)];
    }
    doc.FrameCount += 1;
    applyScrollRange(e);
    doc.DisplayTimes[static_cast<std::size_t>(i)] = time;
    doc.sheet.setCell(i, picture);
    ScrollToCurrent(e);
    RefreshFrameSlots(e);
    UpdateFrameListCommands(e);
    SelectFrameSlot(e, slotOfFrame(e, i));
    doc.Modified = true;
    UpdateCommandStates(e);
}

void RemoveCurrentFrame(Editor& e) {
    AnimationDocument& doc = e.doc;
    const int i = doc.CurrentFrame;
    if (i >= doc.FrameCount || doc.FrameCount <= 1) return;
    e.undo.undoState = 2;
    e.undo.undoFrame = i;
    e.undo.imgUndo = e.imgListWork;
    for (int k = i; k < doc.FrameCount; ++k) {
        doc.sheet.CopyFrameCell(k, k + 1);
        doc.DisplayTimes[static_cast<std::size_t>(k)] =
            doc.DisplayTimes[static_cast<std::size_t>(k + 1)];
    }
    doc.FrameCount -= 1;
    applyScrollRange(e);
    ScrollToCurrent(e);
    RefreshFrameSlots(e);
    UpdateFrameListCommands(e);
    SelectFrameSlot(e, slotOfFrame(e, i));
    doc.Modified = true;
    UpdateCommandStates(e);
}

} // namespace vemurion
