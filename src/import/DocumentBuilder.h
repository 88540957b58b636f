#pragma once

#include "document/AnimationDocument.h"
#include "document/Raster.h"
#include "import/Conversion.h"
#include "import/PictureRoad.h"

#include <optional>
#include <string>

namespace vemurion {

// How pictures become frames when a document is built from files.
struct BuildOptions {
    int loopCount = kInfiniteLoops;
    int pictureTime = 1;                   // display time of a frame made from a picture
    int candidate = kFirstChosenCandidate; // the conversion's candidate for other pictures
    Rgb background = kWhite;               // kBlack for the white-on-black colour mode
    ConversionChoice conversion;           // the conversion's method and aspect
    // Of a file of several frames, frames 0, every, 2 every, ... are kept, each with the times
    // of the frames it stands for summed (at most 255).
    int every = 1;
};

// The smallest `every` that brings the files of `frameCounts` frames within `room` frames, a
// file of several frames thinned and a file of one kept whole; the largest count when none does.
int everyToFit(const std::vector<int>& frameCounts, int room);

// A new document made of the frames of files, in order, as Add to list brings them in: an LCD
// or internal-LCD text file, or a file of no known kind that is an LCD file by its content,
// gives all its frames with their display times (0 read as 1); a picture gives one frame of the
// picture time, as it is when plain (centred on the background), otherwise the chosen candidate
// of its conversion; an animated GIF gives every frame with its delay as display time, a still
// one is a picture.
class DocumentBuilder {
public:
    explicit DocumentBuilder(const BuildOptions& options);

    // Adds the frames of the file at `path`; the message that refuses it otherwise, as Add to
    // list words it ("<name> を開けません.", "... は未対応のファイル形式です.", ...).
    std::optional<std::string> addFile(const std::string& path);

    // Frames added so far, including those beyond the 255 a document holds.
    int frameCount() const { return m_frames; }
    // The document of every frame added, or nullopt when there are none or more than 255.
    std::optional<AnimationDocument> document() const;
    // Why `document` gives none: more than 255 frames, for the file `outPath` that was to hold
    // them, or for the file `inputPath` that holds them.
    std::string saveRefusal(const std::string& outPath) const;
    std::string readRefusal(const std::string& inputPath) const;

private:
    void addFrame(const Raster& picture, int time);

    BuildOptions m_options;
    AnimationDocument m_doc;
    int m_frames = 0;
};

} // namespace vemurion
