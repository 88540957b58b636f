#include "import/Conversion.h"

#include "document/FrameSheet.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vemurion {
namespace {

constexpr Rgb grey(int level) {
    return makeRgb(static_cast<std::uint8_t>(level), static_cast<std::uint8_t>(level),
                   static_cast<std::uint8_t>(level));
}

// Which of the nine candidates show dot (x, y) white: "W" or "B" per candidate, 0 first.
std::string candidateColours(const Raster& reduced, int x, int y) {
    std::string colours;
    for (const Raster& candidate : thresholdCandidates(reduced))
        colours += candidate.at(x, y) == kWhite ? 'W' : 'B';
    return colours;
}

TEST(Conversion, GreyLevelsAgainstTheNineThresholds) {
    struct Case {
        Rgb colour;
        int level;
        const char* candidates;
    };
    const Case cases[] = {
        {grey(125), 125, "WWWWBBBBB"},
        {grey(126), 126, "WWWWWBBBB"},
        {grey(26), 26, "WBBBBBBBB"},
        {grey(25), 25, "BBBBBBBBB"},
        {grey(255), 255, "WWWWWWWWW"},
        {grey(226), 226, "WWWWWWWWW"},
        {grey(225), 225, "WWWWWWWWB"},
        {makeRgb(255, 0, 0), 84, "WWWBBBBBB"}, // 84.915 truncated
        {makeRgb(0, 255, 0), 85, "WWWBBBBBB"}, // green weighs 334
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        EXPECT_EQ(greyLevel(c.colour), c.level);
        EXPECT_EQ(candidateColours(Raster(kFrameWidth, kFrameHeight, c.colour), 7, 9),
                  c.candidates);
    }
}

Raster randomColours(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    Raster picture(width, height);
    for (Rgb& dot : picture.dots())
        dot = random() & 0xFFFFFFu;
    return picture;
}

// For sources of exactly 48f x 32f dots the reduction is ShrinkDots by f.
TEST(Conversion, WholeMultiplesOfTheFrameAreShrunkByTheirFactor) {
    for (int factor : {2, 3, 10, 62}) {
        SCOPED_TRACE(factor);
        const Raster source = randomColours(kFrameWidth * factor, kFrameHeight * factor,
                                            static_cast<unsigned>(factor));
        Raster shrunk(kFrameWidth, kFrameHeight);
        ShrinkDots(shrunk, source, kFrameWidth * factor, factor, kFrameHeight * factor);
        EXPECT_EQ(reduceToFrame(source, kWhite), shrunk);
    }
}

// Other sizes are stretched whole onto the frame, their aspect ratio not kept.
TEST(Conversion, OtherLargePicturesAreStretchedOntoTheWholeFrame) {
    // 100 x 40: black left of x = 25 and below y = 30 go to the left 12 columns and the bottom
    // 8 rows.
    Raster source(100, 40, kWhite);
    source.fillRect(0, 0, 24, 39, kBlack);
    source.fillRect(0, 30, 99, 39, kBlack);
    Raster reduced = reduceToFrame(source, kWhite);
    for (int y : {0, 23}) {
        EXPECT_EQ(reduced.at(11, y), kBlack);
        EXPECT_EQ(reduced.at(12, y), kWhite);
        EXPECT_EQ(reduced.at(47, y), kWhite);
    }
    EXPECT_EQ(reduced.at(47, 24), kBlack);

    // Column 11 covers source columns 22.92 .. 25: a black column 24 darkens 48 of its 100 parts.
    source.fill(kWhite);
    source.fillRect(24, 0, 24, 39, kBlack);
    reduced = reduceToFrame(source, kWhite);
    EXPECT_EQ(reduced.at(11, 5), grey(255 * 52 / 100));
    EXPECT_EQ(reduced.at(10, 5), kWhite);
    EXPECT_EQ(reduced.at(12, 5), kWhite);

    // A photograph's size: factor 62; the left half goes to the left 24 columns.
    Raster photo(3000, 2000, kWhite);
    photo.fillRect(0, 0, 1499, 1999, makeRgb(200, 0, 0));
    reduced = reduceToFrame(photo, kWhite);
    EXPECT_EQ(reduced.at(23, 31), makeRgb(200, 0, 0));
    EXPECT_EQ(reduced.at(24, 0), kWhite);
}

TEST(Conversion, PicturesThatFitAreCentredUnscaledOnTheBackground) {
    Raster source(20, 10, makeRgb(250, 10, 10));
    source.set(0, 0, grey(200));
    source.set(19, 9, grey(100));
    for (Rgb background : {kWhite, kBlack}) {
        SCOPED_TRACE(background);
        const Raster reduced = reduceToFrame(source, background);
        EXPECT_EQ(reduced.at(14, 11), grey(200));
        EXPECT_EQ(reduced.at(33, 20), grey(100));
        EXPECT_EQ(reduced.at(13, 11), background);
        EXPECT_EQ(reduced.at(34, 20), background);
        EXPECT_EQ(candidateColours(reduced, 14, 11), "WWWWWWWBB");
        EXPECT_EQ(candidateColours(reduced, 0, 0),
                  background == kWhite ? "WWWWWWWWW" : "BBBBBBBBB");
    }
}

} // namespace
} // namespace vemurion
