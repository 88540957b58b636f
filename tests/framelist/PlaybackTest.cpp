#include "framelist/Playback.h"

#include "files/DocumentFile.h"
#include "framelist/FrameList.h"
#include "framelist/FrameOps.h"
#include "spine/CommandStates.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace vemurion {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;

constexpr PlaybackClock kStart = 100000s;

std::string at(PlaybackClock t) {
    return std::to_string(std::chrono::duration_cast<milliseconds>(t - kStart).count());
}

class PlaybackTest : public test::EditorFixture {
protected:
    void makeFrames(std::vector<int> times, int loops, int current = 0) {
        NewDocument(e);
        std::copy(times.begin(), times.end(), e.doc.DisplayTimes.begin());
        e.doc.FrameCount = static_cast<int>(times.size());
        e.doc.LoopCount = loops;
        showFrameList(e, current);
    }
    // Steps as the window's timer does, `late` after each frame is due, for at most `steps`
    // steps, recording each caption shown with its time in milliseconds. Returns when playback
    // stopped, or "playing".
    std::string play(int steps, PlaybackClock late = 0us) {
        P1Click(e, kStart);
        shown = {"0 " + e.modeCaption};
        for (int i = 0; i < steps; ++i) {
            const PlaybackClock t = nextFrameDue(e) + late;
            tmAnimationTimer(e, t);
            if (!e.playing) return at(t);
            shown.push_back(at(t) + " " + e.modeCaption);
        }
        return "playing";
    }
    std::vector<std::string> shown;
};

TEST_F(PlaybackTest, FramesFollowTheirTimesAndTheLoopCount) {
    makeFrames({4}, 1);
    EXPECT_EQ(play(10), "1000");
    EXPECT_EQ(shown, (std::vector<std::string>{"0 アニメーション再生中 - 01/01"}));

    makeFrames({1, 2, 1}, 2);
    EXPECT_EQ(play(10), "2000");
    const std::vector<std::string> expected = {
        "0 アニメーション再生中 - 01/03",    "250 アニメーション再生中 - 02/03",
        "750 アニメーション再生中 - 03/03",  "1000 アニメーション再生中 - 01/03",
        "1250 アニメーション再生中 - 02/03", "1750 アニメーション再生中 - 03/03"};
    EXPECT_EQ(shown, expected);

    // Late steps lengthen each frame by their lateness and no more.
    makeFrames({1, 2, 1}, 1);
    EXPECT_EQ(play(10, 3ms), "1009");
    EXPECT_EQ(shown, (std::vector<std::string>{"0 アニメーション再生中 - 01/03",
                                               "253 アニメーション再生中 - 02/03",
                                               "756 アニメーション再生中 - 03/03"}));

    makeFrames(std::vector<int>(150, 1), 1);
    EXPECT_EQ(play(200), "37500");
    EXPECT_EQ(shown.back(), "37250 アニメーション再生中 - 150/150");

    makeFrames({1}, 255);
    EXPECT_EQ(play(1000), "playing") << "255 plays until stopped";
}

TEST_F(PlaybackTest, EachFrameIsDueItsTimeAfterItWentUp) {
    struct Case {
        std::vector<PlaybackClock> steps; // readings after the start
        std::vector<int> frames;          // the frame shown after each
        std::vector<PlaybackClock> due;   // and when the next step is due then
    };
    const Case cases[] = {
        {{249999us, 250ms}, {0, 1}, {250ms, 500ms}},
        {{600ms, 849ms, 850ms}, {1, 1, 2}, {850ms, 850ms, 1100ms}}, // a late step is not made up
        {{-1ms, -100s}, {0, 0}, {250ms, 250ms}}, // readings from before the start
    };
    for (const Case& c : cases) {
        makeFrames({1, 1, 1, 1}, 255);
        P1Click(e, kStart);
        EXPECT_EQ(nextFrameDue(e), kStart + 250ms);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "at " << at(kStart + c.steps[i]) << " ms");
            tmAnimationTimer(e, kStart + c.steps[i]);
            EXPECT_EQ(e.doc.CurrentFrame, c.frames[i]);
            EXPECT_EQ(nextFrameDue(e), kStart + c.due[i]);
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
    P1Click(e, kStart + 5ms); // F9 while playing
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

    tmAnimationTimer(e, kStart + 250ms);
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
    tmAnimationTimer(e, kStart + 5s); // a step queued before the timer stopped
    N3Click(e);
    EXPECT_EQ(e.doc.CurrentFrame, picked);
}

} // namespace
} // namespace vemurion
