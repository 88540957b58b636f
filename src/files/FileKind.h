#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vemurion {

// File kinds are told by the extension appearing anywhere in the file-name part of a path (the
// folders never count), all lower case or all upper case: ".lcd", ".LCD", ".txt", ".TXT", ".bmp",
// ".BMP", ".jpg", ".JPG". A mixed-case extension such as ".Lcd" is none of them.
bool pathHasLcdExtension(std::string_view path);
bool pathHasTextExtension(std::string_view path);
bool pathHasBitmapExtension(std::string_view path);
bool pathHasJpegExtension(std::string_view path);
bool pathHasKnownExtension(std::string_view path);
// The picture kinds only the batch tool reads, told the same way: ".png", ".PNG", ".gif", ".GIF".
// The editor's file commands know none of them.
bool pathHasPngExtension(std::string_view path);
bool pathHasGifExtension(std::string_view path);

// The kinds of picture Add to list reads.
enum class PictureKind { None, Bitmap, Jpeg, Png, Gif };
// The picture kind a path names: the bitmap and JPEG names above, or a name ending in ".png",
// ".gif", ".jpeg", ".jpe" or ".jfif" in any letter case.
PictureKind pictureKindByName(std::string_view path);
// The picture kind of a file by its first bytes (eight are enough): "BM", the JPEG start of
// image, the PNG signature, "GIF87a" or "GIF89a".
PictureKind pictureKindByContent(std::span<const std::uint8_t> head);

// The text after the last '/' of a path (the whole path when there is none).
std::string fileNamePart(std::string_view path);
// The folder of a path including its final '/', or "" when the path names no folder.
std::string folderPart(std::string_view path);
// The name a message begins with: the file-name part, or where there is none (a path ending in
// '/') the path as given, and for an empty path "" in quotes, so that no message starts bare.
std::string messageName(std::string_view path);

} // namespace vemurion
