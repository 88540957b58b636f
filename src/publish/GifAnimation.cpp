#include "publish/GifAnimation.h"

#include "document/FrameSheet.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vemurion {

namespace {

// The colour table: black, white, and, when the file has any, the index of the dots that a frame
// after the first leaves as they were, whose colour is never shown.
constexpr std::uint8_t kBlackIndex = 0;
constexpr std::uint8_t kWhiteIndex = 1;
constexpr std::uint8_t kUnchangedIndex = 2;
constexpr int kMinCodeSize = 2; // the least a GIF allows, enough for four indices
constexpr int kClearCode = 1 << kMinCodeSize;
constexpr int kEndCode = kClearCode + 1;
constexpr int kFirstFreeCode = kClearCode + 2;
// As giflib does, the table starts again before code 4095 would be given out.
constexpr int kLastCode = 4095;
constexpr int kMaxCodeBits = 12;
constexpr int kMaxDelay = 0xFFFF;

// Images of at most this many pixels are coded twice, the second time parsed with a look ahead,
// whose time grows faster than the image.
constexpr std::size_t kMaxLookAheadPixels = 8192;

// The LZW coder of GIF image data: a dictionary of the strings seen, a trie of up to 4096 codes
// with four branches each, and the codes packed into bytes from the lowest bit up.
class LzwCoder {
public:
    // The image data of `indices`, one a pixel row by row. Plain LZW codes the longest string of
    // the dictionary at each step. With `lookAhead` the coder may take a shorter one when the
    // string after it reaches further; a decoder needs nothing of it, but the dictionary then
    // holds some strings twice, so that either way may come out smaller.
    std::vector<std::uint8_t> code(const std::vector<std::uint8_t>& indices, bool lookAhead) {
        m_bytes.clear();
        m_bits = 0;
        m_bitCount = 0;
        restart();
        put(kClearCode);
        const std::size_t count = indices.size();
        for (std::size_t i = 0; i < count;) {
            int code = 0;
            std::size_t length = matchAt(indices, i, count, &code);
            if (lookAhead && length > 1 && i + length < count) {
                std::size_t best = length;
                std::size_t reach = length + matchAt(indices, i + length, count);
                // Shorter first strings reach no further than the longest string of the
                // dictionary after them.
                for (std::size_t shorter = length - 1; shorter >= 1 && shorter + m_longest > reach;
                     --shorter) {
                    const std::size_t further = shorter + matchAt(indices, i + shorter, count);
                    if (further > reach) {
                        reach = further;
                        best = shorter;
                    }
                }
                if (best < length) length = matchAt(indices, i, i + best, &code);
            }
            put(code);
            i += length;
            if (i < count) {
                // A string the dictionary holds already keeps its first code.
                const std::size_t at = branch(code, indices[i]);
                add(m_next[at] == 0 ? at : kNoBranch);
                m_longest = std::max(m_longest, length + 1);
            } else {
                add(kNoBranch);
            }
        }
        put(kEndCode);
        if (m_bitCount > 0) m_bytes.push_back(static_cast<std::uint8_t>(m_bits));
        return m_bytes;
    }

private:
    static constexpr std::size_t kNoBranch = SIZE_MAX;

    static std::size_t branch(int code, int index) {
        return static_cast<std::size_t>(code) * 4 + static_cast<std::size_t>(index);
    }

    // The length of the longest string of the dictionary that starts at `at` of `indices` and
    // ends before `end`, and its code.
    std::size_t matchAt(const std::vector<std::uint8_t>& indices, std::size_t at, std::size_t end,
                        int* code = nullptr) const {
        int current = indices[at];
        std::size_t length = 1;
        while (at + length < end) {
            const int next = m_next[branch(current, indices[at + length])];
            if (next == 0) break;
            current = next;
            ++length;
        }
        if (code != nullptr) *code = current;
        return length;
    }

    void restart() {
        m_next.fill(0);
        m_nextCode = kFirstFreeCode;
        m_longest = 1;
        m_codeBits = kMinCodeSize + 1;
    }

    void put(int code) {
        m_bits |= static_cast<std::uint32_t>(code) << m_bitCount;
        m_bitCount += m_codeBits;
        while (m_bitCount >= 8) {
            m_bytes.push_back(static_cast<std::uint8_t>(m_bits));
            m_bits >>= 8;
            m_bitCount -= 8;
        }
    }

    // Gives the next code to the string at `at` of the trie (none after the last code), as the
    // decoder will once it has read the code just put; a full table starts again.
    void add(std::size_t at) {
        if (m_nextCode >= kLastCode) {
            put(kClearCode);
            restart();
            return;
        }
        if (m_nextCode == 1 << m_codeBits && m_codeBits < kMaxCodeBits) ++m_codeBits;
        if (at != kNoBranch) m_next[at] = static_cast<std::uint16_t>(m_nextCode);
        ++m_nextCode;
    }

    std::array<std::uint16_t, 4096 * 4> m_next{};
    int m_nextCode = kFirstFreeCode;
    std::size_t m_longest = 1; // at least the length of the longest string of the dictionary
    int m_codeBits = kMinCodeSize + 1;
    std::vector<std::uint8_t> m_bytes;
    std::uint32_t m_bits = 0;
    int m_bitCount = 0;
};

// One image of the file: its rectangle on the screen in pixels, its delay, and its data coded
// with every dot drawn and, for the frames after the first, with the unchanged dots transparent.
struct Image {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int delay = 0;
    std::vector<std::uint8_t> drawn;
    std::vector<std::uint8_t> transparent; // empty when there is no such way
};

// The rectangle of dots of `frame` that differ from `before`, in dots; empty (width 0) when none
// does.
struct DotRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

DotRect changedRect(const Raster& before, const Raster& frame) {
    int left = kFrameWidth;
    int right = -1;
    int top = kFrameHeight;
    int bottom = -1;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            if (before.at(x, y) == frame.at(x, y)) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

// The colour indices of `rect` of `frame` at `scale`, row by row; kUnchangedIndex where
// `before` (if any) holds the same dot.
std::vector<std::uint8_t> indicesOf(const Raster& frame, const Raster* before, DotRect rect,
                                    int scale) {
    const auto rowLength = static_cast<std::size_t>(rect.width * scale);
    std::vector<std::uint8_t> indices(rowLength * static_cast<std::size_t>(rect.height * scale));
    auto row = indices.begin();
    for (int y = rect.top; y < rect.top + rect.height; ++y) {
        auto pixel = row;
        for (int x = rect.left; x < rect.left + rect.width; ++x) {
            const Rgb dot = frame.at(x, y);
            std::uint8_t index = dot == kBlack ? kBlackIndex : kWhiteIndex;
            if (before != nullptr && before->at(x, y) == dot) index = kUnchangedIndex;
            pixel = std::fill_n(pixel, scale, index);
        }
        // The same row again for each further line of pixels of the dots.
        for (int repeat = 1; repeat < scale; ++repeat)
            pixel = std::copy_n(row, rowLength, pixel);
        row = pixel;
    }
    return indices;
}

// The shorter of plain and looked-ahead LZW data of `indices`.
std::vector<std::uint8_t> shortestCode(LzwCoder& coder, const std::vector<std::uint8_t>& indices) {
    std::vector<std::uint8_t> data = coder.code(indices, false);
    if (indices.size() <= kMaxLookAheadPixels) {
        std::vector<std::uint8_t> ahead = coder.code(indices, true);
        if (ahead.size() < data.size()) data = std::move(ahead);
    }
    return data;
}

// The image that turns `before` into `frame` on the screen: the rectangle `rect` of it, at
// `scale`. The first frame (no `before`) has no transparent way.
Image imageOf(LzwCoder& coder, const Raster& frame, const Raster* before, DotRect rect, int scale) {
    Image image;
    image.left = rect.left * scale;
    image.top = rect.top * scale;
    image.width = rect.width * scale;
    image.height = rect.height * scale;
    image.drawn = shortestCode(coder, indicesOf(frame, nullptr, rect, scale));
    if (before != nullptr)
        image.transparent = shortestCode(coder, indicesOf(frame, before, rect, scale));
    return image;
}

void putWord(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void putHeader(std::vector<std::uint8_t>& out, int width, int height, bool withUnchanged) {
    static constexpr char kSignature[] = "GIF89a";
    out.insert(out.end(), kSignature, kSignature + 6);
    putWord(out, width);
    putWord(out, height);
    // A global colour table of 2 (or 4) entries, with as many bits of colour resolution.
    const std::uint8_t tableBits = withUnchanged ? 1 : 0;
    out.push_back(static_cast<std::uint8_t>(0x80 | tableBits << 4 | tableBits));
    out.push_back(kWhiteIndex); // the background
    out.push_back(0);           // no pixel aspect ratio
    out.insert(out.end(), {0, 0, 0, 255, 255, 255});
    if (withUnchanged) out.insert(out.end(), {255, 255, 255, 255, 255, 255});
}

void putLoopExtension(std::vector<std::uint8_t>& out, int repeat) {
    static constexpr char kNetscape[] = "NETSCAPE2.0";
    out.insert(out.end(), {0x21, 0xFF, 11});
    out.insert(out.end(), kNetscape, kNetscape + 11);
    out.insert(out.end(), {3, 1});
    putWord(out, repeat);
    out.push_back(0);
}

// Whether `image` is written with its unchanged dots transparent, when the colour table offers
// the index for them.
bool transparentWins(const Image& image) {
    return !image.transparent.empty() && image.transparent.size() < image.drawn.size();
}

void putImage(std::vector<std::uint8_t>& out, const Image& image, bool withUnchanged) {
    const bool transparent = withUnchanged && transparentWins(image);
    const std::vector<std::uint8_t>& data = transparent ? image.transparent : image.drawn;
    // The graphic control extension: disposal "leave in place", the delay, and the transparent
    // index when the image has unchanged dots.
    out.insert(out.end(), {0x21, 0xF9, 4});
    out.push_back(static_cast<std::uint8_t>(1 << 2 | (transparent ? 1 : 0)));
    putWord(out, image.delay);
    out.push_back(transparent ? kUnchangedIndex : 0);
    out.push_back(0);
    out.push_back(0x2C);
    putWord(out, image.left);
    putWord(out, image.top);
    putWord(out, image.width);
    putWord(out, image.height);
    out.push_back(0); // no colour table of its own, not interlaced
    out.push_back(kMinCodeSize);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, data.size() - at);
        out.push_back(static_cast<std::uint8_t>(length));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    out.push_back(0);
}

} // namespace

std::optional<int> gifRepeatCount(int loopCount) {
    if (loopCount == kInfiniteLoops) return 0;
    if (loopCount <= 1) return std::nullopt;
    return loopCount - 1;
}

std::optional<std::vector<std::uint8_t>> encodeGifAnimation(const AnimationDocument& doc,
                                                            int scale) {
    if (scale < kMinGifScale || scale > kMaxGifScale) return std::nullopt;
    LzwCoder coder;
    std::vector<Image> images;
    Raster before;
    for (int i = 0; i < doc.FrameCount; ++i) {
        const Raster frame = doc.sheet.cell(i);
        const int delay = doc.DisplayTimes[static_cast<std::size_t>(i)] * kGifDelayPerTick;
        if (i == 0) {
            images.push_back(
                imageOf(coder, frame, nullptr, {0, 0, kFrameWidth, kFrameHeight}, scale));
        } else if (const DotRect rect = changedRect(before, frame); rect.width > 0) {
            images.push_back(imageOf(coder, frame, &before, rect, scale));
        } else if (images.back().delay + delay <= kMaxDelay) {
            // A frame like the one before only lengthens its time on the screen.
            images.back().delay += delay;
            continue;
        } else {
            // Beyond the longest delay a GIF can say, a pixel drawn again in its own colour.
            images.push_back(imageOf(coder, frame, nullptr, {0, 0, 1, 1}, 1));
        }
        images.back().delay = delay;
        before = frame;
    }
    std::vector<std::uint8_t> bytes;
    // The index for unchanged dots takes two more entries of the colour table, six bytes, worth
    // it only when the transparent images save more.
    std::size_t saved = 0;
    for (const Image& image : images)
        if (transparentWins(image)) saved += image.drawn.size() - image.transparent.size();
    const bool withUnchanged = saved > 6;
    putHeader(bytes, kFrameWidth * scale, kFrameHeight * scale, withUnchanged);
    if (const auto repeat = gifRepeatCount(doc.LoopCount)) putLoopExtension(bytes, *repeat);
    for (const Image& image : images)
        putImage(bytes, image, withUnchanged);
    bytes.push_back(0x3B); // the trailer
    return bytes;
}

} // namespace vemurion
