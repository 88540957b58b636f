// Open as the user does it: the file is read and checked, loaded with LoadDocument, saved
// again, and the saved file read back. A file that loads must come back exactly as it was
// loaded; one that is refused must leave the document as it was.

#include "FuzzSupport.h"
#include "LcdSeeds.h"

#include "files/DocumentCommands.h"
#include "files/DocumentFile.h"
#include "files/LcdFile.h"

#include <variant>

using namespace vemurion;
using namespace vemurion::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    writeLcdSeeds();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = scratchFolder() + "/open.lcd";
    writeFile(path, std::span(data, size));

    FuzzEditor f;
    Editor& e = f.e;
    const std::string untitled = e.doc.DocumentFileName;
    OpenFilePath(e, path);
    FUZZ_CHECK(!e.doc.Modified);

    if (e.doc.DocumentFileName != path) {
        // Refused: told once, and the new document is untouched.
        FUZZ_CHECK(f.prompts.warnings.size() == 1);
        FUZZ_CHECK(e.doc.DocumentFileName == untitled);
        FUZZ_CHECK(e.doc.FrameCount == 1);
        return 0;
    }
    FUZZ_CHECK(f.prompts.warnings.empty());
    FUZZ_CHECK(e.doc.FrameCount >= 1 && e.doc.FrameCount <= kMaxFrames);
    FUZZ_CHECK(e.doc.FrameCount == data[14]);
    FUZZ_CHECK(e.doc.LoopCount == (data[13] == 0 ? 255 : data[13]));
    FUZZ_CHECK(e.doc.CurrentFrame == 0);
    for (int i = 0; i < e.doc.FrameCount; ++i) {
        const int time = e.doc.DisplayTimes[static_cast<std::size_t>(i)];
        FUZZ_CHECK(time >= 1 && time <= 255);
        FUZZ_CHECK(blackAndWhite(e.doc.sheet.cell(i)));
    }

    e.doc.Modified = true;
    FUZZ_CHECK(SaveDocument(e));
    FUZZ_CHECK(!e.doc.Modified);
    FUZZ_CHECK(f.prompts.warnings.empty());

    auto saved = readLcdContent(path);
    FUZZ_CHECK(std::holds_alternative<LcdContent>(saved));
    const LcdContent& again = std::get<LcdContent>(saved);
    FUZZ_CHECK(again.frameCount == e.doc.FrameCount);
    FUZZ_CHECK(again.loopByte == e.doc.LoopCount);
    for (int i = 0; i < again.frameCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        FUZZ_CHECK(again.timeBytes[k] == e.doc.DisplayTimes[k]);
        FUZZ_CHECK(again.frames[k] == e.doc.sheet.cell(i));
    }
    return 0;
}
