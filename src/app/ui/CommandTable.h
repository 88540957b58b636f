#pragma once

#include <span>

namespace vemurion {

class TfrmMain;

enum class CommandPlace {
    Menu,           // a menu of the menu bar; the items that follow belong to it
    MenuItem,       // an item of the last menu
    MenuSeparator,  // a separator in the last menu
    PopupItem,      // an item of the frame slots' pop-up menu
    PopupSeparator, // a separator there
    ToolButton,     // a button of the upper tool bar; its caption is its tool tip
    ToolSeparator,  // a separator there
    DrawButton,     // a button of the drawing tool bar
    DrawSeparator,  // a separator there
};

// Check buttons of one group are mutually exclusive.
enum class CheckGroup { None, Alone, ColorMode, Tool };

struct CommandSpec {
    CommandPlace place;
    const char* name;
    const char* caption;
    const char* shortcut;
    bool enabled;
    CheckGroup group;
    bool checked;
    void (TfrmMain::*handler)();
};

// Every command of the main window, in the order of its menus and tool bars.
std::span<const CommandSpec> commandTable();

} // namespace vemurion
