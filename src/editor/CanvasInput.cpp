#include "editor/CanvasInput.h"

#include "editor/CanvasView.h"
#include "editor/DrawingTools.h"
#include "editor/Rasterizers.h"
#include "editor/Selection.h"
#include "editor/Undo.h"
#include "framelist/FrameList.h"
#include "spine/CanvasState.h"
#include "spine/CommandStates.h"

#include <cstdio>
#include <utility>

namespace vemurion {

namespace {

bool inputBlocked(const Editor& e) {
    return e.playing || e.dialogActive;
}

bool outsideSelection(const Selection& s, int x, int y) {
    return x < s.selLeft || x > s.selRight || y < s.selTop || y > s.selBottom;
}

void paintAt(Editor& e, MouseButton button) {
    if (button == MouseButton::Left) {
        floodFill(e.imgListWork, e.cursorX, e.cursorY, e.rightColor, e.leftColor);
    } else if (button == MouseButton::Right) {
        floodFill(e.imgListWork, e.cursorX, e.cursorY, e.leftColor, e.rightColor);
    }
    CommitWorkPicture(e);
    showDotCursor(e, e.cursorX, e.cursorY);
    CommitTrailingFrame(e);
    e.doc.Modified = true;
}

} // namespace

int pixelToDot(int pixel) {
    return pixel / kCanvasScale;
}

const char* modeCaption(EditTool tool) {
    switch (tool) {
    case EditTool::Pen:
        return "エディット - ペンツール";
    case EditTool::Select:
        return "エディット - 選択ツール";
    case EditTool::Paint:
        return "エディット - ペイントツール";
    case EditTool::Line:
        return "エディット - ラインツール";
    case EditTool::Box:
        return "エディット - ボックスツール";
    case EditTool::BoxFill:
        return "エディット - 塗り潰しボックスツール";
    case EditTool::Circle:
        return "エディット - 円ツール";
    case EditTool::CircleFill:
        return "エディット - 塗り潰し円ツール";
    }
    return "";
}

const char* canvasHint(EditTool tool, ColorMode mode, bool isSelected) {
    const bool bw = mode == ColorMode::BlackWhite;
    switch (tool) {
    case EditTool::Pen:
        return bw ? " 左クリックは黒,右クリックは白で描画."
                  : " 左クリックは白,右クリックは黒で描画.";
    case EditTool::Select:
        return isSelected ? " ドラッグで画像を移動.右クリックで選択解除."
                          : " ドラッグで選択範囲を設定.右クリックで選択解除.";
    case EditTool::Paint:
        return bw ? " 左クリックは黒,右クリックは白で塗り潰し."
                  : " 左クリックは白,右クリックは黒で塗り潰し.";
    case EditTool::Line:
    case EditTool::Box:
    case EditTool::BoxFill:
    case EditTool::Circle:
    case EditTool::CircleFill:
        return bw ? " 左ドラッグは黒,右ドラッグは白で描画.SHIFTやCTRLの組み合わせ可能."
                  : " 左ドラッグは白,右ドラッグは黒で描画.SHIFTやCTRLの組み合わせ可能.";
    }
    return "";
}

void DrawFigure(Editor& e, int x, int y, Rgb colour) {
    FigureStroke stroke;
    stroke.tool = e.tool;
    stroke.start = {e.startX, e.startY};
    stroke.target = {x, y};
    stroke.colour = colour;
    stroke.shift = e.input.shift;
    stroke.ctrl = e.input.ctrl;
    drawFigureInto(e.imgListWork, e.imgDrawWork, e.penPosition, stroke);
    CommitWorkPicture(e);
    CommitTrailingFrame(e);
    e.doc.Modified = true;
}

void canvasPress(Editor& e, MouseButton button, int px, int py, const InputState& input) {
    e.pressIgnored = inputBlocked(e);
    if (e.pressIgnored) return;
    e.gestureHeld = true;
    e.gestureButton = button;
    e.isDrawing = false;
    e.input = input;
    e.startX = pixelToDot(px);
    e.startY = pixelToDot(py);
    e.penPosition = {e.startX, e.startY};
    if (isFigureTool(e.tool)) e.imgDrawWork = e.imgListWork;

    Selection& s = e.sel;
    if (s.isSelected && input.right) {
        Deselect(e);
    } else if (s.isSelected && e.tool == EditTool::Select &&
               outsideSelection(s, e.startX, e.startY)) {
        Deselect(e);
        s.selLeft = s.selRight = e.startX;
        s.selTop = s.selBottom = e.startY;
        e.cursorX = e.startX;
        e.cursorY = e.startY;
        showDotCursor(e, e.cursorX, e.cursorY);
        LiftSelection(e);
        e.isDrawing = true;
    } else {
        if (!s.isSelected) SaveUndo(e);
        e.isDrawing = true;
        e.timer1Interval = kTimerStrokeMs;
        e.notify(kViewTimer);
        canvasMove(e, px, py, input);
    }

    if (e.tool == EditTool::Paint) paintAt(e, button);
}

void canvasMove(Editor& e, int px, int py, const InputState& input) {
    if (inputBlocked(e)) return;
    e.status[1] = canvasHint(e.tool, e.colorMode, e.sel.isSelected);
    e.input = input;
    const int dx = pixelToDot(px);
    const int dy = pixelToDot(py);
    const bool rubberBand =
        !e.sel.isSelected && e.tool == EditTool::Select && input.left && !e.pressIgnored;

    if (dx != e.cursorX || dy != e.cursorY) {
        char text[32];
        std::snprintf(text, sizeof text, "X=%2d Y=%2d", dx, dy);
        e.status[0] = text;
        if (!e.sel.isSelected) {
            if (rubberBand) {
                hideSelectionFrame(e);
            } else {
                hideDotCursor(e, e.cursorX, e.cursorY);
            }
        }
        e.cursorX = dx;
        e.cursorY = dy;
        if (!e.sel.isSelected) {
            if (rubberBand) {
                setRubberBand(e, dx, dy);
                showSelectionFrame(e, e.sel.selLeft, e.sel.selTop, e.sel.selRight, e.sel.selBottom);
            } else {
                showDotCursor(e, dx, dy);
            }
        }
    }
    e.notify(kViewStatus);

    if (input.left) {
        if (isDrawingTool(e.tool) && e.isDrawing) {
            DrawFigure(e, e.cursorX, e.cursorY, e.leftColor);
            showDotCursor(e, e.cursorX, e.cursorY);
        } else if (e.tool == EditTool::Select && e.isDrawing && e.sel.isSelected) {
            moveSelectionContent(e);
        }
    } else if (input.right && isDrawingTool(e.tool) && e.isDrawing) {
        DrawFigure(e, e.cursorX, e.cursorY, e.rightColor);
        showDotCursor(e, e.cursorX, e.cursorY);
    }
}

void canvasRelease(Editor& e, MouseButton button, const InputState& input) {
    e.input = input;
    e.gestureHeld = input.left || input.right || input.middle;
    if (std::exchange(e.pressIgnored, false)) return;
    if (button == MouseButton::Left && e.tool == EditTool::Select) {
        Selection& s = e.sel;
        if (s.isSelected) {
            // Only a stroke that moved the content moves the rectangle with it.
            if (e.isDrawing) {
                const int mx = e.cursorX - e.startX;
                const int my = e.cursorY - e.startY;
                s.selLeft += mx;
                s.selRight += mx;
                s.selTop += my;
                s.selBottom += my;
            }
            showSelectionFrame(e, s.selLeft, s.selTop, s.selRight, s.selBottom);
        } else {
            LiftSelection(e);
        }
    } else if (button == MouseButton::Right && e.tool == EditTool::Select) {
        showDotCursor(e, e.cursorX, e.cursorY);
    }
    e.isDrawing = false;
    UpdateCommandStates(e);
}

void endCanvasGesture(Editor& e) {
    if (!e.gestureHeld) return;
    InputState released = e.input;
    released.left = released.right = released.middle = false;
    canvasRelease(e, e.gestureButton, released);
    e.pressIgnored = true;
}

void windowKey(Editor& e, bool pressed, const InputState& input) {
    if (pressed) UpdateCommandStates(e);
    if (inputBlocked(e)) return;
    e.input = input;
    if (e.isDrawing && isDrawingTool(e.tool)) {
        DrawFigure(e, e.cursorX, e.cursorY, e.leftColor);
        showDotCursor(e, e.cursorX, e.cursorY);
    }
}

void Timer1Timer(Editor& e, const InputState& input, std::optional<Dot> pointerOnCanvas) {
    if (e.playing) return;
    if (e.isDrawing) {
        if (input.right) {
            e.timer1Interval = kTimerStrokeMs;
            e.notify(kViewTimer);
            if (pointerOnCanvas) {
                const Dot p = *pointerOnCanvas;
                if (p.x < 0 || p.x > kCanvasWidth || p.y < 0 || p.y > kCanvasHeight) {
                    canvasMove(e, p.x, p.y, input);
                }
            }
        }
        return;
    }
    if (e.timer1Interval != kTimerIdleMs) {
        e.timer1Interval = kTimerIdleMs;
        e.notify(kViewTimer);
    }
    const bool hasPicture = e.clipboard != nullptr && e.clipboard->hasPicture();
    const auto paste = e.commandEnabled.find("Paste1");
    const bool pasteEnabled = paste != e.commandEnabled.end() && paste->second;
    if (hasPicture != pasteEnabled) UpdateCommandStates(e);
}

void selectTool(Editor& e, EditTool tool) {
    Deselect(e);
    e.tool = tool;
    e.modeCaption = modeCaption(tool);
    e.notify(kViewModeCaption | kViewTools);
}

void setColorMode(Editor& e, ColorMode mode) {
    e.colorMode = mode;
    e.leftColor = mode == ColorMode::BlackWhite ? kBlack : kWhite;
    e.rightColor = mode == ColorMode::BlackWhite ? kWhite : kBlack;
    // The onion skin's tint follows the colour mode.
    e.notify(kViewTools | kViewCanvas);
}

} // namespace vemurion
