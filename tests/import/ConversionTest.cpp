#include "import/Conversion.h"

#include "document/FrameSheet.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Entry (x, y) of the 8 x 8 Bayer matrix, built up from the 2 x 2 one: M2n = [4 Mn + D].
int bayer(int n, int x, int y) {
    static const int d[2][2] = {{0, 2}, {3, 1}};
    if (n == 1) return 0;
    const int half = n / 2;
    return 4 * bayer(half, x % half, y % half) + d[y / half][x / half];
}

// The rendering of `fitted` written out plainly for each method; error diffusion runs the even
// rows left to right and the odd ones back.
Raster slowRender(const Raster& fitted, DitherMethod method, int candidate, int left, int top) {
    const int w = fitted.width();
    const int h = fitted.height();
    std::vector<int> errors(std::size_t(w * h)); // what each dot got from its neighbours
    const auto v = [&](int x, int y) -> int& { return errors[std::size_t(y * w + x)]; };
    Raster out(w, h);
    for (int y = 0; y < h; ++y) {
        const int d = y % 2 == 0 ? 1 : -1;
        for (int i = 0; i < w; ++i) {
            const int x = d > 0 ? i : w - 1 - i;
            const int g = greyLevel(fitted.at(x, y));
            const int value =
                (method == DitherMethod::Threshold ? g : candidateTone(candidate, g)) + v(x, y);
            bool white = value >= 128;
            if (method == DitherMethod::Threshold) white = value >= 26 + 25 * candidate;
            if (method == DitherMethod::Ordered)
                white = 128 * value >= (2 * bayer(8, (x + left) % 8, (y + top) % 8) + 1) * 255;
            out.set(x, y, white ? kWhite : kBlack);
            const int e = value - (white ? 255 : 0);
            const auto give = [&](int dx, int dy, int amount) {
                if (x + dx >= 0 && x + dx < w && y + dy < h) v(x + dx, y + dy) += amount;
            };
            if (method == DitherMethod::FloydSteinberg) {
                give(d, 0, e - e * 3 / 16 - e * 5 / 16 - e / 16);
                give(-d, 1, e * 3 / 16);
                give(0, 1, e * 5 / 16);
                give(d, 1, e / 16);
            }
            if (method == DitherMethod::Atkinson) {
                for (const auto& [dx, dy] :
                     {std::pair{1, 0}, {2, 0}, {-1, 1}, {0, 1}, {1, 1}, {0, 2}})
                    give(dx * d, dy, e / 8);
            }
        }
    }
    return out;
}

double meanGrey(const Raster& picture) {
    double sum = 0;
    for (const Rgb dot : picture.dots())
        sum += greyLevel(dot);
    return sum / double(picture.dots().size());
}

// Every method's candidates run from light to dark; the patterned ones' middle candidate keeps
// the picture's mean grey level as closely as the method can (Atkinson drops a quarter of each
// error, and keeps it only in the middle tones these pictures have).
TEST(Conversion, EveryMethodAndAspectAgainstAPlainRendering) {
    const double meanError[] = {255, 2, 1, 3};
    for (const auto& [w, h] : {std::pair{100, 40}, {40, 100}, {96, 64}, {300, 20}, {20, 10}}) {
        Raster source(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                source.set(x, y,
                           makeRgb(std::uint8_t(x * 255 / w), std::uint8_t(y * 255 / h),
                                   std::uint8_t(x * y * 7)));
        }
        const ImportedPicture imported = test::importRaster(source);
        for (const Rgb background : {kWhite, kBlack}) {
            for (int fit = 0; fit < kAspectFitCount; ++fit) {
                const Raster fitted = imported.fit == PictureFit::TooLarge
                                          ? test::slowFit(source, AspectFit(fit))
                                          : source;
                const int left = (kFrameWidth - fitted.width()) / 2;
                const int top = (kFrameHeight - fitted.height()) / 2;
                for (int method = 0; method < kDitherMethodCount; ++method) {
                    SCOPED_TRACE(testing::Message()
                                 << w << " x " << h << " fit " << fit << " method " << method);
                    const auto candidates = conversionCandidates(
                        imported, {DitherMethod(method), AspectFit(fit)}, background);
                    for (int i = 0; i < kCandidateCount; ++i) {
                        Raster expected(kFrameWidth, kFrameHeight, background);
                        expected.paste(slowRender(fitted, DitherMethod(method), i, left, top), left,
                                       top);
                        EXPECT_TRUE(candidates[std::size_t(i)] == expected) << "candidate " << i;
                    }
                    for (int i = 1; i < kCandidateCount; ++i)
                        EXPECT_LE(meanGrey(candidates[std::size_t(i)]),
                                  meanGrey(candidates[std::size_t(i - 1)]));
                    EXPECT_LT(meanGrey(candidates[8]), meanGrey(candidates[0]));
                    if (fitted.width() == kFrameWidth && fitted.height() == kFrameHeight) {
                        EXPECT_NEAR(meanGrey(candidates[4]), meanGrey(fitted),
                                    meanError[std::size_t(method)]);
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace vemurion
