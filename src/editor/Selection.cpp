#include "editor/Selection.h"

#include "editor/CanvasInput.h"
#include "editor/CanvasView.h"
#include "framelist/FrameList.h"
#include "spine/CommandStates.h"

#include <algorithm>

namespace vemurion {

int selectionWidth(const Selection& s) {
    return s.selRight - s.selLeft + 1;
}
int selectionHeight(const Selection& s) {
    return s.selBottom - s.selTop + 1;
}

void LiftSelection(Editor& e) {
    Selection& s = e.sel;
    if (s.selLeft == s.selRight && s.selTop == s.selBottom) return;
    if (selectionWidth(s) < 1 || selectionHeight(s) < 1) return;
    s.isSelected = true;
    e.imgDrawWork = e.imgListWork;
    e.imgDrawWork.fillRect(s.selLeft, s.selTop, s.selRight, s.selBottom, e.rightColor);
    e.imgCopyWork = e.imgListWork.crop(s.selLeft, s.selTop, selectionWidth(s), selectionHeight(s),
                                       e.rightColor);
    showSelectionFrame(e, s.selLeft, s.selTop, s.selRight, s.selBottom);
}

void StampSelection(Editor& e, int px, int py) {
    e.imgListWork = e.imgDrawWork;
    const Raster& content = e.imgCopyWork;
    // Transparent stamping keeps the destination wherever the content has the background
    // colour: AND lets white through on the black-on-white picture, OR lets black through on
    // the white-on-black one.
    const bool andMode = e.sel.transparent && e.colorMode == ColorMode::BlackWhite;
    const bool orMode = e.sel.transparent && e.colorMode == ColorMode::WhiteBlack;
    for (int y = 0; y < content.height(); ++y) {
        for (int x = 0; x < content.width(); ++x) {
            const int tx = px + x;
            const int ty = py + y;
            if (!e.imgListWork.contains(tx, ty)) continue;
            const Rgb dot = content.at(x, y);
            const Rgb under = e.imgListWork.at(tx, ty);
            e.imgListWork.set(tx, ty, andMode ? (under & dot) : orMode ? (under | dot) : dot);
        }
    }
}

void moveSelectionContent(Editor& e) {
    const Selection& s = e.sel;
    const int px = e.cursorX + s.selLeft - e.startX;
    const int py = e.cursorY + s.selTop - e.startY;
    const Raster before = e.imgListWork;
    StampSelection(e, px, py);
    // On the append slot, content moved over its own background makes no frame.
    const bool changed = e.imgListWork != before;
    CommitWorkPicture(e);
    showSelectionFrame(e, px, py, px + selectionWidth(s) - 1, py + selectionHeight(s) - 1);
    if (changed) CommitTrailingFrame(e);
    e.doc.Modified = true;
}

void setRubberBand(Editor& e, int x, int y) {
    // A press on the canvas's last grid line starts at dot 48 or 32, outside the picture; every
    // edge is clamped so that such a drag still spans at least one dot of the picture.
    auto clamp = [](int v, int last) { return std::clamp(v, 0, last); };
    Selection& s = e.sel;
    s.selLeft = clamp(std::min(e.startX, x), kFrameWidth - 1);
    s.selTop = clamp(std::min(e.startY, y), kFrameHeight - 1);
    s.selRight = clamp(std::max(e.startX, x), kFrameWidth - 1);
    s.selBottom = clamp(std::max(e.startY, y), kFrameHeight - 1);
}

void makeSelectToolCurrent(Editor& e) {
    e.tool = EditTool::Select;
    e.modeCaption = modeCaption(EditTool::Select);
    e.notify(kViewModeCaption | kViewTools);
}

} // namespace vemurion
