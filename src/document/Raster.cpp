#include "document/Raster.h"

#include <algorithm>
#include <cstring>

namespace vemurion {

Raster::Raster(int width, int height, Rgb fill)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_dots(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), fill) {}

void Raster::fill(Rgb colour) {
    std::fill(m_dots.begin(), m_dots.end(), colour);
}

void Raster::fillRect(int left, int top, int right, int bottom, Rgb colour) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, m_width - 1);
    bottom = std::min(bottom, m_height - 1);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x)
            m_dots[index(x, y)] = colour;
    }
}

void Raster::copyRect(const Raster& source, int sx, int sy, int w, int h, int dx, int dy) {
    // Clip against the source, then against this raster, moving both corners together.
    if (sx < 0) {
        w += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        dy -= sy;
        sy = 0;
    }
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    w = std::min({w, source.m_width - sx, m_width - dx});
    h = std::min({h, source.m_height - sy, m_height - dy});
    if (w <= 0 || h <= 0) return;
    // Within one raster the rectangles may overlap: rows are taken in the order that reads each
    // source row before it is overwritten, and std::memmove copes with overlap inside a row.
    const bool bottomUp = &source == this && dy > sy;
    for (int i = 0; i < h; ++i) {
        const int row = bottomUp ? h - 1 - i : i;
        std::memmove(&m_dots[index(dx, dy + row)], &source.m_dots[source.index(sx, sy + row)],
                     static_cast<std::size_t>(w) * sizeof(Rgb));
    }
}

Raster Raster::crop(int x, int y, int w, int h, Rgb outside) const {
    Raster out(w, h, outside);
    out.copyRect(*this, x, y, w, h, 0, 0);
    return out;
}

} // namespace vemurion
