#include "import/JpegDecoder.h"

#include "import/Conversion.h"

#include "document/FrameSheet.h"
#include "support/FakeServices.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace vemurion {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::largestDifference;
using test::readBytes;
using test::TempFolder;

const std::string kJpegData = std::string(VEMURION_SHARED_TESTDATA) + "/jpeg";
const std::string kFuzzSeeds = std::string(VEMURION_SHARED_TESTDATA) + "/fuzz-seeds/jpeg";

// How far the candidates of a decoded picture lie from those of a reference: the largest
// difference of grey levels, and the share of dots that differ over all nine candidates.
struct Drift {
    int grey = 0;
    double candidates = 0;
};
Drift drift(const Raster& decoded, const Raster& reference) {
    Drift d;
    for (std::size_t i = 0; i < decoded.dots().size(); ++i)
        d.grey = std::max(d.grey,
                          std::abs(greyLevel(decoded.dots()[i]) - greyLevel(reference.dots()[i])));
    const auto ours = thresholdCandidates(decoded);
    const auto theirs = thresholdCandidates(reference);
    int differing = 0;
    for (int k = 0; k < kCandidateCount; ++k) {
        for (std::size_t i = 0; i < decoded.dots().size(); ++i)
            differing += ours[std::size_t(k)].dots()[i] != theirs[std::size_t(k)].dots()[i];
    }
    d.candidates = differing / double(kCandidateCount * kFrameWidth * kFrameHeight);
    return d;
}

bool run(const std::string& command) {
    return std::system((command + " 2>/dev/null").c_str()) == 0;
}

ImportResult importBytes(const Bytes& bytes) {
    FrameReducer reducer;
    std::string error = decodeJpeg(bytes, reducer, "test.jpg");
    if (!error.empty()) return {std::nullopt, std::move(error)};
    return {reducer.finish(), {}};
}

// A JPEG file made by the library itself: a diagonal gradient in `space` (RGB, grayscale or
// CMYK), every component sampled fully, progressive with `script` when it is not empty.
Bytes encodeJpeg(int width, int height, J_COLOR_SPACE space,
                 const std::vector<jpeg_scan_info>& script = {}) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    for (int c = 0; c < cinfo.num_components; ++c)
        cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    if (!script.empty()) {
        cinfo.scan_info = script.data();
        cinfo.num_scans = static_cast<int>(script.size());
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width * cinfo.input_components));
    while (cinfo.next_scanline < cinfo.image_height) {
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = static_cast<JSAMPLE>((i / 3 + cinfo.next_scanline * 5) & 0xFF);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

// The bytes of the first scan: its SOS segment and the entropy-coded data after it.
std::pair<std::size_t, std::size_t> firstScan(const Bytes& jpeg) {
    std::size_t start = 0;
    while (start + 1 < jpeg.size() && !(jpeg[start] == 0xFF && jpeg[start + 1] == 0xDA))
        ++start;
    std::size_t end = start + 2 + (std::size_t{jpeg[start + 2]} << 8 | jpeg[start + 3]);
    while (end + 1 < jpeg.size() && !(jpeg[end] == 0xFF && jpeg[end + 1] != 0x00 &&
                                      (jpeg[end + 1] < 0xD0 || jpeg[end + 1] > 0xD7)))
        ++end;
    return {start, end};
}

Bytes withScansAfterTheFirst(Bytes jpeg, const Bytes& scan, int copies) {
    const std::size_t at = firstScan(jpeg).second;
    for (int i = 0; i < copies; ++i)
        jpeg.insert(jpeg.begin() + static_cast<std::ptrdiff_t>(at), scan.begin(), scan.end());
    return jpeg;
}

Bytes withDimensions(Bytes jpeg, int width, int height) {
    // The start-of-frame segment: FF C0 or C2, length (2), precision (1), height (2), width (2).
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
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

// DCT scaling against the full-size average: the reference decoding of testorig.jpg (227 x 149,
// read at 1/2) reduced whole. The candidates may differ on a few dots near a threshold.
TEST(JpegDecoder, ScaledDecodingStaysCloseToTheFullSizeAverage) {
    SKIP_WITHOUT(kJpegData);
    const ImportResult result = importJpegFile(kJpegData + "/testorig.jpg");
    ASSERT_TRUE(result.picture) << result.error;
    EXPECT_EQ(result.picture->fit, PictureFit::TooLarge);
    const Raster full = test::importRaster(test::readNetpbm(kJpegData + "/testorig.ppm")).picture;
    const Drift d = drift(result.picture->picture, full);
    EXPECT_LE(d.grey, 6);
    EXPECT_LE(d.candidates, 0.005);
}

// Progressive, grayscale and CMYK pictures made by the tools at test time, each checked against
// the library's own decoder's full-size picture, reduced.
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
        const ImportResult result = importJpegFile(jpeg);
        ASSERT_TRUE(result.picture) << result.error;
        const Raster full = test::importRaster(test::readNetpbm(temp.path(c.reference))).picture;
        const Drift d = drift(result.picture->picture, full);
        EXPECT_LE(d.grey, 6);
        EXPECT_LE(d.candidates, 0.005);
    }

    // The library gives CMYK as it is stored; ImageMagick stores it inverted, Adobe style.
    const std::string cmyk = temp.path("cmyk.jpg");
    if (!run("convert " + source + " -quality 95 -colorspace CMYK " + cmyk))
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const ImportResult result = importJpegFile(cmyk);
    ASSERT_TRUE(result.picture) << result.error;
    const Raster reduced = test::importRaster(test::readNetpbm(source)).picture;
    EXPECT_LE(largestDifference(result.picture->picture, reduced), 48);
    EXPECT_GT(largestDifference(result.picture->picture, Raster(kFrameWidth, kFrameHeight)), 200);
}

TEST(JpegDecoder, PicturesThatFitAreDecodedWhole) {
    for (J_COLOR_SPACE space : {JCS_RGB, JCS_GRAYSCALE, JCS_CMYK}) {
        SCOPED_TRACE(space);
        const ImportResult result = importBytes(encodeJpeg(20, 10, space));
        ASSERT_TRUE(result.picture) << result.error;
        EXPECT_EQ(result.picture->fit, PictureFit::Colours);
        EXPECT_EQ(result.picture->picture.width(), 20);
        EXPECT_EQ(result.picture->picture.height(), 10);
    }
}

// Small files that declare much: each is refused, or read, without taking what it claims.
TEST(JpegDecoder, LimitsOnSizeScansAndWarnings) {
    const Bytes grey = encodeJpeg(8, 8, JCS_GRAYSCALE);
    // DC first at full precision may be sent again and again without a warning.
    const std::vector<jpeg_scan_info> greyScript = {{1, {0}, 0, 0, 0, 0}, {1, {0}, 1, 63, 0, 0}};
    const Bytes progressive = encodeJpeg(8, 8, JCS_GRAYSCALE, greyScript);
    const auto [scanStart, scanEnd] = firstScan(progressive);
    const Bytes dcScan(progressive.begin() + static_cast<std::ptrdiff_t>(scanStart),
                       progressive.begin() + static_cast<std::ptrdiff_t>(scanEnd));
    // A DC refinement of the three components of a colour picture whose DC came at full
    // precision: one warning per component, one bit per block.
    const std::vector<jpeg_scan_info> colourScript = {{3, {0, 1, 2}, 0, 0, 0, 0},
                                                      {1, {0}, 1, 63, 0, 0},
                                                      {1, {1}, 1, 63, 0, 0},
                                                      {1, {2}, 1, 63, 0, 0}};
    const Bytes colour = encodeJpeg(8, 8, JCS_RGB, colourScript);
    const Bytes refinement = {0xFF, 0xDA, 0, 12, 3, 1, 0, 2, 0, 3, 0, 0, 0, 0x10, 0x00};
    const std::vector<jpeg_scan_info> cmykScript = {{4, {0, 1, 2, 3}, 0, 0, 0, 0},
                                                    {1, {0}, 1, 63, 0, 0},
                                                    {1, {1}, 1, 63, 0, 0},
                                                    {1, {2}, 1, 63, 0, 0},
                                                    {1, {3}, 1, 63, 0, 0}};
    const std::string tooLarge = "test.jpg は大きすぎるため読み込めません.";
    struct Case {
        const char* what;
        Bytes bytes;
        std::string error; // empty: read
    };
    const Case cases[] = {
        // The limits apply to the picture decoded at 1/8, 2040 x 1530 dots; what it declares
        // is held to 256 million dots.
        {"16320 x 12240, the data missing", withDimensions(grey, 16320, 12240), ""},
        {"16000 x 16001 in a few hundred bytes", withDimensions(grey, 16000, 16001), tooLarge},
        {"65000 x 8, decoded at full size", withDimensions(grey, 65000, 8), tooLarge},
        {"16384 x 3906, the data missing", withDimensions(grey, 16384, 3906), ""},
        {"progressive CMYK of 8000 x 8000 in a few hundred bytes",
         withDimensions(encodeJpeg(8, 8, JCS_CMYK, cmykScript), 8000, 8000),
         jpegErrorText(JERR_NO_BACKING_STORE)},
        {"progressive grey of 4000 x 4000 in a few hundred bytes",
         withDimensions(progressive, 4000, 4000), jpegErrorText(JERR_NO_BACKING_STORE)},
        {"progressive grey of 2000 x 2000 in a few hundred bytes",
         withDimensions(progressive, 2000, 2000), ""},
        {"100 scans", withScansAfterTheFirst(progressive, dcScan, 98), ""},
        {"101 scans", withScansAfterTheFirst(progressive, dcScan, 99),
         jpegErrorText(JERR_BAD_SCAN_SCRIPT)},
        {"1000 empty scans", withScansAfterTheFirst(progressive, dcScan, 1000),
         jpegErrorText(JERR_BAD_SCAN_SCRIPT)},
        {"99 warnings", withScansAfterTheFirst(colour, refinement, 33), ""},
        {"102 warnings", withScansAfterTheFirst(colour, refinement, 34),
         jpegErrorText(JWRN_BOGUS_PROGRESSION)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ImportResult result = importBytes(c.bytes);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.picture.has_value(), c.error.empty());
    }
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
        {"no bytes", {}, JERR_INPUT_EMPTY},
        {"not a JPEG file", {'B', 'M', 0, 0, 0, 0, 0, 0}, JERR_NO_SOI},
        // Start of image and the 16-byte JFIF segment, then nothing.
        {"no picture after the header", Bytes(original.begin(), original.begin() + 20),
         JERR_NO_IMAGE},
        {"no dots", withDimensions(original, 0, 10), JERR_EMPTY_IMAGE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportResult result = importBytes(c.bytes);
        EXPECT_FALSE(result.picture);
        EXPECT_EQ(result.error, "JPEG エラー #" + std::to_string(c.code));
    }
    EXPECT_EQ(importJpegFile(kJpegData + "/missing.jpg").error, "missing.jpg は読み込めません.");
}

// Malformed files from a fuzzing corpus: each is decoded or refused, never crashes or hangs.
TEST(JpegDecoder, FuzzSeedsAreDecodedOrRefused) {
    SKIP_WITHOUT(kFuzzSeeds);
    int seeds = 0;
    for (const auto& entry : fs::directory_iterator(kFuzzSeeds)) {
        SCOPED_TRACE(entry.path().string());
        const ImportResult result = importBytes(readBytes(entry.path().string()));
        if (!result.picture) {
            EXPECT_TRUE(result.error.starts_with("JPEG エラー #") ||
                        result.error.ends_with("大きすぎるため読み込めません."))
                << result.error;
        }
        ++seeds;
    }
    EXPECT_GT(seeds, 0);
}

} // namespace
} // namespace vemurion
