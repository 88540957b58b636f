#pragma once

#include "files/FileKind.h"
#include "files/LcdFile.h"
#include "import/Conversion.h"
#include "spine/Editor.h"

#include <span>
#include <string>

namespace vemurion {

inline constexpr const char* kAddToListTitle = "イメージリストへ追加";
inline constexpr const char* kAddToListFilter =
    "利用可能なすべてのファイル (*.lcd;*.txt;*.bmp;*.jpg;*.jpeg;*.jpe;*.jfif;*.png;*.gif)|"
    "*.lcd;*.txt;*.bmp;*.jpg;*.jpeg;*.jpe;*.jfif;*.png;*.gif|"
    "LCDファイル (*.lcd)|*.lcd|テキストファイル(内部LCD) (*.txt)|*.txt|"
    "ビットマップファイル (*.bmp)|*.bmp|JPEGファイル (*.jpg;*.jpeg;*.jpe;*.jfif)|"
    "*.jpg;*.jpeg;*.jpe;*.jfif|PNGファイル (*.png)|*.png|GIFファイル (*.gif)|*.gif";

// Add to list: asks for a file and puts its frames in front of the current frame. An LCD or
// internal-LCD text file gives those of its frames that fit, at once and without undo; a bitmap,
// JPEG, PNG or still GIF file gives one frame, directly when it is 48 x 32 black and white at
// most, otherwise through the conversion dialog, which is shown without waiting. An animated GIF
// gives those of its frames that fit, without undo, with their delays as display times: at once
// when every one is plain, otherwise through the conversion dialog, whose choice for the first
// frame applies to all. A file whose name carries none of those kinds is taken by its content,
// and refused with a message when it is none of them.
void A1Click(Editor& e);

// Puts the frames of `content` in front of the current frame, as many as the list has room for,
// and shows the first added frame from the top of the list. The list's own frames always stay;
// the frames left out are counted in one message. The document's loop count stays; a stored
// display time of 0 becomes 1, as on Open.
void InsertLcdFrames(Editor& e, const LcdContent& content);

// The conversion dialog's OK for an animation: candidate `candidate` of each frame's conversion
// (a plain frame as it is) goes in front of the current frame, as InsertLcdFrames puts frames.
void insertConvertedAnimation(Editor& e, const ConversionRequest& request, int candidate,
                              ConversionChoice choice = {});

// Reads a still picture file of `kind` once: a bitmap or JPEG file under its described names
// through the editor's picture files, any other through the import road.
ImportResult readPictureFile(Editor& e, const std::string& path, PictureKind kind);

// The conversion dialog's OK: the chosen 48 x 32 picture becomes a new frame in front of the
// current frame (display time 1, undone as an inserted frame) or the floating selection of the
// edit canvas.
void applyConversion(Editor& e, const Raster& chosen, ConversionTarget destination);

// The conversion dialog's OK, whatever it converts: candidate `candidate` of `candidates`, the
// picture's conversions by `choice`, for a single picture; the same candidate and choice for
// every frame of an animation.
void acceptConversion(Editor& e, const ConversionRequest& request,
                      std::span<const Raster> candidates, int candidate, ConversionChoice choice);

} // namespace vemurion
