#include "files/BitmapExport.h"

#include "editor/Undo.h"
#include "files/DocumentCommands.h"
#include "files/FileIo.h"
#include "files/FileKind.h"
#include "spine/CanvasState.h"
#include "spine/CommandStates.h"

#include <array>

namespace vemurion {

namespace {

// Little-endian throughout: size 318, dots at 62, a 40-byte information header for 48 x 32 dots
// stored bottom row first, one plane of one bit, no compression, 256 dot bytes, 3780 dots per
// metre both ways, then palette entry 0 black and entry 1 white.
constexpr std::array<std::uint8_t, kBitmapHeaderSize> kBitmapHeader = {
    0x42, 0x4D, 0x3E, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3E, 0x00, 0x00, 0x00, 0x28, 0x00,
    0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0xC4, 0x0E, 0x00, 0x00, 0xC4, 0x0E, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00,
};

// Names are UTF-8; a character is a code point, so that shortening never splits one.
bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char byte : text)
        if (!continuesCharacter(byte)) ++count;
    return count;
}

void warnIfAny(Editor& e, const std::optional<std::string>& message) {
    if (message && e.prompts != nullptr) e.prompts->warn(*message);
}

} // namespace

std::vector<std::uint8_t> encodeFrameBitmap(const Raster& picture) {
    std::vector<std::uint8_t> bytes(kBitmapHeader.begin(), kBitmapHeader.end());
    bytes.reserve(kBitmapFileSize);
    for (int y = kFrameHeight - 1; y >= 0; --y) {
        for (int group = 0; group < kFrameWidth / 8; ++group) {
            std::uint8_t byte = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (picture.at(group * 8 + bit, y) != kBlack)
                    byte |= static_cast<std::uint8_t>(0x80u >> bit);
            }
            bytes.push_back(byte);
        }
        bytes.insert(bytes.end(), kBitmapRowSize - kFrameWidth / 8, 0x00);
    }
    return bytes;
}

std::optional<std::string> exportFrameBitmap(const AnimationDocument& doc, int index,
                                             const std::string& path, const FileWriter& write) {
    return write(path, encodeFrameBitmap(doc.sheet.cell(index)));
}

std::optional<std::string> exportBitmapSeries(const AnimationDocument& doc,
                                              std::string_view chosenName,
                                              const FileWriter& write) {
    const std::string stem = seriesStem(chosenName);
    // Every numbered name has the same length (the numbers stop at 254), so the first one
    // decides for the whole series.
    if (!numberedBitmapName(stem, 0))
        return fileNamePart(stem + "000.bmp") + " は名前が長すぎるため保存できませんでした.";
    for (int index = 0; index < doc.FrameCount; ++index) {
        if (auto error = exportFrameBitmap(doc, index, *numberedBitmapName(stem, index), write))
            return error;
    }
    return std::nullopt;
}

std::string seriesStem(std::string_view chosenName) {
    const std::size_t slash = chosenName.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    std::size_t end = chosenName.size();
    for (int removed = 0; removed < 4 && end > nameStart; ++removed) {
        do {
            --end;
        } while (end > nameStart && continuesCharacter(chosenName[end]));
    }
    return std::string(chosenName.substr(0, end));
}

std::optional<std::string> numberedBitmapName(std::string_view stem, int index) {
    std::string number = std::to_string(index);
    if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
    std::string name = std::string(stem) + number + ".bmp";
    if (characterCount(name) > kMaxExportNameLength) return std::nullopt;
    return name;
}

void commandExport(Editor& e) {
    const auto answer = askSaveName(e, kExportFilter, "bmp");
    if (answer) {
        discardUndo(e);
        // The next dialog opens where the name left by the export lies: the written file, or
        // for a series the stem, which names a file only by coincidence.
        std::string left = answer->path;
        if (answer->filterIndex == kExportSeriesFilter) {
            left = seriesStem(answer->path);
            warnIfAny(e, exportBitmapSeries(e.doc, answer->path));
        } else {
            warnIfAny(e, exportFrameBitmap(e.doc, e.doc.CurrentFrame, answer->path));
        }
        e.saveFolder = fileExists(left) ? folderPart(left) : e.homeFolder;
    }
    Deselect(e);
    UpdateCommandStates(e);
}

} // namespace vemurion
