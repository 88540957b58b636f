#include "import/Conversion.h"

#include "document/FrameSheet.h"
#include "import/PictureClassify.h"

namespace vemurion {

namespace {

// The part of the frame the picture covers, before it is turned black and white.
const Raster& fittedPicture(const ImportedPicture& picture, AspectFit fit) {
    // Pictures made before the road kept the other aspects have only the stretched one.
    if (picture.fit == PictureFit::TooLarge) {
        if (fit == AspectFit::Contain && picture.contained.width() > 0) return picture.contained;
        if (fit == AspectFit::Cover && picture.covered.width() > 0) return picture.covered;
    }
    return picture.picture;
}

Raster rendering(const Raster& fitted, DitherMethod method, int candidate) {
    GreyPicture grey{fitted.width(), fitted.height(), {}};
    grey.levels.reserve(fitted.dots().size());
    for (const Rgb dot : fitted.dots())
        grey.levels.push_back(greyLevel(dot));
    if (method == DitherMethod::Threshold) {
        Raster out(fitted.width(), fitted.height());
        const int threshold = candidateThreshold(candidate);
        for (std::size_t i = 0; i < grey.levels.size(); ++i)
            out.dots()[i] = grey.levels[i] >= threshold ? kWhite : kBlack;
        return out;
    }
    return ditherGrey(grey, method, candidate, (kFrameWidth - fitted.width()) / 2,
                      (kFrameHeight - fitted.height()) / 2);
}

} // namespace

const char* ditherCaption(DitherMethod method) {
    switch (method) {
    case DitherMethod::Threshold:
        return "しきい値";
    case DitherMethod::Ordered:
        return "ディザ (規則的)";
    case DitherMethod::FloydSteinberg:
        return "誤差拡散 (Floyd–Steinberg)";
    case DitherMethod::Atkinson:
        return "誤差拡散 (Atkinson)";
    }
    return "";
}

const char* fitCaption(AspectFit fit) {
    switch (fit) {
    case AspectFit::Stretch:
        return "引き伸ばす";
    case AspectFit::Contain:
        return "全体を収める";
    case AspectFit::Cover:
        return "切り取って埋める";
    }
    return "";
}

int greyLevel(Rgb colour) {
    return (333 * blueOf(colour) + 334 * greenOf(colour) + 333 * redOf(colour)) / 1000;
}

int candidateThreshold(int candidate) {
    return 26 + 25 * candidate;
}

std::array<Raster, kCandidateCount> thresholdCandidates(const Raster& reduced) {
    std::array<Raster, kCandidateCount> candidates;
    for (int i = 0; i < kCandidateCount; ++i)
        candidates[std::size_t(i)] = rendering(reduced, DitherMethod::Threshold, i);
    return candidates;
}

std::array<Raster, kCandidateCount> conversionCandidates(const ImportedPicture& picture,
                                                         ConversionChoice choice, Rgb background) {
    std::array<Raster, kCandidateCount> candidates;
    for (int i = 0; i < kCandidateCount; ++i)
        candidates[std::size_t(i)] = frameToAdd(picture, i, background, choice);
    return candidates;
}

Raster frameToAdd(const ImportedPicture& picture, int candidate, Rgb background,
                  ConversionChoice choice) {
    if (picture.fit == PictureFit::Plain) return centredOnFrame(picture.picture, background);
    return centredOnFrame(rendering(fittedPicture(picture, choice.fit), choice.method, candidate),
                          background);
}

} // namespace vemurion
