#pragma once

#include "spine/Editor.h"

namespace vemurion {

// The edit canvas as the screen shows it: 433 x 289 pixels, dot (x, y) covering the block from
// (9x, 9y) to (9x + 8, 9y + 8), grid lines in the grid colour on pixel columns 9i and rows 9j,
// and the canvas mark on top.
Raster renderCanvasView(const Editor& e);
// Draws the canvas view into a 0xRRGGBB pixel buffer of kCanvasWidth x kCanvasHeight pixels
// with rows `stride` pixels apart. The alpha byte of every pixel is set to 0xFF.
void renderCanvasInto(const Editor& e, std::uint32_t* pixels, int stride);

// The canvas on a screen of `ratio` device pixels per pixel: every dot takes `pitch` device
// pixels including its grid line of `line`, both whole numbers, so that no line or dot is wider
// than another at a fractional ratio. The canvas then covers 48 * pitch + line by
// 32 * pitch + line device pixels, never more than its 433 x 289 pixels at that ratio.
struct CanvasPitch {
    int pitch = kCanvasScale;
    int line = 1;
};
CanvasPitch canvasPitchFor(double ratio);
// The canvas pixel (of the 433 x 289 view, along one axis) that device pixel `device` shows;
// the identity at ratio 1. Device pixels before the canvas give negative pixels, those past it
// pixels past the last grid line.
int canvasPixelOfDevice(int device, CanvasPitch p);

// Onion skin: the canvas shows the drawn dots of the previous and the next frame as tints of the
// background dots of the current one, never while playing. Nothing else shows them.
enum class OnionLayer { Previous, Next };
Rgb onionTint(ColorMode mode, OnionLayer layer);
void toggleOnionSkin(Editor& e, OnionLayer layer);

// The picture the canvas and the preview show: the current frame's cell of the sheet.
Raster currentFramePicture(const Editor& e);

// Copies the working picture into the current frame's cell and shows it everywhere.
void CommitWorkPicture(Editor& e);
// Fills frame `index` with the background colour and shows it; sets Modified.
void BlankFrame(Editor& e, int index);

// Canvas marks. Hiding a mark that is not shown does nothing.
void showDotCursor(Editor& e, int x, int y);
void hideDotCursor(Editor& e, int x, int y);
void showSelectionFrame(Editor& e, int left, int top, int right, int bottom);
void hideSelectionFrame(Editor& e);

} // namespace vemurion
