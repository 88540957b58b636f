#include "import/Conversion.h"

#include "document/FrameSheet.h"

#include <gtest/gtest.h>

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

// What Add to list inserts, and the command-line tool prints.
TEST(Conversion, FrameToAddIsThePlainPictureCentredOrTheChosenCandidate) {
    ImportedPicture plain{PictureFit::Plain, Raster(2, 2, kBlack)};
    Raster frame = frameToAdd(plain, 8, kWhite);
    EXPECT_EQ(frame.at(23, 15), kBlack);
    EXPECT_EQ(frame.at(24, 16), kBlack);
    EXPECT_EQ(frame.at(22, 15), kWhite);
    ImportedPicture colours{PictureFit::Colours, Raster(2, 2, grey(130))};
    for (Rgb background : {kWhite, kBlack}) {
        frame = frameToAdd(colours, 4, background);
        EXPECT_EQ(frame.at(23, 15), kWhite);
        EXPECT_EQ(frame.at(0, 0), background);
        EXPECT_EQ(frameToAdd(colours, 5, background).at(23, 15), kBlack);
    }
    ImportedPicture reduced{PictureFit::TooLarge, Raster(kFrameWidth, kFrameHeight, grey(60))};
    EXPECT_EQ(frameToAdd(reduced, 1, kBlack).at(0, 0), kWhite);
    EXPECT_EQ(frameToAdd(reduced, 2, kBlack).at(0, 0), kBlack);
}

} // namespace
} // namespace vemurion
