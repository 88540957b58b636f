#include "import/Conversion.h"

#include "import/PictureClassify.h"

namespace vemurion {

int greyLevel(Rgb colour) {
    return (333 * blueOf(colour) + 334 * greenOf(colour) + 333 * redOf(colour)) / 1000;
}

int candidateThreshold(int candidate) {
    return 26 + 25 * candidate;
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

Raster frameToAdd(const ImportedPicture& picture, int candidate, Rgb background) {
    if (picture.fit == PictureFit::Plain) return centredOnFrame(picture.picture, background);
    return thresholdCandidates(frameForConversion(picture, background))[std::size_t(candidate)];
}

} // namespace vemurion
