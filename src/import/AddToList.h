#pragma once

#include "files/LcdFile.h"
#include "spine/Editor.h"

#include <string>

namespace vemurion {

inline constexpr const char* kAddToListTitle = "イメージリストへ追加";
inline constexpr const char* kAddToListFilter =
    "利用可能なすべてのファイル (*.lcd;*.txt;*.bmp;*.jpg)|*.lcd;*.txt;*.bmp;*.jpg|"
    "LCDファイル (*.lcd)|*.lcd|テキストファイル(内部LCD) (*.txt)|*.txt|"
    "ビットマップファイル (*.bmp)|*.bmp|JPEGファイル (*.jpg)|*.jpg";

// Add to list: asks for a file and puts its frames in front of the current frame. An LCD or
// internal-LCD text file gives those of its frames that fit, at once and without undo; a bitmap
// or JPEG file gives one frame, directly when it is 48 x 32 black and white at most, otherwise
// through the conversion dialog, which is shown without waiting. A file whose name carries none
// of those kinds is added as an LCD file when its content is one, and refused with a message
// otherwise.
void A1Click(Editor& e);

// Puts the frames of `content` in front of the current frame, as many as the list has room for,
// and shows the first added frame from the top of the list. The list's own frames always stay;
// the frames left out are counted in one message. The document's loop count stays; a stored
// display time of 0 becomes 1, as on Open.
void InsertLcdFrames(Editor& e, const LcdContent& content);

// Reads a bitmap file (the path names ".bmp" or ".BMP") or a JPEG file (".jpg" or ".JPG")
// through the editor's picture files, once.
ImportResult readPictureFile(Editor& e, const std::string& path);

// The conversion dialog's OK: the chosen 48 x 32 picture becomes a new frame in front of the
// current frame (display time 1, undone as an inserted frame) or the floating selection of the
// edit canvas.
void applyConversion(Editor& e, const Raster& chosen, ConversionTarget destination);

} // namespace vemurion
