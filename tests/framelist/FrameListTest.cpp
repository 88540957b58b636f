#include "framelist/FrameList.h"

#include "document/DocumentOps.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace vemurion
