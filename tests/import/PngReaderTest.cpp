#include "import/PngReader.h"

#include "document/FrameSheet.h"
#include "support/FakeServices.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>

namespace vemurion {
namespace {

using test::Bytes;
using test::pictureToText;

struct PngSpec {
    int width = 0;
    int height = 0;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<Bytes> rows; // packed as the colour type and depth store them
    std::vector<png_color> palette;
    Bytes transparency; // tRNS alphas of the palette entries
};

PngSpec pngOf(int width, int height, int colourType, int bitDepth, std::vector<Bytes> rows,
              bool interlaced = false) {
    PngSpec spec;
    spec.width = width;
    spec.height = height;
    spec.colourType = colourType;
    spec.bitDepth = bitDepth;
    spec.interlaced = interlaced;
    spec.rows = std::move(rows);
    return spec;
}

void writePng(const std::string& path, const PngSpec& spec) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(spec.width),
                 static_cast<png_uint_32>(spec.height), spec.bitDepth, spec.colourType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty())
        png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
    if (!spec.transparency.empty())
        png_set_tRNS(png, info, spec.transparency.data(),
                     static_cast<int>(spec.transparency.size()), nullptr);
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const Bytes& row : spec.rows)
        rows.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

class PngReaderTest : public testing::Test {
protected:
    ImportResult read(const PngSpec& spec, Rgb background = kWhite) {
        writePng(temp.path("pic.png"), spec);
        return importPngFile(temp.path("pic.png"), background);
    }
    test::TempFolder temp;
};

TEST_F(PngReaderTest, EveryKindOfDotBecomesRgb) {
    PngSpec rgb = pngOf(4, 1, PNG_COLOR_TYPE_RGB, 8, {{0, 0, 0, 255, 255, 255, 0, 0, 0, 9, 9, 9}});
    PngSpec grey1 = pngOf(10, 1, PNG_COLOR_TYPE_GRAY, 1, {{0b10110000, 0b01000000}});
    // 16-bit samples keep their high byte.
    PngSpec grey16 = pngOf(2, 1, PNG_COLOR_TYPE_GRAY, 16, {{0xFF, 0x01, 0x00, 0xFF}});
    PngSpec palette = pngOf(3, 1, PNG_COLOR_TYPE_PALETTE, 8, {{1, 0, 1}});
    palette.palette = {{0, 0, 0}, {255, 255, 255}};
    PngSpec interlaced = pngOf(9, 9, PNG_COLOR_TYPE_GRAY, 8, {}, true);
    std::vector<std::string> diagonal;
    for (int y = 0; y < 9; ++y) {
        Bytes row(9, 255);
        row[static_cast<std::size_t>(y)] = 0;
        interlaced.rows.push_back(row);
        diagonal.push_back(std::string(static_cast<std::size_t>(y), '.') + "#" +
                           std::string(static_cast<std::size_t>(8 - y), '.'));
    }
    // Larger than the frame: its passes are averaged into the frame as they come.
    PngSpec bigInterlaced = pngOf(96, 64, PNG_COLOR_TYPE_GRAY, 8, {}, true);
    const Raster pattern = test::patterned(3);
    for (int y = 0; y < 64; ++y) {
        Bytes row;
        for (int x = 0; x < 96; ++x)
            row.push_back(pattern.at(x / 2, y / 2) == kBlack ? 0 : 255);
        bigInterlaced.rows.push_back(row);
    }
    struct Case {
        const char* what;
        PngSpec spec;
        std::vector<std::string> picture;
    };
    const Case cases[] = {
        {"8-bit RGB", rgb, {"#.#?"}},
        {"1-bit grey (1 white)", grey1, {".#..#####."}},
        {"16-bit grey", grey16, {".#"}},
        {"a palette", palette, {".#."}},
        {"an interlaced picture", interlaced, diagonal},
        {"an interlaced picture larger than the frame", bigInterlaced, pictureToText(pattern)},
    };
    for (const Case& c : cases) {
        const ImportResult got = read(c.spec);
        ASSERT_EQ(got.error, "") << c.what;
        ASSERT_TRUE(got.picture) << c.what;
        std::vector<std::string> text = pictureToText(got.picture->picture);
        // pictureToText knows only black and white: mark the grey dot by hand.
        if (c.spec.colourType == PNG_COLOR_TYPE_RGB) {
            EXPECT_EQ(got.picture->picture.at(3, 0), makeRgb(9, 9, 9));
            EXPECT_EQ(got.picture->fit, PictureFit::Colours);
            text[0][3] = '?';
        } else {
            EXPECT_EQ(got.picture->fit,
                      c.spec.width > kFrameWidth ? PictureFit::TooLarge : PictureFit::Plain)
                << c.what;
        }
        EXPECT_EQ(text, c.picture) << c.what;
    }
}

TEST_F(PngReaderTest, TransparencyIsLaidOverTheBackground) {
    // Opaque black, transparent, half-covered black.
    const PngSpec rgba =
        pngOf(3, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {{0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 128}});
    PngSpec palette = pngOf(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}});
    palette.palette = {{0, 0, 0}, {0, 0, 0}};
    palette.transparency = {255, 0};
    for (const Rgb background : {kWhite, kBlack}) {
        const auto got = read(rgba, background);
        ASSERT_TRUE(got.picture) << got.error;
        EXPECT_EQ(got.picture->picture.at(0, 0), kBlack);
        EXPECT_EQ(got.picture->picture.at(1, 0), background);
        EXPECT_EQ(got.picture->picture.at(2, 0), background == kWhite ? 0x7F7F7Fu : kBlack);
        const auto keyed = read(palette, background);
        ASSERT_TRUE(keyed.picture) << keyed.error;
        EXPECT_EQ(keyed.picture->picture.at(1, 0), background);
    }
}

// A PNG whose header declares `width` x `height` and which holds nothing more.
Bytes headerOnly(std::uint32_t width, std::uint32_t height) {
    Bytes bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (const std::uint32_t value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    bytes.insert(bytes.end(), {8, 2, 0, 0, 0});
    const uLong crc = crc32(0, bytes.data() + 12, 17);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(crc >> shift));
    // An empty IDAT, so that the header is read to its end.
    const Bytes idat = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
    bytes.insert(bytes.end(), idat.begin(), idat.end());
    return bytes;
}

// The header of a 1 x 1 picture, then a chunk of `kind` that declares 2 GiB and holds 100 bytes.
Bytes declaring2GiB(const char (&kind)[5]) {
    Bytes bytes = headerOnly(1, 1);
    bytes.resize(33);
    bytes.insert(bytes.end(), {0x7F, 0xFF, 0xFF, 0xFF});
    bytes.insert(bytes.end(), kind, kind + 4);
    bytes.insert(bytes.end(), 100, 'x');
    return bytes;
}

TEST_F(PngReaderTest, DamagedForeignAndOversizedFilesAreRefused) {
    PngSpec big = pngOf(64, 64, PNG_COLOR_TYPE_GRAY, 8, {});
    for (int y = 0; y < 64; ++y) {
        Bytes row(64);
        for (int x = 0; x < 64; ++x)
            row[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(x * 37 + y * 11);
        big.rows.push_back(row);
    }
    writePng(temp.path("whole.png"), big);
    const Bytes whole = test::readBytes(temp.path("whole.png"));
    struct Case {
        const char* what;
        Bytes bytes;
        std::string message;
    };
    const Case cases[] = {
        {"cut in its dots",
         {whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2)},
         " は壊れているため読み込めません."},
        {"no PNG", {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8}, " は読み込めません."},
        {"20000 dots wide", headerOnly(20000, 1), " は大きすぎるため読み込めません."},
        {"64 million dots and one more row", headerOnly(8000, 8001),
         " は大きすぎるため読み込めません."},
        // What libpng would take into memory (and clear) before finding the end.
        {"a text chunk declaring 2 GiB, then the end", declaring2GiB("tEXt"),
         " は壊れているため読み込めません."},
        {"a compressed text chunk", declaring2GiB("zTXt"), " は壊れているため読み込めません."},
        {"an international text chunk", declaring2GiB("iTXt"), " は壊れているため読み込めません."},
        {"a suggested palette", declaring2GiB("sPLT"), " は壊れているため読み込めません."},
    };
    for (const Case& c : cases) {
        test::writeBytes(temp.path("bad.png"), c.bytes);
        const ImportResult got = importPngFile(temp.path("bad.png"), kWhite);
        EXPECT_FALSE(got.picture) << c.what;
        EXPECT_EQ(got.error, "bad.png" + c.message) << c.what;
    }
}

} // namespace
} // namespace vemurion
