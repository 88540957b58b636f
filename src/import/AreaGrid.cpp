#include "import/AreaGrid.h"

#include "document/FrameSheet.h"

#include <algorithm>
#include <array>
#include <bit>

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
    : m_across(across), m_down(down), m_red(order == DotOrder::Rgb ? 0 : 2) {
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
    m_average = Raster(across.target, down.target);
    m_stale.assign(std::size_t(down.target), ~std::uint64_t{0});
}

namespace {

// Sums `n` consecutive dots, three samples each, into sum.
template <typename Sample> void sumDots(const Sample* dot, int n, std::int64_t sum[3]) {
    for (int i = 0; i < n; ++i, dot += 3) {
        sum[0] += dot[0];
        sum[1] += dot[1];
        sum[2] += dot[2];
    }
}

// Bytes are summed 16 dots at a time into 16-bit lanes of their own, which the compiler turns
// into vector code; the lanes are folded into the channels before they can overflow.
template <> void sumDots(const std::uint8_t* dot, int n, std::int64_t sum[3]) {
    constexpr int kBlockDots = 16;
    constexpr int kMostBlocks = 256;
    while (n >= kBlockDots) {
        std::uint16_t lanes[kBlockDots * 3] = {};
        const int blocks = std::min(n / kBlockDots, kMostBlocks);
        for (int b = 0; b < blocks; ++b, dot += kBlockDots * 3) {
            for (int k = 0; k < kBlockDots * 3; ++k)
                lanes[k] = static_cast<std::uint16_t>(lanes[k] + dot[k]);
        }
        n -= blocks * kBlockDots;
        for (int k = 0; k < kBlockDots * 3; k += 3) {
            sum[0] += lanes[k];
            sum[1] += lanes[k + 1];
            sum[2] += lanes[k + 2];
        }
    }
    for (; n > 0; --n, dot += 3) {
        sum[0] += dot[0];
        sum[1] += dot[1];
        sum[2] += dot[2];
    }
}

} // namespace

void AreaGrid::addRow(int y, const std::uint8_t* dots) {
    add(y, 0, 1, m_across.count, dots, m_red);
}

template <typename Sample>
void AreaGrid::add(int y, int first, int step, int count, const Sample* samples, int red) {
    if (m_sums.empty() || count <= 0) return;
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

    // The columns [low, high) of the row hold sums; pieces come in the order of their columns.
    int low = m_across.target;
    int high = 0;
    const auto put = [&](int target, std::uint32_t weight, const std::int64_t sum[3]) {
        if (low >= high) low = high = target;
        if (target >= high) {
            std::fill(m_row.begin() + std::ptrdiff_t(high) * 3,
                      m_row.begin() + std::ptrdiff_t(target + 1) * 3, 0);
            high = target + 1;
        }
        std::int64_t* to = m_row.data() + std::size_t(target) * 3;
        to[0] += std::int64_t{weight} * sum[red];
        to[1] += std::int64_t{weight} * sum[1];
        to[2] += std::int64_t{weight} * sum[2 - red];
    };
    if (step == 1) {
        // The runs that meet [first, last) in order, each cut to it.
        const int last = first + count;
        auto run = std::partition_point(m_runs.begin(), m_runs.end(),
                                        [&](const Run& r) { return r.last <= first; });
        for (; run != m_runs.end() && run->first < last; ++run) {
            const int from = std::max(run->first, first);
            const int to = std::min(run->last, last);
            std::int64_t sum[3] = {0, 0, 0};
            sumDots(samples + std::size_t(from - first) * 3, to - from, sum);
            put(run->target, run->weight, sum);
        }
    } else {
        for (int i = 0; i < count; ++i, samples += 3) {
            const std::int64_t sum[3] = {samples[0], samples[1], samples[2]};
            forEachPiece(m_across, first + i * step,
                         [&](int target, std::uint32_t weight) { put(target, weight, sum); });
        }
    }
    if (low >= high) return;
    const std::uint64_t columns = (~std::uint64_t{0} >> (64 - (high - low))) << low;
    const std::size_t rowSums = m_row.size();
    for (std::size_t i = 0; i < rowPieceCount; ++i) {
        std::uint64_t* to = m_sums.data() + std::size_t(rowPieces[i].target) * rowSums;
        for (std::size_t k = std::size_t(low) * 3; k < std::size_t(high) * 3; ++k)
            to[k] += static_cast<std::uint64_t>(std::int64_t{rowPieces[i].weight} * m_row[k]);
        m_stale[std::size_t(rowPieces[i].target)] |= columns;
    }
}

template void AreaGrid::add(int, int, int, int, const std::uint8_t*, int);
template void AreaGrid::add(int, int, int, int, const std::int32_t*, int);

void AreaGrid::fill(Rgb colour) {
    const auto total = static_cast<std::uint64_t>(m_across.length * m_down.length);
    for (std::size_t k = 0; k < m_sums.size(); k += 3) {
        m_sums[k] = total * redOf(colour);
        m_sums[k + 1] = total * greenOf(colour);
        m_sums[k + 2] = total * blueOf(colour);
    }
    std::fill(m_stale.begin(), m_stale.end(), ~std::uint64_t{0});
}

const Raster& AreaGrid::average() {
    if (m_sums.empty()) return m_average;
    const auto total = static_cast<std::uint64_t>(m_across.length * m_down.length);
    const std::uint64_t all = ~std::uint64_t{0} >> (64 - m_across.target);
    for (int y = 0; y < m_down.target; ++y) {
        std::uint64_t& stale = m_stale[std::size_t(y)];
        for (stale &= all; stale != 0; stale &= stale - 1) {
            const int x = std::countr_zero(stale);
            const std::uint64_t* sums =
                m_sums.data() +
                (std::size_t(y) * std::size_t(m_across.target) + std::size_t(x)) * 3;
            m_average.set(x, y,
                          makeRgb(static_cast<std::uint8_t>(sums[0] / total),
                                  static_cast<std::uint8_t>(sums[1] / total),
                                  static_cast<std::uint8_t>(sums[2] / total)));
        }
    }
    return m_average;
}

} // namespace vemurion
