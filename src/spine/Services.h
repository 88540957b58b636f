#pragma once

#include "document/Raster.h"
#include "spine/IncomingPicture.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vemurion {

// What a change asks the screen to redraw. The screen reads everything else from the Editor.
enum ViewPart : unsigned {
    kViewCanvas = 1u << 0,      // the edit canvas and its mark
    kViewPreview = 1u << 1,     // the twice-size preview
    kViewSlots = 1u << 2,       // the five frame slots, the list cursor and the scroll bar
    kViewTitle = 1u << 3,       // the window title
    kViewStatus = 1u << 4,      // the two status bar panels
    kViewCommands = 1u << 5,    // enabled states of commands
    kViewLoopCount = 1u << 6,   // the loop count control and its text
    kViewModeCaption = 1u << 7, // the caption above the canvas
    kViewTools = 1u << 8,       // which tool and colour mode buttons are down
    kViewTimer = 1u << 9,       // the general timer's interval
};

class ViewSink {
public:
    virtual ~ViewSink() = default;
    virtual void changed(unsigned parts) = 0;
};

enum class Answer { Yes, No, Cancel };

// A file dialog as the program sets it up. `filter` is a list of description|pattern pairs
// separated by '|', patterns separated by ';'. `filterIndex` counts from 1.
struct FileDialogRequest {
    std::string title;
    std::string filter;
    int filterIndex = 1;
    std::string initialFolder;
    std::string defaultExtension;
    bool confirmOverwrite = false;
};

struct FileDialogAnswer {
    std::string path;
    int filterIndex = 1;
};

// A whole number the user types, shown with `label` and kept within minimum .. maximum.
struct NumberField {
    std::string label;
    int value = 1;
    int minimum = 1;
    int maximum = 1;
};

// A dialog captioned `caption` that asks for one or more numbers at once.
struct NumbersRequest {
    std::string caption;
    std::vector<NumberField> fields;
};

// Every question the program asks the user. The desktop shows dialogs; tests script answers.
class Prompts {
public:
    virtual ~Prompts() = default;
    // A message box captioned "Vemurion" with the warning icon and an OK button.
    virtual void warn(const std::string& text) = 0;
    // The same with Yes, No and Cancel.
    virtual Answer askYesNoCancel(const std::string& text) = 0;
    // OK and Cancel with the given caption; true for OK.
    virtual bool askOkCancel(const std::string& text, const std::string& caption) = 0;
    virtual std::optional<FileDialogAnswer> askOpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogAnswer> askSaveFile(const FileDialogRequest& request) = 0;
    // The numbers typed, one a field, each within its range; nullopt when cancelled.
    virtual std::optional<std::vector<int>> askNumbers(const NumbersRequest& request) = 0;
};

// The system clipboard as the program uses it.
class ClipboardPort {
public:
    virtual ~ClipboardPort() = default;
    // A picture in a format Qt's images read (a bitmap in the usual case).
    virtual bool hasPicture() const = 0;
    // A frame in the program's private format: a block of exactly 4609 bytes. A block of any
    // other size counts as absent.
    virtual bool hasFrameBlock() const = 0;
    // Hands the picture to `rows` a row at a time, from the clipboard's own copy; false when
    // there is no picture.
    virtual bool readPicture(PictureRows& rows) const = 0;
    virtual std::optional<std::vector<std::uint8_t>> frameBlock() const = 0;
    virtual void setPicture(const Raster& picture) = 0;
    virtual void setFrameBlock(const std::vector<std::uint8_t>& block) = 0;
    virtual void setText(const std::string& text) = 0;
};

// Where a converted picture goes.
enum class ConversionTarget { NewFrame = 0, Canvas = 1 };

// A picture that is not 48 x 32 black and white, on its way to the conversion dialog, which
// converts it without reading anything again.
// One frame of an animation from outside, with its display time.
struct IncomingFrame {
    ImportedPicture picture;
    int time = 1;
};

struct ConversionRequest {
    ImportedPicture picture;
    ConversionTarget destination = ConversionTarget::NewFrame;
    int reason = 1; // 1: colours other than black and white; 2: larger than 48 x 32
    bool modal = true;
    // An animation's frames, the first of them `picture`; the choice made for the first applies
    // to every one. Empty for a single picture. `animationFrames` counts every frame of the
    // file, also those the list has no room for.
    std::vector<IncomingFrame> animation;
    int animationFrames = 0;
};

// Shows the picture conversion dialog.
class ConversionPort {
public:
    virtual ~ConversionPort() = default;
    virtual void showConversion(const ConversionRequest& request) = 0;
};

// Reads Windows bitmap and JPEG files through the import road. A failure carries the message to
// show. Without one the editor reads them itself (importPictureFile); tests count the reads.
class PictureFiles {
public:
    virtual ~PictureFiles() = default;
    virtual ImportResult importPicture(const std::string& path) = 0;
};

// Opens a file or an address with the user's preferred program.
class ShellPort {
public:
    virtual ~ShellPort() = default;
    virtual void openTarget(const std::string& target) = 0;
};

} // namespace vemurion
