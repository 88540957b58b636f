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

} // namespace
} // namespace vemurion
