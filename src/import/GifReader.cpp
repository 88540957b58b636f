#include "import/GifReader.h"

#include "files/FileIo.h"
#include "files/FileKind.h"
#include "import/GifScreen.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>

namespace vemurion {

namespace {

class GifFile {
public:
    // The library takes the descriptor over, and closes it also when the file is no GIF.
    explicit GifFile(const std::string& path) {
        const int fd = openFileDescriptorForReading(path);
        if (fd < 0) {
            m_error = D_GIF_ERR_OPEN_FAILED;
            return;
        }
        m_gif = DGifOpenFileHandle(fd, &m_error);
    }
    GifFile(const GifFile&) = delete;
    GifFile& operator=(const GifFile&) = delete;
    ~GifFile() {
        if (m_gif != nullptr) DGifCloseFile(m_gif, &m_error);
    }
    GifFileType* get() const { return m_gif; }
    int openError() const { return m_error; }

private:
    int m_error = 0;
    GifFileType* m_gif = nullptr;
};

// The rows of an interlaced image come in four passes: every 8th row from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1.
int interlacedRow(int line, int height) {
    constexpr std::array<int, 4> kStart = {0, 4, 2, 1};
    constexpr std::array<int, 4> kStep = {8, 8, 4, 2};
    for (std::size_t pass = 0; pass < kStart.size(); ++pass) {
        const int inPass = (height - kStart[pass] + kStep[pass] - 1) / kStep[pass];
        if (line < inPass) return kStart[pass] + line * kStep[pass];
        line -= std::max(inPass, 0);
    }
    return -1;
}

// The frame's colours, an index beyond its colour table showing black.
std::array<Rgb, 256> colourTable(const ColorMapObject& colours) {
    std::array<Rgb, 256> table{};
    for (int i = 0; i < std::min(colours.ColorCount, 256); ++i) {
        const GifColorType c = colours.Colors[i];
        table[static_cast<std::size_t>(i)] = makeRgb(c.Red, c.Green, c.Blue);
    }
    return table;
}

// Passes over an image's coded data without decoding it.
bool skipImageData(GifFileType* gif) {
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) != GIF_OK) return false;
    while (block != nullptr)
        if (DGifGetCodeNext(gif, &block) != GIF_OK) return false;
    return true;
}

// Reads an extension; a graphic control block replaces `control`.
bool readExtension(GifFileType* gif, GraphicsControlBlock& control) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4)
        DGifExtensionToGCB(block[0], block + 1, &control);
    while (block != nullptr)
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
    return true;
}

GraphicsControlBlock noControl() {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSAL_UNSPECIFIED;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    return control;
}

} // namespace

int gifDelayToTicks(int hundredths) {
    return std::clamp((hundredths + 12) / 25, 1, 255);
}

GifImport importGifFile(const std::string& path, Rgb background, int maxFrames, int every,
                        bool everyAspect) {
    every = std::max(every, 1);
    const std::int64_t composedFrames = std::int64_t{std::max(maxFrames, 0)} * every;
    const std::string name = fileNamePart(path);
    GifImport result;
    const auto refuse = [&](const std::string& text) {
        result.frames.clear();
        result.error = text;
        return result;
    };
    const std::string broken = name + " は壊れているため読み込めません.";

    GifFile file(path);
    GifFileType* gif = file.get();
    if (gif == nullptr) {
        // A file that opens and is no GIF, or cannot be opened at all.
        const int error = file.openError();
        return refuse(error == D_GIF_ERR_OPEN_FAILED || error == D_GIF_ERR_NOT_GIF_FILE
                          ? name + " は読み込めません."
                          : broken);
    }
    if (gif->SWidth < 1 || gif->SHeight < 1) return refuse(broken);
    if (!pictureSizeAllowed(gif->SWidth, gif->SHeight)) return refuse(tooLargeText(name));

    GifScreen screen(gif->SWidth, gif->SHeight, background, everyAspect);
    std::int64_t decoded = 0;
    GraphicsControlBlock control = noControl();
    std::vector<GifPixelType> line;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) != GIF_OK) return refuse(broken);
        if (record == TERMINATE_RECORD_TYPE) break;
        if (record == EXTENSION_RECORD_TYPE) {
            if (!readExtension(gif, control)) return refuse(broken);
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) return refuse(broken);
        if (DGifGetImageDesc(gif) != GIF_OK) return refuse(broken);
        const GifImageDesc image = gif->Image;
        // giflib keeps a record of every image it has read, with a copy of its colour table, in
        // an array it enlarges image after image: the time and memory of that would grow with
        // the square of the frames.
        GifFreeSavedImages(gif);
        gif->ImageCount = 0;
        if (image.Width <= 0 || image.Height <= 0) return refuse(broken);
        const int index = result.frameCount++;
        result.ticks.push_back(gifDelayToTicks(control.DelayTime));
        if (index >= composedFrames) {
            if (!skipImageData(gif)) return refuse(broken);
            control = noControl();
            continue;
        }
        // Each frame costs the dots of its image, which may reach beyond the screen.
        if (!pictureSizeAllowed(image.Width, image.Height)) return refuse(tooLargeText(name));
        decoded += std::int64_t{image.Width} * image.Height;
        if (decoded > kMaxGifDecodedDots) return refuse(tooLargeText(name));
        const ColorMapObject* colours = image.ColorMap != nullptr ? image.ColorMap : gif->SColorMap;
        if (colours == nullptr) return refuse(broken);

        const GifScreen::Area area = screen.clip(image.Left, image.Top, image.Width, image.Height);
        const GifScreen::Saved before =
            control.DisposalMode == DISPOSE_PREVIOUS ? screen.save(area) : GifScreen::Saved{};
        screen.beginFrame(colourTable(*colours), area);
        line.resize(static_cast<std::size_t>(image.Width));
        for (int i = 0; i < image.Height; ++i) {
            if (DGifGetLine(gif, line.data(), image.Width) != GIF_OK) return refuse(broken);
            const int y = image.Interlace ? interlacedRow(i, image.Height) : i;
            screen.draw(image.Left, image.Top, image.Width, y, line.data(),
                        control.TransparentColor);
            if (screen.heldBytes() > kMaxGifScreenBytes) return refuse(tooLargeText(name));
        }
        if (index % every == 0)
            result.frames.push_back({screen.picture(), gifDelayToTicks(control.DelayTime)});

        if (control.DisposalMode == DISPOSE_BACKGROUND)
            screen.clear(area);
        else if (control.DisposalMode == DISPOSE_PREVIOUS)
            screen.restore(before);
        if (screen.heldBytes() > kMaxGifScreenBytes) return refuse(tooLargeText(name));
        control = noControl();
    }
    if (result.frameCount == 0) return refuse(broken);
    return result;
}

} // namespace vemurion
