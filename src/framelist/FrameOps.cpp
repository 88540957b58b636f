#include "framelist/FrameOps.h"

#include "app/CommandStates.h"
#include "framelist/FrameList.h"

namespace vemurion {

void openFrameGap(AnimationDocument& doc, int index) {
    for (int k = doc.FrameCount - 1; k >= index; --k) {
        doc.sheet.CopyFrameCell(k + 1, k);
        doc.DisplayTimes[static_cast<std::size_t>(k + 1)] =
            doc.DisplayTimes[static_cast<std::size_t>(k)];
    }
    doc.FrameCount += 1;
}

void closeFrameGap(AnimationDocument& doc, int index) {
    for (int k = index; k < doc.FrameCount; ++k) {
        doc.sheet.CopyFrameCell(k, k + 1);
        doc.DisplayTimes[static_cast<std::size_t>(k)] =
            doc.DisplayTimes[static_cast<std::size_t>(k + 1)];
    }
    doc.FrameCount -= 1;
}

void showFrameList(Editor& e, int index) {
    e.doc.CurrentFrame = index;
    applyScrollRange(e);
    ScrollToCurrent(e);
    RefreshFrameSlots(e);
    UpdateFrameListCommands(e);
    SelectFrameSlot(e, slotOfFrame(e, index));
}

void InsertFrameAt(Editor& e, int time, const Raster& picture) {
    AnimationDocument& doc = e.doc;
    if (doc.FrameCount >= kMaxFrames) return;
    const int i = doc.CurrentFrame;
    e.undo.undoState = 1;
    e.undo.undoFrame = i;
    openFrameGap(doc, i);
    doc.DisplayTimes[static_cast<std::size_t>(i)] = time;
    doc.sheet.setCell(i, picture);
    showFrameList(e, i);
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
    closeFrameGap(doc, i);
    showFrameList(e, i);
    doc.Modified = true;
    UpdateCommandStates(e);
}

} // namespace vemurion
