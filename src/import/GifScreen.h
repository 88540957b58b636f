#pragma once

#include "document/Raster.h"
#include "import/PictureRoad.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace vemurion {

// The logical screen of an animated GIF and the composition of its frames on it, with the 48 x 32
// picture of the screen kept up to date by a reducer. The screen is kept in tiles of 64 x 64
// dots, which take memory once a frame draws a colour other than the background on them, in a
// few bits a dot for the few colours most tiles hold. Every dot a frame changes is passed on to
// the reducer as the difference it makes, so that the work of a frame follows the dots it
// decodes, not the size of the screen; a frame that covers half the screen or more is summed
// anew once it is drawn, which is quicker then. What disposal "previous" keeps shares the tiles
// the frame leaves alone; a tile is copied when drawn on.
class GifScreen {
public:
    // `everyAspect`: FrameReducer::averageEveryAspect.
    GifScreen(int width, int height, Rgb background, bool everyAspect = true);
    GifScreen(const GifScreen&) = delete;
    GifScreen& operator=(const GifScreen&) = delete;
    ~GifScreen();

    // A rectangle of the screen, its right and bottom edges excluded.
    struct Area {
        int left, top, right, bottom;
    };
    // An image's rectangle cut to the screen.
    Area clip(int left, int top, int width, int height) const;

    // Starts a frame of `colours` that draws on `area`.
    void beginFrame(const std::array<Rgb, 256>& colours, const Area& area);
    // Draws row y (in its own coordinates) of the frame's image of `width` dots at (left, top),
    // skipping the `transparent` index (none when it lies outside 0 to 255).
    void draw(int left, int top, int width, int y, const std::uint8_t* line, int transparent);
    // The screen's picture once the frame is drawn.
    ImportedPicture picture();

    // Clears an area to the background.
    void clear(const Area& area);
    class Tile;
    // The tiles under an area, which restore puts back.
    struct Saved {
        Area area{};
        std::vector<std::shared_ptr<Tile>> tiles;
    };
    Saved save(const Area& area) const;
    void restore(const Saved& saved);

    // The memory the tiles and what goes with them take, those disposal "previous" keeps
    // included.
    std::int64_t heldBytes() const { return m_held; }

private:
    struct Translation;

    void readRow(int y, std::uint8_t* dots) const;
    std::shared_ptr<Tile>& tileAt(int x, int y);
    template <typename Visit> void forTilesUnder(const Area& area, Visit visit) const;
    Tile& writable(std::shared_ptr<Tile>& tile);
    void drawInTile(int y, int x, int end, const std::uint8_t* line, int transparent);
    template <int Bits>
    int drawIndexed(Tile& dots, int first, int x, const std::uint8_t* line, int i, int count,
                    int transparent, const std::array<std::int16_t, 256>& translation);
    void changed(int x, Rgb was, Rgb now);
    void passOnRow(int y);

    int m_width;
    int m_height;
    Rgb m_background;
    int m_across; // tiles
    std::int64_t m_held = 0;
    std::vector<std::shared_ptr<Tile>> m_tiles; // empty: all background
    std::vector<std::unique_ptr<Translation>> m_translations;
    std::array<Rgb, 256> m_colours{};
    int m_frame = 0;
    FrameReducer m_reducer;
    // The differences of the row being drawn, from the first dot changed to the last.
    std::vector<std::int32_t> m_differences;
    int m_firstChanged = 0;
    int m_lastChanged = -1;
    std::size_t m_mostColours; // in a tile before it turns to colours
    // The frame being drawn passes on its changes as it goes.
    bool m_passingOn = true;
};

} // namespace vemurion
