#include "framelist/Playback.h"

#include "app/CommandStates.h"
#include "document/DocumentOps.h"
#include "framelist/FrameList.h"
#include "framelist/FrameOps.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace vemurion {
namespace {

constexpr std::uint32_t kStart = 100000;

class PlaybackTest : public test::EditorFixture {
protected:
    void makeFrames(std::vector<int> times, int loops, int current = 0) {
        NewDocument(e);
        std::copy(times.begin(), times.end(), e.doc.DisplayTimes.begin());
        e.doc.FrameCount = static_cast<int>(times.size());
        e.doc.LoopCount = loops;
        showFrameList(e, current);
    }
    // Steps the timer every 10 ms for at most `forMs`, recording each caption shown with its
    // time. Returns when playback stopped, or 0.
    std::uint32_t play(std::uint32_t forMs) {
        P1Click(e, kStart);
        shown = {"0 " + e.modeCaption};
        for (std::uint32_t t = 10; t <= forMs; t += 10) {
            tmAnimationTimer(e, kStart + t);
            if (!e.playing) return t;
            const std::string now = " " + e.modeCaption;
            if (!shown.back().ends_with(now)) shown.push_back(std::to_string(t) + now);
        }
        return 0;
    }
    std::vector<std::string> shown;
};

TEST_F(PlaybackTest, FramesFollowTheirTimesAndTheLoopCount) {
    makeFrames({4}, 1);
    EXPECT_EQ(play(5000), 1000u);
    EXPECT_EQ(shown, (std::vector<std::string>{"0 アニメーション再生中 - 01/01"}));

    makeFrames({1, 2, 1}, 2);
    EXPECT_EQ(play(5000), 2000u);
    const std::vector<std::string> expected = {
        "0 アニメーション再生中 - 01/03",    "250 アニメーション再生中 - 02/03",
        "750 アニメーション再生中 - 03/03",  "1000 アニメーション再生中 - 01/03",
        "1250 アニメーション再生中 - 02/03", "1750 アニメーション再生中 - 03/03"};
    EXPECT_EQ(shown, expected);

    makeFrames(std::vector<int>(150, 1), 1);
    EXPECT_EQ(play(50000), 37500u);
    EXPECT_EQ(shown.back(), "37250 アニメーション再生中 - 150/150");

    makeFrames({1}, 255);
    EXPECT_EQ(play(70000), 0u) << "255 plays until stopped";
}

TEST_F(PlaybackTest, TimerMeasuresFromWhenTheFrameWentUp) {
    struct Case {
        std::uint32_t start;
        std::vector<std::uint32_t> steps; // readings after the start
        std::vector<int> frames;          // the frame shown after each
    };
    const Case cases[] = {
        {kStart, {600, 849, 850}, {1, 1, 2}}, // a late step is not made up
        {0xFFFFFF00u, {249, 250, 499, 500}, {0, 1, 1, 2}},
        {kStart, {0xFFFFFFFFu, 0x80000000u}, {0, 0}}, // readings from before the start
    };
    for (const Case& c : cases) {
        makeFrames({1, 1, 1, 1}, 255);
        P1Click(e, c.start);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            tmAnimationTimer(e, c.start + c.steps[i]);
            EXPECT_EQ(e.doc.CurrentFrame, c.frames[i]) << c.start << " + " << c.steps[i];
        }
        N3Click(e);
    }
}

TEST_F(PlaybackTest, StopPutsBackWhatTheStartFound) {
    makeFrames(std::vector<int>(9, 1), 255, 7);
    const Raster work = e.imgListWork;
    const FrameListState list = e.list;
    e.sel.isSelected = true;
    e.undo.undoState = 0;
    P1Click(e, kStart);
    EXPECT_EQ(e.doc.CurrentFrame, 0);
    EXPECT_FALSE(e.sel.isSelected);
    P1Click(e, kStart + 5); // F9 while playing
    clipboard.setPicture(Raster(4, 4));
    UpdateCommandStates(e);
    const std::vector<const char*> off = {
        "New1",        "Save1",       "R2",          "Edit1",        "Undo1",        "Paste1",
        "SelectAll1",  "L1",          "I2",          "P2",           "P3",           "P1",
        "ToolButton1", "ToolButton7", "ToolButton9", "ToolButton13", "ToolButton14", "scList",
        "imgList4",    "udTimes0",    "udLoops",     "SpeedButton4", "tbtnPen",      "tbtnLR"};
    for (const char* name : off)
        EXPECT_FALSE(e.commandEnabled[name]) << name;
    EXPECT_TRUE(e.commandEnabled["N3"] && e.commandEnabled["ToolButton10"]);
    EXPECT_EQ(e.commandEnabled.count("Exit1"), 0u);

    tmAnimationTimer(e, kStart + 250);
    view.reset();
    N3Click(e);
    EXPECT_TRUE(
        view.saw(kViewCommands | kViewCanvas | kViewPreview | kViewModeCaption | kViewSlots));
    EXPECT_EQ(e.doc.CurrentFrame, 7);
    EXPECT_EQ(e.modeCaption, "エディット - ペンツール");
    EXPECT_EQ(e.imgListWork, work);
    EXPECT_EQ(e.list.cursorSlot, list.cursorSlot);
    for (const char* name : off) {
        const auto it = e.commandEnabled.find(name);
        EXPECT_TRUE(it == e.commandEnabled.end() || it->second) << name;
    }
    EXPECT_FALSE(e.commandEnabled["N3"] || e.commandEnabled["ToolButton10"]);
    EXPECT_EQ(e.commandEnabled.count("imgList4"), 0u) << "the slots decide again";

    SelectFrameSlot(e, 1);
    const int picked = e.doc.CurrentFrame;
    tmAnimationTimer(e, kStart + 5000); // a step queued before the timer stopped
    N3Click(e);
    EXPECT_EQ(e.doc.CurrentFrame, picked);
}

} // namespace
} // namespace vemurion
