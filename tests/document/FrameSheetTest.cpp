#include "document/FrameSheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vemurion {
namespace {

constexpr Rgb kGrey = 0x808080;

std::size_t at(int row, int col, int width) {
    return static_cast<std::size_t>(row * dotRowStride(width) + col * 3);
}

TEST(FrameSheet, CellOriginsRunTenAcrossThenDown) {
    struct Case {
        int index;
        CellPos origin;
    };
    const Case cases[] = {
        {0, {0, 0}},   {1, {48, 0}},      {9, {432, 0}},
        {10, {0, 32}}, {254, {192, 800}}, {259, {432, 800}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(CellOrigin(c.index), c.origin);

        // A cell's picture lands on the sheet at that origin.
        FrameSheet sheet;
        Raster picture(kFrameWidth, kFrameHeight, kWhite);
        picture.set(0, 0, kBlack);
        picture.set(47, 31, kBlack);
        sheet.setCell(c.index, picture);
        EXPECT_EQ(sheet.raster().at(c.origin.x, c.origin.y), kBlack);
        EXPECT_EQ(sheet.raster().at(c.origin.x + 47, c.origin.y + 31), kBlack);
        EXPECT_EQ(std::count(sheet.raster().dots().begin(), sheet.raster().dots().end(), kBlack),
                  2);
    }
}

TEST(FrameSheet, ReadingAFrameGivesItsDotsAsBytes) {
    FrameSheet sheet;
    const CellPos o = CellOrigin(37);
    DotBuffer buffer;
    ReadDots(sheet.raster(), o.x, o.y, buffer, kFrameHeight, kFrameWidth);
    ASSERT_EQ(buffer.size(), 4608u);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == 255; }));

    sheet.raster().set(o.x, o.y, kBlack);
    ReadDots(sheet.raster(), o.x, o.y, buffer, kFrameHeight, kFrameWidth);
    ASSERT_EQ(buffer.size(), 4608u);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], 0);
    EXPECT_EQ(buffer[2], 0);
    EXPECT_TRUE(
        std::all_of(buffer.begin() + 3, buffer.end(), [](std::uint8_t b) { return b == 255; }));
}

// Rows from the top, blue-green-red per dot, each row padded to a multiple of four bytes.
TEST(FrameSheet, DotBufferLayout) {
    Raster surface(60, 40);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            surface.set(x, y,
                        makeRgb(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                static_cast<std::uint8_t>(100 + x + y)));
        }
    }
    struct Case {
        int width;
        int stride;
    };
    const Case cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {7, 24}, {48, 144}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.width);
        EXPECT_EQ(dotRowStride(c.width), c.stride);
        const int x0 = 3, y0 = 2, height = 5;
        DotBuffer buffer;
        ReadDots(surface, x0, y0, buffer, height, c.width);
        ASSERT_GE(buffer.size(), static_cast<std::size_t>(c.stride * height));
        for (int row = 0; row < height; ++row) {
            for (int col = 0; col < c.width; ++col) {
                const std::size_t i = static_cast<std::size_t>(row * c.stride + col * 3);
                ASSERT_EQ(buffer[i + 0], 100 + x0 + col + y0 + row) << "blue " << col << "," << row;
                ASSERT_EQ(buffer[i + 1], y0 + row) << "green " << col << "," << row;
                ASSERT_EQ(buffer[i + 2], x0 + col) << "red " << col << "," << row;
            }
        }

        // Writing takes the same layout: the buffer puts back exactly the colours it came from.
        Raster copy(60, 40, kGrey);
        WriteDots(copy, x0, y0, buffer, height, c.width);
        for (int row = 0; row < height; ++row) {
            for (int col = 0; col < c.width; ++col) {
                ASSERT_EQ(copy.at(x0 + col, y0 + row), surface.at(x0 + col, y0 + row))
                    << "dot " << col << "," << row;
            }
        }
    }
}

TEST(FrameSheet, WrittenDotsReadBackUnchangedAndStayInTheirRectangle) {
    struct Case {
        int x, y, width, height;
    };
    const Case cases[] = {
        {0, 0, 48, 32}, {432, 800, 48, 32}, {5, 3, 1, 1},      {7, 2, 5, 3},
        {1, 1, 7, 9},   {100, 50, 13, 2},   {470, 826, 10, 6}, {200, 300, 2, 17},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.width << " x " << c.height << " at " << c.x << "," << c.y);
        const int stride = dotRowStride(c.width);
        // Black and white dots in an irregular pattern; the padding holds junk that must not
        // be drawn.
        DotBuffer buffer(static_cast<std::size_t>(stride * c.height), 0xAB);
        for (int row = 0; row < c.height; ++row) {
            for (int col = 0; col < c.width; ++col) {
                const std::uint8_t v = (col * 5 + row * 3 + col * row) % 4 == 0 ? 0 : 255;
                std::fill_n(buffer.begin() + static_cast<std::ptrdiff_t>(at(row, col, c.width)), 3,
                            v);
            }
        }

        Raster surface(kSheetWidth, kSheetHeight, kGrey);
        WriteDots(surface, c.x, c.y, buffer, c.height, c.width);
        for (int y = 0; y < kSheetHeight; ++y) {
            for (int x = 0; x < kSheetWidth; ++x) {
                const bool inside = x >= c.x && x < c.x + c.width && y >= c.y && y < c.y + c.height;
                if (!inside) {
                    ASSERT_EQ(surface.at(x, y), kGrey) << "outside dot " << x << "," << y;
                    continue;
                }
                const std::uint8_t v = buffer[at(y - c.y, x - c.x, c.width)];
                ASSERT_EQ(surface.at(x, y), v == 0 ? kBlack : kWhite) << "dot " << x << "," << y;
            }
        }

        DotBuffer back;
        ReadDots(surface, c.x, c.y, back, c.height, c.width);
        ASSERT_GE(back.size(), static_cast<std::size_t>(stride * c.height));
        for (int row = 0; row < c.height; ++row) {
            for (int col = 0; col < c.width; ++col) {
                for (std::size_t k = 0; k < 3; ++k) {
                    const std::size_t i = at(row, col, c.width) + k;
                    ASSERT_EQ(back[i], buffer[i]) << "byte " << k << " of " << col << "," << row;
                }
            }
        }
    }
}

TEST(FrameSheet, CopyFrameCellCopiesOneCellAndTouchesNoNeighbour) {
    struct Case {
        int destination;
        int source;
    };
    const Case cases[] = {{3, 12}, {5, 4}, {4, 5}, {10, 9}, {0, 259}, {259, 0}, {254, 244}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source << " -> " << c.destination);
        // Every cell white with its own marker dot; the source all black but for its marker,
        // so that a copy spilling over an edge shows in the neighbour.
        FrameSheet sheet;
        for (int i = 0; i < kSheetCells; ++i) {
            Raster picture(kFrameWidth, kFrameHeight, i == c.source ? kBlack : kWhite);
            picture.set(1 + i % 46, 1 + i / 46, i == c.source ? kWhite : kBlack);
            sheet.setCell(i, picture);
        }
        const FrameSheet before = sheet;

        sheet.CopyFrameCell(c.destination, c.source);

        for (int i = 0; i < kSheetCells; ++i) {
            const Raster expected = before.cell(i == c.destination ? c.source : i);
            ASSERT_TRUE(sheet.cell(i) == expected) << "cell " << i;
        }
    }
}

// Overlapping rectangles of one raster, in every direction: the result is that of copying from
// an untouched copy of the raster.
TEST(FrameSheet, CopyWithinOneRasterReadsTheRectangleAsItWas) {
    Raster numbered(20, 12);
    for (int y = 0; y < numbered.height(); ++y) {
        for (int x = 0; x < numbered.width(); ++x)
            numbered.set(x, y, static_cast<Rgb>(y * 100 + x));
    }
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -3; dx <= 3; dx += 3) {
            SCOPED_TRACE(testing::Message() << "by " << dx << ", " << dy);
            Raster inPlace = numbered;
            inPlace.copyRect(inPlace, 4, 3, 10, 6, 4 + dx, 3 + dy);
            Raster expected = numbered;
            expected.copyRect(numbered, 4, 3, 10, 6, 4 + dx, 3 + dy);
            EXPECT_TRUE(inPlace == expected);
        }
    }
}

} // namespace
} // namespace vemurion
