#pragma once

#include "files/OutputFiles.h"
#include "spine/Editor.h"

#include <optional>
#include <string>

namespace vemurion {

// The GIF export's save dialog offers one filter a scale: the n-th writes each dot n x n pixels.
inline constexpr const char* kGifExportFilter =
    "GIF アニメーション 等倍 (*.gif)|*.gif|GIF アニメーション 2 倍 (*.gif)|*.gif|"
    "GIF アニメーション 3 倍 (*.gif)|*.gif|GIF アニメーション 4 倍 (*.gif)|*.gif|"
    "GIF アニメーション 5 倍 (*.gif)|*.gif|GIF アニメーション 6 倍 (*.gif)|*.gif|"
    "GIF アニメーション 7 倍 (*.gif)|*.gif|GIF アニメーション 8 倍 (*.gif)|*.gif";
inline constexpr int kMaxGifExportScale = 8;

// The document as an animated GIF at `scale` under `path`, as vemurion-cli gif writes it;
// nullopt once written, otherwise the message for the user ("<name> に保存できませんでした.",
// the file left as it was).
std::optional<std::string> exportGifAnimation(const AnimationDocument& doc, int scale,
                                              const std::string& path,
                                              const FileWriter& write = saveFile);

// "GIF アニメーションの書き出し...": asks for a name and a scale with the save dialog Save As
// and the bitmap export share, then writes the document as an animated GIF.
void commandExportGif(Editor& e);

} // namespace vemurion
