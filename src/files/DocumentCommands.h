#pragma once

#include "spine/Editor.h"

#include <optional>
#include <string>
#include <vector>

namespace vemurion {

inline constexpr const char* kOpenFilter =
    "利用可能なすべてのファイル (*.lcd;*.txt)|*.lcd;*.txt|LCDファイル (*.lcd)|*.lcd|"
    "テキストファイル(内部LCD) (*.txt)|*.txt";
inline constexpr const char* kSaveFilter =
    "LCDファイル (*.lcd)|*.lcd|テキストファイル(内部LCD) (*.txt)|*.txt";

// Opens `path` as the document after the kind tests and the save prompt. A file that does not
// exist does nothing.
void OpenFilePath(Editor& e, const std::string& path);
// Saves to the document's file, or through the Save As dialog while untitled. True when the
// document was written.
bool SaveDocument(Editor& e);
// Asks for a name and writes the document under it. True when the document was written.
bool SaveAsDialog(Editor& e);

// The save dialog that Save As and export share: it starts in the document's folder, or in
// saveFolder while the document is untitled, with the filter last chosen, and asks before
// replacing a file. A confirmed name keeps its filter for the next use, in `filterIndex` when
// given, else in saveFilterIndex.
std::optional<FileDialogAnswer> askSaveName(Editor& e, const char* filter,
                                            const char* defaultExtension,
                                            int* filterIndex = nullptr);

void commandNew(Editor& e);
void commandOpen(Editor& e);
void commandSave(Editor& e);
void commandSaveAs(Editor& e);
// The main window is about to close; true lets it close.
bool confirmClose(Editor& e);
// Files dropped on the window: the first one is opened, the others are ignored.
void dropFiles(Editor& e, const std::vector<std::string>& paths);
// The first command-line argument: opened as a dropped file is.
void openFromCommandLine(Editor& e, const std::vector<std::string>& arguments);

} // namespace vemurion
