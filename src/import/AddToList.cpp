#include "import/AddToList.h"

#include "editor/PictureClipboard.h"
#include "editor/Undo.h"
#include "files/DocumentFile.h"
#include "files/DocumentReader.h"
#include "files/FileIo.h"
#include "files/FileKind.h"
#include "framelist/FrameList.h"
#include "framelist/FrameOps.h"
#include "import/Conversion.h"
#include "import/GifReader.h"
#include "import/PictureClassify.h"
#include "import/PictureFile.h"
#include "import/Thinning.h"
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

// A still picture as a new frame, or on its way to the conversion dialog.
bool InsertPicture(Editor& e, ImportedPicture picture) {
    const PictureFit fit = picture.fit;
    if (fit == PictureFit::Plain) {
        InsertFrameAt(e, 1, centredOnFrame(picture.picture, e.rightColor), ListScroll::Keep);
    } else if (e.conversion != nullptr) {
        ConversionRequest request;
        request.picture = std::move(picture);
        request.destination = ConversionTarget::NewFrame;
        request.reason = static_cast<int>(fit);
        request.modal = false;
        e.conversion->showConversion(request);
    }
    return true;
}

bool InsertGifFile(Editor& e, const std::string& path);

// A picture file's frames. False when the file could not be read; the user has been told.
bool InsertPictureFile(Editor& e, const std::string& path, PictureKind kind) {
    if (kind == PictureKind::Gif) return InsertGifFile(e, path);
    ImportResult read = readPictureFile(e, path, kind);
    if (!read.picture) {
        if (e.prompts != nullptr) e.prompts->warn(read.error);
        return false;
    }
    return InsertPicture(e, std::move(*read.picture));
}

struct TimedFrame {
    Raster picture;
    int time = 1;
};

// Puts `frames` in front of the current frame, as many as the list has room for, and shows the
// first of them from the top of the list; of `incoming` frames, those left out are counted in one
// message.
void insertFrames(Editor& e, const std::vector<TimedFrame>& frames, int incoming) {
    AnimationDocument& doc = e.doc;
    const int i = doc.CurrentFrame;
    // The list's own frames always stay; of the file's, only those that fit are put in.
    const int n =
        std::min(static_cast<int>(frames.size()), std::max(kMaxFrames - doc.FrameCount, 0));
    if (n > 0) {
        for (int k = doc.FrameCount - 1; k >= i; --k) {
            doc.sheet.CopyFrameCell(k + n, k);
            doc.DisplayTimes[static_cast<std::size_t>(k + n)] =
                doc.DisplayTimes[static_cast<std::size_t>(k)];
        }
        for (int k = 0; k < n; ++k) {
            const TimedFrame& frame = frames[static_cast<std::size_t>(k)];
            doc.DisplayTimes[static_cast<std::size_t>(i + k)] = frame.time;
            doc.sheet.setCell(i + k, frame.picture);
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

// Of `incoming` frames of the file at `path`, how many of every how many go in: when they are
// more than the list has room for, the user chooses between thinning them evenly and taking the
// first that fit. 0 when the user cancels.
int askThinningStep(Editor& e, const std::string& path, int incoming) {
    const int room = kMaxFrames - e.doc.FrameCount;
    if (incoming <= room || room < 1 || e.prompts == nullptr) return 1;
    switch (e.prompts->askYesNoCancel(tooManyFramesQuestion(fileNamePart(path), incoming, room))) {
    case Answer::Yes:
        return thinningStep(incoming, room);
    case Answer::No:
        return 1;
    case Answer::Cancel:
        break;
    }
    return 0;
}

// An LCD file's frames, thinned at `step`.
LcdContent thinnedContent(const LcdContent& content, int step) {
    const auto incoming = std::min(content.frames.size(), content.timeBytes.size());
    std::vector<int> times;
    for (std::size_t k = 0; k < incoming; ++k)
        times.push_back(std::max<int>(content.timeBytes[k], 1));
    LcdContent thinned = content;
    thinned.frames.clear();
    thinned.timeBytes.clear();
    for (const int k : thinnedFrames(static_cast<int>(incoming), step))
        thinned.frames.push_back(content.frames[static_cast<std::size_t>(k)]);
    for (const int time : thinnedTimes(times, step))
        thinned.timeBytes.push_back(static_cast<std::uint8_t>(time));
    thinned.frameCount = static_cast<int>(thinned.frames.size());
    return thinned;
}

// An animated GIF: its frames that fit, at once when all are plain, otherwise through the
// conversion dialog. A still GIF is a picture like any other. False when the file could not be
// read; the user has been told.
bool InsertGifFile(Editor& e, const std::string& path) {
    const int room = std::max(kMaxFrames - e.doc.FrameCount, 1);
    GifImport read = importGifFile(path, e.rightColor, room);
    const auto refused = [&e, &read] {
        if (read.error.empty()) return false;
        if (e.prompts != nullptr) e.prompts->warn(read.error);
        return true;
    };
    if (refused()) return false;
    if (read.frameCount == 1) return InsertPicture(e, std::move(read.frames.front().picture));
    const int step = askThinningStep(e, path, read.frameCount);
    if (step == 0) return false;
    if (step > 1) {
        // Thinned, the file is read again: every frame is composed, every step-th one kept.
        const std::vector<int> times = thinnedTimes(read.ticks, step);
        read = importGifFile(path, e.rightColor, room, step);
        if (refused()) return false;
        for (std::size_t k = 0; k < read.frames.size(); ++k)
            read.frames[k].ticks = times[k];
        read.frameCount = static_cast<int>(read.frames.size());
    }
    ConversionRequest request;
    request.animationFrames = read.frameCount;
    for (GifFrame& frame : read.frames)
        request.animation.push_back({std::move(frame.picture), frame.ticks});
    const bool plain =
        std::all_of(request.animation.begin(), request.animation.end(),
                    [](const IncomingFrame& f) { return f.picture.fit == PictureFit::Plain; });
    if (plain) {
        insertConvertedAnimation(e, request, kFirstChosenCandidate);
    } else if (e.conversion != nullptr) {
        request.picture = request.animation.front().picture;
        request.destination = ConversionTarget::NewFrame;
        request.reason = static_cast<int>(request.picture.fit);
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
        const bool lcd = pathHasLcdExtension(path) || pathHasTextExtension(path);
        PictureKind picture = lcd ? PictureKind::None : pictureKindByName(path);
        if (!lcd && picture == PictureKind::None) {
            // A name of no kind: the content tells a picture, or else an LCD file.
            const auto head = readFileBytes(path, 8);
            picture = head ? pictureKindByContent(*head) : PictureKind::None;
            if (picture == PictureKind::None) {
                if (const auto refusal = unnamedKindRefusal(path)) {
                    if (e.prompts != nullptr) e.prompts->warn(*refusal);
                    return;
                }
            }
        }
        if (picture == PictureKind::None) {
            const auto content = readAddableLcd(e, path);
            if (!content) return;
            const int step = askThinningStep(
                e, path,
                static_cast<int>(std::min(content->frames.size(), content->timeBytes.size())));
            if (step == 0) return;
            discardUndo(e);
            InsertLcdFrames(e, step > 1 ? thinnedContent(*content, step) : *content);
        } else if (!InsertPictureFile(e, path, picture)) {
            return;
        }
        e.openFolder = folderPart(path);
    }
    Deselect(e);
    UpdateCommandStates(e);
}

void InsertLcdFrames(Editor& e, const LcdContent& content) {
    const int incoming =
        static_cast<int>(std::min(content.frames.size(), content.timeBytes.size()));
    std::vector<TimedFrame> frames;
    for (int k = 0; k < std::min(incoming, kMaxFrames); ++k) {
        const auto from = static_cast<std::size_t>(k);
        frames.push_back({content.frames[from], std::max<int>(content.timeBytes[from], 1)});
    }
    insertFrames(e, frames, incoming);
}

void insertConvertedAnimation(Editor& e, const ConversionRequest& request, int candidate,
                              ConversionChoice choice) {
    std::vector<TimedFrame> frames;
    for (const IncomingFrame& frame : request.animation)
        frames.push_back({frameToAdd(frame.picture, candidate, e.rightColor, choice), frame.time});
    discardUndo(e);
    insertFrames(e, frames, request.animationFrames);
    Deselect(e);
    UpdateCommandStates(e);
}

ImportResult readPictureFile(Editor& e, const std::string& path, PictureKind kind) {
    const bool described = pathHasBitmapExtension(path) || pathHasJpegExtension(path);
    if (e.pictureFiles != nullptr && described) return e.pictureFiles->importPicture(path);
    return importPictureFile(path, kind, e.rightColor);
}

void applyConversion(Editor& e, const Raster& chosen, ConversionTarget destination) {
    if (destination == ConversionTarget::NewFrame) {
        InsertFrameAt(e, 1, chosen);
        return;
    }
    pasteConvertedIntoCanvas(e, chosen);
}

void acceptConversion(Editor& e, const ConversionRequest& request,
                      std::span<const Raster> candidates, int candidate, ConversionChoice choice) {
    if (!request.animation.empty()) {
        insertConvertedAnimation(e, request, candidate, choice);
    } else if (candidate >= 0 && static_cast<std::size_t>(candidate) < candidates.size()) {
        applyConversion(e, candidates[static_cast<std::size_t>(candidate)], request.destination);
    }
}

} // namespace vemurion
