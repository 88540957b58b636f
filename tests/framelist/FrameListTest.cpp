#include "framelist/FrameList.h"

#include "files/DocumentFile.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace vemurion {
namespace {

class FrameListTest : public test::EditorFixture {
protected:
    void makeFrames(int count) {
        e.doc.FrameCount = count;
        for (int k = 0; k <= count && k < kMaxFrames; ++k)
            e.doc.DisplayTimes[static_cast<std::size_t>(k)] = 1 + k % 255;
        applyScrollRange(e);
        RefreshFrameSlots(e);
    }
    // Each slot as text: its label, "+" for the append slot, "-" for an empty one.
    std::vector<std::string> slots() const {
        std::vector<std::string> result;
        for (const SlotView& s : e.list.slotViews) {
            result.push_back(s.kind == SlotView::Kind::Frame    ? s.label
                             : s.kind == SlotView::Kind::Append ? "+"
                                                                : "-");
        }
        return result;
    }
};

TEST_F(FrameListTest, SlotsAndScrollRangeFollowTheFrameCount) {
    using V = std::vector<std::string>;
    struct Case {
        int frames;
        int position;
        bool scrollEnabled;
        int maximum; // when enabled
        V slots;
    };
    const Case cases[] = {
        {1, 0, false, 0, {"001/001", "+", "-", "-", "-"}},
        {5, 1, true, 1, {"002/005", "003/005", "004/005", "005/005", "+"}},
        {254, 250, true, 250, {"251/254", "252/254", "253/254", "254/254", "+"}},
        {255, 251, true, 250, {"251/255", "252/255", "253/255", "254/255", "255/255"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frames << " frames at " << c.position);
        NewDocument(e);
        makeFrames(c.frames);
        if (e.list.scrollEnabled) scListChange(e, c.position);
        EXPECT_EQ(e.list.scrollEnabled, c.scrollEnabled);
        if (c.scrollEnabled) {
            EXPECT_EQ(e.list.maximum, c.maximum);
        }
        EXPECT_EQ(slots(), c.slots);
        EXPECT_EQ(e.list.slotViews[0].time, 1 + e.list.slotViews[0].index % 255);
    }
}

// The display-time up-down of slot k steps the frame that slot shows on a scrolled list, by ten
// once it has been held for more than a second, within 1 .. 255.
TEST_F(FrameListTest, TimeUpDownsStepTheFrameOfTheirSlot) {
    const auto Up = StepDirection::Up;
    const auto Down = StepDirection::Down;
    struct Step {
        std::uint32_t nowMs;
        int position; // as the control reports it after its own step
        StepDirection direction;
        int time; // the frame's display time afterwards
    };
    struct Case {
        const char* what;
        int frames;
        int scroll;
        int slot;
        std::vector<Step> steps;
    };
    // Frame k starts with display time k + 1.
    const Case cases[] = {
        {"one step", 20, 7, 0, {{0, 9, Up, 9}}},
        {"held up",
         20,
         7,
         3,
         {{5000, 12, Up, 12}, {6000, 13, Up, 13}, {6001, 14, Up, 23}, {6100, 24, Up, 33}}},
        {"held down stops at 1",
         20,
         7,
         4,
         {{0, 11, Down, 11}, {1001, 10, Down, 1}, {1100, 1, Down, 1}}},
        {"held up stops at 255", 255, 250, 2, {{0, 254, Up, 254}, {1001, 255, Up, 255}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewDocument(e);
        makeFrames(c.frames);
        scListChange(e, c.scroll);
        releaseHold(e.hold);
        e.doc.Modified = false;
        const int index = c.scroll + c.slot;
        auto expected = e.doc.DisplayTimes;
        for (const Step& s : c.steps) {
            SCOPED_TRACE(testing::Message() << "at " << s.nowMs << " ms");
            ChangeSlotTime(e, c.slot, s.position, s.direction, s.nowMs);
            expected[static_cast<std::size_t>(index)] = s.time;
            EXPECT_EQ(e.doc.DisplayTimes, expected) << "only frame " << index << " changes";
            EXPECT_EQ(e.list.slotViews[static_cast<std::size_t>(c.slot)].time, s.time);
            EXPECT_TRUE(e.doc.Modified);
        }
    }
    // The append slot has no time to change.
    NewDocument(e);
    makeFrames(254);
    scListChange(e, 250);
    e.doc.Modified = false;
    const auto times = e.doc.DisplayTimes;
    ChangeSlotTime(e, 4, 2, Up, 0);
    EXPECT_EQ(e.doc.DisplayTimes, times);
    EXPECT_FALSE(e.doc.Modified);
}

// The control itself steps by one and reports the new position; the hold rule adds nine more
// in the same direction once the button has been held for more than a second.
TEST_F(FrameListTest, LoopCountHoldRule) {
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

TEST_F(FrameListTest, ReleasingTheButtonStartsTheNextHoldAfresh) {
    udLoopsClick(e, 10, StepDirection::Up, 0);
    udLoopsClick(e, 11, StepDirection::Up, 900);
    releaseHold(e.hold);
    udLoopsClick(e, 12, StepDirection::Up, 1500);
    EXPECT_EQ(e.doc.LoopCount, 12) << "a new press counts its second from its own start";
    udLoopsClick(e, 13, StepDirection::Up, 2600);
    EXPECT_EQ(e.doc.LoopCount, 22);
}

TEST_F(FrameListTest, CommitTrailingFrameTurnsTheAppendSlotIntoAFrame) {
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

TEST_F(FrameListTest, CommitTrailingFrameDoesNothingOnARealFrame) {
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
