#include "publish/GifExport.h"

#include "files/DocumentCommands.h"
#include "files/FileIo.h"
#include "files/FileKind.h"
#include "publish/GifAnimation.h"
#include "spine/CanvasState.h"
#include "spine/CommandStates.h"

#include <algorithm>

namespace vemurion {

std::optional<std::string> exportGifAnimation(const AnimationDocument& doc, int scale,
                                              const std::string& path, const FileWriter& write) {
    const auto bytes = encodeGifAnimation(doc, scale);
    if (!bytes) return messageName(path) + " に保存できませんでした.";
    return write(path, *bytes);
}

void commandExportGif(Editor& e) {
    if (e.playing || e.prompts == nullptr) return;
    e.gifFilterIndex = std::clamp(e.gifFilterIndex, 1, kMaxGifExportScale);
    const auto answer = askSaveName(e, kGifExportFilter, "gif", &e.gifFilterIndex);
    if (answer) {
        const int scale = std::clamp(answer->filterIndex, 1, kMaxGifExportScale);
        if (const auto error = exportGifAnimation(e.doc, scale, answer->path))
            e.prompts->warn(*error);
        e.saveFolder = fileExists(answer->path) ? folderPart(answer->path) : e.homeFolder;
    }
    Deselect(e);
    UpdateCommandStates(e);
}

} // namespace vemurion
