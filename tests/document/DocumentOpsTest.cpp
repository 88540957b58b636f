#include "document/DocumentOps.h"

#include "editor/CanvasView.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vemurion {
namespace {

using test::EditorFixture;

class DocumentOpsTest : public EditorFixture {
protected:
    bool enabled(const char* command) const {
        const auto it = e.commandEnabled.find(command);
        return it != e.commandEnabled.end() && it->second;
    }

    bool wholeSheetIs(Rgb colour) const {
        const auto& dots = e.doc.sheet.raster().dots();
        return std::all_of(dots.begin(), dots.end(), [&](Rgb d) { return d == colour; });
    }

    // A document far from fresh: many frames, odd times and loop count, pictures, a name.
    void scribble() {
        e.doc.FrameCount = 12;
        for (int i = 0; i < 12; ++i) {
            e.doc.DisplayTimes[static_cast<std::size_t>(i)] = 40 + i;
            e.doc.sheet.fillCell(i, i % 2 == 0 ? kBlack : kWhite);
        }
        e.doc.sheet.raster().set(479, 831, kBlack);
        e.doc.LoopCount = 3;
        applyScrollRange(e);
        scListChange(e, 6);
        SelectFrameSlot(e, 3);
        e.doc.DocumentFileName = "/somewhere/anim.lcd";
        ShowDocumentTitle(e);
        e.doc.Modified = true;
    }
};

TEST_F(DocumentOpsTest, NewDocumentIsOneWhiteFrameOfTimeOneLoopingWithoutEnd) {
    scribble();
    e.undo.undoState = 0;
    view.reset();
    NewDocument(e);

    EXPECT_EQ(e.doc.FrameCount, 1);
    EXPECT_EQ(e.doc.DisplayTimes[0], 1);
    EXPECT_EQ(e.doc.LoopCount, 255);
    EXPECT_EQ(loopCountText(e.doc.LoopCount), "無限");
    EXPECT_EQ(e.doc.CurrentFrame, 0);
    EXPECT_EQ(e.doc.DocumentFileName, "無題");
    EXPECT_EQ(e.title, "Vemurion - [無題]");
    EXPECT_FALSE(e.doc.Modified);
    EXPECT_TRUE(wholeSheetIs(kWhite)) << "the whole sheet, leftovers included, is cleared";
    EXPECT_TRUE(e.imgListWork == Raster(kFrameWidth, kFrameHeight, kWhite));
    EXPECT_TRUE(currentFramePicture(e) == Raster(kFrameWidth, kFrameHeight, kWhite));

    EXPECT_EQ(e.list.position, 0);
    EXPECT_FALSE(e.list.scrollEnabled);
    EXPECT_EQ(e.list.maximum, 2);
    EXPECT_EQ(e.list.slotViews[0].kind, SlotView::Kind::Frame);
    EXPECT_EQ(e.list.slotViews[0].label, "001/001");
    EXPECT_EQ(e.list.slotViews[0].time, 1);
    EXPECT_EQ(e.list.slotViews[1].kind, SlotView::Kind::Append);
    EXPECT_EQ(e.list.slotViews[2].kind, SlotView::Kind::Empty);
    EXPECT_TRUE(e.list.cursorVisible);
    EXPECT_EQ(e.list.cursorSlot, 0);
    for (const char* command : {"T1", "Cut2", "D1", "Delete2"})
        EXPECT_FALSE(enabled(command)) << command << " with a single frame";
    EXPECT_TRUE(enabled("I2"));
    EXPECT_TRUE(view.saw(kViewCanvas | kViewPreview | kViewTitle | kViewLoopCount | kViewSlots));

    EXPECT_EQ(e.undo.undoState, 0) << "the callers decide about the undo record";
}

TEST_F(DocumentOpsTest, NewDocumentInWhiteOnBlackModeIsBlack) {
    e.leftColor = kWhite;
    e.rightColor = kBlack;
    e.colorMode = ColorMode::WhiteBlack;
    NewDocument(e);

    EXPECT_TRUE(wholeSheetIs(kBlack));
    EXPECT_TRUE(currentFramePicture(e) == Raster(kFrameWidth, kFrameHeight, kBlack));
    EXPECT_TRUE(e.imgListWork == Raster(kFrameWidth, kFrameHeight, kBlack));
    EXPECT_EQ(e.doc.FrameCount, 1);
    EXPECT_FALSE(e.doc.Modified);
}

// The control itself steps by one and reports the new position; the hold rule adds nine more
// in the same direction once the button has been held for more than a second.
TEST_F(DocumentOpsTest, LoopCountHoldRule) {
    struct Step {
        std::uint32_t nowMs;
        int position; // as the control reports it after its own step
        StepDirection direction;
        int loopCount;
        const char* text;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
    };
    const auto Up = StepDirection::Up;
    const auto Down = StepDirection::Down;
    const std::vector<Case> cases = {
        {"steps of one during the first second",
         {{5000, 11, Up, 11, "11"},
          {5400, 12, Up, 12, "12"},
          {6000, 13, Up, 13, "13"}, // exactly one second is not more than one
          {6001, 14, Up, 23, "23"},
          {6100, 24, Up, 33, "33"}}},
        {"down by ten after a second",
         {{0, 99, Down, 99, "99"}, {1500, 98, Down, 89, "89"}, {1600, 88, Down, 79, "79"}}},
        {"up from 250 stops at 255",
         {{0, 251, Up, 251, "251"}, {1001, 252, Up, 255, "無限"}, {1100, 255, Up, 255, "無限"}}},
        {"up from 247 reaches 255 exactly",
         {{0, 247, Up, 247, "247"}, {2000, 248, Up, 255, "無限"}}},
        {"down from 5 stops at 1",
         {{0, 4, Down, 4, "4"}, {1001, 3, Down, 1, "1"}, {1100, 1, Down, 1, "1"}}},
        {"the millisecond counter wraps",
         {{0xFFFFFE00u, 20, Up, 20, "20"},
          {0x000001D0u, 21, Up, 21, "21"}, // 976 ms after the press
          {0x00000200u, 22, Up, 31, "31"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        releaseHold(e.hold);
        for (const Step& s : c.steps) {
            SCOPED_TRACE(testing::Message() << "at " << s.nowMs << " ms");
            e.doc.Modified = false;
            view.reset();
            udLoopsClick(e, s.position, s.direction, s.nowMs);
            EXPECT_EQ(e.doc.LoopCount, s.loopCount);
            EXPECT_EQ(loopCountText(e.doc.LoopCount), s.text);
            EXPECT_TRUE(e.doc.Modified) << "every step marks the document as modified";
            EXPECT_TRUE(view.saw(kViewLoopCount));
        }
    }
}

TEST_F(DocumentOpsTest, ReleasingTheButtonStartsTheNextHoldAfresh) {
    udLoopsClick(e, 10, StepDirection::Up, 0);
    udLoopsClick(e, 11, StepDirection::Up, 900);
    releaseHold(e.hold);
    udLoopsClick(e, 12, StepDirection::Up, 1500);
    EXPECT_EQ(e.doc.LoopCount, 12) << "a new press counts its second from its own start";
    udLoopsClick(e, 13, StepDirection::Up, 2600);
    EXPECT_EQ(e.doc.LoopCount, 22);
}

TEST_F(DocumentOpsTest, CommitTrailingFrameTurnsTheAppendSlotIntoAFrame) {
    struct Case {
        int frameCount;
        bool scrollEnabled;
        int maximum;
    };
    const Case cases[] = {
        {1, false, 2}, {3, false, 2},    {4, true, 1},
        {10, true, 7}, {253, true, 250}, {254, true, 250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frameCount << " frames");
        NewDocument(e);
        e.doc.FrameCount = c.frameCount;
        e.doc.DisplayTimes[static_cast<std::size_t>(c.frameCount)] = 77; // a leftover
        applyScrollRange(e);
        scListChange(e, std::max(0, c.frameCount - 4));
        SelectFrameSlot(e, c.frameCount - e.list.position);
        ASSERT_EQ(e.doc.CurrentFrame, c.frameCount);

        CommitTrailingFrame(e);

        const int count = c.frameCount + 1;
        EXPECT_EQ(e.doc.FrameCount, count);
        EXPECT_EQ(e.doc.CurrentFrame, c.frameCount);
        EXPECT_EQ(e.doc.DisplayTimes[static_cast<std::size_t>(c.frameCount)], 1);
        EXPECT_EQ(e.list.scrollEnabled, c.scrollEnabled);
        EXPECT_EQ(e.list.maximum, c.maximum);
        const int slot = c.frameCount - e.list.position;
        const SlotView& added = e.list.slotViews[static_cast<std::size_t>(slot)];
        EXPECT_EQ(added.kind, SlotView::Kind::Frame);
        EXPECT_EQ(added.time, 1);
        if (c.scrollEnabled) {
            // Scrolled to the end, the list ends with the new append slot, unless it is full.
            scListChange(e, e.list.maximum);
            EXPECT_EQ(e.list.slotViews[4].kind,
                      count < 255 ? SlotView::Kind::Append : SlotView::Kind::Frame);
        }
    }
}

TEST_F(DocumentOpsTest, CommitTrailingFrameDoesNothingOnARealFrame) {
    e.doc.FrameCount = 6;
    for (int i = 0; i < 7; ++i)
        e.doc.DisplayTimes[static_cast<std::size_t>(i)] = 10 + i;
    applyScrollRange(e);
    for (const int slot : {0, 2, 4}) {
        SCOPED_TRACE(testing::Message() << "current frame " << slot);
        SelectFrameSlot(e, slot);
        const auto times = e.doc.DisplayTimes;
        const FrameListState list = e.list;
        CommitTrailingFrame(e);
        EXPECT_EQ(e.doc.FrameCount, 6);
        EXPECT_EQ(e.doc.DisplayTimes, times);
        EXPECT_EQ(e.list.maximum, list.maximum);
        EXPECT_EQ(e.list.slotViews[4].label, list.slotViews[4].label);
    }
}

} // namespace
} // namespace vemurion
