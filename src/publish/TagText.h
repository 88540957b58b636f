#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vemurion {

// The two tabs of the tag dialog: the bare embed tag, or the same inside a script that writes it
// only in the Dreamcast browser.
enum class TagForm { Plain = 0, Script = 1 };

inline constexpr int kPortCount = 4;
inline constexpr std::array<char, kPortCount> kPortNames = {'A', 'B', 'C', 'D'};
// Which controller ports the tag names, A to D.
using PortChoice = std::array<bool, kPortCount>;

// The lines of the tag for the document saved as `documentFileName` (a full path, or "無題"),
// whose file-name part goes into every embed line unquoted. Blank, tab, '"', '\'', '`', '=', '<',
// '>', '%' and backslash in it are percent-encoded ("my anim.lcd" gives src=my%20anim.lcd); every
// other character is written as it is.
std::vector<std::string> tagLines(std::string_view documentFileName, TagForm form,
                                  const PortChoice& ports);

// The lines as the text box shows them: joined by line feeds, no break after the last.
std::string boxText(const std::vector<std::string>& lines);

// Text as it goes to the clipboard: every line followed by CR LF, the last one too. `text` is
// what the text box holds, lines broken by LF or CR LF; a break at the very end opens no further
// line.
std::string clipboardText(std::string_view text);

} // namespace vemurion
