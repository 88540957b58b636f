#include "files/DocumentReader.h"

#include "files/DocumentFile.h"
#include "files/FileIo.h"
#include "files/FileKind.h"

#include <iterator>

namespace vemurion {

namespace {

constexpr const char* kUnsupportedText = " は未対応のテキストファイルです.";
constexpr const char* kUnsupportedKind = " は未対応のファイル形式です.";

} // namespace

std::optional<std::string> openRefusal(const std::string& path) {
    const std::string name = messageName(path);
    if (pathHasTextExtension(path)) {
        const auto head = readFileBytes(path, std::size(kLcdSignature));
        if (!head) return name + " を開けません.";
        if (!IsInternalLcdText(*head)) return name + kUnsupportedText;
    }
    if (!pathHasKnownExtension(path)) return unnamedKindRefusal(path);
    if (pathHasBitmapExtension(path) || pathHasJpegExtension(path)) {
        return name + " は直接開くことができません.\n"
                      "イメージリストメニューの[リストへ追加]で読み込んで下さい.";
    }
    return std::nullopt;
}

std::optional<std::string> unnamedKindRefusal(const std::string& path) {
    const std::string name = messageName(path);
    const auto header = readFileBytes(path, kLcdHeaderSize);
    const std::size_t length = header ? lcdLengthAnnounced(*header) : 0;
    const auto bytes = length > 0 ? readFileBytes(path, length) : header;
    if (!bytes) return name + " を開けません.";
    if (length == 0 || bytes->size() < length) return name + kUnsupportedKind;
    return std::nullopt;
}

std::optional<std::string> contentRefusal(const std::string& path) {
    const auto head = readFileBytes(path, std::size(kLcdSignature));
    if (!head) return messageName(path) + " を開けません.";
    if (IsInternalLcdText(*head)) return std::nullopt;
    return messageName(path) + (pathHasTextExtension(path) ? kUnsupportedText : kUnsupportedKind);
}

void takeLcdContent(AnimationDocument& doc, const LcdContent& content) {
    doc.LoopCount = content.loopByte == 0 ? kInfiniteLoops : content.loopByte;
    doc.FrameCount = content.frameCount;
    for (int i = 0; i < content.frameCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        doc.DisplayTimes[k] = content.timeBytes[k] == 0 ? 1 : content.timeBytes[k];
        doc.sheet.setCell(i, content.frames[k]);
    }
}

DocumentRead readDocumentFile(const std::string& path) {
    if (!fileExists(path)) return {std::nullopt, messageName(path) + " を開けません."};
    if (auto refusal = openRefusal(path)) return {std::nullopt, std::move(*refusal)};
    auto content = readLcdContent(path);
    if (const auto* failure = std::get_if<ReadFailure>(&content))
        return {std::nullopt, readFailureText(path, *failure)};
    DocumentRead read;
    read.document.emplace();
    takeLcdContent(*read.document, std::get<LcdContent>(content));
    read.document->DocumentFileName = path;
    return read;
}

} // namespace vemurion
