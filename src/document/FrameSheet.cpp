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

void ShrinkDots(Raster& target, const Raster& source, int width, int factor, int height) {
    if (factor <= 0 || width <= 0 || height <= 0) return;
    const int outWidth = width / factor;
    const int outHeight = height / factor;
    const unsigned area = static_cast<unsigned>(factor) * static_cast<unsigned>(factor);
    for (int r = 0; r < outHeight; ++r) {
        for (int c = 0; c < outWidth; ++c) {
            unsigned sum[3] = {0, 0, 0};
            for (int dy = 0; dy < factor; ++dy) {
                for (int dx = 0; dx < factor; ++dx) {
                    const Rgb p = source.at(c * factor + dx, r * factor + dy);
                    sum[0] += blueOf(p);
                    sum[1] += greenOf(p);
                    sum[2] += redOf(p);
                }
            }
            target.set(c, r,
                       makeRgb(static_cast<std::uint8_t>(sum[2] / area),
                               static_cast<std::uint8_t>(sum[1] / area),
                               static_cast<std::uint8_t>(sum[0] / area)));
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
