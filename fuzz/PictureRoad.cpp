// A picture file on its way to the frame list through the import road, read from a file of the
// kind VEMURION_FUZZ_PICTURE_NAME names: classified, and when it is no plain black-and-white
// frame, made the 48 x 32 picture the conversion dialog thresholds into its nine candidates.
// Each candidate is black and white, and a darker one is black wherever a lighter one is.

#include "FuzzSupport.h"

#include "import/Conversion.h"
#include "import/PictureFile.h"

using namespace vemurion;
using namespace vemurion::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = scratchFolder() + "/" VEMURION_FUZZ_PICTURE_NAME;
    writeFile(path, std::span(data, size));
    const ImportResult read = importPictureFile(path);
    if (!read.picture) {
        FUZZ_CHECK(!read.error.empty());
        return 0;
    }
    FUZZ_CHECK(read.error.empty());
    const ImportedPicture& imported = *read.picture;
    const Raster& picture = imported.picture;
    if (imported.fit == PictureFit::TooLarge) {
        FUZZ_CHECK(picture.width() == kFrameWidth && picture.height() == kFrameHeight);
    } else {
        FUZZ_CHECK(picture.width() >= 1 && picture.width() <= kFrameWidth);
        FUZZ_CHECK(picture.height() >= 1 && picture.height() <= kFrameHeight);
        FUZZ_CHECK((imported.fit == PictureFit::Plain) == blackAndWhite(picture));
    }
    if (imported.fit == PictureFit::Plain) return 0;

    const auto candidates = thresholdCandidates(frameForConversion(imported, kWhite));
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
