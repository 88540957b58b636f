#include "editor/PictureOps.h"

#include "editor/CanvasView.h"
#include "editor/Undo.h"
#include "framelist/FrameList.h"
#include "spine/CanvasState.h"

namespace vemurion {

namespace {

Raster inverted(const Raster& picture) {
    Raster out = picture;
    for (Rgb& dot : out.dots())
        dot ^= kWhite;
    return out;
}

Raster mirrored(const Raster& picture, FlipDirection direction) {
    const int w = picture.width();
    const int h = picture.height();
    Raster out(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Rgb dot = picture.at(x, y);
            if (direction == FlipDirection::LeftRight) {
                out.set(w - 1 - x, y, dot);
            } else {
                out.set(x, h - 1 - y, dot);
            }
        }
    }
    return out;
}

// Replaces the floating content (selection active) or else the whole picture with `change` of
// it, then shows the result. Content is written opaquely into the working picture, whatever the
// stamping mode; the picture under it stays as it was lifted.
template <class Change> void changeContentOrPicture(Editor& e, Change change) {
    SaveUndo(e);
    const Selection& s = e.sel;
    if (s.isSelected) {
        e.imgCopyWork = change(e.imgCopyWork);
        e.imgListWork.paste(e.imgCopyWork, s.selLeft, s.selTop);
    } else {
        e.imgListWork = change(e.imgListWork);
    }
    CommitWorkPicture(e);
    if (s.isSelected) showSelectionFrame(e, s.selLeft, s.selTop, s.selRight, s.selBottom);
    CommitTrailingFrame(e);
    RefreshFrameSlots(e);
    e.doc.Modified = true;
}

} // namespace

void tbtnClearClick(Editor& e) {
    SaveUndo(e);
    e.imgListWork.fill(e.rightColor);
    CommitWorkPicture(e);
    CommitTrailingFrame(e);
    Deselect(e);
    e.doc.Modified = true;
}

void tbtnCenterClick(Editor& e) {
    SaveUndo(e);
    const Raster picture = e.imgListWork;
    // A dot is drawn when its blue byte is the drawing colour's; pictures hold only black and
    // white, so that tells the two apart.
    const auto drawn = [&](int x, int y) {
        return blueOf(picture.at(x, y)) == blueOf(e.leftColor);
    };
    int top = -1;
    int bottom = -1;
    int left = -1;
    int right = -1;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            if (!drawn(x, y)) continue;
            if (top < 0) top = y;
            bottom = y;
            if (left < 0 || x < left) left = x;
            if (x > right) right = x;
        }
    }
    // With nothing drawn every edge is -1; the picture is all background then, so wherever it
    // lands nothing changes.
    const int h = bottom - top + 1;
    const int w = right - left + 1;
    e.imgListWork.fill(e.rightColor);
    e.imgListWork.paste(picture, (kFrameWidth - w) / 2 - left, (kFrameHeight - h) / 2 - top);
    CommitWorkPicture(e);
    CommitTrailingFrame(e);
    Deselect(e);
    e.doc.Modified = true;
}

void tbtnReverseClick(Editor& e) {
    changeContentOrPicture(e, inverted);
}

void FlipPicture(Editor& e, FlipDirection direction) {
    changeContentOrPicture(
        e, [direction](const Raster& picture) { return mirrored(picture, direction); });
}

void ScrollPicture(Editor& e, ScrollDirection direction) {
    Deselect(e);
    SaveUndo(e);
    int dx = 0;
    int dy = 0;
    switch (direction) {
    case ScrollDirection::Up:
        dy = -1;
        break;
    case ScrollDirection::Down:
        dy = 1;
        break;
    case ScrollDirection::Left:
        dx = -1;
        break;
    case ScrollDirection::Right:
        dx = 1;
        break;
    }
    const Raster picture = e.imgListWork;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            e.imgListWork.set((x + dx + kFrameWidth) % kFrameWidth,
                              (y + dy + kFrameHeight) % kFrameHeight, picture.at(x, y));
        }
    }
    CommitWorkPicture(e);
    RefreshFrameSlots(e);
    e.doc.Modified = true;
}

} // namespace vemurion
