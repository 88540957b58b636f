#include "document/DocumentOps.h"

#include "editor/CanvasView.h"
#include "files/FileKind.h"

namespace vemurion {

std::string documentTitle(const std::string& fileName) {
    return "Vemurion - [" + fileNamePart(fileName) + "]";
}

void ShowDocumentTitle(Editor& e) {
    e.title = documentTitle(e.doc.DocumentFileName);
    e.notify(kViewTitle);
}

void ShowLoopCount(Editor& e) {
    e.notify(kViewLoopCount);
}

void NewDocument(Editor& e) {
    AnimationDocument& doc = e.doc;
    doc.CurrentFrame = 0;
    e.cursorX = 0;
    e.cursorY = 0;
    doc.LoopCount = kInfiniteLoops;
    doc.FrameCount = 1;
    doc.DisplayTimes[0] = 1;
    doc.sheet.raster().fill(e.rightColor);
    e.imgListWork = doc.sheet.cell(0);
    ShowCurrentFrame(e);
    ShowLoopCount(e);
    e.list.position = 0;
    e.list.scrollEnabled = false;
    e.list.maximum = 2;
    RefreshFrameSlots(e);
    UpdateListCursor(e);
    UpdateFrameListCommands(e);
    SelectFrameSlot(e, slotOfFrame(e, doc.CurrentFrame));
    doc.DocumentFileName = kUntitled;
    ShowDocumentTitle(e);
    doc.Modified = false;
}

void CommitTrailingFrame(Editor& e) {
    AnimationDocument& doc = e.doc;
    if (doc.CurrentFrame != doc.FrameCount) return;
    doc.FrameCount += 1;
    doc.DisplayTimes[static_cast<std::size_t>(doc.CurrentFrame)] = 1;
    RefreshFrameSlots(e);
    UpdateFrameListCommands(e);
}

void udLoopsClick(Editor& e, int position, StepDirection direction, std::uint32_t nowMs) {
    e.doc.LoopCount = holdStep(e.hold, position, direction, nowMs);
    ShowLoopCount(e);
    e.doc.Modified = true;
}

} // namespace vemurion
