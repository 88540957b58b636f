#pragma once

#include "files/LcdFile.h"
#include "spine/Editor.h"

#include <optional>
#include <string>
#include <variant>

namespace vemurion {

enum class ReadFailure { CannotOpen, Corrupt };

// Reads and checks an LCD image file without touching the document.
std::variant<LcdContent, ReadFailure> readLcdContent(const std::string& path);
// "<name> を開けません." or "<name> は壊れているため読み込めません.".
std::string readFailureText(const std::string& path, ReadFailure failure);

// The content of an LCD file, or nullopt after telling the user why it cannot be loaded.
std::optional<LcdContent> readLoadableLcd(Editor& e, const std::string& path);

// Writes the document to `path`, replacing an existing file only once the new one is complete.
// On success `path` becomes the document's file and Modified is cleared; on failure nothing
// changes and false is returned.
bool WriteLcdFile(Editor& e, const std::string& path);
// Replaces the document's loop count, frames and display times with `content`, read from
// `path`, and makes `path` the document's file.
void ReadLcdFile(Editor& e, const std::string& path, const LcdContent& content);
// ReadLcdFile, then shows the new document from its first frame.
void LoadDocument(Editor& e, const std::string& path, const LcdContent& content);

// Makes the document a fresh one-frame document in the background colour. Leaves the undo
// record alone; callers empty it.
void NewDocument(Editor& e);

void ShowDocumentTitle(Editor& e);
// "Vemurion - [" + the file-name part of `fileName` + "]".
std::string documentTitle(const std::string& fileName);

} // namespace vemurion
