#include "files/DocumentText.h"

#include "document/FrameSheet.h"

namespace vemurion {

std::string documentInfoText(const AnimationDocument& doc) {
    std::string text = "frames: " + std::to_string(doc.FrameCount) + "\nloop: ";
    text +=
        doc.LoopCount == kInfiniteLoops ? std::string("infinite") : std::to_string(doc.LoopCount);
    text += "\ntimes:";
    for (int i = 0; i < doc.FrameCount; ++i)
        text += " " + std::to_string(doc.DisplayTimes[static_cast<std::size_t>(i)]);
    return text + "\n";
}

std::string frameText(const Raster& picture) {
    std::string text;
    text.reserve((kFrameWidth + 1) * kFrameHeight);
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x)
            text += picture.at(x, y) == kBlack ? '#' : '.';
        text += '\n';
    }
    return text;
}

std::string documentFramesText(const AnimationDocument& doc) {
    std::string text;
    for (int i = 0; i < doc.FrameCount; ++i) {
        text += "frame " + std::to_string(i + 1) + "/" + std::to_string(doc.FrameCount) + " time " +
                std::to_string(doc.DisplayTimes[static_cast<std::size_t>(i)]) + "\n";
        text += frameText(doc.sheet.cell(i));
        text += '\n';
    }
    return text;
}

} // namespace vemurion
