#include "app/KeyCommands.h"

#include "editor/CanvasInput.h"
#include "editor/CanvasView.h"
#include "editor/Selection.h"
#include "framelist/FrameOps.h"
#include "spine/CanvasState.h"
#include "spine/CommandStates.h"

#include <array>
#include <optional>
#include <utility>

namespace vemurion {

namespace {

constexpr std::array<std::pair<EditTool, char>, 8> kToolKeys = {{
    {EditTool::Pen, 'P'},
    {EditTool::Select, 'S'},
    {EditTool::Paint, 'F'},
    {EditTool::Line, 'L'},
    {EditTool::Box, 'R'},
    {EditTool::BoxFill, 'B'},
    {EditTool::Circle, 'E'},
    {EditTool::CircleFill, 'D'},
}};

constexpr int kLongNudge = 8;

// What a key asks for: a frame to go to, a move of the floating content, a tool, the colour
// mode switched, or the selection ended.
struct KeyAction {
    enum class Kind { GoTo, Nudge, Tool, SwitchColorMode, Deselect };
    Kind kind;
    int frame = 0; // GoTo, relative to the current frame unless `absolute`
    bool absolute = false;
    int dx = 0; // Nudge
    int dy = 0;
    EditTool tool = EditTool::Pen;
};

std::optional<KeyAction> actionOf(const KeyPress& key, int frameCount) {
    using K = KeyAction::Kind;
    if (key.alt && !key.ctrl && !key.shift) {
        switch (key.key) {
        case Key::Left:
            return KeyAction{K::GoTo, -1};
        case Key::Right:
            return KeyAction{K::GoTo, 1};
        case Key::Home:
            return KeyAction{K::GoTo, 0, true};
        case Key::End:
            return KeyAction{K::GoTo, frameCount - 1, true};
        default:
            return std::nullopt;
        }
    }
    if (key.alt || key.ctrl) return std::nullopt;
    const int step = key.shift ? kLongNudge : 1;
    switch (key.key) {
    case Key::Left:
        return KeyAction{K::Nudge, 0, false, -step, 0};
    case Key::Right:
        return KeyAction{K::Nudge, 0, false, step, 0};
    case Key::Up:
        return KeyAction{K::Nudge, 0, false, 0, -step};
    case Key::Down:
        return KeyAction{K::Nudge, 0, false, 0, step};
    case Key::Escape:
        return KeyAction{K::Deselect};
    case Key::Letter:
        if (key.shift) return std::nullopt;
        if (key.letter == kColorModeKey) return KeyAction{K::SwitchColorMode};
        for (const auto& [tool, letter] : kToolKeys) {
            if (letter == key.letter) return KeyAction{K::Tool, 0, false, 0, 0, tool};
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace

char toolKey(EditTool tool) {
    for (const auto& [t, letter] : kToolKeys)
        if (t == tool) return letter;
    return 0;
}

bool keyPressed(Editor& e, const KeyPress& key) {
    const std::optional<KeyAction> action = actionOf(key, e.doc.FrameCount);
    if (!action) return false;
    // Taken all the same: a key of the window never falls through to anything else.
    if (e.playing || e.gestureHeld || e.dialogActive) return true;
    switch (action->kind) {
    case KeyAction::Kind::GoTo:
        goToFrame(e, action->absolute ? action->frame : e.doc.CurrentFrame + action->frame);
        break;
    case KeyAction::Kind::Nudge:
        nudgeSelection(e, action->dx, action->dy);
        break;
    case KeyAction::Kind::Tool:
        selectTool(e, action->tool);
        break;
    case KeyAction::Kind::SwitchColorMode:
        setColorMode(e, e.colorMode == ColorMode::BlackWhite ? ColorMode::WhiteBlack
                                                             : ColorMode::BlackWhite);
        break;
    case KeyAction::Kind::Deselect:
        Deselect(e);
        break;
    }
    UpdateCommandStates(e);
    return true;
}

void nudgeSelection(Editor& e, int dx, int dy) {
    Selection& s = e.sel;
    if (!s.isSelected || e.tool != EditTool::Select || (dx == 0 && dy == 0)) return;
    // A press on the content's corner and a move (dx, dy) dots away, then the release.
    const int cursorX = e.cursorX;
    const int cursorY = e.cursorY;
    e.startX = s.selLeft;
    e.startY = s.selTop;
    e.cursorX = s.selLeft + dx;
    e.cursorY = s.selTop + dy;
    moveSelectionContent(e);
    s.selLeft += dx;
    s.selRight += dx;
    s.selTop += dy;
    s.selBottom += dy;
    showSelectionFrame(e, s.selLeft, s.selTop, s.selRight, s.selBottom);
    e.cursorX = cursorX;
    e.cursorY = cursorY;
}

} // namespace vemurion
