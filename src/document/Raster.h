#pragma once

#include <cstdint>
#include <vector>

namespace vemurion {

// A colour as 0x00RRGGBB. Frame pictures hold only kBlack and kWhite; pictures brought in from
// outside may hold any colour until they are converted.
using Rgb = std::uint32_t;

inline constexpr Rgb kBlack = 0x000000;
inline constexpr Rgb kWhite = 0xFFFFFF;

constexpr std::uint8_t blueOf(Rgb c) {
    return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t greenOf(Rgb c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t redOf(Rgb c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}
constexpr Rgb makeRgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return (Rgb{red} << 16) | (Rgb{green} << 8) | Rgb{blue};
}

// A dot's position, in the coordinates of a raster; it may lie outside it.
struct Dot {
    int x = 0;
    int y = 0;
    friend bool operator==(Dot, Dot) = default;
};

// A rectangle of dots, x to the right and y downwards from the top-left dot (0, 0). Every write
// is clipped: a dot outside the raster does not exist, and writing it is not an error.
class Raster {
public:
    Raster() = default;
    Raster(int width, int height, Rgb fill = kWhite);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    // Reading a dot outside the raster gives `outside`.
    Rgb at(int x, int y, Rgb outside = kWhite) const {
        return contains(x, y) ? m_dots[index(x, y)] : outside;
    }
    void set(int x, int y, Rgb colour) {
        if (contains(x, y)) m_dots[index(x, y)] = colour;
    }

    void fill(Rgb colour);
    // Fills the inclusive rectangle from (left, top) to (right, bottom); reversed edges are
    // normalised.
    void fillRect(int left, int top, int right, int bottom, Rgb colour);

    // Copies the w x h dots at (sx, sy) of `source` to (dx, dy) of this raster. Dots that fall
    // outside either raster are skipped.
    void copyRect(const Raster& source, int sx, int sy, int w, int h, int dx, int dy);
    // Copies a whole raster with its top-left dot at (dx, dy).
    void paste(const Raster& source, int dx, int dy) {
        copyRect(source, 0, 0, source.width(), source.height(), dx, dy);
    }
    Raster crop(int x, int y, int w, int h, Rgb outside = kWhite) const;

    const std::vector<Rgb>& dots() const { return m_dots; }
    std::vector<Rgb>& dots() { return m_dots; }

    friend bool operator==(const Raster&, const Raster&) = default;

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
               static_cast<std::size_t>(x);
    }

    int m_width = 0;
    int m_height = 0;
    std::vector<Rgb> m_dots;
};

} // namespace vemurion
