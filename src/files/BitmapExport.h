#pragma once

#include "document/Raster.h"
#include "files/OutputFiles.h"
#include "spine/Editor.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vemurion {

// A black-and-white Windows bitmap of one frame: a 62-byte header with its two-entry palette
// (0 black, 1 white), then 32 rows of 8 bytes, bottom row first, the leftmost dot of each byte in
// its most significant bit and two zero bytes closing each row.
inline constexpr std::size_t kBitmapHeaderSize = 62;
inline constexpr std::size_t kBitmapRowSize = 8;
inline constexpr std::size_t kBitmapFileSize =
    kBitmapHeaderSize + kBitmapRowSize * kFrameHeight; // 318

inline constexpr const char* kExportFilter =
    "単一白黒ビットマップ (*.bmp)|*.bmp|連番白黒ビットマップ (*.bmp)|*.bmp";
inline constexpr int kExportSingleFilter = 1;
inline constexpr int kExportSeriesFilter = 2;
// A numbered name is refused when it is longer than this many characters.
inline constexpr std::size_t kMaxExportNameLength = 255;

// The 318 bytes of the file for a 48 x 32 picture. Every dot that is not black is written white.
std::vector<std::uint8_t> encodeFrameBitmap(const Raster& picture);

// The chosen name less its last four characters (as a rule the ".bmp" the dialog supplied), but
// never more than its file-name part: the series stays in the chosen folder.
std::string seriesStem(std::string_view chosenName);
// stem + the index in at least three digits + ".bmp"; nullopt when the result would be longer
// than kMaxExportNameLength characters.
std::optional<std::string> numberedBitmapName(std::string_view stem, int index);

// Frame `index` of `doc` as one bitmap under `path`, written by `write`; nullopt once written,
// otherwise the message for the user.
std::optional<std::string> exportFrameBitmap(const AnimationDocument& doc, int index,
                                             const std::string& path,
                                             const FileWriter& write = saveFile);
// Every frame of `doc` as the numbered series of `chosenName` (seriesStem, numberedBitmapName).
// A name that is too long writes nothing: "<name> は名前が長すぎるため保存できませんでした.";
// a file that cannot be written ends the series with its message.
std::optional<std::string> exportBitmapSeries(const AnimationDocument& doc,
                                              std::string_view chosenName,
                                              const FileWriter& write = saveFile);

// The export command: asks for a name with the save dialog shared with Save As, then writes the
// current frame (first filter) or every frame as a numbered series (second filter). A file that
// cannot be written is reported and ends the series.
void commandExport(Editor& e);

} // namespace vemurion
