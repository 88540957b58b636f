#include "editor/Undo.h"

#include "editor/CanvasView.h"
#include "framelist/FrameList.h"
#include "framelist/FrameOps.h"
#include "spine/CanvasState.h"
#include "spine/CommandStates.h"

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
    u.undoState = 2;
    u.imgUndo = e.doc.sheet.cell(u.undoFrame);
    u.undoTime = e.doc.DisplayTimes[static_cast<std::size_t>(u.undoFrame)];
    closeFrameGap(e.doc, u.undoFrame);
    showFrameList(e, u.undoFrame);
}

void undoRemoval(Editor& e) {
    UndoRecord& u = e.undo;
    // A full list has no room for the frame: the record stays, so that undo works again once
    // a frame has been removed.
    if (e.doc.FrameCount >= kMaxFrames) return;
    u.undoState = 1;
    openFrameGap(e.doc, u.undoFrame);
    e.doc.DisplayTimes[static_cast<std::size_t>(u.undoFrame)] = u.undoTime;
    e.doc.sheet.setCell(u.undoFrame, u.imgUndo);
    showFrameList(e, u.undoFrame);
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
