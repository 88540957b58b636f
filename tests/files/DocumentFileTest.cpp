#include "files/DocumentFile.h"

#include "editor/CanvasView.h"
#include "framelist/FrameList.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vemurion {
namespace {

using test::EditorFixture;

class DocumentFileTest : public EditorFixture {
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

TEST_F(DocumentFileTest, NewDocumentIsOneWhiteFrameOfTimeOneLoopingWithoutEnd) {
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

TEST_F(DocumentFileTest, NewDocumentInWhiteOnBlackModeIsBlack) {
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

} // namespace
} // namespace vemurion
