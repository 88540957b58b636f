#include "editor/Selection.h"
#include "editor/CanvasInput.h"
#include "editor/CanvasView.h"
#include "editor/PictureClipboard.h"
#include "editor/Undo.h"
#include "framelist/FrameList.h"
#include "spine/CanvasState.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <tuple>
#include <vector>

namespace vemurion {
namespace {

using Rect = std::array<int, 4>; // left, top, right, bottom

Rect rectOf(const Selection& s) {
    return {s.selLeft, s.selTop, s.selRight, s.selBottom};
}

// Records what the conversion dialog was asked, and confirms with `answer` when one is set.
class ConfirmingConversion : public ConversionPort {
public:
    explicit ConfirmingConversion(Editor& e) : m_editor(e) {}
    void showConversion(const ConversionRequest& request) override {
        requests.push_back(request);
        if (answer) pasteConvertedIntoCanvas(m_editor, *answer);
    }
    std::vector<ConversionRequest> requests;
    std::optional<Raster> answer;

private:
    Editor& m_editor;
};

class SelectionTest : public test::EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        e.conversion = &conversion;
        selectTool(e, EditTool::Select);
    }
    // Hovers over dot (x0, y0), presses, passes over the next dot diagonally and releases on
    // (x1, y1). Dots may lie outside the picture.
    void drag(int x0, int y0, int x1, int y1) {
        auto px = [](int dot) { return dot * kCanvasScale + (dot < 0 ? -4 : 4); };
        const InputState held{.left = true};
        canvasMove(e, px(x0), px(y0), {});
        canvasPress(e, MouseButton::Left, px(x0), px(y0), held);
        canvasMove(e, px(x0 + 1), px(y0 + 1), held);
        canvasMove(e, px(x1), px(y1), held);
        canvasRelease(e, MouseButton::Left, {});
    }
    Rgb dot(int x, int y) const { return e.doc.sheet.cell(0).at(x, y); }

    ConfirmingConversion conversion{e};
};

TEST_F(SelectionTest, RubberBandIsNormalisedAndClampedToThePicture) {
    struct Case {
        int x0, y0, x1, y1;
        std::optional<Rect> selected;
    };
    const Case cases[] = {
        {10, 3, 48, 40, Rect{10, 3, 47, 31}},
        {5, 5, 5, 5, std::nullopt}, // ends on its start dot
        {10, 3, -1, -1, Rect{0, 0, 10, 3}},
        {48, 5, 48, 9, Rect{47, 5, 47, 9}}, // pressed on the last grid line
        {48, 32, 60, 40, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1);
        Deselect(e);
        drag(c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(e.sel.isSelected ? std::optional(rectOf(e.sel)) : std::nullopt, c.selected);
    }
}

TEST_F(SelectionTest, DraggedContentLeavesBackgroundAndUndoReturnsToBeforeTheSelection) {
    e.imgListWork.fillRect(2, 2, 3, 2, kBlack);
    CommitWorkPicture(e);
    const Raster before = e.imgListWork;
    drag(2, 2, 3, 3);
    drag(2, 2, 6, 2);
    drag(6, 2, 6, 5);
    EXPECT_EQ(rectOf(e.sel), (Rect{6, 5, 7, 6}));
    Raster moved(48, 32);
    moved.fillRect(6, 5, 7, 5, kBlack);
    EXPECT_EQ(e.doc.sheet.cell(0), moved);
    Undo1Click(e);
    EXPECT_EQ(e.doc.sheet.cell(0), before);
}

TEST_F(SelectionTest, DirectPasteIsCentredFloatsAndCoversWithoutLifting) {
    e.imgListWork.set(20, 14, kBlack);
    CommitWorkPicture(e);
    for (const auto& [w, h, expected] :
         {std::tuple{10, 5, Rect{19, 13, 28, 17}}, std::tuple{48, 32, Rect{0, 0, 47, 31}},
          std::tuple{47, 31, Rect{0, 0, 46, 30}}}) {
        clipboard.pictureContent = Raster(w, h, kWhite);
        e.undo.undoState = -1;
        Paste1Click(e);
        EXPECT_EQ(rectOf(e.sel), expected);
        EXPECT_TRUE(e.sel.isSelected);
        EXPECT_EQ(dot(20, 14), kWhite);
        EXPECT_EQ(e.undo.undoState, 0);
        EXPECT_TRUE(e.commandEnabled["Cut1"]);
        Undo1Click(e);
    }
    Paste1Click(e); // 47 x 31 at (0, 0): drag it down off the dot, which shows again
    drag(20, 14, 20, 29);
    EXPECT_EQ(dot(20, 14), kBlack);
    EXPECT_TRUE(conversion.requests.empty());
}

TEST_F(SelectionTest, OtherPicturesGoThroughTheConversionDialog) {
    SelectFrameSlot(e, 1); // the append slot: a cancelled paste must not make it a frame
    Raster grey(48, 32);
    grey.set(7, 7, 0x808080);
    for (const Raster& picture : {grey, Raster(49, 1, kBlack)}) {
        clipboard.pictureContent = picture;
        Paste1Click(e);
    }
    ASSERT_EQ(conversion.requests.size(), 2u);
    EXPECT_EQ(conversion.requests[0].reason, 1);
    EXPECT_EQ(conversion.requests[1].reason, 2);
    EXPECT_EQ(conversion.requests[0].destination, ConversionTarget::Canvas);
    EXPECT_FALSE(e.doc.Modified);
    EXPECT_EQ(e.doc.FrameCount, 1);

    conversion.answer = Raster(48, 32, kBlack);
    Paste1Click(e);
    EXPECT_EQ(rectOf(e.sel), (Rect{0, 0, 47, 31}));
    EXPECT_EQ(e.doc.sheet.cell(1), *conversion.answer);
    EXPECT_EQ(e.doc.FrameCount, 2);
    EXPECT_EQ(e.undo.undoState, 0);

    // An empty clipboard, or a picture without dots, changes nothing.
    SelectFrameSlot(e, 2);
    e.doc.Modified = false;
    for (const std::optional<Raster>& content :
         {std::optional<Raster>{}, std::optional(Raster(0, 3))}) {
        clipboard.pictureContent = content;
        Paste1Click(e);
        EXPECT_FALSE(e.sel.isSelected || e.doc.Modified || e.doc.FrameCount != 2);
    }
}

TEST_F(SelectionTest, TransparentContentLetsTheBackgroundColourThroughInEitherMode) {
    for (const ColorMode mode : {ColorMode::BlackWhite, ColorMode::WhiteBlack}) {
        setColorMode(e, mode);
        const Rgb ink = e.leftColor;
        const Rgb paper = e.rightColor;
        e.imgListWork.fill(paper);
        e.imgListWork.set(20, 15, ink);
        CommitWorkPicture(e);
        Raster content(3, 1, paper); // pasted at columns 22 to 24 of row 15
        content.set(0, 0, ink);
        clipboard.pictureContent = content;
        tbtnTransClick(e, true);
        Paste1Click(e);
        drag(23, 15, 20, 15); // to columns 19 to 21, its paper over the ink at 20
        EXPECT_EQ(dot(20, 15), ink);
        Copy1Click(e); // only the content, not what shows through it
        EXPECT_EQ(clipboard.pictureContent, content);
        tbtnTransClick(e, false);
        EXPECT_EQ(dot(20, 15), paper);
        tbtnTransClick(e, true);

        Cut1Click(e); // what the rectangle shows; the rectangle becomes paper
        content.set(1, 0, ink);
        EXPECT_EQ(clipboard.pictureContent, content);
        EXPECT_EQ(e.doc.sheet.cell(0), Raster(48, 32, paper));
        EXPECT_FALSE(e.sel.isSelected);
        tbtnTransClick(e, false);
    }
}

// A right press ends the selection, inside or outside it; a left press outside ends it and
// starts a new one. The content stays where it lies.
TEST_F(SelectionTest, RightPressEndsTheSelectionAndAPressOutsideStartsANewOne) {
    struct Case {
        bool right;
        int x0, y0, x1, y1;
        std::optional<Rect> after;
    };
    const Case cases[] = {
        {true, 7, 7, 7, 7, std::nullopt},
        {true, 20, 20, 20, 20, std::nullopt},
        {false, 20, 20, 25, 22, Rect{20, 20, 25, 22}},
        {false, 20, 20, 20, 20, std::nullopt},
    };
    e.imgListWork.set(6, 6, kBlack);
    CommitWorkPicture(e);
    const Raster picture = e.doc.sheet.cell(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.right ? "right " : "left ") << c.x0 << "," << c.y0);
        Deselect(e);
        drag(5, 5, 10, 10);
        ASSERT_EQ(rectOf(e.sel), (Rect{5, 5, 10, 10}));
        if (c.right) {
            const InputState held{.right = true};
            canvasPress(e, MouseButton::Right, c.x0 * kCanvasScale + 4, c.y0 * kCanvasScale + 4,
                        held);
            canvasRelease(e, MouseButton::Right, {});
        } else {
            drag(c.x0, c.y0, c.x1, c.y1);
        }
        EXPECT_EQ(e.sel.isSelected ? std::optional(rectOf(e.sel)) : std::nullopt, c.after);
        EXPECT_EQ(e.doc.sheet.cell(0), picture);
    }
}

// On the append slot, moving content, cutting and the transparency toggle make a frame only
// when they change dots: in white-on-black mode the lifted rectangle leaves black behind.
TEST_F(SelectionTest, AppendSlotBecomesAFrameOnlyWhenTheSelectionChangesDots) {
    const std::function<void()> move = [this] { drag(10, 10, 11, 10); };
    const std::function<void()> cut = [this] { Cut1Click(e); };
    const std::function<void()> toggle = [this] { tbtnTransClick(e, true); };
    struct Case {
        ColorMode mode;
        const std::function<void()>& op;
        bool appends;
    };
    for (const Case& c :
         {Case{ColorMode::BlackWhite, move, false}, Case{ColorMode::BlackWhite, cut, false},
          Case{ColorMode::BlackWhite, toggle, false}, Case{ColorMode::WhiteBlack, move, true},
          Case{ColorMode::WhiteBlack, cut, true}}) {
        SCOPED_TRACE(&c.op == &move ? "move" : &c.op == &cut ? "cut" : "toggle");
        setColorMode(e, ColorMode::BlackWhite);
        e.doc.FrameCount = 1;
        SelectFrameSlot(e, 1); // a white append slot
        setColorMode(e, c.mode);
        e.sel.transparent = false;
        SelectAll1Click(e);
        c.op();
        EXPECT_EQ(e.doc.FrameCount, c.appends ? 2 : 1);
    }
}

} // namespace
} // namespace vemurion
