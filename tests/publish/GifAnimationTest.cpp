#include "publish/GifAnimation.h"

#include "support/GifFiles.h"

#include <gtest/gtest.h>

#include <functional>

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

// What a viewer shows: each picture with its time on the screen in hundredths, pictures that
// follow alike joined.
std::vector<std::pair<Raster, int>> shown(const std::vector<Raster>& frames,
                                          const std::vector<int>& delays) {
    std::vector<std::pair<Raster, int>> pictures;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (!pictures.empty() && pictures.back().first == frames[i])
            pictures.back().second += delays[i];
        else
            pictures.emplace_back(frames[i], delays[i]);
    }
    return pictures;
}

AnimationDocument animation(int frameCount, int displayTime,
                            const std::function<void(Raster&, int)>& draw) {
    AnimationDocument doc;
    doc.FrameCount = frameCount;
    doc.LoopCount = 1; // no loop extension, as in the frames written whole
    for (int i = 0; i < frameCount; ++i) {
        Raster frame(kFrameWidth, kFrameHeight, kWhite);
        draw(frame, i);
        doc.sheet.setCell(i, frame);
        doc.DisplayTimes[static_cast<std::size_t>(i)] = displayTime + i % 3;
    }
    return doc;
}

// The same frames each written whole, as giflib writes them.
std::size_t wholeFramesSize(const AnimationDocument& doc) {
    std::vector<test::GifImageSpec> images;
    for (int i = 0; i < doc.FrameCount; ++i) {
        test::GifImageSpec image;
        image.width = kFrameWidth;
        image.height = kFrameHeight;
        const Raster frame = doc.sheet.cell(i);
        for (const Rgb dot : frame.dots())
            image.indices.push_back(dot == kBlack ? 0 : 1);
        image.delay = doc.DisplayTimes[static_cast<std::size_t>(i)] * kGifDelayPerTick;
        image.disposal = 1;
        images.push_back(std::move(image));
    }
    return test::makeGif(kFrameWidth, kFrameHeight, {kBlack, kWhite}, images).size();
}

TEST(GifAnimation, LaterFramesDrawWhatChangedAndComposeToEveryFrameAtItsTime) {
    const auto text = [](Raster& frame, int i) {
        // Stripes of uneven widths passing from right to left, two dots a frame.
        for (int x = 0; x < kFrameWidth; ++x)
            if ((x + 2 * i) % 11 < (x + 2 * i) % 5 + 2) frame.fillRect(x, 8, x, 23, kBlack);
    };
    const struct {
        const char* name;
        AnimationDocument doc;
        int scale;
        double atMostOfWhole; // the file's size against the frames written whole
    } cases[] = {
        {"a still", animation(1, 4, [](Raster& f, int) { f.fillRect(3, 3, 20, 9, kBlack); }), 1,
         1.0},
        {"a dot moving", animation(40, 1, [](Raster& f, int i) { f.set(i, i % 32, kBlack); }), 1,
         0.5},
        {"a dot moving at scale 3",
         animation(40, 1, [](Raster& f, int i) { f.set(47 - i, i % 7, kBlack); }), 3, 1.0},
        {"a scroll", animation(30, 1, text), 1, 0.9},
        {"a scroll at scale 2", animation(30, 1, text), 2, 1.0},
        // Frames like the one before: a pause, and a long one, beyond the longest delay.
        {"frames alike",
         animation(30, 254,
                   [](Raster& f, int i) {
                       f.fillRect(0, 0, i < 5 ? i : (i < 25 ? 5 : i), 31, kBlack);
                       f.set(40, 20, kBlack);
                   }),
         2, 1.0},
        {"every frame alike", animation(12, 255, [](Raster& f, int) { f.fill(kBlack); }), 1, 0.3},
    };
    for (const auto& c : cases) {
        const auto bytes = encodeGifAnimation(c.doc, c.scale);
        ASSERT_TRUE(bytes) << c.name;
        const auto back = test::readGifBack(*bytes);
        ASSERT_EQ(back.error, "") << c.name;
        std::vector<Raster> frames;
        std::vector<int> delays;
        for (int i = 0; i < c.doc.FrameCount; ++i) {
            frames.push_back(scaledUp(c.doc.sheet.cell(i), c.scale));
            delays.push_back(c.doc.DisplayTimes[static_cast<std::size_t>(i)] * kGifDelayPerTick);
        }
        EXPECT_TRUE(shown(back.frames, back.delays) == shown(frames, delays)) << c.name;
        for (const int delay : back.delays)
            EXPECT_LE(delay, 0xFFFF) << c.name;
        if (c.scale == 1) {
            EXPECT_LE(static_cast<double>(bytes->size()), c.atMostOfWhole * wholeFramesSize(c.doc))
                << c.name;
        }
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
