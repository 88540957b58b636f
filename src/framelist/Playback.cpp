#include "framelist/Playback.h"

#include "framelist/FrameList.h"
#include "spine/CanvasState.h"
#include "spine/CommandStates.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace vemurion {

namespace {

using Names = std::initializer_list<const char*>;

// Menu items and tool buttons that playback disables and stopping enables outright. The items
// of the Edit1 and L1 menus are listed besides the menus themselves: a disabled menu does not
// stop the shortcuts of its items.
constexpr Names kDocumentCommands = {
    "New1",        "Open1",       "Save1",       "SaveAs1",     "R2",          "Edit1",
    "SelectAll1",  "G1",          "L1",          "P2",          "Copy2",       "P1",
    "ToolButton1", "ToolButton2", "ToolButton3", "ToolButton9", "ToolButton13"};
// Commands that playback disables and whose state afterwards is decided by UpdateCommandStates.
constexpr Names kStateCommands = {
    "Undo1",       "Cut1",        "Copy1",       "Paste1",       "I2",          "T1",      "P3",
    "D1",          "A1",          "N8",          "Cut2",         "Paste2",      "Delete2", "A2",
    "ToolButton5", "ToolButton6", "ToolButton7", "ToolButton12", "ToolButton14"};
// Controls that are enabled again outright.
constexpr Names kEditControls = {"udLoops",      "SpeedButton1",   "SpeedButton2",   "SpeedButton3",
                                 "SpeedButton4", "tbtnBlackWhite", "tbtnWhiteBlack", "tbtnClear",
                                 "tbtnCenter",   "tbtnReverse",    "tbtnPen",        "tbtnSelect",
                                 "tbtnPaint",    "tbtnLine",       "tbtnBox",        "tbtnBoxFill",
                                 "tbtnCircle",   "tbtnCircleFill", "tbtnTrans",      "tbtnUD",
                                 "tbtnLR"};
// Controls of the frame list. Once playback ends their state follows the slot refresh (a slot's
// picture and up-down depend on what it shows, the scroll bar on the frame count), so stopping
// removes their entries rather than deciding them once.
constexpr Names kListControls = {"scList",   "imgList0", "imgList1", "imgList2",
                                 "imgList3", "imgList4", "udTimes0", "udTimes1",
                                 "udTimes2", "udTimes3", "udTimes4"};
constexpr Names kStopCommands = {"N3", "ToolButton10"};

constexpr unsigned kPlaybackViews =
    kViewCommands | kViewCanvas | kViewPreview | kViewModeCaption | kViewSlots;

void setAll(Editor& e, Names names, bool enabled) {
    for (const char* name : names)
        e.setEnabled(name, enabled);
}

void showPlayingFrame(Editor& e) {
    e.modeCaption = playbackCaption(e.doc.CurrentFrame + 1, e.doc.FrameCount);
    ShowCurrentFrame(e);
    e.notify(kViewModeCaption);
}

} // namespace

std::string playbackCaption(int frame, int frameCount) {
    char text[64];
    std::snprintf(text, sizeof text, "アニメーション再生中 - %02d/%02d", frame, frameCount);
    return text;
}

void P1Click(Editor& e, PlaybackClock now) {
    if (e.playing) return;
    e.savedFrame = e.doc.CurrentFrame;
    e.savedTitle = e.modeCaption;

    // From here UpdateCommandStates leaves every state alone, Deselect's call included.
    e.playing = true;
    setAll(e, kDocumentCommands, false);
    setAll(e, kStateCommands, false);
    setAll(e, kEditControls, false);
    setAll(e, kListControls, false);
    setAll(e, kStopCommands, true);
    Deselect(e);

    e.doc.CurrentFrame = 0;
    e.playFrame = 0;
    e.playLoops = 0;
    showPlayingFrame(e);
    e.playTick = now;
    e.notify(kPlaybackViews);
}

PlaybackClock nextFrameDue(const Editor& e) {
    const auto shown = static_cast<std::size_t>(std::clamp(e.playFrame, 0, 255));
    return e.playTick + std::chrono::milliseconds(e.doc.DisplayTimes[shown] * kDisplayTickMs);
}

void tmAnimationTimer(Editor& e, PlaybackClock now) {
    if (!e.playing || now < nextFrameDue(e)) return;

    // From the step's own reading, not from the due time: a late step lengthens the frame it
    // ends and is not made up by shortening the next.
    e.playTick = now;
    e.playFrame += 1;
    if (e.playFrame >= e.doc.FrameCount) {
        e.playFrame = 0;
        e.playLoops += 1;
        if (e.playLoops >= e.doc.LoopCount && e.doc.LoopCount != kInfiniteLoops) {
            N3Click(e);
            return;
        }
    }
    e.doc.CurrentFrame = e.playFrame;
    showPlayingFrame(e);
}

void N3Click(Editor& e) {
    if (!e.playing) return;
    e.playing = false;
    // The frame list cannot change during playback; should it have shrunk all the same, the
    // last real frame is the nearest place to return to.
    const AnimationDocument& doc = e.doc;
    const bool appendSlot = e.savedFrame == doc.FrameCount && doc.FrameCount < kMaxFrames;
    e.doc.CurrentFrame =
        appendSlot ? e.savedFrame : std::clamp(e.savedFrame, 0, std::max(doc.FrameCount - 1, 0));
    e.modeCaption = e.savedTitle;
    ShowCurrentFrame(e);

    setAll(e, kDocumentCommands, true);
    setAll(e, kStopCommands, false);
    for (const char* name : kListControls)
        e.commandEnabled.erase(name);
    UpdateFrameListCommands(e);
    RefreshFrameSlots(e);
    setAll(e, kEditControls, true);
    UpdateCommandStates(e);
    e.notify(kPlaybackViews);
}

} // namespace vemurion
