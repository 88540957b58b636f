#include "import/DocumentBuilder.h"

#include "files/DocumentReader.h"
#include "files/FileIo.h"
#include "files/FileKind.h"
#include "import/GifReader.h"
#include "import/PictureFile.h"
#include "import/PngReader.h"

#include <algorithm>

namespace vemurion {

DocumentBuilder::DocumentBuilder(const BuildOptions& options) : m_options(options) {
    m_doc.FrameCount = 0;
    m_doc.LoopCount = options.loopCount;
}

std::optional<std::string> DocumentBuilder::addFile(const std::string& path) {
    const bool gif = pathHasGifExtension(path);
    const bool png = pathHasPngExtension(path);
    const bool picture = gif || png || pathHasBitmapExtension(path) || pathHasJpegExtension(path);
    // A name of no kind takes the road of LCD files, which tells it by its content or refuses it.
    if (pathHasLcdExtension(path) || pathHasTextExtension(path) || !picture) {
        const DocumentRead read = readDocumentFile(path);
        if (!read.document) return read.error;
        for (int i = 0; i < read.document->FrameCount; ++i)
            addFrame(read.document->sheet.cell(i),
                     read.document->DisplayTimes[static_cast<std::size_t>(i)]);
        return std::nullopt;
    }
    if (!fileExists(path)) return messageName(path) + " を開けません.";

    if (gif) {
        const GifImport read =
            importGifFile(path, m_options.background, std::max(kMaxFrames - m_frames, 0));
        if (!read.error.empty()) return read.error;
        // A still GIF is a picture like any other; an animated one keeps its delays.
        const bool still = read.frameCount == 1;
        for (const GifFrame& frame : read.frames)
            addFrame(frameToAdd(frame.picture, m_options.candidate, m_options.background,
                                m_options.conversion),
                     still ? m_options.pictureTime : frame.ticks);
        m_frames += read.frameCount - static_cast<int>(read.frames.size());
        return std::nullopt;
    }
    const ImportResult read =
        png ? importPngFile(path, m_options.background) : importPictureFile(path);
    if (!read.picture) return read.error;
    addFrame(
        frameToAdd(*read.picture, m_options.candidate, m_options.background, m_options.conversion),
        m_options.pictureTime);
    return std::nullopt;
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

std::string DocumentBuilder::saveRefusal(const std::string& outPath) const {
    return messageName(outPath) + " はイメージが " + std::to_string(m_frames) +
           " 枚になり, 255 枚を超えるため保存できませんでした.";
}

std::string DocumentBuilder::readRefusal(const std::string& inputPath) const {
    return messageName(inputPath) + " はイメージが " + std::to_string(m_frames) +
           " 枚あり, 255 枚を超えるため読み込めません.";
}

} // namespace vemurion
