#include "import/PictureRoad.h"

#include "document/FrameSheet.h"
#include "import/PictureClassify.h"
#include "spine/Services.h"

#include <algorithm>
#include <bit>
#include <string>

namespace vemurion {

namespace {

constexpr std::size_t kFrameRowSums = std::size_t{kFrameWidth} * 3;
constexpr std::uint64_t kAllColumns = (std::uint64_t{1} << kFrameWidth) - 1;

} // namespace

bool pictureSizeAllowed(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPictureDots;
}

std::string tooLargeText(const std::string& name) {
    return name + " は大きすぎるため読み込めません.";
}

ImportResult importClipboardPicture(const ClipboardPort& clipboard) {
    FrameReducer reducer;
    if (!clipboard.readPicture(reducer))
        return {std::nullopt, "クリップボードの画像は読み込めません."};
    // The reducer refuses a picture beyond the limits at begin; it then has no rows.
    if (!reducer.began())
        return {std::nullopt, "クリップボードの画像は大きすぎるため読み込めません."};
    return {reducer.finish(), {}};
}

Raster frameForConversion(const ImportedPicture& imported, Rgb background) {
    if (imported.fit == PictureFit::TooLarge) return imported.picture;
    return centredOnFrame(imported.picture, background);
}

std::vector<FrameReducer::Piece> FrameReducer::pieces(int source, int unit, std::int64_t extent,
                                                      int target) {
    std::vector<Piece> list;
    list.reserve(static_cast<std::size_t>(source + target));
    std::int64_t position = 0;
    int s = 0;
    int t = 0;
    while (s < source && t < target) {
        const std::int64_t sourceEnd = std::min(std::int64_t{s + 1} * unit, extent) * target;
        const std::int64_t targetEnd = std::int64_t{t + 1} * extent;
        const std::int64_t end = std::min(sourceEnd, targetEnd);
        if (end > position) list.push_back({s, t, static_cast<std::uint32_t>(end - position)});
        position = end;
        if (sourceEnd == end) ++s;
        if (targetEnd == end) ++t;
    }
    return list;
}

std::vector<int> FrameReducer::firstPieces(const std::vector<Piece>& pieces, int sources) {
    std::vector<int> first(static_cast<std::size_t>(sources) + 1);
    std::size_t piece = 0;
    for (int s = 0; s <= sources; ++s) {
        while (piece < pieces.size() && pieces[piece].source < s)
            ++piece;
        first[static_cast<std::size_t>(s)] = static_cast<int>(piece);
    }
    return first;
}

bool FrameReducer::begin(const RowLayout& layout) {
    const int width = layout.width;
    const int height = layout.height;
    m_began = false;
    if (!pictureSizeAllowed(width, height) || layout.unit < 1 || layout.unit > 8) return false;
    const std::int64_t fullX = std::int64_t{width} * layout.unit;
    const std::int64_t fullY = std::int64_t{height} * layout.unit;
    m_extentX = layout.extentX > 0 ? layout.extentX : fullX;
    m_extentY = layout.extentY > 0 ? layout.extentY : fullY;
    // The last dot must lie at least partly inside the picture.
    if (m_extentX > fullX || m_extentY > fullY || m_extentX <= fullX - layout.unit ||
        m_extentY <= fullY - layout.unit) {
        return false;
    }
    m_began = true;
    m_width = width;
    m_height = height;
    m_order = layout.order;
    m_rowsIn = 0;
    m_bottomUp = layout.bottomUp;
    m_whole = width <= kFrameWidth && height <= kFrameHeight;
    if (m_whole) {
        m_kept = Raster(width, height, kBlack);
        return true;
    }
    m_columns = pieces(width, layout.unit, m_extentX, kFrameWidth);
    m_rows = pieces(height, layout.unit, m_extentY, kFrameHeight);
    m_firstColumnPiece = firstPieces(m_columns, width);
    m_firstRowPiece = firstPieces(m_rows, height);
    m_wholeRun.assign(m_columns.size(), 0);
    const std::uint32_t whole = std::uint32_t(layout.unit) * kFrameWidth;
    for (std::size_t p = m_columns.size(); p-- > 0;) {
        if (m_columns[p].weight != whole) continue;
        const bool next =
            p + 1 < m_columns.size() && m_columns[p + 1].target == m_columns[p].target;
        m_wholeRun[p] = 1 + (next ? m_wholeRun[p + 1] : 0);
    }
    m_bottomUp = layout.bottomUp;
    m_nextRowPiece = m_bottomUp ? std::ptrdiff_t(m_rows.size()) - 1 : 0;
    m_frameRow = m_bottomUp ? kFrameHeight - 1 : 0;
    // Then no source row is longer than a frame row, and it touches at most two.
    m_downFirst = m_extentY >= std::int64_t{kFrameHeight} * layout.unit;
    const std::size_t rowBytes = std::size_t(width) * 3;
    if (m_downFirst) {
        m_current.assign(rowBytes, 0);
        m_next.assign(rowBytes, 0);
    } else {
        m_acrossRows.assign(std::size_t(height) * kFrameRowSums, 0);
    }
    m_frame.assign(std::size_t{kFrameHeight} * kFrameRowSums, 0);
    m_stale.fill(kAllColumns);
    m_contained = {};
    m_covered = {};
    if (!m_everyAspect) return true;
    m_contained =
        AreaGrid(containedAxis(width, layout.unit, m_extentX, m_extentY, true),
                 containedAxis(height, layout.unit, m_extentY, m_extentX, false), m_order);
    m_covered = AreaGrid(coveredAxis(width, layout.unit, m_extentX, m_extentY, true),
                         coveredAxis(height, layout.unit, m_extentY, m_extentX, false), m_order);
    return true;
}

std::uint8_t FrameReducer::channelAt(const std::uint8_t* dot, int channel) const {
    return dot[m_order == DotOrder::Rgb ? channel : 2 - channel];
}

void FrameReducer::addWeighted(std::vector<std::uint32_t>& sums, const std::uint8_t* dots,
                               std::uint32_t weight) const {
    // A row of bytes read into a block of its own first: the compiler cannot tell that the byte
    // row and the sums never overlap, and would not use vector code otherwise.
    std::uint32_t* out = sums.data();
    const std::size_t count = sums.size();
    constexpr std::size_t kBlock = 64;
    std::uint32_t block[kBlock];
    // A row wholly inside one frame row weighs a power of two, and a shift is cheaper.
    const int shift = std::has_single_bit(weight) ? std::countr_zero(weight) : -1;
    for (std::size_t i = 0; i < count; i += kBlock) {
        const std::size_t n = std::min(kBlock, count - i);
        if (n == kBlock) {
            for (std::size_t k = 0; k < kBlock; ++k)
                block[k] = dots[i + k];
            if (shift >= 0) {
                for (std::size_t k = 0; k < kBlock; ++k)
                    out[i + k] += block[k] << shift;
            } else {
                for (std::size_t k = 0; k < kBlock; ++k)
                    out[i + k] += weight * block[k];
            }
        } else {
            for (std::size_t k = 0; k < n; ++k)
                out[i + k] += weight * dots[i + k];
        }
    }
}

// Sums one row of per-byte source sums across into the 48 dots of a frame row, red first.
void FrameReducer::addAcross(std::uint64_t* frameRow, const std::uint32_t* sourceSums) const {
    const int red = m_order == DotOrder::Rgb ? 0 : 2;
    for (const Piece& piece : m_columns) {
        const std::uint32_t* from = sourceSums + std::size_t(piece.source) * 3;
        std::uint64_t* to = frameRow + std::size_t(piece.target) * 3;
        to[0] += std::uint64_t{piece.weight} * from[red];
        to[1] += std::uint64_t{piece.weight} * from[1];
        to[2] += std::uint64_t{piece.weight} * from[2 - red];
    }
}

void FrameReducer::emitFrameRow() {
    addAcross(m_frame.data() + std::size_t(m_frameRow) * kFrameRowSums, m_current.data());
    std::swap(m_current, m_next);
    std::fill(m_next.begin(), m_next.end(), 0);
    m_frameRow += m_bottomUp ? -1 : 1;
}

void FrameReducer::row(const std::uint8_t* dots) {
    if (m_rowsIn >= m_height) return;
    const int y = m_bottomUp ? m_height - 1 - m_rowsIn : m_rowsIn;
    ++m_rowsIn;
    if (m_whole) {
        for (int x = 0; x < m_width; ++x, dots += 3)
            m_kept.set(x, y, makeRgb(channelAt(dots, 0), channelAt(dots, 1), channelAt(dots, 2)));
        return;
    }
    m_contained.addRow(y, dots);
    m_covered.addRow(y, dots);
    if (!m_downFirst) {
        // Fewer rows than the frame: each source dot goes to at most two frame columns here,
        // and the rows are spread over the frame's rows at the end.
        std::uint32_t* sums = m_acrossRows.data() + std::size_t(y) * kFrameRowSums;
        const int red = m_order == DotOrder::Rgb ? 0 : 2;
        for (const Piece& piece : m_columns) {
            const std::uint8_t* from = dots + std::size_t(piece.source) * 3;
            std::uint32_t* to = sums + std::size_t(piece.target) * 3;
            to[0] += piece.weight * from[red];
            to[1] += piece.weight * from[1];
            to[2] += piece.weight * from[2 - red];
        }
        return;
    }
    // At least as many rows as the frame: a source row lies in one frame row or straddles two.
    const std::ptrdiff_t step = m_bottomUp ? -1 : 1;
    const auto pieceAt = [this](std::ptrdiff_t i) -> const Piece* {
        return i >= 0 && i < std::ptrdiff_t(m_rows.size()) ? &m_rows[std::size_t(i)] : nullptr;
    };
    for (const Piece* piece = pieceAt(m_nextRowPiece); piece != nullptr && piece->source == y;
         piece = pieceAt(m_nextRowPiece)) {
        addWeighted(piece->target == m_frameRow ? m_current : m_next, dots, piece->weight);
        m_nextRowPiece += step;
    }
    // A frame row is done once no later source row reaches it.
    for (const Piece* next = pieceAt(m_nextRowPiece);
         next != nullptr && (next->target - m_frameRow) * step > 0;
         next = pieceAt(m_nextRowPiece)) {
        emitFrameRow();
    }
}

// Sums the dots across into the frame columns they touch, then adds those sums, weighted, to
// the frame rows that row `y` touches. Differences may be negative: the frame's sums wrap
// around in unsigned arithmetic and come out right once the picture they sum is whole again.
template <typename Sample>
void FrameReducer::addAcrossThenDown(int y, int first, int step, int count, const Sample* samples,
                                     int red) {
    if (count <= 0) return;
    const auto pieceOf = [](const std::vector<int>& firsts, int source) {
        return static_cast<std::size_t>(firsts[static_cast<std::size_t>(source)]);
    };
    const int last = first + (count - 1) * step;
    const std::size_t low = std::size_t(m_columns[pieceOf(m_firstColumnPiece, first)].target) * 3;
    const std::size_t high =
        std::size_t(m_columns[pieceOf(m_firstColumnPiece, last + 1) - 1].target + 1) * 3;
    std::int64_t across[kFrameRowSums];
    std::fill(across + low, across + high, 0);
    const auto add = [&](const Piece& piece, const Sample* dot) {
        std::int64_t* to = across + std::size_t(piece.target) * 3;
        to[0] += std::int64_t{piece.weight} * dot[red];
        to[1] += std::int64_t{piece.weight} * dot[1];
        to[2] += std::int64_t{piece.weight} * dot[2 - red];
    };
    if (step == 1) {
        // The pieces of consecutive dots follow each other, and those of dots wholly inside one
        // frame column weigh the same: a run of them is summed plainly, then weighed once.
        const std::size_t end = pieceOf(m_firstColumnPiece, last + 1);
        for (std::size_t p = pieceOf(m_firstColumnPiece, first); p < end;) {
            const Piece& piece = m_columns[p];
            const Sample* dot = samples + std::size_t(piece.source - first) * 3;
            const std::size_t run = std::min(std::size_t(m_wholeRun[p]), end - p);
            if (run == 0) {
                add(piece, dot);
                ++p;
                continue;
            }
            std::int32_t sums[3] = {0, 0, 0};
            for (std::size_t k = 0; k < run; ++k, dot += 3) {
                sums[0] += dot[0];
                sums[1] += dot[1];
                sums[2] += dot[2];
            }
            std::int64_t* to = across + std::size_t(piece.target) * 3;
            to[0] += std::int64_t{piece.weight} * sums[red];
            to[1] += std::int64_t{piece.weight} * sums[1];
            to[2] += std::int64_t{piece.weight} * sums[2 - red];
            p += run;
        }
    } else {
        for (int i = 0; i < count; ++i, samples += 3) {
            const int x = first + i * step;
            for (std::size_t p = pieceOf(m_firstColumnPiece, x);
                 p < pieceOf(m_firstColumnPiece, x + 1); ++p)
                add(m_columns[p], samples);
        }
    }
    const std::uint64_t columns = (~std::uint64_t{0} >> (64 - (high - low) / 3)) << (low / 3);
    for (std::size_t p = pieceOf(m_firstRowPiece, y); p < pieceOf(m_firstRowPiece, y + 1); ++p) {
        const Piece& piece = m_rows[p];
        std::uint64_t* to = m_frame.data() + std::size_t(piece.target) * kFrameRowSums;
        for (std::size_t k = low; k < high; ++k)
            to[k] += static_cast<std::uint64_t>(std::int64_t{piece.weight} * across[k]);
        m_stale[std::size_t(piece.target)] |= columns;
    }
}

void FrameReducer::dots(int y, int first, int step, int count, const std::uint8_t* dots) {
    if (!m_whole) {
        const int red = m_order == DotOrder::Rgb ? 0 : 2;
        addAcrossThenDown(y, first, step, count, dots, red);
        m_contained.add(y, first, step, count, dots, red);
        m_covered.add(y, first, step, count, dots, red);
        return;
    }
    for (int i = 0; i < count; ++i, dots += 3)
        m_kept.set(first + i * step, y,
                   makeRgb(channelAt(dots, 0), channelAt(dots, 1), channelAt(dots, 2)));
}

void FrameReducer::fill(Rgb colour) {
    if (m_whole) {
        m_kept.fill(colour);
        return;
    }
    // Every frame dot's weights add up to the extents' product.
    const auto total = static_cast<std::uint64_t>(m_extentX * m_extentY);
    for (std::size_t k = 0; k < m_frame.size(); k += 3) {
        m_frame[k] = total * redOf(colour);
        m_frame[k + 1] = total * greenOf(colour);
        m_frame[k + 2] = total * blueOf(colour);
    }
    m_stale.fill(kAllColumns);
    m_contained.fill(colour);
    m_covered.fill(colour);
}

void FrameReducer::change(int y, int first, int count, const std::int32_t* differences) {
    if (!m_whole) {
        addAcrossThenDown(y, first, 1, count, differences, 0);
        m_contained.add(y, first, 1, count, differences, 0);
        m_covered.add(y, first, 1, count, differences, 0);
        return;
    }
    for (int x = first; x < first + count; ++x, differences += 3) {
        const Rgb was = m_kept.at(x, y);
        m_kept.set(x, y,
                   makeRgb(static_cast<std::uint8_t>(redOf(was) + differences[0]),
                           static_cast<std::uint8_t>(greenOf(was) + differences[1]),
                           static_cast<std::uint8_t>(blueOf(was) + differences[2])));
    }
}

ImportedPicture FrameReducer::current() {
    ImportedPicture imported;
    if (m_whole) {
        imported.fit = classifyPicture(m_kept);
        imported.picture = m_kept;
        return imported;
    }
    // Every frame dot's weights add up to the extents' product.
    const auto total = static_cast<std::uint64_t>(m_extentX * m_extentY);
    if (m_averages.width() == 0) m_averages = Raster(kFrameWidth, kFrameHeight);
    for (int y = 0; y < kFrameHeight; ++y) {
        for (std::uint64_t stale = m_stale[std::size_t(y)]; stale != 0; stale &= stale - 1) {
            const int x = std::countr_zero(stale);
            const std::uint64_t* sums =
                m_frame.data() + std::size_t(y) * kFrameRowSums + std::size_t(x) * 3;
            m_averages.set(x, y,
                           makeRgb(static_cast<std::uint8_t>(sums[0] / total),
                                   static_cast<std::uint8_t>(sums[1] / total),
                                   static_cast<std::uint8_t>(sums[2] / total)));
        }
        m_stale[std::size_t(y)] = 0;
    }
    imported.fit = PictureFit::TooLarge;
    imported.picture = m_averages;
    imported.contained = m_contained.average();
    imported.covered = m_covered.average();
    return imported;
}

ImportedPicture FrameReducer::finish() {
    if (m_whole) {
        ImportedPicture imported;
        imported.fit = classifyPicture(m_kept);
        imported.picture = std::move(m_kept);
        return imported;
    }
    if (m_downFirst) {
        while (m_frameRow >= 0 && m_frameRow < kFrameHeight)
            emitFrameRow();
    } else {
        for (const Piece& piece : m_rows) {
            const std::uint32_t* from =
                m_acrossRows.data() + std::size_t(piece.source) * kFrameRowSums;
            std::uint64_t* to = m_frame.data() + std::size_t(piece.target) * kFrameRowSums;
            for (std::size_t k = 0; k < kFrameRowSums; ++k)
                to[k] += std::uint64_t{piece.weight} * from[k];
        }
    }
    m_stale.fill(kAllColumns);
    ImportedPicture imported = current();
    m_current = {};
    m_next = {};
    m_acrossRows = {};
    return imported;
}

} // namespace vemurion
