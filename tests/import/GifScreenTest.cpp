#include "import/GifScreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace vemurion {
namespace {

// The most a screen holds once a frame is drawn, counted by the screen itself: it follows the dots
// the frames draw and the few colours most tiles hold, not the size the file declares.
TEST(GifScreen, MemoryFollowsTheDotsDrawnInAFewBitsEach) {
    struct Frame {
        GifScreen::Area area;
        int colours;
        bool putBack; // disposal "previous"
    };
    struct Case {
        const char* what;
        int width, height;
        std::vector<Frame> frames;
        std::int64_t most;
    };
    const GifScreen::Area line = {0, 0, 1, 3906};
    const GifScreen::Area whole = {0, 0, 8192, 1024};
    const Case cases[] = {
        {"a line a dot wide on the largest screen", 16384, 3906, {{line, 1, false}}, 1 << 20},
        {"two lines put back after showing",
         16384,
         3906,
         {{line, 1, true}, {{16383, 0, 16384, 3906}, 1, true}},
         1 << 20},
        // Three bytes a dot would be 24 MiB, and twice that with what is put back.
        {"8 million dots in two colours", 8192, 1024, {{whole, 2, false}}, 6 << 20},
        {"and again in three, to be put back",
         8192,
         1024,
         {{whole, 2, false}, {whole, 3, true}},
         12 << 20},
    };
    std::array<Rgb, 256> palette{};
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = makeRgb(std::uint8_t(i * 5), std::uint8_t(i * 11), std::uint8_t(i * 17));
    for (const Case& c : cases) {
        GifScreen screen(c.width, c.height, kWhite);
        std::int64_t most = 0;
        for (const Frame& frame : c.frames) {
            const GifScreen::Area& area = frame.area;
            const GifScreen::Saved before = frame.putBack ? screen.save(area) : GifScreen::Saved{};
            screen.beginFrame(palette, area);
            std::vector<std::uint8_t> dots(std::size_t(area.right - area.left));
            for (int y = 0; y < area.bottom - area.top; ++y) {
                for (std::size_t x = 0; x < dots.size(); ++x)
                    dots[x] = std::uint8_t((x + std::size_t(y)) % std::size_t(frame.colours));
                screen.draw(area.left, area.top, int(dots.size()), y, dots.data(), -1);
            }
            screen.picture();
            most = std::max(most, screen.heldBytes());
            if (frame.putBack) screen.restore(before);
        }
        EXPECT_LE(most, c.most) << c.what;
    }
}

} // namespace
} // namespace vemurion
