#pragma once

#include "document/AnimationDocument.h"
#include "files/LcdFile.h"

#include <optional>
#include <string>

namespace vemurion {

// Why Open refuses the file at `path` before reading it as a document: the message the user
// sees, or nullopt for a path that names an LCD file or an internal-LCD text file with the
// signature. Kinds are told by the file-name part, and by the content where it carries none
// (unnamedKindRefusal); the file's existence is not tested here.
std::optional<std::string> openRefusal(const std::string& path);
// Why the file at `path`, named anyhow (as a file manager hands it over), is no LCD image by its
// content, which must begin with the signature: "<name> を開けません." or the text Open gives a
// file of the kind its name tells, a text file or another kind. nullopt for an LCD image.
std::optional<std::string> contentRefusal(const std::string& path);

// A file whose name carries none of the known kinds is an LCD image file all the same when its
// content is one as the desktop tells it: it begins with "LCDi" and holds every dot block its
// header announces. Open, a drop, the command line and Add to list then read it as if it were
// named ".lcd". nullopt for such a file; otherwise the message that refuses it:
// "<name> を開けません." when it cannot be read, else "<name> は未対応のファイル形式です.". Reads
// no more of the file than the check needs.
std::optional<std::string> unnamedKindRefusal(const std::string& path);

// Takes `content` into `doc` as Open loads a file: loop byte 0 as 255, display time byte 0 as 1,
// frame k into cell k. The file name, the current frame and Modified are left alone.
void takeLcdContent(AnimationDocument& doc, const LcdContent& content);

// A document file read as Open reads it, without a window.
struct DocumentRead {
    std::optional<AnimationDocument> document; // named after the path, frame 0 current
    std::string error;                         // the message Open would show
};
// A missing file gives "<name> を開けません.", like one that cannot be read.
DocumentRead readDocumentFile(const std::string& path);

} // namespace vemurion
