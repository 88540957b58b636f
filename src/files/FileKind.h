#pragma once

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

// The text after the last '/' of a path (the whole path when there is none).
std::string fileNamePart(std::string_view path);
// The folder of a path including its final '/', or "" when the path names no folder.
std::string folderPart(std::string_view path);
// The name a message begins with: the file-name part, or where there is none (a path ending in
// '/') the path as given, and for an empty path "" in quotes, so that no message starts bare.
std::string messageName(std::string_view path);

} // namespace vemurion
