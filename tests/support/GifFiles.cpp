#include "support/GifFiles.h"

#include <gif_lib.h>

#include <algorithm>
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

GifReadBack readGifBack(const std::vector<std::uint8_t>& bytes, Rgb background) {
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
    Raster screen(gif->SWidth, gif->SHeight, background);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        if (!back.repeat)
            back.repeat = netscapeRepeat(image.ExtensionBlocks, image.ExtensionBlockCount);
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        back.delays.push_back(control.DelayTime);
        const ColorMapObject* map =
            image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
        Raster frame = screen;
        const GifImageDesc& desc = image.ImageDesc;
        for (int y = 0; y < desc.Height; ++y) {
            for (int x = 0; x < desc.Width; ++x) {
                const int index = image.RasterBits[y * desc.Width + x];
                if (index == control.TransparentColor) continue;
                const GifColorType c = map->Colors[index];
                frame.set(desc.Left + x, desc.Top + y, makeRgb(c.Red, c.Green, c.Blue));
            }
        }
        if (control.DisposalMode == DISPOSE_BACKGROUND) {
            screen = frame;
            screen.fillRect(desc.Left, desc.Top, desc.Left + desc.Width - 1,
                            desc.Top + desc.Height - 1, background);
        } else if (control.DisposalMode != DISPOSE_PREVIOUS) {
            screen = frame;
        }
        back.frames.push_back(std::move(frame));
    }
    DGifCloseFile(gif, &error);
    return back;
}

namespace {

int appendTo(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + length);
    return length;
}

// The order in which an interlaced image stores its rows.
std::vector<int> storedRows(int height, bool interlaced) {
    std::vector<int> order;
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            order.push_back(y);
        return order;
    }
    const int starts[] = {0, 4, 2, 1};
    const int steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = starts[pass]; y < height; y += steps[pass])
            order.push_back(y);
    return order;
}

// A colour table of `palette`, padded with black to a power of two.
ColorMapObject* colourMap(const std::vector<Rgb>& palette) {
    int size = 2;
    while (size < static_cast<int>(palette.size()))
        size *= 2;
    std::vector<GifColorType> colours(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.size(); ++i)
        colours[i] = {redOf(palette[i]), greenOf(palette[i]), blueOf(palette[i])};
    return GifMakeMapObject(size, colours.data());
}

} // namespace

std::vector<std::uint8_t> makeGif(int width, int height, const std::vector<Rgb>& palette,
                                  const std::vector<GifImageSpec>& images) {
    std::vector<std::uint8_t> bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, appendTo, &error);
    ColorMapObject* map = colourMap(palette);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 8, 0, map);
    for (const GifImageSpec& image : images) {
        GraphicsControlBlock control{};
        control.DisposalMode = image.disposal;
        control.DelayTime = image.delay;
        control.TransparentColor = image.transparent;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
        ColorMapObject* own = image.palette.empty() ? nullptr : colourMap(image.palette);
        EGifPutImageDesc(gif, image.left, image.top, image.width, image.height, image.interlaced,
                         own);
        GifFreeMapObject(own);
        std::vector<GifPixelType> line(static_cast<std::size_t>(image.width));
        for (const int y : storedRows(image.height, image.interlaced)) {
            std::copy_n(image.indices.begin() + y * image.width, image.width, line.begin());
            EGifPutLine(gif, line.data(), image.width);
        }
        // giflib keeps its copy of the image's table and drops it unfreed when the next image
        // has none.
        GifFreeMapObject(gif->Image.ColorMap);
        gif->Image.ColorMap = nullptr;
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return bytes;
}

} // namespace vemurion::test
