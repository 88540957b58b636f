// Add to list of an LCD file into a list that is nearly or wholly full (250 to 255 frames,
// chosen by the input's length, as is the current frame): the list's own frames all stay in
// their order, the file's frames fill what room there is, and those left out are counted.

#include "FuzzSupport.h"
#include "LcdSeeds.h"

#include "files/DocumentFile.h"
#include "import/AddToList.h"

#include <algorithm>
#include <variant>

using namespace vemurion;
using namespace vemurion::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    writeLcdSeeds();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Every other input goes in as an internal-LCD text file, which must pass the signature test.
    const bool text = size % 2 == 1;
    const std::string path = scratchFolder() + (text ? "/add.txt" : "/add.lcd");
    writeFile(path, std::span(data, size));

    FuzzEditor f;
    Editor& e = f.e;
    const int before = kMaxFrames - static_cast<int>(size % 6);
    e.doc.FrameCount = before;
    for (int i = 0; i < before; ++i) {
        e.doc.sheet.setCell(i, numberedPicture(i));
        e.doc.DisplayTimes[static_cast<std::size_t>(i)] = i % 255 + 1;
    }
    const int at = static_cast<int>(size % static_cast<std::size_t>(before + 1));
    e.doc.CurrentFrame = at;
    e.doc.LoopCount = 9;
    e.doc.Modified = false;

    const auto file = readLcdContent(path);
    f.prompts.openAnswer = path;
    A1Click(e);

    FUZZ_CHECK(e.doc.LoopCount == 9);
    const int added = e.doc.FrameCount - before;
    FUZZ_CHECK(added >= 0 && e.doc.FrameCount <= kMaxFrames);
    const bool signatureOk = !text || (size >= 9 && IsInternalLcdText(std::span(data, 9)));
    if (!signatureOk || !std::holds_alternative<LcdContent>(file)) {
        FUZZ_CHECK(added == 0);
        FUZZ_CHECK(f.prompts.warnings.size() == 1);
        FUZZ_CHECK(!e.doc.Modified);
    } else {
        const LcdContent& content = std::get<LcdContent>(file);
        FUZZ_CHECK(added == std::min(content.frameCount, kMaxFrames - before));
        FUZZ_CHECK(f.prompts.warnings.size() == (added < content.frameCount ? 1u : 0u));
        FUZZ_CHECK(e.doc.Modified == (added > 0));
        for (int k = 0; k < added; ++k) {
            const auto from = static_cast<std::size_t>(k);
            FUZZ_CHECK(e.doc.sheet.cell(at + k) == content.frames[from]);
            FUZZ_CHECK(e.doc.DisplayTimes[static_cast<std::size_t>(at + k)] ==
                       std::max<int>(content.timeBytes[from], 1));
        }
    }
    for (int i = 0; i < before; ++i) {
        const int now = i < at ? i : i + added;
        FUZZ_CHECK(e.doc.sheet.cell(now) == numberedPicture(i));
        FUZZ_CHECK(e.doc.DisplayTimes[static_cast<std::size_t>(now)] == i % 255 + 1);
    }
    return 0;
}
