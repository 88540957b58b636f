#include "editor/Rasterizers.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vemurion {
namespace {

using Key = std::pair<int, int>;

std::vector<Key> lineDots(Dot from, Dot to) {
    std::vector<Key> dots;
    drawLine(from, to, [&](int x, int y) { dots.push_back({x, y}); });
    return dots;
}

// Plot counts over a 64 x 48 area, as one digit per dot so that failures print a picture.
struct Tally {
    std::vector<std::string> rows = std::vector<std::string>(48, std::string(64, '0'));
    int stray = 0;

    PlotFn plotter() {
        return [this](int x, int y) {
            if (x < 0 || y < 0 || x >= 64 || y >= 48) {
                ++stray;
            } else {
                ++rowsAt(x, y);
            }
        };
    }
    int at(int x, int y) const {
        if (x < 0 || y < 0 || x >= 64 || y >= 48) return 0;
        return rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] - '0';
    }
    char& rowsAt(int x, int y) {
        return rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    }
    int neighbours(int x, int y) const {
        int n = 0;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                n += (dx != 0 || dy != 0) && at(x + dx, y + dy) > 0;
        }
        return n;
    }
};

bool eightConnected(const Tally& tally, Key first, int dotCount) {
    std::set<Key> seen{first};
    std::vector<Key> todo{first};
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (tally.at(x + dx, y + dy) > 0 && seen.insert({x + dx, y + dy}).second) {
                    todo.push_back({x + dx, y + dy});
                }
            }
        }
    }
    return static_cast<int>(seen.size()) == dotCount;
}

// Whether the dot at (x, y) lies within one dot of the ellipse inscribed in the w x h box at the
// origin: of its centre and the unit circle around it, some points are inside the curve and some
// outside.
bool nearEllipse(int x, int y, int w, int h) {
    const auto inside = [&](double px, double py) {
        const double u = 2 * px / w - 1;
        const double v = 2 * py / h - 1;
        return u * u + v * v <= 1.0;
    };
    int in = inside(x + 0.5, y + 0.5);
    for (int k = 0; k < 32; ++k) {
        const double t = k * std::numbers::pi / 16;
        in += inside(x + 0.5 + std::cos(t), y + 0.5 + std::sin(t));
    }
    return in > 0 && in < 33;
}

TEST(LineTest, FollowsTheIdealLineOneDotPerStep) {
    for (const Dot from : {Dot{0, 0}, Dot{5, -3}}) {
        for (int ty = -13; ty <= 13; ++ty) {
            for (int tx = -13; tx <= 13; ++tx) {
                const Dot to{from.x + tx, from.y + ty};
                SCOPED_TRACE(testing::Message() << "to offset " << tx << "," << ty);
                const std::vector<Key> dots = lineDots(from, to);
                const bool xMajor = std::abs(tx) >= std::abs(ty);
                const int steps = std::max(std::abs(tx), std::abs(ty));
                ASSERT_EQ(static_cast<int>(dots.size()), steps);
                for (int i = 0; i < steps; ++i) {
                    const auto [x, y] = dots[static_cast<std::size_t>(i)];
                    const int major = xMajor ? x - from.x : y - from.y;
                    const int minor = xMajor ? y - from.y : x - from.x;
                    EXPECT_EQ(std::abs(major), i);
                    EXPECT_LE(std::abs(minor - static_cast<double>(i) * (xMajor ? ty : tx) / steps),
                              0.5);
                    const Key next =
                        i + 1 < steps ? dots[static_cast<std::size_t>(i) + 1] : Key{to.x, to.y};
                    EXPECT_TRUE(std::abs(next.first - x) <= 1 && std::abs(next.second - y) <= 1);
                    EXPECT_NE((Key{x, y}), (Key{to.x, to.y}));
                }
                // Halves round the same way from either end, so both directions cover the same
                // dots once each end is added.
                std::set<Key> forward(dots.begin(), dots.end());
                forward.insert({to.x, to.y});
                const std::vector<Key> back = lineDots(to, from);
                std::set<Key> backward(back.begin(), back.end());
                backward.insert({from.x, from.y});
                EXPECT_EQ(forward, backward);
                if (HasFailure()) return;
            }
        }
    }
}

TEST(LineTest, RoundsHalvesUpwardsAndLeftwards) {
    struct Case {
        Dot from;
        Dot to;
        std::vector<std::string> picture;
    };
    const Case cases[] = {
        {{0, 0}, {5, 2}, {"##....", "..##..", "....#."}},
        {{0, 0}, {4, 1}, {"###..", "...#."}},
        {{4, 1}, {0, 0}, {".##..", "...##"}},
        {{1, 4}, {0, 0}, {"..", "#.", "#.", ".#", ".#"}},
    };
    for (const Case& c : cases) {
        Raster picture(8, 5);
        drawLine(c.from, c.to, [&](int x, int y) { picture.set(x, y, kBlack); });
        EXPECT_TRUE(test::pictureMatches(picture, c.picture));
    }
}

TEST(EllipseTest, EveryBoxGivesAThinSymmetricOutlineAndItsFill) {
    const int left = 3;
    const int top = 2;
    for (int w = 1; w <= 48; ++w) {
        for (int h = 1; h <= 32; ++h) {
            SCOPED_TRACE(testing::Message() << w << " x " << h);
            const int right = left + w;
            const int bottom = top + h;
            Tally outline;
            drawEllipse(left, top, right, bottom, outline.plotter());
            Tally reversed;
            drawEllipse(right, bottom, left, top, reversed.plotter());
            EXPECT_EQ(reversed.rows, outline.rows);
            EXPECT_EQ(outline.stray, 0);

            int dots = 0;
            Key first;
            Tally expectedFill;
            int sides[4] = {0, 0, 0, 0};
            for (int y = 0; y < 48; ++y) {
                int rowLeft = right;
                int rowRight = left - 1;
                for (int x = 0; x < 64; ++x) {
                    const int count = outline.at(x, y);
                    if (count == 0) continue;
                    first = {x, y};
                    ++dots;
                    rowLeft = std::min(rowLeft, x);
                    rowRight = x;
                    sides[0] += x == left;
                    sides[1] += x == right - 1;
                    sides[2] += y == top;
                    sides[3] += y == bottom - 1;
                    EXPECT_EQ(count, 1) << "dot " << x << "," << y;
                    EXPECT_TRUE(x >= left && x < right && y >= top && y < bottom);
                    EXPECT_GT(outline.at(left + right - 1 - x, y), 0);
                    EXPECT_GT(outline.at(x, top + bottom - 1 - y), 0);
                    EXPECT_TRUE(nearEllipse(x - left, y - top, w, h)) << x << "," << y;
                    if (w >= 3 && h >= 3) {
                        EXPECT_EQ(outline.neighbours(x, y), 2) << x << "," << y;
                    }
                }
                for (int x = rowLeft; x <= rowRight; ++x)
                    expectedFill.rowsAt(x, y) = '1';
            }
            EXPECT_TRUE(eightConnected(outline, first, dots));
            for (const int onSide : sides)
                EXPECT_GT(onSide, 0);
            if (w <= 2 || h <= 2) {
                EXPECT_EQ(dots, w * h) << "a straight run or a block";
            }

            Tally filled;
            fillEllipse(left, top, right, bottom, filled.plotter());
            EXPECT_EQ(filled.rows, expectedFill.rows);
            Tally filledReversed;
            fillEllipse(right, bottom, left, top, filledReversed.plotter());
            EXPECT_EQ(filledReversed.rows, expectedFill.rows);
            if (HasFailure()) return;
        }
    }
}

TEST(EllipseTest, DrawsSmallBoxes) {
    struct Case {
        bool fill;
        std::vector<std::string> picture;
    };
    const Case cases[] = {
        {false, {"##", "##"}},
        {false, {".#.", "#.#", ".#."}},
        {true, {".###.", "#####", "#####", "#####", ".###."}},
        {false, {".####.", "#....#", ".####."}},
        {false, {".######.", "#......#", "#......#", "#......#", "#......#", ".######."}},
    };
    for (const Case& c : cases) {
        const int w = static_cast<int>(c.picture[0].size());
        const int h = static_cast<int>(c.picture.size());
        Raster picture(w, h);
        const PlotFn plot = [&](int x, int y) { picture.set(x, y, kBlack); };
        c.fill ? fillEllipse(0, 0, w, h, plot) : drawEllipse(0, 0, w, h, plot);
        EXPECT_TRUE(test::pictureMatches(picture, c.picture));
    }
}

TEST(FloodFillTest, FillsTheFourConnectedRegion) {
    struct Case {
        const char* name;
        std::vector<std::string> before;
        int x;
        int y;
        std::vector<std::string> after;
    };
    const std::vector<std::string> closed = {".....", ".###.", ".#.#.", ".###.", "....."};
    const std::vector<std::string> full(5, "#####");
    const Case cases[] = {
        {"closed outline fills only the inside",
         closed,
         2,
         2,
         {".....", ".###.", ".###.", ".###.", "....."}},
        {"one-dot diagonal gap holds",
         {"..#..", ".#.#.", "#...#", ".#.#.", "..#.."},
         2,
         2,
         {"..#..", ".###.", "#####", ".###.", "..#.."}},
        {"edge gap leaks", {".....", ".###.", ".#...", ".###.", "....."}, 2, 2, full},
        {"runs turning back up and down are followed",
         {"...#.", ".#.#.", ".#.#.", ".#...", ".####"},
         0,
         4,
         full},
        {"dot already has the fill colour", closed, 1, 1, closed},
        {"left of the picture", closed, -1, 2, closed},
        {"below the picture", closed, 2, 5, closed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Raster picture = test::pictureFromText(c.before);
        floodFill(picture, c.x, c.y, kWhite, kBlack);
        EXPECT_TRUE(test::pictureMatches(picture, c.after));
    }
}

TEST(FloodFillTest, FillsWholePicturesWithoutLoopingOnItsOwnColour) {
    Raster plain(48, 32);
    floodFill(plain, 47, 31, kWhite, kWhite);
    EXPECT_EQ(plain, Raster(48, 32));
    floodFill(plain, 47, 31, kWhite, kBlack);
    EXPECT_EQ(plain, Raster(48, 32, kBlack));

    // Walls on every odd column, open alternately at the bottom and the top: one path of white
    // dots snaking through the whole picture.
    Raster maze(48, 32);
    for (int x = 1; x < 48; x += 2) {
        for (int y = 0; y < 32; ++y) {
            if (y != ((x / 2) % 2 == 0 ? 31 : 0)) maze.set(x, y, kBlack);
        }
    }
    floodFill(maze, 0, 0, kWhite, kBlack);
    EXPECT_EQ(maze, Raster(48, 32, kBlack));
}

} // namespace
} // namespace vemurion
