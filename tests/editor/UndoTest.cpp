#include "editor/Undo.h"
#include "editor/CanvasInput.h"
#include "framelist/FrameList.h"
#include "framelist/FrameOps.h"
#include "support/FakeServices.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>

namespace vemurion {
namespace {

// A picture whose only black dot is (n, 0): tells the frames apart.
Raster marked(int n) {
    Raster picture(kFrameWidth, kFrameHeight, kWhite);
    picture.set(n, 0, kBlack);
    return picture;
}

class FrameUndo : public test::EditorFixture {
protected:
    // Frames 0 .. count-1, frame k marked with dot k and display time 10 + k.
    void makeFrames(int count) {
        e.doc.FrameCount = count;
        for (int k = 0; k < count; ++k) {
            e.doc.sheet.setCell(k, marked(k));
            e.doc.DisplayTimes[static_cast<std::size_t>(k)] = 10 + k;
        }
        applyScrollRange(e);
        RefreshFrameSlots(e);
    }
    void select(int index) {
        scListChange(e, std::min(index, e.list.maximum));
        SelectFrameSlot(e, slotOfFrame(e, index));
        ASSERT_EQ(e.doc.CurrentFrame, index);
    }
    // The mark of every frame, in order.
    std::vector<int> marks() const {
        std::vector<int> result;
        for (int k = 0; k < e.doc.FrameCount; ++k) {
            const Raster cell = e.doc.sheet.cell(k);
            int mark = -1;
            for (int x = 0; x < kFrameWidth; ++x) {
                if (cell.at(x, 0) == kBlack) mark = x;
            }
            result.push_back(mark);
        }
        return result;
    }
};

TEST_F(FrameUndo, DeletionComesBackWithItsTimeAndGoesAgain) {
    makeFrames(6);
    select(2);
    RemoveCurrentFrame(e);
    EXPECT_EQ(marks(), (std::vector<int>{0, 1, 3, 4, 5}));
    EXPECT_EQ(e.doc.CurrentFrame, 2);
    EXPECT_EQ(e.doc.DisplayTimes[2], 13);

    select(4);
    Undo1Click(e);
    EXPECT_EQ(marks(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(e.doc.CurrentFrame, 2);
    EXPECT_EQ(e.doc.DisplayTimes[2], 12);
    EXPECT_EQ(e.doc.DisplayTimes[3], 13);
    EXPECT_EQ(e.imgListWork, marked(2));
    EXPECT_TRUE(e.list.scrollEnabled);

    Undo1Click(e);
    EXPECT_EQ(marks(), (std::vector<int>{0, 1, 3, 4, 5}));
    EXPECT_EQ(e.undo.undoState, 2);
}

TEST_F(FrameUndo, InsertionGoesAndABlankFrameComesBack) {
    makeFrames(3);
    select(1);
    InsertFrameAt(e, 7, marked(40));
    EXPECT_EQ(marks(), (std::vector<int>{0, 40, 1, 2}));
    Undo1Click(e);
    EXPECT_EQ(marks(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(e.doc.DisplayTimes[1], 11);
    Undo1Click(e);
    EXPECT_EQ(marks(), (std::vector<int>{0, 40, 1, 2}));
    EXPECT_EQ(e.doc.DisplayTimes[1], 7);
    EXPECT_EQ(e.doc.CurrentFrame, 1);
}

TEST_F(FrameUndo, RemovingTheLastFrameLeavesTheAppendSlotCurrent) {
    makeFrames(2);
    select(1);
    RemoveCurrentFrame(e);
    EXPECT_EQ(e.doc.FrameCount, 1);
    EXPECT_TRUE(e.doc.onAppendSlot());
    EXPECT_EQ(e.imgListWork, Raster(kFrameWidth, kFrameHeight, e.rightColor));
    EXPECT_FALSE(e.list.scrollEnabled);
}

TEST_F(FrameUndo, AFullListRefusesToTakeADeletedFrameBack) {
    makeFrames(255);
    select(100);
    RemoveCurrentFrame(e);
    select(3);
    InsertFrameAt(e, 5, marked(47)); // a different record, then a deletion again
    select(10);
    RemoveCurrentFrame(e);
    EXPECT_EQ(e.doc.FrameCount, 254);
    InsertFrameAt(e, 5, marked(47));
    ASSERT_EQ(e.doc.FrameCount, 255);
    e.undo.undoState = 2; // as if the last deletion were still the record
    Undo1Click(e);
    EXPECT_EQ(e.doc.FrameCount, 255);
    EXPECT_EQ(e.list.maximum, 250);
}

TEST_F(FrameUndo, PictureUndoAfterTheFrameMovedEditsTheRightIndex) {
    makeFrames(3);
    select(0);
    InputState left;
    left.left = true;
    canvasPress(e, MouseButton::Left, 9 * 30, 9 * 30, left);
    canvasRelease(e, MouseButton::Left, {});
    EXPECT_EQ(e.doc.sheet.cell(0).at(30, 30), kBlack);
    Undo1Click(e);
    EXPECT_EQ(e.doc.sheet.cell(0).at(30, 30), kWhite);
    EXPECT_EQ(marks(), (std::vector<int>{0, 1, 2}));
}

TEST_F(FrameUndo, GeneralTimerFollowsTheClipboard) {
    EXPECT_FALSE(e.commandEnabled["Paste1"]);
    clipboard.setPicture(marked(1));
    Timer1Timer(e, {}, std::nullopt);
    EXPECT_TRUE(e.commandEnabled["Paste1"]);
    EXPECT_TRUE(e.commandEnabled["P3"]);
    clipboard.setText("text");
    Timer1Timer(e, {}, std::nullopt);
    EXPECT_FALSE(e.commandEnabled["Paste1"]);
    e.playing = true;
    clipboard.setPicture(marked(1));
    Timer1Timer(e, {}, std::nullopt);
    EXPECT_FALSE(e.commandEnabled["Paste1"]);
}

} // namespace
} // namespace vemurion
