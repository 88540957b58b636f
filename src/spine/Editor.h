#pragma once

#include "document/AnimationDocument.h"
#include "document/Raster.h"
#include "spine/Services.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <string>

namespace vemurion {

inline constexpr const char* kVersionText = "Vemurion ver.1.12";
inline constexpr int kCanvasScale = 9;
inline constexpr int kCanvasWidth = kFrameWidth * kCanvasScale + 1;   // 433
inline constexpr int kCanvasHeight = kFrameHeight * kCanvasScale + 1; // 289
inline constexpr int kPreviewScale = 2;
inline constexpr int kSlotCount = 5;
inline constexpr int kTimerIdleMs = 1000;
inline constexpr int kTimerStrokeMs = 10;

enum class EditTool { Pen, Select, Paint, Line, Box, BoxFill, Circle, CircleFill };
enum class ColorMode { BlackWhite, WhiteBlack };
enum class MouseButton { Left, Right, Middle };

// Buttons and keys held at the moment of an event.
struct InputState {
    bool left = false;
    bool right = false;
    bool middle = false;
    bool shift = false;
    bool ctrl = false;
};

// The one mark drawn over the edit canvas: the red square around the dot under the pointer, or
// the frame around the selection. Rectangles are inclusive dot coordinates.
struct CanvasMark {
    enum class Kind { None, DotCursor, SelectionFrame };
    Kind kind = Kind::None;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct Selection {
    bool isSelected = false;
    // Inclusive dot rectangle; may reach beyond the picture once its content has been dragged.
    // Keeps its values after the selection ends.
    int selLeft = 0;
    int selTop = 0;
    int selRight = 0;
    int selBottom = 0;
    bool transparent = false; // the transparent-paste button
};

struct UndoRecord {
    int undoState = -1; // -1 none, 0 picture edit, 1 frame inserted, 2 frame removed
    int undoFrame = 0;
    int undoTime = 1; // display time of a removed frame, which comes back with it
    Raster imgUndo{kFrameWidth, kFrameHeight};
};

// What one of the five frame slots shows.
struct SlotView {
    enum class Kind { Frame, Append, Empty };
    Kind kind = Kind::Empty;
    int index = 0;     // document index shown in the slot
    std::string label; // "001/012"; empty for the append slot and empty slots
    int time = 1;      // display time shown beside a frame
};

struct FrameListState {
    int position = 0; // document index shown in slot 0
    int maximum = 2;
    bool scrollEnabled = false;
    std::array<SlotView, kSlotCount> slotViews{};
    bool cursorVisible = true;
    int cursorSlot = 0;
};

// A held up-down button: the second and later seconds of a hold step by ten.
struct HoldTimer {
    bool held = false;
    std::uint32_t pressTick = 0;
};

// The editor's whole state: the document and everything the main window keeps about it. The
// window owns one and hands it to every operation.
struct Editor {
    AnimationDocument doc;

    // Work pictures, 48 x 32 each.
    Raster imgListWork{kFrameWidth, kFrameHeight};
    Raster imgDrawWork{kFrameWidth, kFrameHeight};
    Raster imgCopyWork{kFrameWidth, kFrameHeight};
    Raster imgUndoUndo{kFrameWidth, kFrameHeight};

    EditTool tool = EditTool::Pen;
    ColorMode colorMode = ColorMode::BlackWhite;
    Rgb leftColor = kBlack;
    Rgb rightColor = kWhite; // also the background of new and cleared pictures
    Rgb gridColor = 0xF0F0F0;
    Rgb cursorColor = 0xFF0000;

    int cursorX = 0;
    int cursorY = 0;
    int startX = 0;
    int startY = 0;
    Dot penPosition;
    bool isDrawing = false;
    InputState input; // as read at the last event
    CanvasMark mark;

    Selection sel;
    UndoRecord undo;
    FrameListState list;
    HoldTimer hold;

    // Onion skin: the canvas tints the background dots where the previous and the next frame
    // have drawn dots.
    bool onionPrevious = false;
    bool onionNext = false;

    bool playing = false;
    // Playback: the frame shown, the passes completed, when the frame went up (a reading of the
    // playback clock), and what playback puts back when it stops.
    int playFrame = 0;
    int playLoops = 0;
    std::chrono::microseconds playTick{0};
    int savedFrame = 0;
    std::string savedTitle;

    bool dialogActive = false; // a dialog that takes the pointer away from the canvas is up
    bool pressIgnored = false; // the last press on the canvas was ignored, until its release
    // A button pressed on the canvas is still down, and the press began a gesture there: a
    // stroke, a figure, a rubber band or a move of floating content.
    bool gestureHeld = false;
    MouseButton gestureButton = MouseButton::Left;
    int timer1Interval = kTimerIdleMs;

    std::string title = "Vemurion";
    std::string modeCaption = "エディット - ペンツール";
    std::array<std::string, 2> status{"X=00 Y=00", ""};
    std::map<std::string, bool> commandEnabled; // decided states, by command name

    std::string VersionText = kVersionText;
    std::string ProgramFolder;
    // The user's home: where the file dialogs start, and where they go back to when the name a
    // command leaves is no file.
    std::string homeFolder;
    std::string openFolder; // initial folder of the open dialog
    std::string saveFolder; // initial folder of the save dialog
    int openFilterIndex = 1;
    int saveFilterIndex = 1;
    int gifFilterIndex = 4; // the GIF export's scale, chosen by the dialog's filter

    ViewSink* view = nullptr;
    Prompts* prompts = nullptr;
    ClipboardPort* clipboard = nullptr;
    ConversionPort* conversion = nullptr;
    ShellPort* shell = nullptr;
    PictureFiles* pictureFiles = nullptr; // none: the core's own readers

    void notify(unsigned parts) const {
        if (view != nullptr) view->changed(parts);
    }
    void setEnabled(const std::string& command, bool enabled) { commandEnabled[command] = enabled; }
};

} // namespace vemurion
