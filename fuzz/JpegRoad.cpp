// A JPEG file on its way to the frame list: decoded, classified, and when it is no plain
// black-and-white frame, reduced to 48 x 32 and rendered as the nine candidates of the
// conversion dialog. Each candidate is black and white, and a darker one is black wherever a
// lighter one is.

#include "FuzzSupport.h"

#include "import/Conversion.h"
#include "import/JpegDecoder.h"
#include "import/PictureClassify.h"

using namespace vemurion;
using namespace vemurion::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const PictureReadResult read = decodeJpeg(std::span(data, size));
    if (!read.picture) {
        FUZZ_CHECK(read.error.rfind("JPEG エラー #", 0) == 0);
        return 0;
    }
    const Raster& picture = *read.picture;
    FUZZ_CHECK(picture.width() > 0 && picture.height() > 0);
    const PictureFit fit = classifyPicture(picture);
    if (fit == PictureFit::Plain) {
        FUZZ_CHECK(blackAndWhite(centredOnFrame(picture, kWhite)));
        return 0;
    }
    FUZZ_CHECK((fit == PictureFit::TooLarge) ==
               (picture.width() > kFrameWidth || picture.height() > kFrameHeight));
    const Raster reduced = reduceToFrame(picture, kWhite);
    FUZZ_CHECK(reduced.width() == kFrameWidth && reduced.height() == kFrameHeight);
    const auto candidates = thresholdCandidates(reduced);
    for (int i = 0; i < kCandidateCount; ++i) {
        const Raster& candidate = candidates[static_cast<std::size_t>(i)];
        FUZZ_CHECK(candidate.width() == kFrameWidth && candidate.height() == kFrameHeight);
        FUZZ_CHECK(blackAndWhite(candidate));
        if (i == 0) continue;
        const Raster& lighter = candidates[static_cast<std::size_t>(i - 1)];
        for (int y = 0; y < kFrameHeight; ++y) {
            for (int x = 0; x < kFrameWidth; ++x)
                FUZZ_CHECK(lighter.at(x, y) == kWhite || candidate.at(x, y) == kBlack);
        }
    }
    return 0;
}
