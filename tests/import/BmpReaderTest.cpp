#include "import/BmpReader.h"

#include "document/FrameSheet.h"
#include "support/FakeServices.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace vemurion {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::largestDifference;
using test::TempFolder;

const std::string kBmpSuite = std::string(VEMURION_SHARED_TESTDATA) + "/bmpsuite";

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// A bitmap with a 40-byte header and no palette, its dot bytes `dots` (rows from the bottom,
// padded as stored).
Bytes bitmap(int width, int height, int bits, const Bytes& dots) {
    Bytes b(54 + dots.size(), 0);
    std::copy(dots.begin(), dots.end(), b.begin() + 54);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<std::uint32_t>(54 + dots.size()));
    put32(b, 10, 54);
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(width));
    put32(b, 22, static_cast<std::uint32_t>(height));
    put16(b, 26, 1);
    put16(b, 28, static_cast<std::uint32_t>(bits));
    return b;
}

ImportResult importBytes(const TempFolder& temp, const Bytes& bytes) {
    const std::string path = temp.path("test.bmp");
    test::writeBytes(path, bytes);
    return importBitmapFile(path);
}

// Every good file of the BMP Suite gives, once reduced, the picture its reference rendering
// shows; every bad one is refused with a message; the questionable ones are read or refused.
TEST(BmpReader, BmpSuite) {
    SKIP_WITHOUT(kBmpSuite);
    if (std::system("convert -version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ImageMagick's convert is not installed to read the reference renderings";
    TempFolder temp;
    const std::map<std::string, std::string> references = {
        {"pal1", "pal1"},           {"pal1bg", "pal1bg"},
        {"pal1wb", "pal1"},         {"pal4", "pal4"},
        {"pal4rle", "pal4"},        {"pal8-0", "pal8"},
        {"pal8", "pal8"},           {"pal8os2", "pal8"},
        {"pal8rle", "pal8"},        {"pal8topdown", "pal8"},
        {"pal8v4", "pal8"},         {"pal8v5", "pal8"},
        {"pal8w124", "pal8w124"},   {"pal8w125", "pal8w125"},
        {"pal8w126", "pal8w126"},   {"pal8nonsquare", "pal8nonsquare-e"},
        {"rgb16-565", "rgb16-565"}, {"rgb16-565pal", "rgb16-565"},
        {"rgb16", "rgb16"},         {"rgb24", "rgb24"},
        {"rgb24pal", "rgb24"},      {"rgb32", "rgb24"},
        {"rgb32bf", "rgb24"},
    };
    int good = 0;
    for (const auto& entry : fs::directory_iterator(kBmpSuite + "/g")) {
        const std::string stem = entry.path().stem().string();
        SCOPED_TRACE(stem);
        const auto reference = references.find(stem);
        ASSERT_NE(reference, references.end()) << "no reference named for this file";
        const std::string ppm = temp.path(reference->second + ".ppm");
        if (!fs::exists(ppm)) {
            ASSERT_EQ(
                std::system(("convert " + kBmpSuite + "/html/" + reference->second + ".png " + ppm)
                                .c_str()),
                0);
        }
        const ImportResult result = importBitmapFile(entry.path().string());
        ASSERT_TRUE(result.picture) << result.error;
        const ImportedPicture expected = test::importRaster(test::readNetpbm(ppm));
        EXPECT_EQ(result.picture->fit, expected.fit);
        EXPECT_LE(largestDifference(result.picture->picture, expected.picture), 1);
        ++good;
    }
    EXPECT_EQ(good, 23);

    const std::map<std::string, std::string> bad = {
        {"reallybig.bmp", "reallybig.bmp は大きすぎるため読み込めません."},
        {"shortfile.bmp", "shortfile.bmp は壊れているため読み込めません."},
        {"badrle.bmp", "badrle.bmp は壊れているため読み込めません."},
        {"pal8badindex.bmp", "pal8badindex.bmp は壊れているため読み込めません."},
        {"badheadersize.bmp", "badheadersize.bmp は読み込めません."},
    };
    for (const auto& entry : fs::directory_iterator(kBmpSuite + "/b")) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const ImportResult result = importBitmapFile(entry.path().string());
        EXPECT_FALSE(result.picture);
        EXPECT_TRUE(result.error.starts_with(name + " は")) << result.error;
        if (const auto it = bad.find(name); it != bad.end()) {
            EXPECT_EQ(result.error, it->second);
        }
    }
    for (const std::string folder : {"/q", "/../fuzz-seeds/bmp"}) {
        if (!fs::is_directory(kBmpSuite + folder)) continue;
        for (const auto& entry : fs::directory_iterator(kBmpSuite + folder)) {
            SCOPED_TRACE(entry.path().string());
            const ImportResult result = importBitmapFile(entry.path().string());
            EXPECT_NE(result.picture.has_value(), !result.error.empty());
        }
    }
}

TEST(BmpReader, HandMadeBitmapsAtTheirEdges) {
    TempFolder temp;
    // 16 bits, 5-5-5: white is all ones in each field and comes in as 255.
    Bytes sixteen;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const std::uint32_t dot = (x + y) % 2 == 0 ? 0x7FFF : 0;
            sixteen.push_back(static_cast<std::uint8_t>(dot));
            sixteen.push_back(static_cast<std::uint8_t>(dot >> 8));
        }
    }
    ImportResult result = importBytes(temp, bitmap(kFrameWidth, kFrameHeight, 16, sixteen));
    ASSERT_TRUE(result.picture) << result.error;
    EXPECT_EQ(result.picture->fit, PictureFit::Plain);
    EXPECT_EQ(result.picture->picture.at(0, 31), kWhite);
    EXPECT_EQ(result.picture->picture.at(1, 31), kBlack);

    // 3 x 2 dots of 24 bits, rows padded to 12 bytes, the bottom row first.
    const Bytes dots = {0,   0,   0,   255, 255, 255, 0, 0, 255, 0, 0, 0,
                        255, 255, 255, 9,   9,   9,   0, 0, 0,   0, 0, 0};
    result = importBytes(temp, bitmap(3, 2, 24, dots));
    ASSERT_TRUE(result.picture) << result.error;
    EXPECT_EQ(result.picture->fit, PictureFit::Colours);
    EXPECT_EQ(test::pictureToText(result.picture->picture),
              (std::vector<std::string>{".?#", "#.?"}));
    EXPECT_EQ(result.picture->picture.at(2, 1), makeRgb(255, 0, 0));
    EXPECT_EQ(result.picture->picture.at(1, 0), makeRgb(9, 9, 9));
    // Top down: the same bytes, the other way up.
    result = importBytes(temp, bitmap(3, -2, 24, dots));
    ASSERT_TRUE(result.picture) << result.error;
    EXPECT_EQ(result.picture->picture.at(2, 0), makeRgb(255, 0, 0));

    const std::string broken = "test.bmp は壊れているため読み込めません.";
    struct Case {
        const char* what;
        Bytes bytes;
        std::string error;
    };
    Bytes shortByOne = bitmap(3, 2, 24, dots);
    shortByOne.pop_back();
    put32(shortByOne, 2, static_cast<std::uint32_t>(shortByOne.size()));
    const Case cases[] = {
        {"a byte short", shortByOne, broken},
        {"1 x 33,000,000 dots in a kilobyte", bitmap(1, 33'000'000, 24, Bytes(1040, 0)),
         "test.bmp は大きすぎるため読み込めません."},
        {"16385 dots wide", bitmap(16385, 1, 24, Bytes(49156, 0)),
         "test.bmp は大きすぎるため読み込めません."},
        {"16384 x 1 dots", bitmap(16384, 1, 24, Bytes(49152, 0)), ""},
        {"no dots at all", bitmap(0, 2, 24, {}), broken},
        {"not a bitmap", {'P', 'K', 3, 4}, "test.bmp は読み込めません."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        result = importBytes(temp, c.bytes);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.picture.has_value(), c.error.empty());
    }
}

} // namespace
} // namespace vemurion
