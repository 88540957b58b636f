#include "LcdSeeds.h"

#include "files/LcdFile.h"

namespace vemurion::fuzz {

namespace {

Bytes documentBytes(int frames, int loops, int firstTime) {
    AnimationDocument doc;
    doc.FrameCount = frames;
    doc.LoopCount = loops;
    for (int i = 0; i < frames; ++i) {
        doc.DisplayTimes[static_cast<std::size_t>(i)] = (firstTime + i * 37) % 255 + 1;
        doc.sheet.setCell(i, numberedPicture(i));
    }
    return encodeLcd(doc, kVersionText);
}

} // namespace

void writeLcdSeeds() {
    writeSeed("fresh.lcd", documentBytes(1, 255, 0));
    writeSeed("three.lcd", documentBytes(3, 200, 3));
    writeSeed("full.lcd", documentBytes(255, 7, 1));

    Bytes odd = documentBytes(2, 1, 0);
    odd[13] = 0;                    // loop count byte 0: without end
    odd[kLcdHeaderSize + 1] = 0;    // display time byte 0
    odd[kLcdHeaderSize + 8] = 0x7F; // a dot byte neither 0 nor 8
    odd.insert(odd.end(), {0xFF, 0x00, 0x4C});
    writeSeed("odd.lcd", odd);

    Bytes truncated = documentBytes(2, 3, 5);
    truncated.resize(truncated.size() - 1000);
    writeSeed("truncated.lcd", truncated);

    Bytes empty = documentBytes(1, 3, 5);
    empty[14] = 0;
    writeSeed("noframes.lcd", empty);
}

} // namespace vemurion::fuzz
