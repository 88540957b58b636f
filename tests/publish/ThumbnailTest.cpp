#include "publish/Thumbnail.h"

#include "document/FrameSheet.h"

#include <gtest/gtest.h>
#include <png.h>

namespace vemurion {
namespace {

struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> grey; // one byte a pixel, 0 black, 255 white
};

Decoded decode(const std::vector<std::uint8_t>& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Decoded out;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return out;
    image.format = PNG_FORMAT_GRAY;
    std::vector<std::uint8_t> grey(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, grey.data(), 0, nullptr)) return out;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.grey = std::move(grey);
    return out;
}

Raster checked() {
    Raster frame(kFrameWidth, kFrameHeight, kWhite);
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            if ((x + y) % 3 == 0 || x == kFrameWidth - 1) frame.set(x, y, kBlack);
    return frame;
}

TEST(Thumbnail, EachDotIsWholePixelsSquareAndBelow48TheFrameIsSampled) {
    struct Case {
        int size, width, height;
    };
    const Case cases[] = {{1, 1, 1},     {32, 32, 21},    {47, 47, 31}, {48, 48, 32},
                          {128, 96, 64}, {256, 240, 160}, {95, 48, 32}, {4096, 4080, 2720}};
    const Raster frame = checked();
    for (const Case& c : cases) {
        const auto png = encodeThumbnailPng(frame, c.size);
        ASSERT_TRUE(png.has_value()) << c.size;
        const Decoded back = decode(*png);
        ASSERT_EQ(back.width, c.width) << c.size;
        ASSERT_EQ(back.height, c.height) << c.size;
        int wrong = 0;
        for (int y = 0; y < back.height; ++y)
            for (int x = 0; x < back.width; ++x) {
                const int dot =
                    frame.at(x * kFrameWidth / back.width, y * kFrameHeight / back.height) == kBlack
                        ? 0
                        : 255;
                wrong += back.grey[static_cast<std::size_t>(y * back.width + x)] != dot;
            }
        EXPECT_EQ(wrong, 0) << c.size;
    }
    EXPECT_EQ(encodeThumbnailPng(frame, 0), std::nullopt);
    EXPECT_EQ(encodeThumbnailPng(frame, kMaxThumbnailSize + 1), std::nullopt);
}

} // namespace
} // namespace vemurion
