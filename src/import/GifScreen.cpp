#include "import/GifScreen.h"

#include "document/FrameSheet.h"

#include <algorithm>
#include <bit>

namespace vemurion {

namespace {

constexpr int kTileShift = 6;
constexpr int kTileSide = 1 << kTileShift;
constexpr int kTileDots = kTileSide * kTileSide;
constexpr int kTileMask = kTileSide - 1;
// A tile of a screen of up to this many dots turns to colours once it holds more than 16: many
// colours take most of a byte a dot anyway, and colours are quicker to draw and sum. On larger
// screens, only beyond 256.
constexpr std::int64_t kSmallScreenDots = 4'000'000;

} // namespace

// The dots of one tile as indices into its own palette, in as few bits as its colours need, or
// as colours, three bytes a dot, once it holds more than `mostColours`. Most tiles of a screen
// hold a few colours, so that a screen takes a fraction of three bytes a dot. The palette only
// grows; its first colour is the background.
class GifScreen::Tile {
public:
    // A tile all background. `held` counts the bytes of every tile of a screen.
    Tile(Rgb background, std::size_t mostColours, std::int64_t& held)
        : m_palette{background}, m_mostColours(mostColours), m_held(&held) {
        *m_held += bytes();
    }
    Tile(const Tile& other)
        : m_palette(other.m_palette), m_mostColours(other.m_mostColours), m_bits(other.m_bits),
          m_packed(other.m_packed), m_colours(other.m_colours), m_held(other.m_held) {
        *m_held += bytes();
    }
    Tile& operator=(const Tile&) = delete;
    ~Tile() { *m_held -= bytes(); }

    bool indexed() const { return m_bits <= 8; }
    int bits() const { return m_bits; }
    // The index of dot i in `packed`, of `Bits` bits a dot. An index of a number of bits that
    // divides 8 lies in one byte; others may straddle two.
    template <int Bits> static unsigned indexIn(const std::uint8_t* packed, int i) {
        if constexpr (Bits == 0) {
            return 0;
        } else {
            const auto bit = static_cast<unsigned>(i * Bits);
            const std::uint8_t* at = packed + (bit >> 3);
            const unsigned bytes = 8 % Bits == 0 ? at[0] : at[0] | unsigned{at[1]} << 8;
            return (bytes >> (bit & 7)) & ((1u << Bits) - 1);
        }
    }
    template <int Bits> static void setIndexIn(std::uint8_t* packed, int i, unsigned index) {
        if constexpr (Bits > 0) {
            const auto bit = static_cast<unsigned>(i * Bits);
            const unsigned shift = bit & 7;
            const unsigned mask = ((1u << Bits) - 1) << shift;
            std::uint8_t* at = packed + (bit >> 3);
            if constexpr (8 % Bits == 0) {
                at[0] = static_cast<std::uint8_t>((at[0] & ~mask) | index << shift);
            } else {
                const unsigned bytes = ((at[0] | unsigned{at[1]} << 8) & ~mask) | index << shift;
                at[0] = static_cast<std::uint8_t>(bytes);
                at[1] = static_cast<std::uint8_t>(bytes >> 8);
            }
        }
    }
    template <int Bits> unsigned indexAt(int i) const { return indexIn<Bits>(m_packed.data(), i); }
    template <int Bits> void setIndex(int i, unsigned index) {
        setIndexIn<Bits>(m_packed.data(), i, index);
    }
    const Rgb* palette() const { return m_palette.data(); }
    std::uint8_t* packed() { return m_packed.data(); }
    // Calls `f` with the tile's bits a dot as a template argument.
    template <typename F> decltype(auto) withBits(F f) const {
        switch (m_bits) {
        case 0:
            return f.template operator()<0>();
        case 1:
            return f.template operator()<1>();
        case 2:
            return f.template operator()<2>();
        case 3:
            return f.template operator()<3>();
        case 4:
            return f.template operator()<4>();
        case 5:
            return f.template operator()<5>();
        case 6:
            return f.template operator()<6>();
        case 7:
            return f.template operator()<7>();
        default:
            return f.template operator()<8>();
        }
    }
    unsigned indexAt(int i) const {
        return withBits([&]<int Bits>() { return indexAt<Bits>(i); });
    }
    void setIndex(int i, unsigned index) {
        withBits([&]<int Bits>() { setIndex<Bits>(i, index); });
    }
    Rgb colourOf(unsigned index) const { return m_palette[index]; }
    Rgb colourAt(int i) const {
        if (indexed()) return m_palette[indexAt(i)];
        const std::uint8_t* dot = &m_colours[static_cast<std::size_t>(i) * 3];
        return makeRgb(dot[0], dot[1], dot[2]);
    }
    void setColour(int i, Rgb colour) {
        std::uint8_t* dot = &m_colours[static_cast<std::size_t>(i) * 3];
        dot[0] = redOf(colour);
        dot[1] = greenOf(colour);
        dot[2] = blueOf(colour);
    }
    // Dots of a tile of colours, three bytes each, as the road takes them.
    const std::uint8_t* colours(int i) const { return &m_colours[static_cast<std::size_t>(i) * 3]; }

    // The index of `colour` in the palette, which takes it if it is new; -1 once the tile holds
    // colours instead.
    int indexOf(Rgb colour) {
        const std::int64_t before = bytes();
        const int index = take(colour);
        *m_held += bytes() - before;
        return index;
    }

private:
    std::int64_t bytes() const {
        return std::int64_t{sizeof(Tile)} +
               static_cast<std::int64_t>(m_palette.capacity() * sizeof(Rgb) + m_packed.capacity() +
                                         m_colours.capacity());
    }

    int take(Rgb colour) {
        if (!indexed()) return -1;
        const auto found = std::find(m_palette.begin(), m_palette.end(), colour);
        if (found != m_palette.end()) return static_cast<int>(found - m_palette.begin());
        if (m_palette.size() == m_mostColours) {
            std::vector<Rgb> colours(kTileDots);
            for (int i = 0; i < kTileDots; ++i)
                colours[static_cast<std::size_t>(i)] = colourAt(i);
            m_bits = 32;
            m_colours.resize(std::size_t{kTileDots} * 3);
            for (int i = 0; i < kTileDots; ++i)
                setColour(i, colours[static_cast<std::size_t>(i)]);
            m_packed = {};
            m_palette = {};
            return -1;
        }
        m_palette.push_back(colour);
        const int bits = std::bit_width(m_palette.size() - 1);
        if (bits > m_bits) widen(bits);
        return static_cast<int>(m_palette.size()) - 1;
    }

    void widen(int bits) {
        if (m_bits == 0) {
            m_bits = bits;
            // One byte more, so that two bytes can always be read together.
            m_packed.assign(std::size_t(kTileDots * bits / 8 + 1), 0);
            return;
        }
        std::array<std::uint8_t, kTileDots> indices;
        withBits([&]<int Bits>() {
            for (int i = 0; i < kTileDots; ++i)
                indices[std::size_t(i)] = static_cast<std::uint8_t>(indexAt<Bits>(i));
        });
        m_bits = bits;
        m_packed.assign(std::size_t(kTileDots * bits / 8 + 1), 0);
        // The indices one after the other from the lowest bit of the first byte up.
        unsigned pending = 0;
        int pendingBits = 0;
        auto out = m_packed.begin();
        for (const std::uint8_t index : indices) {
            pending |= unsigned{index} << pendingBits;
            for (pendingBits += bits; pendingBits >= 8; pendingBits -= 8, pending >>= 8)
                *out++ = static_cast<std::uint8_t>(pending);
        }
    }

    std::vector<Rgb> m_palette;
    std::size_t m_mostColours;
    int m_bits = 0; // 0 to 8, or 32 once the dots are colours
    std::vector<std::uint8_t> m_packed;
    std::vector<std::uint8_t> m_colours;
    std::int64_t* m_held;
};

// A frame's colour indices as one tile's palette indices, found as the frame draws.
struct GifScreen::Translation {
    int frame = -1;
    std::array<std::int16_t, 256> index{};
};

GifScreen::GifScreen(int width, int height, Rgb background, bool everyAspect)
    : m_width(width), m_height(height), m_background(background),
      m_across((width + kTileMask) >> kTileShift),
      m_tiles(static_cast<std::size_t>(m_across * ((height + kTileMask) >> kTileShift))),
      m_translations(m_tiles.size()), m_differences(static_cast<std::size_t>(width) * 3),
      m_mostColours(std::int64_t{width} * height <= kSmallScreenDots ? 16 : 256) {
    m_reducer.averageEveryAspect(everyAspect);
    m_reducer.begin(width, height, DotOrder::Rgb);
    m_reducer.fill(background);
}

GifScreen::~GifScreen() = default;

GifScreen::Area GifScreen::clip(int left, int top, int width, int height) const {
    return {std::clamp(left, 0, m_width), std::clamp(top, 0, m_height),
            std::clamp(left + width, 0, m_width), std::clamp(top + height, 0, m_height)};
}

void GifScreen::beginFrame(const std::array<Rgb, 256>& colours, const Area& area) {
    m_colours = colours;
    ++m_frame;
    const std::int64_t covered = std::int64_t{area.right - area.left} * (area.bottom - area.top);
    const bool fits = m_width <= kFrameWidth && m_height <= kFrameHeight;
    m_passingOn = fits || covered * 2 < std::int64_t{m_width} * m_height;
}

void GifScreen::draw(int left, int top, int width, int y, const std::uint8_t* line,
                     int transparent) {
    const int screenY = top + y;
    const int from = std::max(left, 0);
    const int to = std::min(left + width, m_width);
    if (screenY < 0 || screenY >= m_height || from >= to) return;
    for (int x = from; x < to; x = (x | kTileMask) + 1) {
        const int end = std::min(to, (x | kTileMask) + 1);
        drawInTile(screenY, x, end, line + (x - left), transparent);
    }
    passOnRow(screenY);
}

ImportedPicture GifScreen::picture() {
    if (m_passingOn) return m_reducer.current();
    m_passingOn = true;
    m_reducer.begin(m_width, m_height, DotOrder::Rgb);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(m_width) * 3);
    for (int y = 0; y < m_height; ++y) {
        readRow(y, row.data());
        m_reducer.row(row.data());
    }
    // The reducer goes on from these sums as the following frames change the screen.
    return m_reducer.finish();
}

void GifScreen::clear(const Area& area) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; x = (x | kTileMask) + 1) {
            std::shared_ptr<Tile>& tile = tileAt(x, y);
            if (!tile) continue;
            const int end = std::min(area.right, (x | kTileMask) + 1);
            Tile& dots = writable(tile);
            const int row = (y & kTileMask) << kTileShift;
            for (int i = x; i < end; ++i) {
                const int at = row + (i & kTileMask);
                const Rgb was = dots.colourAt(at);
                if (was == m_background) continue;
                if (dots.indexed())
                    dots.setIndex(at, 0);
                else
                    dots.setColour(at, m_background);
                changed(i, was, m_background);
            }
        }
        passOnRow(y);
    }
}

GifScreen::Saved GifScreen::save(const Area& area) const {
    Saved saved{area, {}};
    forTilesUnder(area, [&](std::size_t at) { saved.tiles.push_back(m_tiles[at]); });
    return saved;
}

void GifScreen::restore(const Saved& saved) {
    const Area& area = saved.area;
    const int across = ((area.right - 1) >> kTileShift) - (area.left >> kTileShift) + 1;
    for (int y = area.top; y < area.bottom; ++y) {
        const int row = (y & kTileMask) << kTileShift;
        std::size_t k =
            static_cast<std::size_t>(((y >> kTileShift) - (area.top >> kTileShift)) * across);
        for (int x = area.left; x < area.right; x = (x | kTileMask) + 1, ++k) {
            const Tile* now = tileAt(x, y).get();
            const Tile* before = saved.tiles[k].get();
            if (now == before) continue;
            const int end = std::min(area.right, (x | kTileMask) + 1);
            for (int i = x; i < end; ++i) {
                const int at = row + (i & kTileMask);
                const Rgb was = now != nullptr ? now->colourAt(at) : m_background;
                const Rgb back = before != nullptr ? before->colourAt(at) : m_background;
                if (was != back) changed(i, was, back);
            }
        }
        passOnRow(y);
    }
    // Translations hold for one frame: those of the tiles put back are never used again.
    std::size_t k = 0;
    forTilesUnder(area, [&](std::size_t at) { m_tiles[at] = saved.tiles[k++]; });
}

// Row y as colours, three bytes a dot.
void GifScreen::readRow(int y, std::uint8_t* dots) const {
    const int row = (y & kTileMask) << kTileShift;
    for (int x = 0; x < m_width; x = (x | kTileMask) + 1) {
        const Tile* tile =
            m_tiles[static_cast<std::size_t>((y >> kTileShift) * m_across + (x >> kTileShift))]
                .get();
        const int end = std::min(m_width, (x | kTileMask) + 1);
        const auto put = [&](int i, Rgb colour) {
            std::uint8_t* dot = dots + static_cast<std::ptrdiff_t>(i) * 3;
            dot[0] = redOf(colour);
            dot[1] = greenOf(colour);
            dot[2] = blueOf(colour);
        };
        if (tile == nullptr) {
            for (int i = x; i < end; ++i)
                put(i, m_background);
        } else if (!tile->indexed()) {
            std::copy_n(tile->colours(row + (x & kTileMask)), (end - x) * 3,
                        dots + static_cast<std::ptrdiff_t>(x) * 3);
        } else {
            tile->withBits([&]<int Bits>() {
                for (int i = x; i < end; ++i)
                    put(i, tile->colourOf(tile->indexAt<Bits>(row + (i & kTileMask))));
            });
        }
    }
}

std::shared_ptr<GifScreen::Tile>& GifScreen::tileAt(int x, int y) {
    return m_tiles[static_cast<std::size_t>((y >> kTileShift) * m_across + (x >> kTileShift))];
}

template <typename Visit> void GifScreen::forTilesUnder(const Area& area, Visit visit) const {
    if (area.left >= area.right || area.top >= area.bottom) return;
    for (int ty = area.top >> kTileShift; ty <= (area.bottom - 1) >> kTileShift; ++ty)
        for (int tx = area.left >> kTileShift; tx <= (area.right - 1) >> kTileShift; ++tx)
            visit(static_cast<std::size_t>(ty * m_across + tx));
}

GifScreen::Tile& GifScreen::writable(std::shared_ptr<Tile>& tile) {
    if (tile.use_count() > 1) tile = std::make_shared<Tile>(*tile);
    return *tile;
}

// Dots x to end (one tile's) of row y.
void GifScreen::drawInTile(int y, int x, int end, const std::uint8_t* line, int transparent) {
    for (; x < end && *line == transparent; ++x)
        ++line;
    while (end > x && line[end - 1 - x] == transparent)
        --end;
    if (x == end) return;
    std::shared_ptr<Tile>& tile = tileAt(x, y);
    if (!tile) {
        bool coloured = false;
        for (int i = 0; i < end - x && !coloured; ++i)
            coloured = line[i] != transparent && m_colours[line[i]] != m_background;
        if (!coloured) return;
        tile = std::make_shared<Tile>(m_background, m_mostColours, m_held);
    }
    Tile& dots = writable(tile);
    const int first = ((y & kTileMask) << kTileShift) + (x & kTileMask);
    const int count = end - x;
    int i = 0;
    if (dots.indexed()) {
        auto& translation = m_translations[static_cast<std::size_t>(&tile - m_tiles.data())];
        if (!translation) {
            translation = std::make_unique<Translation>();
            m_held += std::int64_t{sizeof(Translation)};
        }
        if (translation->frame != m_frame) {
            translation->frame = m_frame;
            translation->index.fill(-1);
        }
        // Stops at each colour new to the tile in this frame: the tile may widen its
        // indices, or turn to colours, on taking it.
        for (;;) {
            i = dots.withBits([&]<int Bits>() {
                return drawIndexed<Bits>(dots, first, x, line, i, count, transparent,
                                         translation->index);
            });
            if (i == count) return;
            translation->index[line[i]] =
                static_cast<std::int16_t>(dots.indexOf(m_colours[line[i]]));
            if (!dots.indexed()) break;
        }
    }
    if (!m_passingOn) {
        for (; i < count; ++i)
            if (line[i] != transparent) dots.setColour(first + i, m_colours[line[i]]);
        return;
    }
    for (; i < count; ++i) {
        if (line[i] == transparent) continue;
        const Rgb now = m_colours[line[i]];
        const Rgb was = dots.colourAt(first + i);
        if (now == was) continue;
        dots.setColour(first + i, now);
        changed(x + i, was, now);
    }
}

// Draws dots i to count of a tile of `Bits` bits a dot, the first at `first` in the tile and
// at x on the screen, until a dot of a colour the translation does not hold yet. The tile's
// and the row's state are held in locals: the compiler could not keep them in registers
// across the byte stores, which may alias anything.
template <int Bits>
int GifScreen::drawIndexed(Tile& dots, int first, int x, const std::uint8_t* line, int i, int count,
                           int transparent, const std::array<std::int16_t, 256>& translation) {
    std::uint8_t* packed = dots.packed();
    const Rgb* palette = dots.palette();
    std::int32_t* differences = m_differences.data();
    const bool passingOn = m_passingOn;
    int firstChanged = m_firstChanged;
    int lastChanged = m_lastChanged;
    // Runs of dots changed alike are common: the last change is known by its indices.
    unsigned lastWas = 0;
    unsigned lastNow = 0;
    for (; i < count; ++i) {
        if (line[i] == transparent) continue;
        const int index = translation[line[i]];
        if (index < 0) break;
        const auto now = static_cast<unsigned>(index);
        const unsigned was = Tile::indexIn<Bits>(packed, first + i);
        if (now == was) continue;
        Tile::setIndexIn<Bits>(packed, first + i, now);
        if (!passingOn) continue;
        const int at = x + i;
        std::int32_t* difference = differences + static_cast<std::ptrdiff_t>(at) * 3;
        if (lastChanged < 0) {
            firstChanged = at;
        } else if (at == lastChanged + 1 && now == lastNow && was == lastWas) {
            difference[0] = difference[-3];
            difference[1] = difference[-2];
            difference[2] = difference[-1];
            lastChanged = at;
            continue;
        } else if (at > lastChanged + 1) {
            std::fill(differences + static_cast<std::ptrdiff_t>(lastChanged + 1) * 3, difference,
                      0);
        }
        difference[0] = redOf(palette[now]) - redOf(palette[was]);
        difference[1] = greenOf(palette[now]) - greenOf(palette[was]);
        difference[2] = blueOf(palette[now]) - blueOf(palette[was]);
        lastChanged = at;
        lastWas = was;
        lastNow = now;
    }
    m_firstChanged = firstChanged;
    m_lastChanged = lastChanged;
    return i;
}

// Every change to a row comes from left to right: the dots passed over are left unchanged.
void GifScreen::changed(int x, Rgb was, Rgb now) {
    if (m_lastChanged < 0)
        m_firstChanged = x;
    else if (x > m_lastChanged + 1)
        std::fill(m_differences.begin() + (m_lastChanged + 1) * 3, m_differences.begin() + x * 3,
                  0);
    std::int32_t* difference = &m_differences[static_cast<std::size_t>(x) * 3];
    difference[0] = redOf(now) - redOf(was);
    difference[1] = greenOf(now) - greenOf(was);
    difference[2] = blueOf(now) - blueOf(was);
    m_lastChanged = x;
}

void GifScreen::passOnRow(int y) {
    if (m_lastChanged < 0) return;
    m_reducer.change(y, m_firstChanged, m_lastChanged - m_firstChanged + 1,
                     &m_differences[static_cast<std::size_t>(m_firstChanged) * 3]);
    m_lastChanged = -1;
}

} // namespace vemurion
