// The "VEMURION_TYPE" block as the clipboard hands it over, of any length, pasted as a frame:
// only a block of exactly 4609 bytes becomes a frame, black where its blue bytes are 0, with
// its display time byte (0 read as 1); copying that frame gives a block that pastes the same.

#include "FuzzSupport.h"

#include "framelist/FrameClipboard.h"
#include "framelist/FrameOps.h"

#include <algorithm>

using namespace vemurion;
using namespace vemurion::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Raster picture(kFrameWidth, kFrameHeight, kWhite);
    writeSeed("white.bin", encodeFrameBlock(1, picture));
    for (int i = 0; i < kFrameWidth; ++i)
        picture.set(i, i % kFrameHeight, kBlack);
    writeSeed("line.bin", encodeFrameBlock(255, picture));
    Bytes grey = encodeFrameBlock(0, picture);
    std::fill(grey.begin() + 1, grey.begin() + 200, 0x80);
    writeSeed("grey.bin", grey);
    grey.pop_back();
    writeSeed("short.bin", grey);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzEditor f;
    Editor& e = f.e;
    e.doc.sheet.setCell(0, numberedPicture(1));
    e.doc.DisplayTimes[0] = 5;
    f.clipboard.setFrameBlock(Bytes(data, data + size));
    PasteFrame(e);

    if (size != kFrameBlockSize) {
        FUZZ_CHECK(e.doc.FrameCount == 1);
        FUZZ_CHECK(f.prompts.warnings.empty());
        return 0;
    }
    FUZZ_CHECK(e.doc.FrameCount == 2);
    FUZZ_CHECK(e.doc.CurrentFrame == 0);
    FUZZ_CHECK(e.doc.DisplayTimes[0] == std::max<int>(data[0], 1));
    FUZZ_CHECK(e.doc.sheet.cell(1) == numberedPicture(1));
    FUZZ_CHECK(e.doc.DisplayTimes[1] == 5);
    const Raster& pasted = e.doc.sheet.cell(0);
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const std::uint8_t blue = data[1 + static_cast<std::size_t>((y * kFrameWidth + x) * 3)];
            FUZZ_CHECK(pasted.at(x, y) == (blue == 0 ? kBlack : kWhite));
        }
    }

    CopyFrameToClipboard(e, 0);
    FUZZ_CHECK(f.clipboard.hasFrameBlock());
    const auto copied = decodeFrameBlock(*f.clipboard.frameBlock());
    FUZZ_CHECK(copied.has_value());
    FUZZ_CHECK(copied->displayTime == e.doc.DisplayTimes[0]);
    FUZZ_CHECK(copied->picture == pasted);
    return 0;
}
