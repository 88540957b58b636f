#include "files/DocumentFile.h"

#include "document/DocumentOps.h"
#include "editor/CanvasView.h"
#include "files/DocumentReader.h"
#include "files/FileIo.h"
#include "files/FileKind.h"
#include "framelist/FrameList.h"

namespace vemurion {

std::variant<LcdContent, ReadFailure> readLcdContent(const std::string& path) {
    const auto bytes = readFileBytes(path, kLcdMaxReadSize);
    if (!bytes) return ReadFailure::CannotOpen;
    auto decoded = decodeLcd(*bytes);
    if (std::holds_alternative<LcdError>(decoded)) return ReadFailure::Corrupt;
    return std::get<LcdContent>(std::move(decoded));
}

std::string readFailureText(const std::string& path, ReadFailure failure) {
    return fileNamePart(path) + (failure == ReadFailure::CannotOpen
                                     ? " を開けません."
                                     : " は壊れているため読み込めません.");
}

std::optional<LcdContent> readLoadableLcd(Editor& e, const std::string& path) {
    auto content = readLcdContent(path);
    if (const auto* failure = std::get_if<ReadFailure>(&content)) {
        if (e.prompts != nullptr) e.prompts->warn(readFailureText(path, *failure));
        return std::nullopt;
    }
    return std::get<LcdContent>(std::move(content));
}

bool WriteLcdFile(Editor& e, const std::string& path) {
    const auto bytes = encodeLcd(e.doc, kVersionText);
    if (!writeFileAtomically(path, bytes)) return false;
    e.doc.DocumentFileName = path;
    ShowDocumentTitle(e);
    e.doc.Modified = false;
    return true;
}

void ReadLcdFile(Editor& e, const std::string& path, const LcdContent& content) {
    takeLcdContent(e.doc, content);
    e.doc.DocumentFileName = path;
    ShowDocumentTitle(e);
}

void LoadDocument(Editor& e, const std::string& path, const LcdContent& content) {
    ReadLcdFile(e, path, content);
    e.doc.CurrentFrame = 0;
    ShowCurrentFrame(e);
    ShowLoopCount(e);
    e.list.position = 0;
    applyScrollRange(e);
    RefreshFrameSlots(e);
    UpdateListCursor(e);
    UpdateFrameListCommands(e);
    SelectFrameSlot(e, slotOfFrame(e, e.doc.CurrentFrame));
    e.doc.Modified = false;
}

} // namespace vemurion
