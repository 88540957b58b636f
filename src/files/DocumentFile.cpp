#include "files/DocumentFile.h"

#include "document/DocumentOps.h"
#include "editor/CanvasView.h"
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

std::optional<LcdContent> readLoadableLcd(Editor& e, const std::string& path) {
    auto content = readLcdContent(path);
    if (const auto* failure = std::get_if<ReadFailure>(&content)) {
        if (e.prompts != nullptr) {
            e.prompts->warn(fileNamePart(path) + (*failure == ReadFailure::CannotOpen
                                                      ? " を開けません."
                                                      : " は壊れているため読み込めません."));
        }
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
    AnimationDocument& doc = e.doc;
    doc.LoopCount = content.loopByte == 0 ? kInfiniteLoops : content.loopByte;
    doc.FrameCount = content.frameCount;
    for (int i = 0; i < content.frameCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        doc.DisplayTimes[k] = content.timeBytes[k] == 0 ? 1 : content.timeBytes[k];
        doc.sheet.setCell(i, content.frames[k]);
    }
    doc.DocumentFileName = path;
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
