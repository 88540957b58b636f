#include "import/DocumentBuilder.h"

#include "files/DocumentReader.h"
#include "files/FileIo.h"
#include "files/FileKind.h"
#include "import/GifReader.h"
#include "import/PictureFile.h"
#include "import/PngReader.h"
#include "import/Thinning.h"

#include <algorithm>
#include <span>

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
        const AnimationDocument& doc = *read.document;
        const int every = doc.FrameCount > 1 ? m_options.every : 1;
        const std::vector<int> times = thinnedTimes(
            std::span(doc.DisplayTimes).first(static_cast<std::size_t>(doc.FrameCount)), every);
        const std::vector<int> kept = thinnedFrames(doc.FrameCount, every);
        for (std::size_t k = 0; k < kept.size(); ++k)
            addFrame(doc.sheet.cell(kept[k]), times[k]);
        return std::nullopt;
    }
    if (!fileExists(path)) return messageName(path) + " を開けません.";

    if (gif) {
        const int every = std::max(m_options.every, 1);
        const GifImport read =
            importGifFile(path, m_options.background, std::max(kMaxFrames - m_frames, 0), every,
                          m_options.conversion.fit != AspectFit::Stretch);
        if (!read.error.empty()) return read.error;
        // A still GIF is a picture like any other; an animated one keeps its delays.
        const bool still = read.frameCount == 1;
        const std::vector<int> times = thinnedTimes(read.ticks, every);
        for (std::size_t k = 0; k < read.frames.size(); ++k)
            addFrame(frameToAdd(read.frames[k].picture, m_options.candidate, m_options.background,
                                m_options.conversion),
                     still ? m_options.pictureTime : times[k]);
        m_frames += static_cast<int>(times.size() - read.frames.size());
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

int everyToFit(const std::vector<int>& frameCounts, int room) {
    const int largest =
        frameCounts.empty()
            ? 1
            : std::max(*std::max_element(frameCounts.begin(), frameCounts.end()), 1);
    for (int every = 1; every < largest; ++every) {
        int total = 0;
        for (const int count : frameCounts)
            total += count > 1 ? static_cast<int>(thinnedFrames(count, every).size()) : count;
        if (total <= room) return every;
    }
    return largest;
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
