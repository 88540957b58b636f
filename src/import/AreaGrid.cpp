#include "import/AreaGrid.h"

#include "document/FrameSheet.h"

#include <algorithm>
#include <array>

namespace vemurion {

namespace {

// The frame's side along x (across) or y.
int frameSide(bool across) {
    return across ? kFrameWidth : kFrameHeight;
}

GridAxis wholeAxis(int count, int unit, std::int64_t extent, int target) {
    return GridAxis{count, unit, extent, 1, 0, extent, target};
}

} // namespace

GridAxis containedAxis(int count, int unit, std::int64_t extent, std::int64_t otherExtent,
                       bool across) {
    const std::int64_t side = frameSide(across);
    const std::int64_t otherSide = frameSide(!across);
    // The relatively longer side fills the frame; a picture of the frame's shape fills both.
    if (extent * otherSide >= otherExtent * side)
        return wholeAxis(count, unit, extent, static_cast<int>(side));
    const std::int64_t rounded = (2 * otherSide * extent + otherExtent) / (2 * otherExtent);
    return wholeAxis(count, unit, extent,
                     static_cast<int>(std::clamp<std::int64_t>(rounded, 1, side)));
}

GridAxis coveredAxis(int count, int unit, std::int64_t extent, std::int64_t otherExtent,
                     bool across) {
    const std::int64_t side = frameSide(across);
    const std::int64_t otherSide = frameSide(!across);
    if (extent * otherSide <= otherExtent * side)
        return wholeAxis(count, unit, extent, static_cast<int>(side));
    // The window is otherExtent x side / otherSide parts long; in parts times 2 otherSide its
    // length and its centred start are whole numbers.
    const std::int64_t scale = 2 * otherSide;
    const std::int64_t length = 2 * side * otherExtent;
    return GridAxis{
        count, unit, extent, scale, (extent * scale - length) / 2, length, static_cast<int>(side)};
}

// Calls visit(target, weight) for each grid dot that source dot `source` overlaps, in order.
// In parts times scale times target, source dot s covers [s u, min((s + 1) u, extent)) and grid
// dot t covers [from + t length / target, ...) scaled alike, so that both are whole numbers.
template <typename Visit>
void AreaGrid::forEachPiece(const GridAxis& axis, int source, Visit visit) {
    const std::int64_t stretch = axis.scale * axis.target;
    const std::int64_t begin = std::int64_t{source} * axis.unit * stretch;
    const std::int64_t end = std::min(std::int64_t{source + 1} * axis.unit, axis.extent) * stretch;
    const std::int64_t origin = axis.from * axis.target;
    std::int64_t t = begin > origin ? (begin - origin) / axis.length : 0;
    for (; t < axis.target; ++t) {
        const std::int64_t targetBegin = origin + t * axis.length;
        if (targetBegin >= end) break;
        const std::int64_t overlap =
            std::min(end, targetBegin + axis.length) - std::max(begin, targetBegin);
        if (overlap > 0) visit(static_cast<int>(t), static_cast<std::uint32_t>(overlap));
    }
}

AreaGrid::AreaGrid(const GridAxis& across, const GridAxis& down, DotOrder order)
    : m_across(across), m_down(down), m_order(order) {
    for (int s = 0; s < across.count; ++s) {
        forEachPiece(across, s, [&](int target, std::uint32_t weight) {
            if (!m_runs.empty() && m_runs.back().last == s && m_runs.back().target == target &&
                m_runs.back().weight == weight) {
                ++m_runs.back().last;
            } else {
                m_runs.push_back({s, s + 1, target, weight});
            }
        });
    }
    m_row.assign(std::size_t(across.target) * 3, 0);
    m_sums.assign(std::size_t(across.target) * std::size_t(down.target) * 3, 0);
}

void AreaGrid::addRow(int y, const std::uint8_t* dots) {
    if (m_sums.empty()) return;
    struct RowPiece {
        int target;
        std::uint32_t weight;
    };
    std::array<RowPiece, kFrameHeight + 1> rowPieces;
    std::size_t rowPieceCount = 0;
    forEachPiece(m_down, y, [&](int target, std::uint32_t weight) {
        rowPieces[rowPieceCount++] = {target, weight};
    });
    if (rowPieceCount == 0) return;

    std::fill(m_row.begin(), m_row.end(), 0);
    for (const Run& run : m_runs) {
        // Long runs are summed 16 dots at a time into 16-bit lanes of their own, which the
        // compiler turns into vector code; the lanes are folded into the channels before they
        // can overflow.
        constexpr int kBlockDots = 16;
        constexpr int kMostBlocks = 256;
        std::uint32_t sum[3] = {0, 0, 0};
        const std::uint8_t* dot = dots + std::size_t(run.first) * 3;
        int s = run.first;
        while (run.last - s >= kBlockDots) {
            std::uint16_t lanes[kBlockDots * 3] = {};
            const int blocks = std::min((run.last - s) / kBlockDots, kMostBlocks);
            for (int b = 0; b < blocks; ++b, dot += kBlockDots * 3) {
                for (int k = 0; k < kBlockDots * 3; ++k)
                    lanes[k] = static_cast<std::uint16_t>(lanes[k] + dot[k]);
            }
            s += blocks * kBlockDots;
            for (int k = 0; k < kBlockDots * 3; k += 3) {
                sum[0] += lanes[k];
                sum[1] += lanes[k + 1];
                sum[2] += lanes[k + 2];
            }
        }
        for (; s < run.last; ++s, dot += 3) {
            sum[0] += dot[0];
            sum[1] += dot[1];
            sum[2] += dot[2];
        }
        std::uint64_t* to = m_row.data() + std::size_t(run.target) * 3;
        for (int c = 0; c < 3; ++c)
            to[c] += std::uint64_t{run.weight} * sum[c];
    }
    for (std::size_t i = 0; i < rowPieceCount; ++i) {
        std::uint64_t* to = m_sums.data() + std::size_t(rowPieces[i].target) * m_row.size();
        for (std::size_t k = 0; k < m_row.size(); ++k)
            to[k] += std::uint64_t{rowPieces[i].weight} * m_row[k];
    }
}

Raster AreaGrid::average() const {
    if (m_sums.empty()) return {};
    const auto total = static_cast<std::uint64_t>(m_across.length * m_down.length);
    const int red = m_order == DotOrder::Rgb ? 0 : 2;
    Raster grid(m_across.target, m_down.target);
    const std::uint64_t* sums = m_sums.data();
    for (int y = 0; y < grid.height(); ++y) {
        for (int x = 0; x < grid.width(); ++x, sums += 3) {
            grid.set(x, y,
                     makeRgb(static_cast<std::uint8_t>(sums[red] / total),
                             static_cast<std::uint8_t>(sums[1] / total),
                             static_cast<std::uint8_t>(sums[2 - red] / total)));
        }
    }
    return grid;
}

} // namespace vemurion
