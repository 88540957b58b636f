#include "editor/CanvasInput.h"
#include "editor/CanvasView.h"
#include "editor/Undo.h"
#include "files/DocumentFile.h"
#include "framelist/FrameList.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

namespace vemurion {
namespace {

using test::pictureToText;

// Pixel at the middle of dot (x, y) of the canvas.
int px(int dot) {
    return dot * kCanvasScale + 4;
}

class CanvasInput : public ::testing::Test {
protected:
    void SetUp() override { NewDocument(e); }

    void press(int x, int y, MouseButton button = MouseButton::Left, InputState input = {}) {
        held(button, input) = true;
        canvasPress(e, button, px(x), px(y), input);
        last = input;
    }
    void move(int x, int y) { canvasMove(e, px(x), px(y), last); }
    void release(MouseButton button = MouseButton::Left) {
        held(button, last) = false;
        canvasRelease(e, button, last);
    }
    void stroke(int x0, int y0, int x1, int y1, MouseButton button = MouseButton::Left) {
        press(x0, y0, button);
        move(x1, y1);
        release(button);
    }
    static bool& held(MouseButton button, InputState& input) {
        return button == MouseButton::Left    ? input.left
               : button == MouseButton::Right ? input.right
                                              : input.middle;
    }
    Raster frame(int index) const { return e.doc.sheet.cell(index); }
    int blackDots(int index) const {
        int n = 0;
        const Raster picture = frame(index);
        for (Rgb dot : picture.dots())
            n += dot == kBlack ? 1 : 0;
        return n;
    }

    Editor e;
    InputState last;
};

TEST_F(CanvasInput, PenStrokeReachesSheetCanvasAndSlot) {
    stroke(0, 0, 20, 5);
    // An unbroken line of 21 dots, whatever the pointer skipped.
    EXPECT_EQ(blackDots(0), 21);
    EXPECT_EQ(frame(0).at(0, 0), kBlack);
    EXPECT_EQ(frame(0).at(20, 5), kBlack);
    EXPECT_EQ(e.imgListWork, frame(0));
    EXPECT_TRUE(e.doc.Modified);
    EXPECT_EQ(e.undo.undoState, 0);

    const Raster view = renderCanvasView(e);
    EXPECT_EQ(view.at(0, 0), e.gridColor); // grid line
    EXPECT_EQ(view.at(4, 4), kBlack);      // inside dot (0, 0)
    EXPECT_EQ(view.at(9 * 30 + 4, 9 * 30 + 4), kWhite);
    EXPECT_EQ(view.at(9 * 48, 100), e.gridColor); // the last grid column
}

TEST_F(CanvasInput, CanvasViewMatchesTheGeometryPixelForPixel) {
    // Dots of a scattered pattern, a frame other than the first, and a dot cursor at a corner.
    SelectFrameSlot(e, 1);
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            if ((x * 7 + y * 13) % 5 == 0) e.imgListWork.set(x, y, kBlack);
        }
    }
    CommitWorkPicture(e);
    showDotCursor(e, 47, 31);
    const Raster view = renderCanvasView(e);
    const Raster frame = e.doc.sheet.cell(1);
    int wrong = 0;
    for (int py = 0; py < kCanvasHeight; ++py) {
        for (int px = 0; px < kCanvasWidth; ++px) {
            const bool onCursor = px >= 9 * 47 && py >= 9 * 31 &&
                                  (px == 9 * 47 || px == 9 * 48 || py == 9 * 31 || py == 9 * 32);
            const bool onGrid = px % 9 == 0 || py % 9 == 0;
            const Rgb expected = onCursor ? e.cursorColor
                                 : onGrid ? e.gridColor
                                          : frame.at(px / 9, py / 9);
            wrong += view.at(px, py) != expected ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0);
}

// At any screen ratio every grid line and every dot takes the same whole number of device
// pixels, the canvas fits in its place, and a device pixel shows the dot it lies on.
TEST(CanvasPitch, EveryLineAndDotIsAlikeAtEveryRatio) {
    const std::tuple<double, int, int> cases[] = {{1.0, 9, 1},   {1.25, 11, 1}, {1.5, 13, 1},
                                                  {1.75, 15, 1}, {2.0, 18, 2},  {3.0, 27, 3}};
    for (const auto& [ratio, pitch, line] : cases) {
        SCOPED_TRACE(ratio);
        const CanvasPitch p = canvasPitchFor(ratio);
        ASSERT_EQ(std::pair(p.pitch, p.line), std::pair(pitch, line));
        EXPECT_LE(kFrameWidth * pitch + line, static_cast<int>(kCanvasWidth * ratio) + 1);
        for (int d = 0; d < kFrameWidth * pitch + line; ++d) {
            const int pixel = canvasPixelOfDevice(d, p);
            ASSERT_EQ(pixel / 9, d / pitch) << d;
            ASSERT_EQ(pixel % 9 == 0, d % pitch < line) << d; // on a grid line
        }
    }
}

TEST_F(CanvasInput, RightButtonDrawsBackgroundAndWhiteOnBlackSwapsColours) {
    stroke(0, 0, 10, 0);
    stroke(5, 0, 10, 0, MouseButton::Right);
    EXPECT_PICTURE(frame(0), {"#####......."});

    setColorMode(e, ColorMode::WhiteBlack);
    stroke(0, 1, 3, 1, MouseButton::Right);
    EXPECT_PICTURE(frame(0), {"#####......", "####......."});
}

TEST_F(CanvasInput, PointerMapsByTruncationWithoutClamping) {
    canvasMove(e, 432, 288, {});
    EXPECT_EQ(e.status[0], "X=48 Y=32");
    canvasMove(e, 8, 80, {});
    EXPECT_EQ(e.status[0], "X= 0 Y= 8");
    canvasMove(e, -8, 76, {}); // still dot (0, 8): division truncates toward zero
    EXPECT_EQ(e.status[0], "X= 0 Y= 8");

    canvasPress(e, MouseButton::Left, 432, 100, {true});
    canvasRelease(e, MouseButton::Left, {});
    EXPECT_EQ(blackDots(0), 0);
    EXPECT_EQ(e.doc.FrameCount, 1);
}

TEST_F(CanvasInput, HintAndCaptionFollowToolAndMode) {
    selectTool(e, EditTool::Box);
    EXPECT_EQ(e.modeCaption, "エディット - ボックスツール");
    move(3, 3);
    EXPECT_EQ(e.status[1], " 左ドラッグは黒,右ドラッグは白で描画.SHIFTやCTRLの組み合わせ可能.");
    setColorMode(e, ColorMode::WhiteBlack);
    selectTool(e, EditTool::Paint);
    move(4, 4);
    EXPECT_EQ(e.status[1], " 左クリックは白,右クリックは黒で塗り潰し.");
    EXPECT_EQ(e.modeCaption, "エディット - ペイントツール");
}

TEST_F(CanvasInput, FigureFollowsPointerAndShiftReshapesAtOnce) {
    selectTool(e, EditTool::Box);
    press(1, 1);
    move(6, 3);
    EXPECT_PICTURE(frame(0), {"........", ".######.", ".#....#.", ".######.", "........",
                              "........", "........"});
    last.shift = true;
    windowKey(e, true, last); // SHIFT squares the box before any move
    EXPECT_PICTURE(frame(0), {"........", ".######.", ".#....#.", ".#....#.", ".#....#.",
                              ".#....#.", ".######."});
    last.shift = false;
    windowKey(e, false, last);
    release();
    EXPECT_PICTURE(frame(0), {"........", ".######.", ".#....#.", ".######.", "........"});
}

TEST_F(CanvasInput, MoveWithoutPressDrawsNothing) {
    canvasMove(e, px(5), px(5), {true});
    EXPECT_EQ(blackDots(0), 0);
    EXPECT_FALSE(e.doc.Modified);
}

TEST_F(CanvasInput, DrawingOnTheAppendSlotAppendsAFrameOfTimeOne) {
    SelectFrameSlot(e, 1);
    EXPECT_EQ(e.doc.CurrentFrame, 1);
    EXPECT_EQ(e.doc.FrameCount, 1); // selecting alone adds nothing
    e.doc.DisplayTimes[1] = 77;     // a leftover time
    stroke(2, 2, 2, 2);
    EXPECT_EQ(e.doc.FrameCount, 2);
    EXPECT_EQ(e.doc.DisplayTimes[1], 1);
    EXPECT_EQ(e.list.slotViews[1].label, "002/002");
    EXPECT_EQ(e.list.slotViews[2].kind, SlotView::Kind::Append);
    EXPECT_EQ(frame(1).at(2, 2), kBlack);
}

TEST_F(CanvasInput, PaintFillsInsideAndCountsAsEditEvenWhenNothingChanges) {
    selectTool(e, EditTool::Box);
    stroke(0, 0, 4, 4);
    selectTool(e, EditTool::Paint);
    e.doc.Modified = false;
    stroke(2, 2, 2, 2);
    EXPECT_EQ(blackDots(0), 25);
    EXPECT_EQ(frame(0).at(10, 10), kWhite);

    e.doc.Modified = false;
    SelectFrameSlot(e, 1);
    press(3, 3, MouseButton::Right); // the surface is black for the right button: nothing fills
    release(MouseButton::Right);
    EXPECT_TRUE(e.doc.Modified);
    EXPECT_EQ(e.doc.FrameCount, 2);
}

TEST_F(CanvasInput, UndoSwapsVersionsAndRedoes) {
    selectTool(e, EditTool::Line);
    stroke(0, 0, 9, 0);
    const Raster drawn = frame(0);
    Undo1Click(e);
    EXPECT_EQ(blackDots(0), 0);
    EXPECT_EQ(e.imgListWork, frame(0));
    Undo1Click(e);
    EXPECT_EQ(frame(0), drawn);
    EXPECT_EQ(e.undo.undoState, 0);
}

TEST_F(CanvasInput, UndoAfterSwitchingFramesReturnsToTheEditedFrame) {
    for (int i = 0; i < 5; ++i) {
        SelectFrameSlot(e, i); // frame 0, then the append slot each time
        stroke(i, 0, i, 0);
    }
    ASSERT_EQ(e.doc.FrameCount, 5);
    SelectFrameSlot(e, 3);
    stroke(10, 10, 12, 10);
    SelectFrameSlot(e, 4);
    const Raster fifth = frame(4);
    Undo1Click(e);
    EXPECT_EQ(e.doc.CurrentFrame, 3);
    EXPECT_EQ(frame(3).at(11, 10), kWhite);
    EXPECT_EQ(frame(3).at(3, 0), kBlack);
    EXPECT_EQ(frame(4), fifth);
    EXPECT_EQ(e.list.cursorSlot, slotOfFrame(e, 3));
}

TEST_F(CanvasInput, UndoOfAnAppendedFrameKeepsTheFrame) {
    SelectFrameSlot(e, 1);
    stroke(1, 1, 1, 1);
    Undo1Click(e);
    EXPECT_EQ(e.doc.FrameCount, 2);
    EXPECT_EQ(blackDots(1), 0);
}

// A press while an animation plays or a dialog is in front is ignored, and so is the rest of
// its gesture after the dialog has gone: the drag draws nothing, spans no rubber band, and the
// release lifts nothing.
TEST_F(CanvasInput, InputIsIgnoredWhilePlayingOrUnderADialog) {
    for (const EditTool tool : {EditTool::Pen, EditTool::Select}) {
        for (bool* flag : {&e.playing, &e.dialogActive}) {
            selectTool(e, tool);
            e.sel = {.selLeft = 2, .selTop = 2, .selRight = 6, .selBottom = 6};
            *flag = true;
            press(3, 3);
            *flag = false;
            move(8, 3);
            release();
            EXPECT_EQ(blackDots(0), 0);
            EXPECT_FALSE(e.sel.isSelected);
            EXPECT_EQ(e.sel.selRight, 6);
            EXPECT_EQ(e.undo.undoState, -1);
        }
    }
    selectTool(e, EditTool::Pen);
    stroke(3, 3, 8, 3);
    EXPECT_EQ(blackDots(0), 6);
}

TEST_F(CanvasInput, RightDragLeavingTheCanvasIsFedByTheTimer) {
    press(40, 10, MouseButton::Right);
    EXPECT_EQ(e.timer1Interval, kTimerStrokeMs);
    // The dot under the pointer stays white in black-on-white mode, so draw in white-on-black.
    release(MouseButton::Right);
    setColorMode(e, ColorMode::WhiteBlack);
    press(40, 10, MouseButton::Right);
    Timer1Timer(e, last, Dot{kCanvasWidth + 30, px(10)});
    release(MouseButton::Right);
    EXPECT_EQ(frame(0).at(47, 10), kBlack);
    EXPECT_EQ(frame(0).at(40, 10), kBlack);
    Timer1Timer(e, {}, std::nullopt);
    EXPECT_EQ(e.timer1Interval, kTimerIdleMs);
}

} // namespace
} // namespace vemurion
