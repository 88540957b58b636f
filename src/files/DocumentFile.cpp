#include "files/DocumentFile.h"

#include "files/DocumentReader.h"
#include "files/FileIo.h"
#include "files/FileKind.h"
#include "framelist/FrameList.h"
#include "spine/CanvasState.h"

namespace vemurion {

std::string documentTitle(const std::string& fileName) {
    return "Vemurion - [" + fileNamePart(fileName) + "]";
}

void ShowDocumentTitle(Editor& e) {
    e.title = documentTitle(e.doc.DocumentFileName);
    e.notify(kViewTitle);
}

void NewDocument(Editor& e) {
    AnimationDocument& doc = e.doc;
    doc.CurrentFrame = 0;
    e.cursorX = 0;
    e.cursorY = 0;
    doc.LoopCount = kInfiniteLoops;
    doc.FrameCount = 1;
    doc.DisplayTimes[0] = 1;
    doc.sheet.raster().fill(e.rightColor);
    e.imgListWork = doc.sheet.cell(0);
    ShowCurrentFrame(e);
    ShowLoopCount(e);
    e.list.position = 0;
    e.list.scrollEnabled = false;
    e.list.maximum = 2;
    RefreshFrameSlots(e);
    UpdateListCursor(e);
    UpdateFrameListCommands(e);
    SelectFrameSlot(e, slotOfFrame(e, doc.CurrentFrame));
    doc.DocumentFileName = kUntitled;
    ShowDocumentTitle(e);
    doc.Modified = false;
}

std::variant<LcdContent, ReadFailure> readLcdContent(const std::string& path) {
    const auto bytes = readFileBytes(path, kLcdMaxReadSize);
    if (!bytes) return ReadFailure::CannotOpen;
    auto decoded = decodeLcd(*bytes);
    if (std::holds_alternative<LcdError>(decoded)) return ReadFailure::Corrupt;
    return std::get<LcdContent>(std::move(decoded));
}

std::string readFailureText(const std::string& path, ReadFailure failure) {
    return messageName(path) + (failure == ReadFailure::CannotOpen
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
