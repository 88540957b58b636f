#pragma once

#include "spine/Editor.h"

#include <optional>
#include <string>
#include <string_view>

namespace vemurion {

// The status bar hint of a control of the main window, by the control's name, for the pointer
// moving over it. nullopt for controls that leave the hint as it is. The window's own background
// ("frmMainClient") has the empty hint.
std::optional<std::string> controlHint(std::string_view control, ColorMode mode, bool isSelected);

// The pointer moved over `control`: its hint goes to the status bar and, unless a selection is
// shown, the dot cursor leaves the canvas.
void pointerOverControl(Editor& e, std::string_view control);

} // namespace vemurion
