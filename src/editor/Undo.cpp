#include "editor/Undo.h"

#include "app/CommandStates.h"
#include "editor/CanvasView.h"
#include "editor/Selection.h"
#include "framelist/FrameList.h"

namespace vemurion {

namespace {

void undoPictureEdit(Editor& e) {
    UndoRecord& u = e.undo;
    if (e.doc.CurrentFrame != u.undoFrame) {
        e.doc.CurrentFrame = u.undoFrame;
        ScrollToCurrent(e);
        SelectFrameSlot(e, slotOfFrame(e, u.undoFrame));
    }
    e.imgUndoUndo = e.imgListWork;
    e.imgListWork = u.imgUndo;
    e.doc.sheet.setCell(e.doc.CurrentFrame, e.imgListWork);
    u.imgUndo = e.imgUndoUndo;
    ShowCurrentFrame(e);
    showDotCursor(e, e.cursorX, e.cursorY);
    ScrollToCurrent(e);
    RefreshFrameSlots(e);
}

void undoInsertion(Editor& e) {
    UndoRecord& u = e.undo;
    AnimationDocument& doc = e.doc;
    doc.CurrentFrame = u.undoFrame;
    u.undoState = 2;
    u.imgUndo = doc.sheet.cell(u.undoFrame);
    for (int k = u.undoFrame; k < doc.FrameCount - 1; ++k) {
        doc.sheet.CopyFrameCell(k, k + 1);
        doc.DisplayTimes[static_cast<std::size_t>(k)] =
            doc.DisplayTimes[static_cast<std::size_t>(k + 1)];
    }
    doc.FrameCount -= 1;
    applyScrollRange(e);
    ScrollToCurrent(e);
    RefreshFrameSlots(e);
    UpdateFrameListCommands(e);
    SelectFrameSlot(e, slotOfFrame(e, doc.CurrentFrame));
}

void undoRemoval(Editor& e) {
    UndoRecord& u = e.undo;
    AnimationDocument& doc = e.doc;
    // A full list has no room for the frame: the record stays, so that undo works again once
    // a frame has been removed.
    if (doc.FrameCount >= kMaxFrames) return;
    doc.CurrentFrame = u.undoFrame;
    u.undoState = 1;
    for (int k = doc.FrameCount - 1; k >= u.undoFrame; --k) {
        doc.sheet.CopyFrameCell(k + 1, k);
        doc.DisplayTimes[static_cast<std::size_t>(k + 1)] =
            doc.DisplayTimes[static_cast<std::size_t>(k)];
    }
    doc.FrameCount += 1;
    applyScrollRange(e);
    doc.DisplayTimes[static_cast<std::size_t>(doc.CurrentFrame)] = 1;
    BlankFrame(e, doc.CurrentFrame);
    e.imgListWork = u.imgUndo;
    doc.sheet.setCell(doc.CurrentFrame, e.imgListWork);
    ShowCurrentFrame(e);
    ScrollToCurrent(e);
    RefreshFrameSlots(e);
    UpdateFrameListCommands(e);
    SelectFrameSlot(e, slotOfFrame(e, doc.CurrentFrame));
}

} // namespace

void SaveUndo(Editor& e) {
    e.undo.undoState = 0;
    e.undo.undoFrame = e.doc.CurrentFrame;
    e.undo.imgUndo = e.imgListWork;
    UpdateCommandStates(e);
}

void discardUndo(Editor& e) {
    e.undo.undoState = -1;
}

void Undo1Click(Editor& e) {
    switch (e.undo.undoState) {
    case 0:
        undoPictureEdit(e);
        break;
    case 1:
        undoInsertion(e);
        break;
    case 2:
        undoRemoval(e);
        break;
    default:
        break;
    }
    Deselect(e);
    e.doc.Modified = true;
    UpdateCommandStates(e);
}

} // namespace vemurion
