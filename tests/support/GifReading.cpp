#include "support/GifReading.h"

#include <gif_lib.h>

#include <cstring>

namespace vemurion::test {

namespace {

struct Source {
    const std::vector<std::uint8_t>* bytes;
    std::size_t at = 0;
};

int readSome(GifFileType* gif, GifByteType* into, int length) {
    auto* source = static_cast<Source*>(gif->UserData);
    const std::size_t left = source->bytes->size() - source->at;
    const std::size_t count = std::min(left, static_cast<std::size_t>(length));
    std::memcpy(into, source->bytes->data() + source->at, count);
    source->at += count;
    return static_cast<int>(count);
}

std::optional<int> netscapeRepeat(const ExtensionBlock* blocks, int count) {
    for (int i = 0; i + 1 < count; ++i) {
        const ExtensionBlock& app = blocks[i];
        const ExtensionBlock& data = blocks[i + 1];
        if (app.Function == APPLICATION_EXT_FUNC_CODE && app.ByteCount == 11 &&
            std::memcmp(app.Bytes, "NETSCAPE2.0", 11) == 0 && data.ByteCount == 3 &&
            data.Bytes[0] == 1) {
            return data.Bytes[1] | (data.Bytes[2] << 8);
        }
    }
    return std::nullopt;
}

} // namespace

GifReadBack readGifBack(const std::vector<std::uint8_t>& bytes) {
    GifReadBack back;
    Source source{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, readSome, &error);
    if (gif == nullptr) {
        back.error = GifErrorString(error);
        return back;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        back.error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return back;
    }
    back.width = gif->SWidth;
    back.height = gif->SHeight;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        if (!back.repeat)
            back.repeat = netscapeRepeat(image.ExtensionBlocks, image.ExtensionBlockCount);
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        back.delays.push_back(control.DelayTime);
        const ColorMapObject* map =
            image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
        Raster frame =
            back.frames.empty() ? Raster(gif->SWidth, gif->SHeight, kWhite) : back.frames.back();
        const GifImageDesc& desc = image.ImageDesc;
        for (int y = 0; y < desc.Height; ++y) {
            for (int x = 0; x < desc.Width; ++x) {
                const int index = image.RasterBits[y * desc.Width + x];
                if (index == control.TransparentColor) continue;
                const GifColorType c = map->Colors[index];
                frame.set(desc.Left + x, desc.Top + y, makeRgb(c.Red, c.Green, c.Blue));
            }
        }
        back.frames.push_back(std::move(frame));
    }
    DGifCloseFile(gif, &error);
    return back;
}

} // namespace vemurion::test
