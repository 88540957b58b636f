#include "import/JpegDecoder.h"

#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <jerror.h>

namespace vemurion {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::readBytes;
using test::TempFolder;

const std::string kJpegData = std::string(VEMURION_SHARED_TESTDATA) + "/jpeg";
const std::string kFuzzSeeds = std::string(VEMURION_SHARED_TESTDATA) + "/fuzz-seeds/jpeg";

#define SKIP_WITHOUT(folder)                                                                       \
    if (!fs::is_directory(folder)) GTEST_SKIP() << "test data not found: " << (folder)

// A binary PPM (P6) or PGM (P5) file of 8-bit samples; grey samples fill all three channels.
Raster readNetpbm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    const int channels = magic == "P6" ? 3 : 1;
    Raster picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char s[3] = {0, 0, 0};
            in.read(reinterpret_cast<char*>(s), channels);
            picture.set(x, y,
                        channels == 3 ? makeRgb(s[0], s[1], s[2]) : makeRgb(s[0], s[0], s[0]));
        }
    }
    EXPECT_TRUE(in) << path;
    return picture;
}

// The largest difference of any channel of any dot; pictures of different sizes differ by 256.
int largestDifference(const Raster& a, const Raster& b) {
    if (a.width() != b.width() || a.height() != b.height()) return 256;
    int largest = 0;
    for (std::size_t i = 0; i < a.dots().size(); ++i) {
        const Rgb p = a.dots()[i];
        const Rgb q = b.dots()[i];
        largest = std::max({largest, std::abs(redOf(p) - redOf(q)),
                            std::abs(greenOf(p) - greenOf(q)), std::abs(blueOf(p) - blueOf(q))});
    }
    return largest;
}

bool run(const std::string& command) {
    return std::system((command + " 2>/dev/null").c_str()) == 0;
}

TEST(JpegDecoder, BaselinePictureMatchesTheReferenceDecoding) {
    SKIP_WITHOUT(kJpegData);
    const PictureReadResult result = readJpegFile(kJpegData + "/testorig.jpg");
    ASSERT_TRUE(result.picture) << result.error;
    // The reference was made by an older decoder whose rounding differs a little.
    EXPECT_LE(largestDifference(*result.picture, readNetpbm(kJpegData + "/testorig.ppm")), 3);
}

// Progressive, grayscale and CMYK pictures made by the tools at test time, each checked against
// what the library's own decoder makes of it.
TEST(JpegDecoder, ProgressiveGrayscaleAndCmykPictures) {
    SKIP_WITHOUT(kJpegData);
    if (!fs::exists("/usr/bin/cjpeg") || !fs::exists("/usr/bin/djpeg"))
        GTEST_SKIP() << "cjpeg and djpeg are not installed";
    TempFolder temp;
    const std::string source = kJpegData + "/testorig.ppm";
    struct Case {
        const char* name;
        const char* options;
        const char* reference; // djpeg's output
    };
    for (const Case& c : {Case{"baseline", "", "baseline.ppm"},
                          Case{"progressive", "-progressive", "progressive.ppm"},
                          Case{"grayscale", "-grayscale", "grayscale.pgm"}}) {
        SCOPED_TRACE(c.name);
        const std::string jpeg = temp.path(std::string(c.name) + ".jpg");
        ASSERT_TRUE(run("cjpeg " + std::string(c.options) + " -outfile " + jpeg + " " + source));
        ASSERT_TRUE(run("djpeg -pnm -outfile " + temp.path(c.reference) + " " + jpeg));
        const PictureReadResult result = readJpegFile(jpeg);
        ASSERT_TRUE(result.picture) << result.error;
        EXPECT_EQ(largestDifference(*result.picture, readNetpbm(temp.path(c.reference))), 0);
    }

    // The library gives CMYK as it is stored; ImageMagick stores it inverted, Adobe style.
    const std::string cmyk = temp.path("cmyk.jpg");
    if (!run("convert " + source + " -quality 95 -colorspace CMYK " + cmyk))
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const PictureReadResult result = readJpegFile(cmyk);
    ASSERT_TRUE(result.picture) << result.error;
    EXPECT_LE(largestDifference(*result.picture, readNetpbm(source)), 48);
    EXPECT_GT(largestDifference(*result.picture, Raster(227, 149, kWhite)), 200);
}

Bytes withDimensions(Bytes jpeg, int width, int height) {
    // The start-of-frame segment: FF C0, length (2), precision (1), height (2), width (2).
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height & 0xFF);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width & 0xFF);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no start-of-frame segment";
    return jpeg;
}

TEST(JpegDecoder, RefusedPicturesNameTheLibrarysMessageCode) {
    SKIP_WITHOUT(kJpegData);
    const Bytes original = readBytes(kJpegData + "/testorig.jpg");
    struct Case {
        const char* name;
        Bytes bytes;
        int code;
    };
    const Case cases[] = {
        {"12-bit samples", readBytes(kJpegData + "/monkey12.jpg"), JERR_BAD_PRECISION},
        // 65000 x 65000 would take 16 GB once decoded.
        {"too many dots", withDimensions(original, 65000, 65000), JERR_IMAGE_TOO_BIG},
        {"no bytes", {}, JERR_INPUT_EMPTY},
        {"not a JPEG file", {'B', 'M', 0, 0, 0, 0, 0, 0}, JERR_NO_SOI},
        // Start of image and the 16-byte JFIF segment, then nothing.
        {"no picture after the header", Bytes(original.begin(), original.begin() + 20),
         JERR_NO_IMAGE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PictureReadResult result = decodeJpeg(c.bytes);
        EXPECT_FALSE(result.picture);
        EXPECT_EQ(result.error, "JPEG エラー #" + std::to_string(c.code));
    }
}

// Malformed files from a fuzzing corpus: each is decoded or refused, never crashes or hangs.
TEST(JpegDecoder, FuzzSeedsAreDecodedOrRefused) {
    SKIP_WITHOUT(kFuzzSeeds);
    int seeds = 0;
    for (const auto& entry : fs::directory_iterator(kFuzzSeeds)) {
        SCOPED_TRACE(entry.path().string());
        const PictureReadResult result = decodeJpeg(readBytes(entry.path().string()));
        if (result.picture) {
            EXPECT_GT(result.picture->width() * result.picture->height(), 0);
        } else {
            EXPECT_EQ(result.error.rfind("JPEG エラー #", 0), 0u) << result.error;
        }
        ++seeds;
    }
    EXPECT_GT(seeds, 0);
}

} // namespace
} // namespace vemurion
