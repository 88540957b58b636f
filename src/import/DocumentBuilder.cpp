#include "import/DocumentBuilder.h"

#include "files/DocumentReader.h"
#include "files/FileKind.h"

namespace vemurion {

DocumentBuilder::DocumentBuilder(const BuildOptions& options) : m_options(options) {
    m_doc.FrameCount = 0;
    m_doc.LoopCount = options.loopCount;
}

std::optional<std::string> DocumentBuilder::addFile(const std::string& path) {
    if (pathHasLcdExtension(path) || pathHasTextExtension(path)) {
        const DocumentRead read = readDocumentFile(path);
        if (!read.document) return read.error;
        for (int i = 0; i < read.document->FrameCount; ++i)
            addFrame(read.document->sheet.cell(i),
                     read.document->DisplayTimes[static_cast<std::size_t>(i)]);
        return std::nullopt;
    }
    return fileNamePart(path) + " は未対応のファイル形式です.";
}

void DocumentBuilder::addFrame(const Raster& picture, int time) {
    // Frames past the document's limit are only counted: the build is refused anyway.
    if (m_frames < kMaxFrames) {
        m_doc.sheet.setCell(m_frames, picture);
        m_doc.DisplayTimes[static_cast<std::size_t>(m_frames)] = time;
        m_doc.FrameCount = m_frames + 1;
    }
    ++m_frames;
}

std::optional<AnimationDocument> DocumentBuilder::document() const {
    if (m_frames == 0 || m_frames > kMaxFrames) return std::nullopt;
    return m_doc;
}

std::string DocumentBuilder::refusal(const std::string& outPath) const {
    return fileNamePart(outPath) + " はイメージが " + std::to_string(m_frames) +
           " 枚になり, 255 枚を超えるため保存できませんでした.";
}

} // namespace vemurion
