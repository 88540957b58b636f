#pragma once

#include "spine/Editor.h"
#include "spine/Services.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Every fuzz target defines this; libFuzzer or the replay driver calls it once per input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Optional: called once before the first input.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);

// A broken promise ends the run as a crash, which libFuzzer keeps as a finding.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace vemurion::fuzz {

using Bytes = std::vector<std::uint8_t>;

// Questions answered the same way every time, with no one to ask: messages are recorded, open
// dialogs name `openAnswer`, everything else is declined.
class QuietPrompts : public Prompts {
public:
    std::vector<std::string> warnings;
    std::string openAnswer;

    void warn(const std::string& text) override { warnings.push_back(text); }
    Answer askYesNoCancel(const std::string&) override { return Answer::No; }
    bool askOkCancel(const std::string&, const std::string&) override { return false; }
    std::optional<FileDialogAnswer> askOpenFile(const FileDialogRequest&) override;
    std::optional<FileDialogAnswer> askSaveFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::vector<int>> askNumbers(const NumbersRequest&) override {
        return std::nullopt;
    }
};

// A clipboard for frame blocks: a picture set on it is taken as text is, and counts as absent.
class MemoryClipboard : public ClipboardPort {
public:
    std::optional<Bytes> blockContent;

    bool hasPicture() const override { return false; }
    bool hasFrameBlock() const override;
    bool readPicture(PictureRows&) const override { return false; }
    std::optional<Bytes> frameBlock() const override { return blockContent; }
    void setPicture(const Raster&) override { blockContent.reset(); }
    void setFrameBlock(const Bytes& block) override { blockContent = block; }
    void setText(const std::string&) override { blockContent.reset(); }
};

// Counts the conversion dialogs that would be shown.
class CountingConversion : public ConversionPort {
public:
    std::vector<ConversionRequest> requests;
    void showConversion(const ConversionRequest& request) override { requests.push_back(request); }
};

// A fresh editor with a new document, wired to the ports above.
struct FuzzEditor {
    QuietPrompts prompts;
    MemoryClipboard clipboard;
    CountingConversion conversion;
    Editor e;
    FuzzEditor();
};

// A folder of this process, removed when it ends: on a memory file system where there is one,
// so that saving costs no disk writes.
const std::string& scratchFolder();
void writeFile(const std::string& path, std::span<const std::uint8_t> bytes);

// The list picture of frame `index`, different for every index, to tell frames apart.
Raster numberedPicture(int index);

// When VEMURION_FUZZ_SEEDS names a folder, writes `bytes` there as `name`: the targets write
// the inputs they know to be interesting before the first run.
void writeSeed(const std::string& name, std::span<const std::uint8_t> bytes);

bool blackAndWhite(const Raster& picture);

} // namespace vemurion::fuzz
