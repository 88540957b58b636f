#include "FuzzSupport.h"

#include "files/DocumentFile.h"
#include "framelist/FrameClipboard.h"

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace vemurion::fuzz {

namespace fs = std::filesystem;

std::optional<FileDialogAnswer> QuietPrompts::askOpenFile(const FileDialogRequest&) {
    if (openAnswer.empty()) return std::nullopt;
    return FileDialogAnswer{openAnswer, 1};
}

bool MemoryClipboard::hasFrameBlock() const {
    return blockContent.has_value() && blockContent->size() == kFrameBlockSize;
}

FuzzEditor::FuzzEditor() {
    e.prompts = &prompts;
    e.clipboard = &clipboard;
    e.conversion = &conversion;
    e.ProgramFolder = "/usr/bin";
    e.homeFolder = scratchFolder();
    e.openFolder = e.homeFolder;
    e.saveFolder = e.homeFolder;
    NewDocument(e);
}

namespace {

struct Scratch {
    std::string folder;
    Scratch() {
        const char* base =
            fs::is_directory("/dev/shm") && ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/vemurion-fuzz-XXXXXX";
        FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
        folder = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

} // namespace

const std::string& scratchFolder() {
    static const Scratch scratch;
    return scratch.folder;
}

void writeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(out.good());
}

Raster numberedPicture(int index) {
    Raster picture(kFrameWidth, kFrameHeight, kWhite);
    for (int bit = 0; bit < 8; ++bit) {
        if ((index >> bit) & 1) picture.set(bit, 0, kBlack);
    }
    return picture;
}

void writeSeed(const std::string& name, std::span<const std::uint8_t> bytes) {
    const char* folder = std::getenv("VEMURION_FUZZ_SEEDS");
    if (folder == nullptr || *folder == '\0') return;
    fs::create_directories(folder);
    writeFile((fs::path(folder) / name).string(), bytes);
}

bool blackAndWhite(const Raster& picture) {
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb dot = picture.at(x, y);
            if (dot != kBlack && dot != kWhite) return false;
        }
    }
    return true;
}

} // namespace vemurion::fuzz
