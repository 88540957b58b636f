#include "document/FrameSheet.h"

#include <cstddef>

namespace vemurion {

void ReadDots(const Raster& surface, int x, int y, DotBuffer& buffer, int height, int width) {
    const int stride = dotRowStride(width);
    buffer.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), 0);
    for (int row = 0; row < height; ++row) {
        std::uint8_t* out = buffer.data() + static_cast<std::ptrdiff_t>(row) * stride;
        for (int col = 0; col < width; ++col) {
            const Rgb c = surface.at(x + col, y + row);
            *out++ = blueOf(c);
            *out++ = greenOf(c);
            *out++ = redOf(c);
        }
    }
}

void WriteDots(Raster& surface, int x, int y, const DotBuffer& buffer, int height, int width) {
    const int stride = dotRowStride(width);
    if (width <= 0 || height <= 0 ||
        buffer.size() < static_cast<std::size_t>(stride) * static_cast<std::size_t>(height)) {
        return;
    }
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* in = buffer.data() + static_cast<std::ptrdiff_t>(row) * stride;
        for (int col = 0; col < width; ++col, in += 3) {
            surface.set(x + col, y + row, makeRgb(in[2], in[1], in[0]));
        }
    }
}

Raster FrameSheet::cell(int index) const {
    const CellPos o = CellOrigin(index);
    return m_sheet.crop(o.x, o.y, kFrameWidth, kFrameHeight);
}

void FrameSheet::setCell(int index, const Raster& picture) {
    const CellPos o = CellOrigin(index);
    m_sheet.copyRect(picture, 0, 0, kFrameWidth, kFrameHeight, o.x, o.y);
}

void FrameSheet::fillCell(int index, Rgb colour) {
    const CellPos o = CellOrigin(index);
    m_sheet.fillRect(o.x, o.y, o.x + kFrameWidth - 1, o.y + kFrameHeight - 1, colour);
}

void FrameSheet::CopyFrameCell(int destination, int source) {
    const CellPos from = CellOrigin(source);
    const CellPos to = CellOrigin(destination);
    m_sheet.copyRect(m_sheet, from.x, from.y, kFrameWidth, kFrameHeight, to.x, to.y);
}

} // namespace vemurion
