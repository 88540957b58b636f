#pragma once

#include "spine/Editor.h"

#include <optional>

namespace vemurion {

// Pointer positions are canvas pixels; a pixel maps to the dot (px / 9, py / 9), truncating
// toward zero and never clamped: pixel 432 is dot 48, outside the picture.
int pixelToDot(int pixel);

void canvasPress(Editor& e, MouseButton button, int px, int py, const InputState& input);
void canvasMove(Editor& e, int px, int py, const InputState& input);
void canvasRelease(Editor& e, MouseButton button, const InputState& input);
// Ends a gesture still held on the canvas as releasing its button would. A command that changes
// frames, the current frame or the document calls it first, so that a gesture changes only the
// frame it began on; the rest of the gesture, up to the real release, draws nothing.
void endCanvasGesture(Editor& e);
// A key pressed or released anywhere in the window. During a stroke the figure is drawn again
// at once, so that SHIFT and CTRL reshape it without waiting for a move.
void windowKey(Editor& e, bool pressed, const InputState& input);
// The general timer. `pointerOnCanvas` is the pointer's position relative to the canvas.
void Timer1Timer(Editor& e, const InputState& input, std::optional<Dot> pointerOnCanvas);

// Draws the current tool's figure to dot (x, y) in `colour` and commits it.
void DrawFigure(Editor& e, int x, int y, Rgb colour);

void selectTool(Editor& e, EditTool tool);
void setColorMode(Editor& e, ColorMode mode);

const char* modeCaption(EditTool tool);
// The status bar hint while the pointer is over the canvas.
const char* canvasHint(EditTool tool, ColorMode mode, bool isSelected);

} // namespace vemurion
