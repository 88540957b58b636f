#pragma once

#include "document/Raster.h"

#include <cstdint>
#include <vector>

namespace vemurion {

inline constexpr int kFrameWidth = 48;
inline constexpr int kFrameHeight = 32;
inline constexpr int kSheetColumns = 10;
inline constexpr int kSheetRows = 26;
inline constexpr int kSheetCells = kSheetColumns * kSheetRows;  // 260
inline constexpr int kSheetWidth = kSheetColumns * kFrameWidth; // 480
inline constexpr int kSheetHeight = kSheetRows * kFrameHeight;  // 832
inline constexpr int kMaxFrames = 255;

struct CellPos {
    int x = 0;
    int y = 0;
    friend bool operator==(CellPos, CellPos) = default;
};

// Top-left dot of frame `index`'s cell in the frame sheet.
constexpr CellPos CellOrigin(int index) {
    return {(index % kSheetColumns) * kFrameWidth, (index / kSheetColumns) * kFrameHeight};
}

// Dot buffer: rows from the top, dots from the left, three bytes per dot in the order blue,
// green, red, each row padded with zero bytes to a multiple of four. A frame is 4608 bytes.
using DotBuffer = std::vector<std::uint8_t>;

constexpr int dotRowStride(int width) {
    return (width * 3 + 3) & ~3;
}
inline constexpr int kFrameBufferSize = kFrameHeight * kFrameWidth * 3; // 4608

// Copies the width x height dots at (x, y) of `surface` into `buffer`, which is resized to hold
// them. Dots outside the surface read as white.
void ReadDots(const Raster& surface, int x, int y, DotBuffer& buffer, int height, int width);
// Draws the width x height dots of `buffer` onto `surface` with their top-left dot at (x, y),
// replacing what was there; clipped. A buffer shorter than the rectangle draws nothing.
void WriteDots(Raster& surface, int x, int y, const DotBuffer& buffer, int height, int width);

// The frame sheet: every frame's picture, frame i in cell i (see CellOrigin).
class FrameSheet {
public:
    FrameSheet() : m_sheet(kSheetWidth, kSheetHeight, kWhite) {}

    const Raster& raster() const { return m_sheet; }
    Raster& raster() { return m_sheet; }

    Raster cell(int index) const;
    void setCell(int index, const Raster& picture);
    void fillCell(int index, Rgb colour);
    void CopyFrameCell(int destination, int source);

private:
    Raster m_sheet;
};

} // namespace vemurion
