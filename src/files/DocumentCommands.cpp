#include "files/DocumentCommands.h"

#include "editor/Undo.h"
#include "files/DocumentFile.h"
#include "files/DocumentReader.h"
#include "files/FileIo.h"
#include "files/FileKind.h"
#include "spine/CanvasState.h"
#include "spine/CommandStates.h"

namespace vemurion {

namespace {

void warnAbout(Editor& e, const std::string& path, const char* text) {
    if (e.prompts != nullptr) e.prompts->warn(fileNamePart(path) + text);
}

// The save prompt for unsaved changes. True when the command that asked may go on: the user
// said No, or Yes and the document was written.
bool settleUnsavedChanges(Editor& e) {
    if (!e.doc.Modified) return true;
    const Answer answer = e.prompts->askYesNoCancel(fileNamePart(e.doc.DocumentFileName) +
                                                    " への変更を保存しますか?");
    switch (answer) {
    case Answer::Yes:
        return SaveDocument(e);
    case Answer::No:
        return true;
    case Answer::Cancel:
        return false;
    }
    return false;
}

std::string folderOrHome(const Editor& e, const std::string& path) {
    return fileExists(path) ? folderPart(path) : e.homeFolder;
}

} // namespace

void OpenFilePath(Editor& e, const std::string& path) {
    if (!pathExists(path)) return;
    // A folder, a device or a FIFO is never read: reading one could wait for ever.
    if (!fileExists(path)) return warnAbout(e, path, " を開けません.");
    if (const auto refusal = openRefusal(path)) {
        if (e.prompts != nullptr) e.prompts->warn(*refusal);
        return;
    }
    // The file is read before the save prompt, so that a file that cannot be loaded costs the
    // user no question and the document stays as it is. It is read again after the prompt: a
    // Yes may just have saved the document into this very file.
    if (!readLoadableLcd(e, path)) return;
    if (settleUnsavedChanges(e)) {
        const auto content = readLoadableLcd(e, path);
        if (!content) return UpdateCommandStates(e);
        discardUndo(e);
        LoadDocument(e, path, *content);
        e.openFolder = folderPart(path);
        Deselect(e);
        e.doc.Modified = false;
    }
    UpdateCommandStates(e);
}

bool SaveDocument(Editor& e) {
    if (e.doc.isUntitled()) return SaveAsDialog(e);
    const std::string path = e.doc.DocumentFileName;
    if (!WriteLcdFile(e, path)) {
        warnAbout(e, path, " に保存できませんでした.");
        return false;
    }
    discardUndo(e);
    return true;
}

std::optional<FileDialogAnswer> askSaveName(Editor& e, const char* filter,
                                            const char* defaultExtension, int* filterIndex) {
    int& kept = filterIndex != nullptr ? *filterIndex : e.saveFilterIndex;
    FileDialogRequest request;
    request.filter = filter;
    request.filterIndex = kept;
    request.initialFolder = e.doc.isUntitled() ? e.saveFolder : folderPart(e.doc.DocumentFileName);
    request.defaultExtension = defaultExtension;
    request.confirmOverwrite = true;
    auto answer = e.prompts->askSaveFile(request);
    if (!answer || answer->path.empty()) return std::nullopt;
    kept = answer->filterIndex;
    return answer;
}

bool SaveAsDialog(Editor& e) {
    const auto answer = askSaveName(e, kSaveFilter, "lcd");
    bool written = false;
    if (answer) {
        written = WriteLcdFile(e, answer->path);
        if (written) {
            discardUndo(e);
        } else {
            warnAbout(e, answer->path, " に保存できませんでした.");
        }
        e.saveFolder = folderOrHome(e, answer->path);
    }
    Deselect(e);
    UpdateCommandStates(e);
    return written;
}

void commandNew(Editor& e) {
    if (settleUnsavedChanges(e)) {
        discardUndo(e);
        NewDocument(e);
    }
    Deselect(e);
    UpdateCommandStates(e);
}

void commandOpen(Editor& e) {
    FileDialogRequest request;
    request.title = "ファイルを開く";
    request.filter = kOpenFilter;
    request.filterIndex = e.openFilterIndex;
    request.initialFolder = e.openFolder;
    const auto answer = e.prompts->askOpenFile(request);
    if (!answer) return;
    e.openFilterIndex = answer->filterIndex;
    OpenFilePath(e, answer->path);
}

void commandSave(Editor& e) {
    SaveDocument(e);
    Deselect(e);
    UpdateCommandStates(e);
}

void commandSaveAs(Editor& e) {
    SaveAsDialog(e);
}

bool confirmClose(Editor& e) {
    return settleUnsavedChanges(e);
}

void dropFiles(Editor& e, const std::vector<std::string>& paths) {
    if (!paths.empty()) OpenFilePath(e, paths.front());
}

void openFromCommandLine(Editor& e, const std::vector<std::string>& arguments) {
    dropFiles(e, arguments);
}

} // namespace vemurion
