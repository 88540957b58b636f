#include "import/AddToList.h"

#include "editor/PictureClipboard.h"
#include "editor/Undo.h"
#include "files/DocumentFile.h"
#include "files/DocumentReader.h"
#include "files/FileIo.h"
#include "files/FileKind.h"
#include "framelist/FrameList.h"
#include "framelist/FrameOps.h"
#include "import/PictureClassify.h"
#include "import/PictureFile.h"
#include "spine/CanvasState.h"
#include "spine/CommandStates.h"

#include <algorithm>
#include <string>

namespace vemurion {

namespace {

void warnAbout(Editor& e, const std::string& path, const char* text) {
    if (e.prompts != nullptr) e.prompts->warn(fileNamePart(path) + text);
}

// Reads and checks an LCD or internal-LCD text file; nullopt after telling the user why it
// cannot be added.
std::optional<LcdContent> readAddableLcd(Editor& e, const std::string& path) {
    if (pathHasTextExtension(path)) {
        const auto head = readFileBytes(path, sizeof kLcdSignature);
        if (!head) {
            warnAbout(e, path, " を開けません.");
            return std::nullopt;
        }
        if (!IsInternalLcdText(*head)) {
            warnAbout(e, path, " は未対応のテキストファイルです.");
            return std::nullopt;
        }
    }
    return readLoadableLcd(e, path);
}

// A bitmap or JPEG picture as a new frame, or on its way to the conversion dialog. False when
// the file could not be read; the user has been told.
bool InsertPictureFile(Editor& e, const std::string& path) {
    ImportResult read = readPictureFile(e, path);
    if (!read.picture) {
        if (e.prompts != nullptr) e.prompts->warn(read.error);
        return false;
    }
    const PictureFit fit = read.picture->fit;
    if (fit == PictureFit::Plain) {
        InsertFrameAt(e, 1, centredOnFrame(read.picture->picture, e.rightColor), ListScroll::Keep);
    } else if (e.conversion != nullptr) {
        ConversionRequest request;
        request.picture = std::move(*read.picture);
        request.destination = ConversionTarget::NewFrame;
        request.reason = static_cast<int>(fit);
        request.modal = false;
        e.conversion->showConversion(request);
    }
    return true;
}

} // namespace

void A1Click(Editor& e) {
    FileDialogRequest request;
    request.title = kAddToListTitle;
    request.filter = kAddToListFilter;
    // The open dialog is shared with Open: the chosen filter carries over between them.
    request.filterIndex = e.openFilterIndex;
    request.initialFolder = e.openFolder;
    const auto answer = e.prompts->askOpenFile(request);
    if (answer) e.openFilterIndex = answer->filterIndex;
    const std::string path = answer ? answer->path : std::string();

    if (pathExists(path)) {
        // A folder, a device or a FIFO is never read: reading one could wait for ever.
        if (!fileExists(path)) return warnAbout(e, path, " を開けません.");
        const bool named = pathHasKnownExtension(path);
        if (!named) {
            if (const auto refusal = unnamedKindRefusal(path)) {
                if (e.prompts != nullptr) e.prompts->warn(*refusal);
                return;
            }
        }
        if (!named || pathHasLcdExtension(path) || pathHasTextExtension(path)) {
            const auto content = readAddableLcd(e, path);
            if (!content) return;
            discardUndo(e);
            InsertLcdFrames(e, *content);
        } else if (!InsertPictureFile(e, path)) {
            return;
        }
        e.openFolder = folderPart(path);
    }
    Deselect(e);
    UpdateCommandStates(e);
}

void InsertLcdFrames(Editor& e, const LcdContent& content) {
    AnimationDocument& doc = e.doc;
    const int i = doc.CurrentFrame;
    const int incoming =
        static_cast<int>(std::min(content.frames.size(), content.timeBytes.size()));
    // The list's own frames always stay; of the file's, only those that fit are put in.
    const int n = std::min(incoming, std::max(kMaxFrames - doc.FrameCount, 0));
    if (n > 0) {
        for (int k = doc.FrameCount - 1; k >= i; --k) {
            doc.sheet.CopyFrameCell(k + n, k);
            doc.DisplayTimes[static_cast<std::size_t>(k + n)] =
                doc.DisplayTimes[static_cast<std::size_t>(k)];
        }
        for (int k = 0; k < n; ++k) {
            const auto from = static_cast<std::size_t>(k);
            doc.DisplayTimes[static_cast<std::size_t>(i + k)] =
                std::max<int>(content.timeBytes[from], 1);
            doc.sheet.setCell(i + k, content.frames[from]);
        }
        doc.FrameCount += n;

        e.imgListWork = doc.sheet.cell(i);
        ShowCurrentFrame(e);
        e.list.position = 0;
        UpdateFrameListCommands(e);
        RefreshFrameSlots(e);
        UpdateListCursor(e);
        doc.Modified = true;
        UpdateCommandStates(e);
    }
    if (n < incoming && e.prompts != nullptr) {
        e.prompts->warn("リストに入りきらないため, " + std::to_string(incoming - n) +
                        " 枚のイメージは追加されませんでした.");
    }
}

ImportResult readPictureFile(Editor& e, const std::string& path) {
    if (e.pictureFiles != nullptr) return e.pictureFiles->importPicture(path);
    return importPictureFile(path);
}

void applyConversion(Editor& e, const Raster& chosen, ConversionTarget destination) {
    if (destination == ConversionTarget::NewFrame) {
        InsertFrameAt(e, 1, chosen);
        return;
    }
    pasteConvertedIntoCanvas(e, chosen);
}

} // namespace vemurion
