#pragma once

#include "spine/Editor.h"

namespace vemurion {

// The keys of the main window that act without a menu item, as the window reads them.
enum class Key { Left, Right, Up, Down, Home, End, Escape, Letter, Other };

struct KeyPress {
    Key key = Key::Other;
    char letter = 0; // 'A' to 'Z' for Key::Letter
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
};

// The key of each drawing tool and of the colour mode switch, as the hints show them.
char toolKey(EditTool tool);
inline constexpr char kColorModeKey = 'X';

// Acts on a key pressed in the main window: Alt+Left and Alt+Right the previous and the next
// frame (the append slot after the last), Alt+Home and Alt+End the first and the last frame; a
// tool's letter takes that tool, X switches the colour mode; Escape ends a selection as a press
// outside it does; the arrows move floating content by a dot, with Shift by eight, as a drag by
// as much does. True when the key is one of these, which then goes no further, even where it
// does nothing: while playing or while a button is held on the canvas.
bool keyPressed(Editor& e, const KeyPress& key);

// Moves the floating content (dx, dy) dots, as dragging it from one dot to another that far off
// does. Nothing without floating content.
void nudgeSelection(Editor& e, int dx, int dy);

} // namespace vemurion
