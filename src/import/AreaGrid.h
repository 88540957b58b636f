#pragma once

#include "document/Raster.h"
#include "spine/IncomingPicture.h"

#include <cstdint>
#include <vector>

namespace vemurion {

// One axis of an area average. The source has `count` dots of `unit` parts and spans `extent`
// parts (its last dot may lie partly outside, as RowLayout says). Measured in parts times
// `scale`, the window [from, from + length) of it is spread evenly over `target` dots. A scale
// above 1 lets a window that starts or ends inside a part be given in whole numbers.
struct GridAxis {
    int count = 0;
    int unit = 1;
    std::int64_t extent = 0;
    std::int64_t scale = 1;
    std::int64_t from = 0;
    std::int64_t length = 0;
    int target = 0;
};

// The area average of a window of a picture on a grid of any size up to the frame's, summed as
// rows or scattered dots arrive in any order, and changed in place afterwards. Memory is the
// grid's sums, its averages and one list of column pieces.
class AreaGrid {
public:
    AreaGrid() = default;
    AreaGrid(const GridAxis& across, const GridAxis& down, DotOrder order);

    // Row `y` of the source, its dots in the grid's order.
    void addRow(int y, const std::uint8_t* dots);
    // `count` dots of row `y` at columns `first`, `first + step`, ..., three each with red at
    // index `red` (0 or 2). Samples may be differences to what is there: the sums wrap around in
    // unsigned arithmetic and come out right once the picture they sum is whole again.
    template <typename Sample>
    void add(int y, int first, int step, int count, const Sample* samples, int red);
    // Every dot `colour`, in place of what came before.
    void fill(Rgb colour);
    // Each dot the average of the window part it covers, each channel truncated; rows that never
    // came count as black. Only the dots whose sums changed since the last call are worked out.
    const Raster& average();

private:
    // Source dots [first, last) give `weight` each to grid column `target`.
    struct Run {
        int first;
        int last;
        int target;
        std::uint32_t weight;
    };
    template <typename Visit>
    static void forEachPiece(const GridAxis& axis, int source, Visit visit);

    GridAxis m_across;
    GridAxis m_down;
    std::vector<Run> m_runs;
    std::vector<std::int64_t> m_row;   // one source row summed across, 3 per grid column
    std::vector<std::uint64_t> m_sums; // the grid's, 3 per dot, red first
    Raster m_average;
    std::vector<std::uint64_t> m_stale; // per grid row, the columns whose sums changed
    int m_red = 0;                      // where red lies in a row given in the source's order
};

// One axis (x when `across`) of the grid on which a picture larger than the frame, `extent`
// parts long along this axis and `otherExtent` along the other, is averaged whole in its own
// shape: the relatively longer side fills the frame's 48 or 32 dots, the other is rounded to
// whole dots, at least 1.
GridAxis containedAxis(int count, int unit, std::int64_t extent, std::int64_t otherExtent,
                       bool across);
// The same for the grid of 48 x 32 that the picture's centred part of 3 : 2 shape fills: the
// relatively longer side is cut.
GridAxis coveredAxis(int count, int unit, std::int64_t extent, std::int64_t otherExtent,
                     bool across);

} // namespace vemurion
