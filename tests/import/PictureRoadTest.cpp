#include "import/PictureRoad.h"

#include "document/FrameSheet.h"
#include "support/FakeServices.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace vemurion {
namespace {

using test::importRaster;
using test::sendRows;
using test::slowFit;

Raster randomColours(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    Raster picture(width, height);
    for (Rgb& dot : picture.dots())
        dot = random() & 0xFFFFFFu;
    return picture;
}

TEST(PictureRoad, LargePicturesAreTheFullSizeAreaAverage) {
    struct Size {
        int width;
        int height;
    };
    for (const Size size :
         {Size{49, 32}, Size{48, 33}, Size{100, 40}, Size{1, 1000}, Size{1000, 1}, Size{47, 100},
          Size{200, 31}, Size{97, 65}, Size{96, 64}, Size{60, 1000}}) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        const Raster source = randomColours(size.width, size.height,
                                            static_cast<unsigned>(size.width * 7 + size.height));
        const Raster expected = slowFit(source, AspectFit::Stretch);
        const Raster contained = slowFit(source, AspectFit::Contain);
        const Raster covered = slowFit(source, AspectFit::Cover);
        for (DotOrder order : {DotOrder::Rgb, DotOrder::Bgr}) {
            for (bool bottomUp : {false, true}) {
                FrameReducer reducer;
                ASSERT_TRUE(sendRows(source, reducer, order, bottomUp));
                const ImportedPicture imported = reducer.finish();
                EXPECT_EQ(imported.fit, PictureFit::TooLarge);
                EXPECT_TRUE(imported.picture == expected) << "bottom up " << bottomUp;
                EXPECT_TRUE(imported.contained == contained) << "bottom up " << bottomUp;
                EXPECT_TRUE(imported.covered == covered) << "bottom up " << bottomUp;
            }
        }
        const auto channels = [](Rgb dot) {
            return std::vector<int>{redOf(dot), greenOf(dot), blueOf(dot)};
        };
        // The dots in the order of a progressive picture's passes, every n-th of a row at once.
        FrameReducer passes;
        ASSERT_TRUE(passes.begin(size.width, size.height, DotOrder::Rgb));
        const int adam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                 {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& [x0, y0, dx, dy] : adam7) {
            for (int y = y0; y < size.height; y += dy) {
                std::vector<std::uint8_t> dots;
                for (int x = x0; x < size.width; x += dx)
                    for (const int channel : channels(source.at(x, y)))
                        dots.push_back(static_cast<std::uint8_t>(channel));
                passes.dots(y, x0, dx, static_cast<int>(dots.size() / 3), dots.data());
            }
        }
        const auto expectAll = [&](const ImportedPicture& imported, const char* how) {
            EXPECT_TRUE(imported.picture == expected) << how;
            EXPECT_TRUE(imported.contained == contained) << how;
            EXPECT_TRUE(imported.covered == covered) << how;
        };
        expectAll(passes.finish(), "in passes");
        // Composed in place: one colour first, then each row changed to the picture's, the
        // picture asked for on the way.
        FrameReducer changing;
        ASSERT_TRUE(changing.begin(size.width, size.height, DotOrder::Rgb));
        const Rgb first = makeRgb(10, 200, 30);
        changing.fill(first);
        const ImportedPicture filled = changing.current();
        EXPECT_TRUE(filled.picture == Raster(kFrameWidth, kFrameHeight, first));
        EXPECT_TRUE(filled.covered == Raster(kFrameWidth, kFrameHeight, first));
        for (int y = size.height - 1; y >= 0; --y) {
            std::vector<std::int32_t> differences;
            for (int x = 0; x < size.width; ++x)
                for (int k = 0; k < 3; ++k)
                    differences.push_back(channels(source.at(x, y))[std::size_t(k)] -
                                          channels(first)[std::size_t(k)]);
            changing.change(y, 0, size.width, differences.data());
            if (y == size.height / 2) changing.current();
        }
        expectAll(changing.current(), "changed in place");
    }
}

TEST(PictureRoad, UniformBlocksOfAWholeMultipleComeThroughExactly) {
    // 96 x 64 made of 2 x 2 blocks of one colour each: every frame dot is its block's colour.
    const Raster blocks = randomColours(kFrameWidth, kFrameHeight, 5);
    Raster source(96, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 96; ++x)
            source.set(x, y, blocks.at(x / 2, y / 2));
    }
    EXPECT_TRUE(importRaster(source).picture == blocks);

    // 100 x 40: black left of x = 25 and below y = 30 go to the left 12 columns and the bottom
    // 8 rows; column 11 covers source columns 22.92 .. 25.
    Raster stripes(100, 40, kWhite);
    stripes.fillRect(24, 0, 24, 39, kBlack);
    const Raster reduced = importRaster(stripes).picture;
    EXPECT_EQ(reduced.at(11, 5), makeRgb(132, 132, 132)); // 255 x 52 / 100
    EXPECT_EQ(reduced.at(10, 5), kWhite);
    EXPECT_EQ(reduced.at(12, 5), kWhite);
}

// A reader that scaled 97 x 65 dots of uniform 2 x 2 blocks down by 2 hands over 49 x 33 dots,
// the last column and row half inside the picture: the frame is still the full-size average.
TEST(PictureRoad, ScaledRowsWithPartlyCoveredEdgesGiveTheFullSizeAverage) {
    const Raster blocks = randomColours(49, 33, 11);
    Raster source(97, 65);
    for (int y = 0; y < 65; ++y) {
        for (int x = 0; x < 97; ++x)
            source.set(x, y, blocks.at(x / 2, y / 2));
    }
    FrameReducer scaled;
    ASSERT_TRUE(scaled.begin(RowLayout{49, 33, DotOrder::Rgb, 2, 97, 65}));
    for (int y = 0; y < 33; ++y) {
        std::vector<std::uint8_t> line;
        for (int x = 0; x < 49; ++x) {
            const Rgb dot = blocks.at(x, y);
            line.insert(line.end(), {redOf(dot), greenOf(dot), blueOf(dot)});
        }
        scaled.row(line.data());
    }
    const ImportedPicture imported = scaled.finish();
    EXPECT_TRUE(imported.picture == slowFit(source, AspectFit::Stretch));
    EXPECT_TRUE(imported.contained == slowFit(source, AspectFit::Contain));
    EXPECT_TRUE(imported.covered == slowFit(source, AspectFit::Cover));
    // An extent that leaves the last dot wholly outside is refused.
    EXPECT_FALSE(scaled.begin(RowLayout{49, 33, DotOrder::Rgb, 2, 96, 65}));
}

TEST(PictureRoad, PicturesThatFitAreKeptWholeAndClassified) {
    Raster bw(20, 10, kWhite);
    bw.set(3, 4, kBlack);
    Raster grey = bw;
    grey.set(19, 9, makeRgb(128, 128, 128));
    struct Case {
        const char* what;
        Raster picture;
        PictureFit fit;
    };
    const Case cases[] = {
        {"black and white", bw, PictureFit::Plain},
        {"one grey dot", grey, PictureFit::Colours},
        {"the whole frame", Raster(kFrameWidth, kFrameHeight, kBlack), PictureFit::Plain},
        {"one dot", Raster(1, 1, makeRgb(255, 0, 0)), PictureFit::Colours},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (DotOrder order : {DotOrder::Rgb, DotOrder::Bgr}) {
            FrameReducer reducer;
            ASSERT_TRUE(sendRows(c.picture, reducer, order, order == DotOrder::Bgr));
            const ImportedPicture imported = reducer.finish();
            EXPECT_EQ(imported.fit, c.fit);
            EXPECT_TRUE(imported.picture == c.picture);
        }
    }
    // The dialog sees a picture that fits centred on the background colour.
    const Raster onBlack = frameForConversion(importRaster(grey), kBlack);
    EXPECT_EQ(onBlack.at(13, 11), kBlack);
    EXPECT_EQ(onBlack.at(14, 11), kWhite);
    EXPECT_EQ(onBlack.at(33, 20), makeRgb(128, 128, 128));
}

TEST(PictureRoad, SizesBeyondTheLimitsAreRefusedBeforeAnyRow) {
    struct Case {
        std::int64_t width;
        std::int64_t height;
        bool allowed;
    };
    const Case cases[] = {
        {16384, 3906, true}, {16384, 3907, false}, {8000, 8000, true}, {8000, 8001, false},
        {16385, 1, false},   {1, 16384, true},     {1, 16385, false},  {1, 33'000'000, false},
        {0, 10, false},      {10, 0, false},       {1, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        EXPECT_EQ(pictureSizeAllowed(c.width, c.height), c.allowed);
    }
    FrameReducer reducer;
    EXPECT_FALSE(reducer.begin(16385, 2, DotOrder::Rgb));
    // The clipboard's pictures take the same road.
    test::FakeClipboard clipboard;
    EXPECT_FALSE(importClipboardPicture(clipboard).picture);
    EXPECT_EQ(importClipboardPicture(clipboard).error, "クリップボードの画像は読み込めません.");
    clipboard.pictureContent = Raster(16385, 1);
    EXPECT_EQ(importClipboardPicture(clipboard).error,
              "クリップボードの画像は大きすぎるため読み込めません.");
    clipboard.pictureContent = Raster(100, 40, kBlack);
    EXPECT_EQ(importClipboardPicture(clipboard).picture->fit, PictureFit::TooLarge);
    EXPECT_EQ(tooLargeText("big.jpg"), "big.jpg は大きすぎるため読み込めません.");
}

} // namespace
} // namespace vemurion
