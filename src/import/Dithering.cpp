#include "import/Dithering.h"

#include "import/Conversion.h"

#include <array>
#include <cmath>

namespace vemurion {

namespace {

using ToneTable = std::array<std::array<int, 256>, kCandidateCount>;

ToneTable makeToneTables() {
    ToneTable tables{};
    for (int candidate = 0; candidate < kCandidateCount; ++candidate) {
        const double middle = (127.5 + 25.0 * (candidate - kFirstChosenCandidate)) / 255.0;
        const double exponent = std::log(0.5) / std::log(middle);
        for (int level = 0; level < 256; ++level) {
            tables[std::size_t(candidate)][std::size_t(level)] =
                static_cast<int>(std::lround(255.0 * std::pow(level / 255.0, exponent)));
        }
    }
    return tables;
}

// Levels 0 .. 63: a level v turns a dot white when the grey level g has 128 g >= (2 v + 1) 255,
// so that a flat area of grey g is white in g / 255 of its dots, within half of 1 / 64.
constexpr int kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
};

// Where a dot's error goes: `dx` along the row in the direction of travel, `dy` rows down.
struct Share {
    int dx;
    int dy;
    int parts;
};
struct Diffusion {
    std::vector<Share> shares;
    int whole;          // the error is divided in this many parts
    bool keepRemainder; // the first share also takes what whole-number division leaves
};

const Diffusion& diffusion(DitherMethod method) {
    static const Diffusion floydSteinberg{{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}, 16, true};
    // Atkinson's two lost eighths keep highlights and shadows clean, at the cost of the mean.
    static const Diffusion atkinson{
        {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}}, 8, false};
    return method == DitherMethod::Atkinson ? atkinson : floydSteinberg;
}

// Rows alternate in direction (serpentine), so that errors do not all drift one way.
Raster diffuse(const GreyPicture& grey, const std::array<int, 256>& tone, DitherMethod method) {
    const Diffusion& kernel = diffusion(method);
    const int w = grey.width;
    const int h = grey.height;
    std::vector<int> value(grey.levels.size());
    for (std::size_t i = 0; i < value.size(); ++i)
        value[i] = tone[std::size_t(grey.levels[i])];
    Raster out(w, h);
    for (int y = 0; y < h; ++y) {
        const int step = y % 2 == 0 ? 1 : -1;
        for (int i = 0; i < w; ++i) {
            const int x = step > 0 ? i : w - 1 - i;
            const int v = value[std::size_t(y) * std::size_t(w) + std::size_t(x)];
            const bool white = v >= 128;
            out.set(x, y, white ? kWhite : kBlack);
            const int error = v - (white ? 255 : 0);
            int given = 0;
            for (const Share& share : kernel.shares)
                given += error * share.parts / kernel.whole;
            bool first = true;
            for (const Share& share : kernel.shares) {
                int part = error * share.parts / kernel.whole;
                if (first && kernel.keepRemainder) part += error - given;
                first = false;
                const int nx = x + share.dx * step;
                const int ny = y + share.dy;
                if (nx >= 0 && nx < w && ny < h)
                    value[std::size_t(ny) * std::size_t(w) + std::size_t(nx)] += part;
            }
        }
    }
    return out;
}

} // namespace

int candidateTone(int candidate, int level) {
    static const ToneTable tables = makeToneTables();
    return tables[std::size_t(candidate)][std::size_t(level)];
}

Raster ditherGrey(const GreyPicture& grey, DitherMethod method, int candidate, int originX,
                  int originY) {
    std::array<int, 256> tone{};
    for (int level = 0; level < 256; ++level)
        tone[std::size_t(level)] = candidateTone(candidate, level);
    if (method != DitherMethod::Ordered) return diffuse(grey, tone, method);
    Raster out(grey.width, grey.height);
    for (int y = 0; y < grey.height; ++y) {
        for (int x = 0; x < grey.width; ++x) {
            const int v = kBayer[(y + originY) & 7][(x + originX) & 7];
            out.set(x, y,
                    128 * tone[std::size_t(grey.at(x, y))] >= (2 * v + 1) * 255 ? kWhite : kBlack);
        }
    }
    return out;
}

} // namespace vemurion
