// A picture file on its way to the frame list through the import road, read by the reader that
// the file name VEMURION_FUZZ_PICTURE_NAME chooses (BMP, JPEG, PNG, or GIF with each of its
// frames): classified, and when it is no plain black-and-white frame, made the 48 x 32 picture
// the conversion dialog thresholds into its nine candidates. Each candidate is black and white,
// and a darker one is black wherever a lighter one is.

#include "FuzzSupport.h"

#include "import/Conversion.h"
#include "import/GifReader.h"
#include "import/PictureFile.h"
#include "import/PngReader.h"
#include "publish/GifAnimation.h"

#include <png.h>

#include <string_view>
#include <vector>

using namespace vemurion;
using namespace vemurion::fuzz;

namespace {

// Small pictures of every PNG colour type, as libpng writes them.
void writePngSeeds() {
    struct Kind {
        const char* name;
        png_uint_32 format;
        int width;
        int height;
    };
    const Kind kinds[] = {{"grey.png", PNG_FORMAT_GRAY, 5, 3},
                          {"colour.png", PNG_FORMAT_RGB, 48, 32},
                          {"translucent.png", PNG_FORMAT_RGBA, 70, 9},
                          {"palette.png", PNG_FORMAT_RGB_COLORMAP, 3, 40}};
    for (const Kind& kind : kinds) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(kind.width);
        image.height = static_cast<png_uint_32>(kind.height);
        image.format = kind.format;
        image.colormap_entries = 256;
        Bytes dots(PNG_IMAGE_SIZE(image));
        for (std::size_t i = 0; i < dots.size(); ++i)
            dots[i] = static_cast<std::uint8_t>(i * 37);
        Bytes colourMap(PNG_IMAGE_COLORMAP_SIZE(image), 0x80);
        png_alloc_size_t size = 0;
        const bool mapped = (kind.format & PNG_FORMAT_FLAG_COLORMAP) != 0;
        const void* map = mapped ? colourMap.data() : nullptr;
        if (png_image_write_to_memory(&image, nullptr, &size, 0, dots.data(), 0, map) == 0)
            continue;
        Bytes file(size);
        if (png_image_write_to_memory(&image, file.data(), &size, 0, dots.data(), 0, map) != 0)
            writeSeed(kind.name, std::span(file).first(size));
    }
}

// Animations as the GIF export writes them.
void writeGifSeeds() {
    AnimationDocument doc;
    doc.FrameCount = 3;
    doc.LoopCount = 2;
    for (int i = 0; i < doc.FrameCount; ++i) {
        doc.sheet.setCell(i, numberedPicture(i * 85));
        doc.DisplayTimes[static_cast<std::size_t>(i)] = 1 + i * 100;
    }
    for (const int scale : {1, 2}) {
        if (const auto gif = encodeGifAnimation(doc, scale))
            writeSeed("scale" + std::to_string(scale) + ".gif", *gif);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string_view name = VEMURION_FUZZ_PICTURE_NAME;
    if (name.ends_with(".png")) writePngSeeds();
    if (name.ends_with(".gif")) writeGifSeeds();
    return 0;
}

namespace {

struct Read {
    std::vector<ImportedPicture> pictures;
    std::string error;
};

Read importFile(const std::string& path) {
    const std::string_view name = VEMURION_FUZZ_PICTURE_NAME;
    Read read;
    if (name.ends_with(".gif")) {
        GifImport gif = importGifFile(path, kWhite, kMaxFrames);
        FUZZ_CHECK(gif.frames.size() <= static_cast<std::size_t>(kMaxFrames));
        FUZZ_CHECK(gif.frames.size() <= static_cast<std::size_t>(gif.frameCount));
        for (const GifFrame& frame : gif.frames) {
            FUZZ_CHECK(frame.ticks >= 1 && frame.ticks <= 255);
            read.pictures.push_back(frame.picture);
        }
        read.error = gif.error;
        return read;
    }
    ImportResult result =
        name.ends_with(".png") ? importPngFile(path, kWhite) : importPictureFile(path);
    if (result.picture) read.pictures.push_back(std::move(*result.picture));
    read.error = result.error;
    return read;
}

void checkPicture(const ImportedPicture& imported) {
    const Raster& picture = imported.picture;
    if (imported.fit == PictureFit::TooLarge) {
        FUZZ_CHECK(picture.width() == kFrameWidth && picture.height() == kFrameHeight);
        // The whole picture fills the frame along one side at least.
        const Raster& contained = imported.contained;
        FUZZ_CHECK(contained.width() == kFrameWidth || contained.height() == kFrameHeight);
        FUZZ_CHECK(contained.width() >= 1 && contained.width() <= kFrameWidth);
        FUZZ_CHECK(contained.height() >= 1 && contained.height() <= kFrameHeight);
        FUZZ_CHECK(imported.covered.width() == kFrameWidth &&
                   imported.covered.height() == kFrameHeight);
    } else {
        FUZZ_CHECK(picture.width() >= 1 && picture.width() <= kFrameWidth);
        FUZZ_CHECK(picture.height() >= 1 && picture.height() <= kFrameHeight);
        FUZZ_CHECK((imported.fit == PictureFit::Plain) == blackAndWhite(picture));
    }
    if (imported.fit == PictureFit::Plain) return;

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
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = scratchFolder() + "/" VEMURION_FUZZ_PICTURE_NAME;
    writeFile(path, std::span(data, size));
    const Read read = importFile(path);
    // Either pictures or the message why there are none.
    FUZZ_CHECK(read.pictures.empty() != read.error.empty());
    for (const ImportedPicture& picture : read.pictures)
        checkPicture(picture);
    return 0;
}
