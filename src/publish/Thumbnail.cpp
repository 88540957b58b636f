#include "publish/Thumbnail.h"

#include "document/FrameSheet.h"

#include <png.h>

#include <csetjmp>

namespace vemurion {

namespace {

void onPngError(png_structp png, png_const_charp) {
    std::longjmp(png_jmpbuf(png), 1);
}
void onPngWarning(png_structp, png_const_charp) {}

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void flushNothing(png_structp) {}

// Holds only plain values across its setjmp, as libpng's errors leave it by longjmp.
bool writePng(png_structp png, png_infop info, std::vector<std::uint8_t>& out, int width,
              int height, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 1,
                 PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    return true;
}

} // namespace

ThumbnailSize thumbnailSize(int size) {
    const int width = size >= kFrameWidth ? size / kFrameWidth * kFrameWidth : size;
    const int height = width * kFrameHeight / kFrameWidth;
    return {width, height > 0 ? height : 1};
}

std::optional<std::vector<std::uint8_t>> encodeThumbnailPng(const Raster& frame, int size) {
    if (size < 1 || size > kMaxThumbnailSize) return std::nullopt;
    const auto [width, height] = thumbnailSize(size);

    // One bit a pixel, the first pixel in the high bit; 1 is white.
    const auto stride = static_cast<std::size_t>((width + 7) / 8);
    std::vector<std::uint8_t> bits(stride * static_cast<std::size_t>(height), 0);
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bits.data() + stride * static_cast<std::size_t>(y);
        rows[static_cast<std::size_t>(y)] = row;
        const int dotY = y * kFrameHeight / height;
        for (int x = 0; x < width; ++x) {
            if (frame.at(x * kFrameWidth / width, dotY) != kBlack)
                row[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
        }
    }

    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (png == nullptr) return std::nullopt;
    png_infop info = png_create_info_struct(png);
    std::vector<std::uint8_t> out;
    const bool written = info != nullptr && writePng(png, info, out, width, height, rows);
    png_destroy_write_struct(&png, &info);
    if (!written) return std::nullopt;
    return out;
}

} // namespace vemurion
