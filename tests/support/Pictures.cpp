#include "support/Pictures.h"

#include "document/FrameSheet.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>

namespace vemurion::test {

Raster pictureFromText(const std::vector<std::string>& rows) {
    const int h = static_cast<int>(rows.size());
    const int w = h == 0 ? 0 : static_cast<int>(rows[0].size());
    Raster picture(w, h, kWhite);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w && x < static_cast<int>(rows[static_cast<std::size_t>(y)].size());
             ++x) {
            if (rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#') {
                picture.set(x, y, kBlack);
            }
        }
    }
    return picture;
}

std::vector<std::string> pictureToText(const Raster& picture, int x, int y, int w, int h) {
    std::vector<std::string> rows;
    for (int row = 0; row < h; ++row) {
        std::string line;
        for (int col = 0; col < w; ++col) {
            const Rgb c = picture.at(x + col, y + row, 0x808080);
            line += c == kBlack ? '#' : c == kWhite ? '.' : '?';
        }
        rows.push_back(line);
    }
    return rows;
}

std::vector<std::string> pictureToText(const Raster& picture) {
    return pictureToText(picture, 0, 0, picture.width(), picture.height());
}

::testing::AssertionResult pictureMatches(const Raster& picture,
                                          const std::vector<std::string>& rows) {
    const int h = static_cast<int>(rows.size());
    const int w = h == 0 ? 0 : static_cast<int>(rows[0].size());
    const auto actual = pictureToText(picture, 0, 0, w, h);
    if (actual == rows) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << "picture differs\nexpected:          actual:\n";
    for (int y = 0; y < h; ++y) {
        failure << rows[static_cast<std::size_t>(y)] << "   " << actual[static_cast<std::size_t>(y)]
                << (rows[static_cast<std::size_t>(y)] == actual[static_cast<std::size_t>(y)]
                        ? ""
                        : "   <")
                << "\n";
    }
    return failure;
}

bool sendRows(const Raster& picture, PictureRows& rows, DotOrder order, bool bottomUp) {
    RowLayout layout;
    layout.width = picture.width();
    layout.height = picture.height();
    layout.order = order;
    layout.bottomUp = bottomUp;
    if (!rows.begin(layout)) return false;
    std::vector<std::uint8_t> line(std::size_t(picture.width()) * 3);
    for (int i = 0; i < picture.height(); ++i) {
        const int y = bottomUp ? picture.height() - 1 - i : i;
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb dot = picture.at(x, y);
            std::uint8_t* out = line.data() + std::size_t(x) * 3;
            out[0] = order == DotOrder::Rgb ? redOf(dot) : blueOf(dot);
            out[1] = greenOf(dot);
            out[2] = order == DotOrder::Rgb ? blueOf(dot) : redOf(dot);
        }
        rows.row(line.data());
    }
    return true;
}

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

ImportedPicture importRaster(const Raster& picture) {
    FrameReducer reducer;
    EXPECT_TRUE(sendRows(picture, reducer));
    return reducer.finish();
}

Raster slowFit(const Raster& source, AspectFit fit) {
    const int w = source.width();
    const int h = source.height();
    // The part of the picture that is averaged, in twelfths of a dot, and the grid it fills.
    std::int64_t fromX = 0, fromY = 0, lengthX = 12 * w, lengthY = 12 * h;
    int gridW = kFrameWidth, gridH = kFrameHeight;
    const bool wide = w * 2 > h * 3;
    const bool tall = w * 2 < h * 3;
    if (fit == AspectFit::Contain && wide)
        gridH = static_cast<int>(std::max(1L, std::lround(48.0 * h / w)));
    if (fit == AspectFit::Contain && tall)
        gridW = static_cast<int>(std::max(1L, std::lround(32.0 * w / h)));
    if (fit == AspectFit::Cover && wide) {
        lengthX = 18 * h; // 3 / 2 of the height
        fromX = (12 * w - lengthX) / 2;
    }
    if (fit == AspectFit::Cover && tall) {
        lengthY = 8 * w; // 2 / 3 of the width
        fromY = (12 * h - lengthY) / 2;
    }
    // How much of source dot s lies in grid dot j, in 1 / (12 n) of a dot for n grid dots.
    const auto overlap = [](int s, int j, std::int64_t from, std::int64_t length, int n) {
        const std::int64_t begin = std::max(std::int64_t{s} * 12 * n, from * n + j * length);
        const std::int64_t end =
            std::min(std::int64_t{s + 1} * 12 * n, from * n + (j + 1) * length);
        return std::max<std::int64_t>(0, end - begin);
    };
    Raster grid(gridW, gridH);
    for (int r = 0; r < gridH; ++r) {
        for (int c = 0; c < gridW; ++c) {
            std::int64_t sum[3] = {0, 0, 0};
            for (int y = 0; y < h; ++y) {
                const std::int64_t down = overlap(y, r, fromY, lengthY, gridH);
                for (int x = 0; x < w && down > 0; ++x) {
                    const std::int64_t weight = down * overlap(x, c, fromX, lengthX, gridW);
                    const Rgb dot = source.at(x, y);
                    sum[0] += weight * redOf(dot);
                    sum[1] += weight * greenOf(dot);
                    sum[2] += weight * blueOf(dot);
                }
            }
            const std::int64_t total = lengthX * lengthY;
            grid.set(c, r,
                     makeRgb(static_cast<std::uint8_t>(sum[0] / total),
                             static_cast<std::uint8_t>(sum[1] / total),
                             static_cast<std::uint8_t>(sum[2] / total)));
        }
    }
    return grid;
}

Raster patterned(int seed) {
    Raster picture(kFrameWidth, kFrameHeight, kWhite);
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            if ((x * 7 + y * 3) % (seed + 2) == 0) picture.set(x, y, kBlack);
    return picture;
}

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

} // namespace vemurion::test
