#include "import/Conversion.h"

#include "document/FrameSheet.h"
#include "import/PictureClassify.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vemurion {

namespace {

// The source dots one target dot covers along one axis, with their weights. Positions are
// measured in 1/target of a source dot, so target dot t covers [t * source, (t + 1) * source)
// and source dot s covers [s * target, (s + 1) * target); a weight is the length of their
// overlap, and the weights of one target dot add up to `source`.
struct Span {
    int first = 0;
    std::vector<std::int64_t> weights;
};

std::vector<Span> coverage(int source, int target) {
    std::vector<Span> spans(static_cast<std::size_t>(target));
    for (int t = 0; t < target; ++t) {
        const std::int64_t begin = std::int64_t{t} * source;
        const std::int64_t end = begin + source;
        Span& span = spans[static_cast<std::size_t>(t)];
        span.first = static_cast<int>(begin / target);
        for (std::int64_t s = span.first; s * target < end; ++s) {
            const std::int64_t overlap =
                std::min(end, (s + 1) * target) - std::max(begin, s * target);
            span.weights.push_back(overlap);
        }
    }
    return spans;
}

Raster stretchToFrame(const Raster& source) {
    const int w = source.width();
    const int h = source.height();
    const auto columns = coverage(w, kFrameWidth);
    const auto rows = coverage(h, kFrameHeight);
    // Every target dot's weights add up to w x h: with channel values up to 255 the sums stay
    // far inside 64 bits for any picture that fits in memory.
    const std::int64_t total = std::int64_t{w} * h;
    Raster reduced(kFrameWidth, kFrameHeight);
    for (int r = 0; r < kFrameHeight; ++r) {
        const Span& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < kFrameWidth; ++c) {
            const Span& column = columns[static_cast<std::size_t>(c)];
            std::int64_t sum[3] = {0, 0, 0};
            for (std::size_t j = 0; j < row.weights.size(); ++j) {
                const int y = row.first + static_cast<int>(j);
                for (std::size_t i = 0; i < column.weights.size(); ++i) {
                    const Rgb dot = source.at(column.first + static_cast<int>(i), y);
                    const std::int64_t weight = row.weights[j] * column.weights[i];
                    sum[0] += weight * redOf(dot);
                    sum[1] += weight * greenOf(dot);
                    sum[2] += weight * blueOf(dot);
                }
            }
            reduced.set(c, r,
                        makeRgb(static_cast<std::uint8_t>(sum[0] / total),
                                static_cast<std::uint8_t>(sum[1] / total),
                                static_cast<std::uint8_t>(sum[2] / total)));
        }
    }
    return reduced;
}

} // namespace

int greyLevel(Rgb colour) {
    return (333 * blueOf(colour) + 334 * greenOf(colour) + 333 * redOf(colour)) / 1000;
}

int candidateThreshold(int candidate) {
    return 26 + 25 * candidate;
}

Raster reduceToFrame(const Raster& source, Rgb background) {
    if (source.width() == 0 || source.height() == 0) {
        return Raster(kFrameWidth, kFrameHeight, background);
    }
    if (classifyPicture(source) == PictureFit::TooLarge) return stretchToFrame(source);
    return centredOnFrame(source, background);
}

std::array<Raster, kCandidateCount> thresholdCandidates(const Raster& reduced) {
    std::array<Raster, kCandidateCount> candidates;
    for (int i = 0; i < kCandidateCount; ++i) {
        Raster& candidate = candidates[static_cast<std::size_t>(i)];
        candidate = Raster(reduced.width(), reduced.height());
        const int threshold = candidateThreshold(i);
        for (int y = 0; y < reduced.height(); ++y) {
            for (int x = 0; x < reduced.width(); ++x)
                candidate.set(x, y, greyLevel(reduced.at(x, y)) >= threshold ? kWhite : kBlack);
        }
    }
    return candidates;
}

} // namespace vemurion
