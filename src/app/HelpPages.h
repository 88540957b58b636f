#pragma once

#include "spine/Editor.h"

#include <string>
#include <string_view>

namespace vemurion {

inline constexpr const char* kSupportAddress = "https://github.com/vemurion/vemurion";
inline constexpr const char* kAuthorEmail = "vemurion@users.noreply.github.com";
inline constexpr const char* kMakerAddress = "https://www.sega.com/";

// The first help page: "Help/index.html" in the program's folder (given without a trailing
// separator), as in the build tree; where that is missing and the pages are installed beside the
// program's share folder (PREFIX/share/vemurion/Help for PREFIX/bin), that one.
std::string helpIndexPath(std::string_view programFolder);

// Open the help pages and the support home page with the user's preferred programs. Whether
// the target exists is left to the shell, which reports a target it could not open.
void openHelpContents(Editor& e);
void openSupportPage(Editor& e);

// What the shell says of a page, a file or an address that no program of the desktop opened.
std::string openFailedMessage(std::string_view target);

} // namespace vemurion
