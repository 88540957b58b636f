#include "publish/GifAnimation.h"

#include "document/FrameSheet.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace vemurion {

namespace {

constexpr GifPixelType kBlackIndex = 0;
constexpr GifPixelType kWhiteIndex = 1;

int appendBytes(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + length);
    return length;
}

class GifWriter {
public:
    explicit GifWriter(std::vector<std::uint8_t>& out) {
        int error = 0;
        m_gif = EGifOpen(&out, appendBytes, &error);
        const GifColorType colours[2] = {{0, 0, 0}, {255, 255, 255}};
        m_colours = GifMakeMapObject(2, colours);
    }
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;
    ~GifWriter() {
        if (m_gif != nullptr) {
            int error = 0;
            EGifCloseFile(m_gif, &error);
        }
        GifFreeMapObject(m_colours);
    }

    bool ok() const { return m_gif != nullptr && m_colours != nullptr; }
    GifFileType* gif() const { return m_gif; }
    const ColorMapObject* colours() const { return m_colours; }
    // Writes the trailer; true when every byte went out.
    bool close() {
        int error = 0;
        const bool closed = EGifCloseFile(m_gif, &error) == GIF_OK;
        m_gif = nullptr;
        return closed;
    }

private:
    GifFileType* m_gif = nullptr;
    ColorMapObject* m_colours = nullptr;
};

bool putLoopExtension(GifFileType* gif, int repeat) {
    static constexpr char kNetscape[] = "NETSCAPE2.0";
    const std::array<GifByteType, 3> loop = {1, static_cast<GifByteType>(repeat & 0xFF),
                                             static_cast<GifByteType>(repeat >> 8)};
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, static_cast<int>(std::strlen(kNetscape)), kNetscape) ==
               GIF_OK &&
           EGifPutExtensionBlock(gif, static_cast<int>(loop.size()), loop.data()) == GIF_OK &&
           EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool putDelay(GifFileType* gif, int displayTime) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = displayTime * kGifDelayPerTick;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const auto length = static_cast<int>(EGifGCBToExtension(&control, extension));
    return EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, length, extension) == GIF_OK;
}

bool putFrame(GifFileType* gif, const Raster& frame, int scale) {
    const int width = kFrameWidth * scale;
    const int height = kFrameHeight * scale;
    if (EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) != GIF_OK) return false;
    std::vector<GifPixelType> line(static_cast<std::size_t>(width));
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const GifPixelType index = frame.at(x, y) == kBlack ? kBlackIndex : kWhiteIndex;
            std::fill_n(line.begin() + x * scale, scale, index);
        }
        for (int repeat = 0; repeat < scale; ++repeat)
            if (EGifPutLine(gif, line.data(), width) != GIF_OK) return false;
    }
    return true;
}

} // namespace

std::optional<int> gifRepeatCount(int loopCount) {
    if (loopCount == kInfiniteLoops) return 0;
    if (loopCount <= 1) return std::nullopt;
    return loopCount - 1;
}

std::optional<std::vector<std::uint8_t>> encodeGifAnimation(const AnimationDocument& doc,
                                                            int scale) {
    if (scale < kMinGifScale || scale > kMaxGifScale) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    GifWriter writer(bytes);
    if (!writer.ok()) return std::nullopt;
    GifFileType* gif = writer.gif();
    // Set before the screen descriptor, which writes the version: the delays and the loop need
    // GIF89a.
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, kFrameWidth * scale, kFrameHeight * scale, 1, kWhiteIndex,
                          writer.colours()) != GIF_OK) {
        return std::nullopt;
    }
    if (const auto repeat = gifRepeatCount(doc.LoopCount);
        repeat && !putLoopExtension(gif, *repeat))
        return std::nullopt;
    for (int i = 0; i < doc.FrameCount; ++i) {
        if (!putDelay(gif, doc.DisplayTimes[static_cast<std::size_t>(i)]) ||
            !putFrame(gif, doc.sheet.cell(i), scale)) {
            return std::nullopt;
        }
    }
    if (!writer.close()) return std::nullopt;
    return bytes;
}

} // namespace vemurion
