#include "import/GifReader.h"

#include "support/FakeServices.h"
#include "support/GifFiles.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>

#include <random>

namespace vemurion {
namespace {

using test::GifImageSpec;
using test::pictureToText;

constexpr std::uint8_t W = 0; // white
constexpr std::uint8_t B = 1; // black
constexpr std::uint8_t T = 2; // transparent where the image says so
const std::vector<Rgb> kPalette = {kWhite, kBlack, 0xFF0000};

GifImageSpec image(int left, int top, int width, int height, std::vector<std::uint8_t> indices,
                   int disposal = 1, int transparent = -1) {
    GifImageSpec spec;
    spec.left = left;
    spec.top = top;
    spec.width = width;
    spec.height = height;
    spec.indices = std::move(indices);
    spec.disposal = disposal;
    spec.transparent = transparent;
    return spec;
}

class GifReaderTest : public testing::Test {
protected:
    GifImport read(const std::vector<std::uint8_t>& bytes, Rgb background = kWhite,
                   int maxFrames = 255) {
        test::writeBytes(temp.path("anim.gif"), bytes);
        return importGifFile(temp.path("anim.gif"), background, maxFrames);
    }
    test::TempFolder temp;
};

TEST_F(GifReaderTest, FramesAreComposedAsViewersComposeThem) {
    struct Case {
        const char* what;
        int width, height;
        std::vector<GifImageSpec> images;
        Rgb background;
        std::vector<std::vector<std::string>> frames;
    };
    const Case cases[] = {
        {"transparent dots show the frame below",
         4,
         2,
         {image(0, 0, 4, 2, std::vector<std::uint8_t>(8, B)), image(1, 0, 2, 1, {W, T}, 1, T)},
         kWhite,
         {{"####", "####"}, {"#.##", "####"}}},
        {"disposal to the background clears the frame's rectangle",
         4,
         2,
         {image(0, 0, 2, 1, {B, B}, 2), image(3, 1, 1, 1, {B})},
         kWhite,
         {{"##..", "...."}, {"....", "...#"}}},
        {"the background is the frame's, not the file's",
         4,
         2,
         {image(0, 0, 2, 1, {W, W}, 2), image(3, 1, 1, 1, {W})},
         kBlack,
         {{"..##", "####"}, {"####", "###."}}},
        {"disposal to the previous puts the rectangle back",
         4,
         2,
         {image(0, 0, 4, 2, {B, W, W, W, B, W, W, W}), image(2, 0, 2, 2, {B, B, B, B}, 3),
          image(1, 1, 1, 1, {B})},
         kWhite,
         {{"#...", "#..."}, {"#.##", "#.##"}, {"#...", "##.."}}},
        {"dots outside the screen are cut off",
         4,
         2,
         {image(3, 1, 3, 3, std::vector<std::uint8_t>(9, B))},
         kWhite,
         {{"....", "...#"}}},
    };
    for (const Case& c : cases) {
        const GifImport got =
            read(test::makeGif(c.width, c.height, kPalette, c.images), c.background);
        ASSERT_EQ(got.error, "") << c.what;
        ASSERT_EQ(got.frames.size(), c.frames.size()) << c.what;
        EXPECT_EQ(got.frameCount, static_cast<int>(c.frames.size()));
        for (std::size_t i = 0; i < c.frames.size(); ++i) {
            EXPECT_EQ(got.frames[i].picture.fit, PictureFit::Plain) << c.what;
            EXPECT_EQ(pictureToText(got.frames[i].picture.picture), c.frames[i])
                << c.what << ", frame " << i;
        }
    }
}

TEST_F(GifReaderTest, InterlacedRowsLandInTheirPlaces) {
    std::vector<std::uint8_t> indices(10, W);
    for (const int y : {0, 3, 4, 9})
        indices[static_cast<std::size_t>(y)] = B;
    GifImageSpec spec = image(0, 0, 1, 10, indices);
    spec.interlaced = true;
    const GifImport got = read(test::makeGif(1, 10, kPalette, {spec}));
    ASSERT_EQ(got.error, "");
    EXPECT_EQ(pictureToText(got.frames[0].picture.picture),
              (std::vector<std::string>{"#", ".", ".", "#", "#", ".", ".", ".", ".", "#"}));
}

// Frames as optimisers store them, the rectangle that changed with its unchanged dots
// transparent, disposed of in each way in turn, against the whole screen composed plainly and
// reduced: on a small screen, and on one of more than four million dots, whose tiles hold
// colour indices of a few bits until they take more than 256 colours. One frame covers most of
// the screen, which is summed anew.
TEST_F(GifReaderTest, OptimisedFramesComeOutAsTheWholeScreenComposed) {
    std::mt19937 random(7);
    std::vector<Rgb> palette;
    for (int i = 0; i < 64; ++i)
        palette.push_back(random() & 0xFFFFFFu);
    struct Case {
        int width, height, frames, largest;
        Rgb background;
    };
    for (const Case c : {Case{150, 100, 40, 60, kBlack}, Case{2100, 2000, 8, 300, kWhite}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        std::vector<GifImageSpec> images;
        for (int f = 0; f < c.frames; ++f) {
            const bool most = f == 2;
            const int width = most ? c.width : 1 + int(random() % unsigned(c.largest));
            const int height = most ? c.height * 3 / 4 : 1 + int(random() % unsigned(c.largest));
            // Some reach beyond the screen's right and bottom edges, one lies wholly beyond.
            const int left = most     ? 0
                             : f == 5 ? c.width
                                      : int(random() % unsigned(c.width - width / 2));
            const int top = most ? 0 : int(random() % unsigned(c.height - height / 2));
            // Runs of up to four dots of one of a few colours, more in later frames, or of 256
            // of a frame's own colours; index 63 is transparent.
            const bool own = f % 2 == 1;
            const unsigned colours = own ? 256 : 2 + unsigned(f) * 62 / unsigned(c.frames);
            std::vector<std::uint8_t> indices(std::size_t(width) * std::size_t(height));
            for (std::size_t i = 0; i < indices.size(); ++i)
                indices[i] = i % 4 != 0          ? indices[i - 1]
                             : random() % 3 == 0 ? 63
                                                 : std::uint8_t(random() % colours);
            images.push_back(image(left, top, width, height, std::move(indices), most ? 3 : f % 4,
                                   f == 0 ? -1 : 63));
            images.back().interlaced = f % 5 == 3;
            for (int k = 0; own && k < 256; ++k)
                images.back().palette.push_back(random() & 0xFFFFFFu);
        }
        const auto bytes = test::makeGif(c.width, c.height, palette, images);
        const GifImport got = read(bytes, c.background);
        ASSERT_EQ(got.error, "");
        const test::GifReadBack back = test::readGifBack(bytes, c.background);
        ASSERT_EQ(got.frames.size(), back.frames.size());
        for (std::size_t i = 0; i < back.frames.size(); ++i) {
            const ImportedPicture expected = test::importRaster(back.frames[i]);
            EXPECT_EQ(got.frames[i].picture.fit, expected.fit) << "frame " << i;
            EXPECT_TRUE(got.frames[i].picture.picture == expected.picture) << "frame " << i;
        }
    }
}

TEST_F(GifReaderTest, DelaysBecomeTheNearestTickAtLeastOne) {
    const std::pair<int, int> cases[] = {{0, 1},  {12, 1},  {13, 1},     {37, 1},
                                         {38, 2}, {100, 4}, {6375, 255}, {65535, 255}};
    std::vector<GifImageSpec> images;
    for (const auto& [delay, ticks] : cases) {
        images.push_back(image(0, 0, 1, 1, {B}));
        images.back().delay = delay;
        EXPECT_EQ(gifDelayToTicks(delay), ticks) << delay;
    }
    const GifImport got = read(test::makeGif(1, 1, kPalette, images));
    ASSERT_EQ(got.frames.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(got.frames[i].ticks, cases[i].second);
}

TEST_F(GifReaderTest, FramesBeyondTheLimitAreCountedNotRead) {
    const GifImport got =
        read(test::makeGif(2, 2, kPalette, std::vector<GifImageSpec>(5, image(0, 0, 1, 1, {B}))),
             kWhite, 2);
    EXPECT_EQ(got.error, "");
    EXPECT_EQ(got.frames.size(), 2u);
    EXPECT_EQ(got.frameCount, 5);
}

// A black frame one dot wide at x, as high as the largest screen.
GifImageSpec line(int x, int disposal) {
    return image(x, 0, 1, 3906, std::vector<std::uint8_t>(3906, B), disposal);
}

TEST_F(GifReaderTest, DamagedForeignAndOversizedFilesAreRefused) {
    const auto good =
        test::makeGif(8, 8, kPalette, {image(0, 0, 8, 8, std::vector<std::uint8_t>(64, B))});
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::string message;
    };
    const Case cases[] = {
        {"cut in the image data",
         {good.begin(), good.end() - 6},
         " は壊れているため読み込めません."},
        {"without its trailer", {good.begin(), good.end() - 1}, " は壊れているため読み込めません."},
        {"no GIF", {'B', 'M', 'x', 'y', 'z', 0, 0, 0, 0, 0, 0, 0, 0}, " は読み込めません."},
        {"an empty screen",
         {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0},
         " は壊れているため読み込めません."},
        {"a screen beyond the limits", test::makeGif(20000, 1, kPalette, {image(0, 0, 1, 1, {B})}),
         " は大きすぎるため読み込めません."},
        {"an image beyond the limits",
         test::makeGif(1, 1, kPalette,
                       {image(0, 0, 20000, 1, std::vector<std::uint8_t>(20000, B))}),
         " は大きすぎるため読み込めません."},
        {"no image at all", test::makeGif(8, 8, kPalette, {}), " は壊れているため読み込めません."},
        // Small files on the largest screen, read in the memory of what their frames draw.
        {"a frame a dot wide and the screen high",
         test::makeGif(16384, 3906, kPalette, {line(0, 1)}), ""},
        {"two such frames put back after showing",
         test::makeGif(16384, 3906, kPalette, {line(0, 3), line(16383, 3)}), ""},
    };
    for (const Case& c : cases) {
        const GifImport got = read(c.bytes);
        EXPECT_EQ(got.error, c.message.empty() ? "" : "anim.gif" + c.message) << c.what;
        EXPECT_EQ(got.frames.empty(), !c.message.empty()) << c.what;
    }
    EXPECT_EQ(importGifFile(temp.path("none.gif"), kWhite, 255).error,
              "none.gif は読み込めません.");
}

} // namespace
} // namespace vemurion
