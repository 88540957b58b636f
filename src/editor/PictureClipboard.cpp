#include "editor/PictureClipboard.h"

#include "editor/CanvasView.h"
#include "editor/Selection.h"
#include "editor/Undo.h"
#include "framelist/FrameList.h"
#include "import/PictureRoad.h"
#include "spine/CanvasState.h"
#include "spine/CommandStates.h"

namespace vemurion {

namespace {

// Pastes `picture` (black and white, at most 48 x 32) as floating content with its top-left dot
// at (left, top). The picture under it stays whole: nothing is lifted.
void pasteFloating(Editor& e, const Raster& picture, int left, int top) {
    SaveUndo(e);
    Selection& s = e.sel;
    s.selLeft = left;
    s.selTop = top;
    s.selRight = left + picture.width() - 1;
    s.selBottom = top + picture.height() - 1;
    e.imgCopyWork = picture;
    e.imgDrawWork = e.imgListWork;
    StampSelection(e, s.selLeft, s.selTop);
    CommitWorkPicture(e);
    showSelectionFrame(e, s.selLeft, s.selTop, s.selRight, s.selBottom);
    RefreshFrameSlots(e);
    s.isSelected = true;
    makeSelectToolCurrent(e);
    CommitTrailingFrame(e);
    e.doc.Modified = true;
    UpdateCommandStates(e);
}

void PasteFromClipboard(Editor& e) {
    if (e.clipboard == nullptr || !e.clipboard->hasPicture()) return;
    // The road refuses a picture without dots, which would make a selection rectangle with
    // right < left.
    ImportResult read = importClipboardPicture(*e.clipboard);
    if (!read.picture) {
        if (!read.error.empty() && e.prompts != nullptr) e.prompts->warn(read.error);
        return;
    }
    const PictureFit fit = read.picture->fit;
    if (fit == PictureFit::Plain) {
        const Raster& picture = read.picture->picture;
        pasteFloating(e, picture, (kFrameWidth - picture.width()) / 2,
                      (kFrameHeight - picture.height()) / 2);
        return;
    }
    if (e.conversion != nullptr) {
        ConversionRequest request;
        request.picture = std::move(*read.picture);
        request.destination = ConversionTarget::Canvas;
        request.reason = static_cast<int>(fit);
        request.modal = true;
        // On confirmation the dialog calls pasteConvertedIntoCanvas before this returns.
        e.conversion->showConversion(request);
    }
    makeSelectToolCurrent(e);
}

} // namespace

void SelectAll1Click(Editor& e) {
    makeSelectToolCurrent(e);
    clearCanvasMark(e);
    Selection& s = e.sel;
    s.selLeft = 0;
    s.selTop = 0;
    s.selRight = kFrameWidth - 1;
    s.selBottom = kFrameHeight - 1;
    LiftSelection(e);
    UpdateCommandStates(e);
}

void Copy1Click(Editor& e) {
    const Selection& s = e.sel;
    if (!s.isSelected || e.clipboard == nullptr) return;
    e.clipboard->setPicture(e.imgCopyWork.crop(0, 0, selectionWidth(s), selectionHeight(s)));
    UpdateCommandStates(e);
}

void Cut1Click(Editor& e) {
    const Selection& s = e.sel;
    // Without a clipboard a cut would only delete.
    if (!s.isSelected || e.clipboard == nullptr) return;
    // Parts of a dragged rectangle outside the picture read as the background colour.
    e.imgCopyWork = e.imgListWork.crop(s.selLeft, s.selTop, selectionWidth(s), selectionHeight(s),
                                       e.rightColor);
    e.clipboard->setPicture(e.imgCopyWork);
    const Raster before = e.imgListWork;
    e.imgListWork.fillRect(s.selLeft, s.selTop, s.selRight, s.selBottom, e.rightColor);
    // Cutting from the blank append slot makes no frame.
    const bool changed = e.imgListWork != before;
    CommitWorkPicture(e);
    RefreshFrameSlots(e);
    Deselect(e);
    if (changed) CommitTrailingFrame(e);
    e.doc.Modified = true;
    UpdateCommandStates(e);
}

void Paste1Click(Editor& e) {
    PasteFromClipboard(e);
}

void tbtnTransClick(Editor& e, bool transparent) {
    Selection& s = e.sel;
    s.transparent = transparent;
    e.notify(kViewTools);
    if (!s.isSelected) return;
    const Raster before = e.imgListWork;
    StampSelection(e, s.selLeft, s.selTop);
    const bool changed = e.imgListWork != before;
    CommitWorkPicture(e);
    showSelectionFrame(e, s.selLeft, s.selTop, s.selRight, s.selBottom);
    if (changed) CommitTrailingFrame(e);
    e.doc.Modified = true;
}

void pasteConvertedIntoCanvas(Editor& e, const Raster& picture) {
    pasteFloating(e, picture.crop(0, 0, kFrameWidth, kFrameHeight, e.rightColor), 0, 0);
}

} // namespace vemurion
