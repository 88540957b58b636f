#include "editor/CanvasView.h"

#include "framelist/FrameList.h"
#include "spine/CanvasState.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vemurion {

namespace {

void drawMark(const Editor& e, std::uint32_t* pixels, int stride) {
    const CanvasMark& m = e.mark;
    if (m.kind == CanvasMark::Kind::None) return;
    // The square lies on the grid lines around the dots, so hiding it restores the grid.
    const int x0 = kCanvasScale * m.left;
    const int y0 = kCanvasScale * m.top;
    const int x1 = kCanvasScale * m.right + kCanvasScale;
    const int y1 = kCanvasScale * m.bottom + kCanvasScale;
    const std::uint32_t colour = 0xFF000000u | e.cursorColor;
    auto plot = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < kCanvasWidth && y < kCanvasHeight) {
            pixels[static_cast<std::ptrdiff_t>(y) * stride + x] = colour;
        }
    };
    for (int x = x0; x <= x1; ++x) {
        plot(x, y0);
        plot(x, y1);
    }
    for (int y = y0; y <= y1; ++y) {
        plot(x0, y);
        plot(x1, y);
    }
}

} // namespace

Raster currentFramePicture(const Editor& e) {
    return e.doc.sheet.cell(e.doc.CurrentFrame);
}

Rgb onionTint(ColorMode mode, OnionLayer layer) {
    if (mode == ColorMode::BlackWhite) return layer == OnionLayer::Previous ? 0xF2B8B8 : 0xB8CCF2;
    return layer == OnionLayer::Previous ? 0x6A3030 : 0x30406A;
}

void toggleOnionSkin(Editor& e, OnionLayer layer) {
    bool& shown = layer == OnionLayer::Previous ? e.onionPrevious : e.onionNext;
    shown = !shown;
    e.notify(kViewCanvas | kViewTools);
}

namespace {

// The tint of each dot of the canvas that shows a background dot over a drawn dot of the
// previous or the next frame; 0 where none shows.
std::array<std::uint32_t, kFrameWidth * kFrameHeight> onionDots(const Editor& e) {
    std::array<std::uint32_t, kFrameWidth * kFrameHeight> tints{};
    const int current = e.doc.CurrentFrame;
    // The next frame first: the previous one, nearer in the drawing, lies over it.
    const std::pair<bool, int> layers[2] = {
        {e.onionNext && current + 1 < e.doc.FrameCount, current + 1},
        {e.onionPrevious && current >= 1, current - 1}};
    const Raster& sheet = e.doc.sheet.raster();
    for (std::size_t k = 0; k < 2; ++k) {
        const auto [shown, index] = layers[k];
        if (!shown) continue;
        const std::uint32_t tint =
            0xFF000000u | onionTint(e.colorMode, k == 0 ? OnionLayer::Next : OnionLayer::Previous);
        const CellPos origin = CellOrigin(index);
        for (int y = 0; y < kFrameHeight; ++y) {
            const Rgb* row = sheet.dots().data() +
                             static_cast<std::ptrdiff_t>(origin.y + y) * sheet.width() + origin.x;
            std::uint32_t* out = tints.data() + static_cast<std::ptrdiff_t>(y) * kFrameWidth;
            for (int x = 0; x < kFrameWidth; ++x)
                out[x] = row[x] == e.leftColor ? tint : out[x];
        }
    }
    return tints;
}

} // namespace

void renderCanvasInto(const Editor& e, std::uint32_t* pixels, int stride) {
    const Raster& sheet = e.doc.sheet.raster();
    const CellPos origin = CellOrigin(e.doc.CurrentFrame);
    const std::uint32_t grid = 0xFF000000u | e.gridColor;
    const bool onion = (e.onionPrevious || e.onionNext) && !e.playing;
    std::array<std::uint32_t, kFrameWidth * kFrameHeight> tints{};
    if (onion) tints = onionDots(e);
    const std::uint32_t background = 0xFF000000u | e.rightColor;
    const auto rowAt = [&](int py) { return pixels + static_cast<std::ptrdiff_t>(py) * stride; };
    for (int y = 0; y <= kFrameHeight; ++y) {
        std::uint32_t* line = rowAt(y * kCanvasScale);
        std::fill(line, line + kCanvasWidth, grid);
        if (y == kFrameHeight) break;
        // The eight pixel rows inside a row of dots are alike: draw the first, copy it down.
        std::uint32_t* first = rowAt(y * kCanvasScale + 1);
        for (int x = 0; x < kFrameWidth; ++x) {
            std::uint32_t dot = 0xFF000000u | sheet.at(origin.x + x, origin.y + y);
            if (onion && dot == background) {
                const std::uint32_t tint = tints[static_cast<std::size_t>(y * kFrameWidth + x)];
                if (tint != 0) dot = tint;
            }
            std::uint32_t* block = first + x * kCanvasScale;
            block[0] = grid;
            std::fill(block + 1, block + kCanvasScale, dot);
        }
        first[kCanvasWidth - 1] = grid;
        for (int i = 2; i < kCanvasScale; ++i) {
            std::copy(first, first + kCanvasWidth, rowAt(y * kCanvasScale + i));
        }
    }
    drawMark(e, pixels, stride);
}

CanvasPitch canvasPitchFor(double ratio) {
    if (!(ratio > 1.0)) return {};
    const auto pitch = static_cast<int>(kCanvasScale * ratio + 1e-9);
    const auto line = static_cast<int>(ratio + 1e-9);
    return {pitch, line};
}

int canvasPixelOfDevice(int device, CanvasPitch p) {
    if (device < 0) return device;
    const int k = device / p.pitch;
    const int r = device % p.pitch;
    if (r < p.line) return kCanvasScale * k;
    return kCanvasScale * k + 1 + (r - p.line) * (kCanvasScale - 1) / (p.pitch - p.line);
}

Raster renderCanvasView(const Editor& e) {
    Raster view(kCanvasWidth, kCanvasHeight);
    renderCanvasInto(e, view.dots().data(), kCanvasWidth);
    for (Rgb& p : view.dots())
        p &= 0xFFFFFF;
    return view;
}

void CommitWorkPicture(Editor& e) {
    e.doc.sheet.setCell(e.doc.CurrentFrame, e.imgListWork);
    ShowCurrentFrame(e);
    if (slotOfFrame(e, e.doc.CurrentFrame) >= 0) e.notify(kViewSlots);
}

void BlankFrame(Editor& e, int index) {
    e.doc.sheet.fillCell(index, e.rightColor);
    ShowCurrentFrame(e);
    e.doc.Modified = true;
}

void showDotCursor(Editor& e, int x, int y) {
    e.mark = {CanvasMark::Kind::DotCursor, x, y, x, y};
    e.notify(kViewCanvas);
}

void hideDotCursor(Editor& e, int x, int y) {
    if (e.mark.kind == CanvasMark::Kind::DotCursor && e.mark.left == x && e.mark.top == y) {
        e.mark = {};
        e.notify(kViewCanvas);
    }
}

void showSelectionFrame(Editor& e, int left, int top, int right, int bottom) {
    e.mark = {CanvasMark::Kind::SelectionFrame, left, top, right, bottom};
    e.notify(kViewCanvas);
}

void hideSelectionFrame(Editor& e) {
    if (e.mark.kind == CanvasMark::Kind::SelectionFrame) {
        e.mark = {};
        e.notify(kViewCanvas);
    }
}

} // namespace vemurion
