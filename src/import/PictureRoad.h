#pragma once

#include "document/FrameSheet.h"
#include "document/Raster.h"
#include "import/AreaGrid.h"
#include "spine/IncomingPicture.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vemurion {

class ClipboardPort;

// Limits on a picture from outside, checked against the size it declares before anything is
// allocated for it. Memory does not grow with the picture; these bound the time it may take.
inline constexpr std::int64_t kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPictureDots = 64'000'000;

bool pictureSizeAllowed(std::int64_t width, std::int64_t height);

// "<name> は大きすぎるため読み込めません."
std::string tooLargeText(const std::string& name);

// The clipboard's picture through the road, or the message that says why it cannot be read.
ImportResult importClipboardPicture(const ClipboardPort& clipboard);

// The 48 x 32 picture the conversion dialog thresholds: a reduced picture as it is, one that fits
// unscaled on `background` at ((48 - w) / 2, (32 - h) / 2).
Raster frameForConversion(const ImportedPicture& imported, Rgb background);

// Classifies a picture and reduces it to the frame as its rows arrive. A picture that fits is
// kept whole; a larger one is never held: its rows are summed into the frame's rows, each
// source dot contributing to at most two frame columns and two frame rows. Memory is the frame
// plus two rows of sums. A larger picture is averaged in the same pass for each aspect the
// conversion offers, into grids of its own (ImportedPicture::contained and covered).
//
// Besides whole rows in order, a picture may come as dots in any order, and once filled, or
// finished from rows, it may go on changing in place.
class FrameReducer : public PictureRows {
public:
    using PictureRows::begin;
    bool begin(const RowLayout& layout) override;
    void row(const std::uint8_t* dots) override;
    // `count` dots of row `y` at columns `first`, `first + step`, ..., three bytes each in the
    // layout's order: the passes of a progressive picture. Summed straight into the frame.
    void dots(int y, int first, int step, int count, const std::uint8_t* dots);
    // Every dot `colour`, in place of what came before.
    void fill(Rgb colour);
    // Changes the `count` dots from column `first` of row `y` by `differences`, three a dot,
    // red first: a picture composed in place, such as the screen of an animated GIF.
    void change(int y, int first, int count, const std::int32_t* differences);
    // The picture as dots, fills and changes have left it, for a picture that goes on changing:
    // only the frame dots whose sums changed since the last call are worked out again.
    ImportedPicture current();
    // The picture once every row has come; rows that never came count as black. Changes may
    // follow.
    ImportedPicture finish();
    // Whether pictures begun from now on are also averaged for the aspects other than the
    // stretch (ImportedPicture::contained and covered, empty when not); they are by default.
    void averageEveryAspect(bool every) { m_everyAspect = every; }
    // begin was called and accepted the picture.
    bool began() const { return m_began; }

private:
    // Where a source dot or row falls along one axis: `target` gets `weight` of it. Along an
    // axis of n source dots of u parts, an extent of e parts and t target dots, source dot s
    // covers [s u t, min((s + 1) u, e) t) and target dot j covers [j e, (j + 1) e); a weight is
    // the length of their overlap, and the weights of one target dot add up to e.
    struct Piece {
        int source;
        int target;
        std::uint32_t weight;
    };
    static std::vector<Piece> pieces(int source, int unit, std::int64_t extent, int target);

    // The index of each source dot's first piece, and one past the last dot's last.
    static std::vector<int> firstPieces(const std::vector<Piece>& pieces, int sources);
    template <typename Sample>
    void addAcrossThenDown(int y, int first, int step, int count, const Sample* samples, int red);

    void addWeighted(std::vector<std::uint32_t>& sums, const std::uint8_t* dots,
                     std::uint32_t weight) const;
    void emitFrameRow();
    void addAcross(std::uint64_t* frameRow, const std::uint32_t* sourceSums) const;
    std::uint8_t channelAt(const std::uint8_t* dot, int channel) const;

    int m_width = 0;
    int m_height = 0;
    std::int64_t m_extentX = 0;
    std::int64_t m_extentY = 0;
    DotOrder m_order = DotOrder::Rgb;
    bool m_began = false;
    int m_rowsIn = 0;
    bool m_whole = false;
    Raster m_kept;

    std::vector<Piece> m_columns;
    std::vector<Piece> m_rows;
    std::vector<int> m_firstColumnPiece;
    std::vector<int> m_firstRowPiece;
    // For a column piece of a dot wholly inside its frame column, how many such pieces of the
    // same frame column follow from it, itself included; 0 for other pieces.
    std::vector<int> m_wholeRun;
    bool m_bottomUp = false;
    // The next row piece, walked from the first or, bottom up, from the last.
    std::ptrdiff_t m_nextRowPiece = 0;
    // Pictures of at least 32 rows are summed down first: one row of sums, per source byte,
    // for the frame row being filled and one for the next. Pictures of fewer rows are summed
    // across first, into 48 dots per source row.
    bool m_downFirst = true;
    std::vector<std::uint32_t> m_current;
    std::vector<std::uint32_t> m_next;
    int m_frameRow = 0;
    std::vector<std::uint32_t> m_acrossRows; // fewer than 32 rows: 48 x 3 sums per source row
    // The frame's sums, 48 x 32 x 3, red first.
    std::vector<std::uint64_t> m_frame;
    // The averages of the sums, and for each frame row the columns whose sums changed since.
    Raster m_averages;
    std::array<std::uint64_t, kFrameHeight> m_stale{};
    bool m_everyAspect = true;
    AreaGrid m_contained;
    AreaGrid m_covered;
};

} // namespace vemurion
