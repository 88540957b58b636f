#include "framelist/FrameOps.h"

#include "framelist/FrameClipboard.h"
#include "framelist/FrameList.h"
#include "import/PictureClassify.h"
#include "import/PictureRoad.h"
#include "spine/CanvasState.h"
#include "spine/CommandStates.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

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

void showFrameList(Editor& e, int index, ListScroll scroll) {
    e.doc.CurrentFrame = index;
    applyScrollRange(e);
    if (scroll == ListScroll::ToFrame) ScrollToCurrent(e);
    RefreshFrameSlots(e);
    UpdateFrameListCommands(e);
    const int slot = slotOfFrame(e, index);
    if (slot >= 0) {
        SelectFrameSlot(e, slot);
        return;
    }
    Deselect(e);
    UpdateListCursor(e);
    e.imgListWork = e.doc.sheet.cell(index);
    ShowCurrentFrame(e);
}

void InsertFrameAt(Editor& e, int time, const Raster& picture, ListScroll scroll) {
    AnimationDocument& doc = e.doc;
    if (doc.FrameCount >= kMaxFrames) return;
    const int i = doc.CurrentFrame;
    e.undo.undoState = 1;
    e.undo.undoFrame = i;
    openFrameGap(doc, i);
    doc.DisplayTimes[static_cast<std::size_t>(i)] = time;
    doc.sheet.setCell(i, picture);
    showFrameList(e, i, scroll);
    doc.Modified = true;
    UpdateCommandStates(e);
}

void RemoveCurrentFrame(Editor& e) {
    AnimationDocument& doc = e.doc;
    const int i = doc.CurrentFrame;
    if (i >= doc.FrameCount || doc.FrameCount <= 1) return;
    e.undo.undoState = 2;
    e.undo.undoFrame = i;
    e.undo.undoTime = doc.DisplayTimes[static_cast<std::size_t>(i)];
    e.undo.imgUndo = e.imgListWork;
    closeFrameGap(doc, i);
    showFrameList(e, i);
    doc.Modified = true;
    UpdateCommandStates(e);
}

namespace {

bool canGrow(const Editor& e) {
    return !e.playing && e.doc.FrameCount < kMaxFrames;
}

bool canRemoveCurrent(const Editor& e) {
    return !e.playing && !e.doc.onAppendSlot() && e.doc.FrameCount >= 2;
}

bool clipboardHasFrameOrPicture(const Editor& e) {
    return e.clipboard != nullptr && (e.clipboard->hasFrameBlock() || e.clipboard->hasPicture());
}

} // namespace

void newFrame(Editor& e) {
    if (!canGrow(e)) return;
    InsertFrameAt(e, 1, Raster(kFrameWidth, kFrameHeight, e.rightColor));
}

void CopyFrameToClipboard(Editor& e, int index) {
    if (e.clipboard == nullptr || index < 0 || index >= kMaxFrames) return;
    e.clipboard->setFrameBlock(encodeFrameBlock(e.doc.DisplayTimes[static_cast<std::size_t>(index)],
                                                e.doc.sheet.cell(index)));
}

void copyFrame(Editor& e) {
    if (e.playing) return;
    CopyFrameToClipboard(e, e.doc.CurrentFrame);
    UpdateCommandStates(e);
}

void cutFrame(Editor& e) {
    if (!canRemoveCurrent(e)) return;
    CopyFrameToClipboard(e, e.doc.CurrentFrame);
    RemoveCurrentFrame(e);
}

void deleteFrame(Editor& e) {
    if (!canRemoveCurrent(e) || e.prompts == nullptr) return;
    if (!e.prompts->askOkCancel("選択されているイメージをリストから削除します.よろしいですか?",
                                "削除の確認")) {
        return;
    }
    RemoveCurrentFrame(e);
}

void PasteFrame(Editor& e) {
    if (!canGrow(e) || e.clipboard == nullptr) return;
    if (e.clipboard->hasFrameBlock()) {
        const auto block = e.clipboard->frameBlock();
        if (const auto frame = block ? decodeFrameBlock(*block) : std::nullopt) {
            InsertFrameAt(e, frame->displayTime, frame->picture);
            return;
        }
    }
    if (!e.clipboard->hasPicture()) return;
    ImportResult read = importClipboardPicture(*e.clipboard);
    if (!read.picture) {
        if (!read.error.empty() && e.prompts != nullptr) e.prompts->warn(read.error);
        return;
    }
    const PictureFit fit = read.picture->fit;
    if (fit == PictureFit::Plain) {
        InsertFrameAt(e, 1, centredOnFrame(read.picture->picture, e.rightColor));
    } else if (e.conversion != nullptr) {
        ConversionRequest request;
        request.picture = std::move(*read.picture);
        request.reason = static_cast<int>(fit);
        e.conversion->showConversion(request);
    }
}

void frameMenuOpened(Editor& e, FrameMenu menu) {
    const bool popup = menu == FrameMenu::Popup;
    const bool real = !e.doc.onAppendSlot();
    const bool removable = real && e.doc.FrameCount >= 2;
    e.setEnabled(popup ? "Cut2" : "T1", removable);
    e.setEnabled(popup ? "Delete2" : "D1", removable);
    e.setEnabled(popup ? "Copy2" : "P2", real);
    e.setEnabled(popup ? "Paste2" : "P3",
                 clipboardHasFrameOrPicture(e) && e.doc.FrameCount < kMaxFrames);
    e.notify(kViewCommands);
}

void moveCurrentFrame(Editor& e, int step) {
    AnimationDocument& doc = e.doc;
    const int from = doc.CurrentFrame;
    const int to = from + step;
    if (e.playing || doc.onAppendSlot() || to < 0 || to >= doc.FrameCount) return;
    Deselect(e);
    const Raster moved = doc.sheet.cell(from);
    doc.sheet.setCell(from, doc.sheet.cell(to));
    doc.sheet.setCell(to, moved);
    std::swap(doc.DisplayTimes[static_cast<std::size_t>(from)],
              doc.DisplayTimes[static_cast<std::size_t>(to)]);
    // A picture edit or an insertion names its frame; a removal names a place in the list.
    if (e.undo.undoState == 0 || e.undo.undoState == 1) {
        if (e.undo.undoFrame == from) {
            e.undo.undoFrame = to;
        } else if (e.undo.undoFrame == to) {
            e.undo.undoFrame = from;
        }
    }
    showFrameList(e, to);
    doc.Modified = true;
    UpdateCommandStates(e);
}

void setDisplayTimes(Editor& e, int first, int last, int time) {
    if (first > last) std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, e.doc.FrameCount - 1);
    if (e.playing || first > last) return;
    time = std::clamp(time, kMinTime, kMaxTime);
    for (int i = first; i <= last; ++i)
        e.doc.DisplayTimes[static_cast<std::size_t>(i)] = time;
    RefreshFrameSlots(e);
    e.doc.Modified = true;
}

void typeDisplayTime(Editor& e, int index) {
    if (e.playing || e.prompts == nullptr || index < 0 || index >= e.doc.FrameCount) return;
    Deselect(e);
    const int time = e.doc.DisplayTimes[static_cast<std::size_t>(index)];
    const auto typed = e.prompts->askNumbers(
        {"表示時間の設定",
         {{"イメージ " + std::to_string(index + 1) + " の表示時間 (1-255):", time, kMinTime,
           kMaxTime}}});
    if (typed && typed->size() == 1) setDisplayTimes(e, index, index, typed->front());
}

void typeSlotTime(Editor& e, int slot) {
    typeDisplayTime(e, e.list.position + slot);
}

void setDisplayTimesForRange(Editor& e) {
    if (e.playing || e.prompts == nullptr) return;
    Deselect(e);
    const int count = e.doc.FrameCount;
    // The append slot offers the last frame.
    const int current = std::min(e.doc.CurrentFrame, count - 1);
    const int time = e.doc.DisplayTimes[static_cast<std::size_t>(current)];
    const auto typed = e.prompts->askNumbers({"表示時間の一括設定",
                                              {{"最初のイメージ:", current + 1, 1, count},
                                               {"最後のイメージ:", current + 1, 1, count},
                                               {"表示時間 (1-255):", time, kMinTime, kMaxTime}}});
    if (typed && typed->size() == 3)
        setDisplayTimes(e, (*typed)[0] - 1, (*typed)[1] - 1, (*typed)[2]);
}

void goToFrame(Editor& e, int index) {
    if (e.playing || e.gestureHeld) return;
    index = std::clamp(index, 0, std::min(e.doc.FrameCount, kMaxFrames - 1));
    showFrameList(e, index);
}

} // namespace vemurion
