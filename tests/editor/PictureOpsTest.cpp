#include "editor/PictureOps.h"
#include "editor/CanvasInput.h"
#include "editor/CanvasView.h"
#include "editor/PictureClipboard.h"
#include "editor/Selection.h"
#include "spine/CanvasState.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <vector>

namespace vemurion {
namespace {

using Dots = std::vector<std::pair<int, int>>;

class PictureOpsTest : public test::EditorFixture {
protected:
    void draw(const Dots& dots) {
        e.imgListWork.fill(e.rightColor);
        for (const auto& [x, y] : dots)
            e.imgListWork.set(x, y, e.leftColor);
        CommitWorkPicture(e);
    }
    // The dots of `colour` in frame 0, row by row.
    Dots dotsOf(Rgb colour) const {
        Dots found;
        const Raster p = e.doc.sheet.cell(0);
        for (int y = 0; y < p.height(); ++y) {
            for (int x = 0; x < p.width(); ++x) {
                if (p.at(x, y) == colour) found.emplace_back(x, y);
            }
        }
        return found;
    }
    void dragContent(int fromX, int toX, int y) {
        InputState held{.left = true};
        canvasMove(e, fromX * kCanvasScale + 4, y * kCanvasScale + 4, {});
        canvasPress(e, MouseButton::Left, fromX * kCanvasScale + 4, y * kCanvasScale + 4, held);
        canvasMove(e, toX * kCanvasScale + 4, y * kCanvasScale + 4, held);
        canvasRelease(e, MouseButton::Left, {});
    }
};

void flipLR(Editor& e) {
    FlipPicture(e, FlipDirection::LeftRight);
}
void flipUD(Editor& e) {
    FlipPicture(e, FlipDirection::UpDown);
}
template <ScrollDirection d> void scroll(Editor& e) {
    ScrollPicture(e, d);
}

TEST_F(PictureOpsTest, EachOperationSavesUndoSetsModifiedAndMovesTheDots) {
    struct Case {
        void (*op)(Editor&);
        Rgb colour; // of the dots in `expected`
        Dots expected;
        bool keepsSelection;
        int turnsToRestore; // further calls that bring the picture back
    };
    const Case cases[] = {
        {tbtnClearClick, kBlack, {}, false, 0},
        {tbtnCenterClick, kBlack, {{13, 11}, {33, 20}}, false, 0},
        {tbtnReverseClick, kWhite, {{0, 0}, {20, 9}}, true, 1},
        {flipLR, kBlack, {{47, 0}, {27, 9}}, true, 1},
        {flipUD, kBlack, {{20, 22}, {0, 31}}, true, 1},
        {scroll<ScrollDirection::Up>, kBlack, {{20, 8}, {0, 31}}, false, 31},
        {scroll<ScrollDirection::Down>, kBlack, {{0, 1}, {20, 10}}, false, 31},
        {scroll<ScrollDirection::Left>, kBlack, {{47, 0}, {19, 9}}, false, 47},
        {scroll<ScrollDirection::Right>, kBlack, {{1, 0}, {21, 9}}, false, 47},
    };
    // With everything selected, invert and the mirrors act on the content; without a
    // selection, on the picture. The dots come out the same.
    for (const bool selectAll : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << (&c - cases) << (selectAll ? " selected" : ""));
            draw({{0, 0}, {20, 9}});
            const Raster before = e.imgListWork;
            if (selectAll) SelectAll1Click(e);
            e.undo.undoState = -1;
            e.doc.Modified = false;
            c.op(e);
            EXPECT_EQ(dotsOf(c.colour), c.expected);
            EXPECT_EQ(e.sel.isSelected, c.keepsSelection && selectAll);
            EXPECT_EQ(e.undo.undoState, 0);
            EXPECT_EQ(e.undo.imgUndo, before);
            EXPECT_TRUE(e.doc.Modified);
            if (c.turnsToRestore > 0) {
                for (int i = 0; i < c.turnsToRestore; ++i)
                    c.op(e);
                EXPECT_EQ(e.doc.sheet.cell(0), before);
            }
            Deselect(e);
        }
    }
}

TEST_F(PictureOpsTest, CentreStartsTheBoxAtHalfTheSpareRoomInTheDrawingColour) {
    struct Case {
        ColorMode mode;
        Dots drawn;
        Dots expected;
    };
    const Case cases[] = {
        {ColorMode::BlackWhite, {}, {}},
        {ColorMode::BlackWhite, {{0, 0}}, {{23, 15}}},
        {ColorMode::BlackWhite, {{0, 5}, {46, 5}}, {{0, 15}, {46, 15}}}, // 47 columns
        {ColorMode::BlackWhite, {{0, 5}, {45, 5}}, {{1, 15}, {46, 15}}}, // 46 columns
        {ColorMode::WhiteBlack, {{47, 31}}, {{23, 15}}},
    };
    for (const Case& c : cases) {
        setColorMode(e, c.mode);
        draw(c.drawn);
        tbtnCenterClick(e);
        EXPECT_EQ(dotsOf(e.leftColor), c.expected);
    }
    tbtnClearClick(e);
    EXPECT_EQ(dotsOf(kBlack).size(), 48u * 32u);
}

TEST_F(PictureOpsTest, ContentDraggedBeyondTheEdgeChangesOnlyItsRectangleInItsOwnCell) {
    e.doc.FrameCount = 2;
    e.doc.sheet.fillCell(1, kBlack); // the cell right of frame 0 in the sheet
    const Raster neighbour = e.doc.sheet.cell(1);
    draw({{40, 1}, {46, 1}});
    selectTool(e, EditTool::Select);
    e.sel = {.selLeft = 40, .selTop = 0, .selRight = 47, .selBottom = 3};
    LiftSelection(e);

    dragContent(41, 45, 1); // content columns 4 to 7 leave the picture
    EXPECT_EQ(dotsOf(kBlack), (Dots{{44, 1}}));
    FlipPicture(e, FlipDirection::LeftRight);
    EXPECT_EQ(dotsOf(kBlack), (Dots{{45, 1}}));
    tbtnReverseClick(e);
    EXPECT_EQ(dotsOf(kWhite).size(), 48u * 32u - 4u * 4u + 1u);
    EXPECT_EQ(e.doc.sheet.cell(1), neighbour);
    tbtnReverseClick(e);
    dragContent(45, 41, 1); // the part beyond the edge was kept
    EXPECT_EQ(dotsOf(kBlack), (Dots{{41, 1}, {47, 1}}));
}

} // namespace
} // namespace vemurion
