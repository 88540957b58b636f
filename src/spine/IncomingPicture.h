#pragma once

#include "document/Raster.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vemurion {

// A picture from outside on its way in, as the readers, the clipboard and the conversion dialog
// pass it along.

// How a picture from outside can become a frame.
enum class PictureFit {
    Plain = 0,    // at most 48 x 32 and only pure black and white: taken as it is
    Colours = 1,  // fits, but has other colours: goes through the conversion dialog
    TooLarge = 2, // wider than 48 or higher than 32: goes through the conversion dialog
};

// The byte order of the three bytes of each dot in the rows a reader hands over.
enum class DotOrder { Rgb, Bgr };

// The rows a reader hands over: `width` x `height` dots of three bytes in `order`. A reader that
// scales the picture down says how much of the picture each dot holds: a dot is `unit` parts,
// and the picture is `extentX` x `extentY` parts, so that its last column and row may lie partly
// outside the picture. An extent of 0 is the whole of its side. Rows come from the top, or from
// the bottom when `bottomUp`, as most bitmaps store them.
struct RowLayout {
    int width = 0;
    int height = 0;
    DotOrder order = DotOrder::Rgb;
    int unit = 1;
    std::int64_t extentX = 0;
    std::int64_t extentY = 0;
    bool bottomUp = false;
};

// The receiving end of every picture reader: begin once with the picture's size, then row once
// for each row. begin returns false for a picture beyond the limits; the reader
// then stops.
class PictureRows {
public:
    virtual ~PictureRows() = default;
    virtual bool begin(const RowLayout& layout) = 0;
    virtual void row(const std::uint8_t* dots) = 0;
    bool begin(int width, int height, DotOrder order) {
        return begin(RowLayout{width, height, order, 1, 0, 0, false});
    }
};

// A picture that has come in, classified.
struct ImportedPicture {
    PictureFit fit = PictureFit::Plain;
    // Plain and Colours: the picture as it is, at most 48 x 32. TooLarge: the 48 x 32 frame,
    // each dot the area average of the source it covers, each channel truncated.
    Raster picture;
    // TooLarge only, else empty; averaged alike. The whole picture on the largest grid of its
    // shape within 48 x 32, the shorter side rounded to whole dots; and the centred part of the
    // picture of 3 : 2 shape on 48 x 32.
    Raster contained{};
    Raster covered{};
};

// A picture read from a file or the clipboard, or the message that says why it was refused.
struct ImportResult {
    std::optional<ImportedPicture> picture;
    std::string error;
};

} // namespace vemurion
