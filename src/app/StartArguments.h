#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vemurion {

// The name the desktop knows the program by: its desktop entry, MIME package, metainfo and
// thumbnailer are all named after it.
inline constexpr const char* kApplicationId = "io.github.vemurion.Vemurion";
inline constexpr const char* kProgramVersion = "1.12";

// What `vemurion --help` or `vemurion --version` prints before any window exists, or nothing
// when the editor should start. Arguments after "--" are file names.
std::optional<std::string> startReply(const std::vector<std::string>& arguments);

} // namespace vemurion
