#include "publish/GifAnimation.h"

#include "support/GifFiles.h"

#include <gtest/gtest.h>

namespace vemurion {
namespace {

Raster scaledUp(const Raster& frame, int scale) {
    Raster big(frame.width() * scale, frame.height() * scale);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            big.set(x, y, frame.at(x / scale, y / scale));
    return big;
}

AnimationDocument threeFrames(int loopCount) {
    AnimationDocument doc;
    doc.FrameCount = 3;
    doc.LoopCount = loopCount;
    doc.DisplayTimes[0] = 1;
    doc.DisplayTimes[1] = 4;
    doc.DisplayTimes[2] = 255;
    for (int i = 0; i < 3; ++i) {
        Raster frame(kFrameWidth, kFrameHeight, kWhite);
        frame.fillRect(i * 10, i * 5, i * 10 + 12, i * 5 + 8, kBlack);
        frame.set(47, 31, kBlack);
        doc.sheet.setCell(i, frame);
    }
    return doc;
}

TEST(GifAnimation, FramesDelaysAndPixelsReadBackWithGiflib) {
    for (const int scale : {1, 4, 16}) {
        const AnimationDocument doc = threeFrames(200);
        const auto bytes = encodeGifAnimation(doc, scale);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(std::string(bytes->begin(), bytes->begin() + 6), "GIF89a");
        const auto back = test::readGifBack(*bytes);
        ASSERT_EQ(back.error, "");
        EXPECT_EQ(back.width, 48 * scale);
        EXPECT_EQ(back.height, 32 * scale);
        EXPECT_EQ(back.delays, (std::vector<int>{25, 100, 6375}));
        ASSERT_EQ(back.frames.size(), 3u);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(back.frames[static_cast<std::size_t>(i)] ==
                        scaledUp(doc.sheet.cell(i), scale))
                << "frame " << i << " at scale " << scale;
    }
}

TEST(GifAnimation, LoopCountBecomesTheRepeatCount) {
    // Loop count L plays L times in all: the GIF repeats L - 1 times after its first pass, 255
    // repeats without end (0), and 1 needs no loop extension at all.
    const std::pair<int, std::optional<int>> cases[] = {
        {255, 0}, {1, std::nullopt}, {2, 1}, {200, 199}, {254, 253}};
    for (const auto& [loops, repeat] : cases) {
        const auto bytes = encodeGifAnimation(threeFrames(loops), 1);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(test::readGifBack(*bytes).repeat, repeat) << "loop count " << loops;
    }
}

TEST(GifAnimation, ScaleOutsideOneToSixteenIsRefused) {
    EXPECT_FALSE(encodeGifAnimation(threeFrames(255), 0));
    EXPECT_FALSE(encodeGifAnimation(threeFrames(255), 17));
}

} // namespace
} // namespace vemurion
