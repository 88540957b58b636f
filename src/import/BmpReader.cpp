#include "import/BmpReader.h"

#include "files/FileIo.h"
#include "files/FileKind.h"

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <vector>

namespace vemurion {

namespace {

enum class Refusal { None, Unreadable, Broken, TooLarge };

// Densities beyond this many dots a metre (25400 a inch) are no real device's.
constexpr std::int64_t kMaxDensity = 1'000'000;

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kJpeg = 4;
constexpr std::uint32_t kPng = 5;
constexpr std::uint32_t kAlphaBitFields = 6;

std::uint32_t le16(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8;
}
std::uint32_t le32(const std::uint8_t* p) {
    return le16(p) | le16(p + 2) << 16;
}

// Reads the file in order, at most `limit` bytes from where it starts.
class Input {
public:
    Input(std::FILE* file, std::uint64_t limit) : m_file(file), m_left(limit) {}

    // Reads of at least this many bytes, such as rows of dots, go straight to the caller.
    static constexpr std::size_t kDirect = 4096;

    bool read(std::uint8_t* out, std::size_t count) {
        if (count > m_left) return false;
        m_left -= count;
        while (count > 0) {
            if (m_next == m_end) {
                if (count >= kDirect) return std::fread(out, 1, count, m_file) == count;
                if (!refill()) return false;
            }
            const std::size_t part = std::min(count, std::size_t(m_end - m_next));
            std::copy_n(m_next, part, out);
            m_next += part;
            out += part;
            count -= part;
        }
        return true;
    }
    bool skip(std::uint64_t count) {
        std::uint8_t scratch[256];
        while (count > 0) {
            const auto part = static_cast<std::size_t>(std::min<std::uint64_t>(count, 256));
            if (!read(scratch, part)) return false;
            count -= part;
        }
        return true;
    }
    // The next byte, or -1 past the end.
    int byte() {
        std::uint8_t b = 0;
        return read(&b, 1) ? b : -1;
    }

private:
    bool refill() {
        const std::size_t got = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
        m_next = m_buffer.data();
        m_end = m_next + got;
        return got > 0;
    }

    std::FILE* m_file;
    std::uint64_t m_left;
    std::array<std::uint8_t, 1 << 16> m_buffer{};
    std::uint8_t* m_next = nullptr;
    std::uint8_t* m_end = nullptr;
};

// One colour channel of a 16- or 32-bit dot: its bits, scaled to 0 .. 255.
struct Field {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t top = 0; // the largest value of the field

    // False for a mask whose bits are not contiguous.
    bool set(std::uint32_t bits) {
        mask = bits;
        if (bits == 0) return true;
        shift = std::countr_zero(bits);
        top = bits >> shift;
        return (top & (top + 1)) == 0;
    }
    std::uint8_t of(std::uint32_t dot) const {
        if (top == 0) return 0;
        return static_cast<std::uint8_t>((((dot & mask) >> shift) * 255 + top / 2) / top);
    }
};

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bits = 0;
    std::uint32_t compression = kRgb;
    std::uint64_t dataOffset = 0;
    std::uint64_t dataSize = 0;        // the bytes of dots from dataOffset
    std::vector<std::uint8_t> palette; // blue, green, red per entry
    std::array<Field, 3> fields{};     // red, green, blue
};

Refusal readHeader(Input& in, std::uint64_t fileSize, Header& h) {
    std::uint8_t file[14];
    if (!in.read(file, sizeof file) || file[0] != 'B' || file[1] != 'M') return Refusal::Unreadable;
    const std::uint32_t declaredSize = le32(file + 2);
    h.dataOffset = le32(file + 10);

    std::uint8_t info[124] = {};
    if (!in.read(info, 4)) return Refusal::Broken;
    const std::uint32_t infoSize = le32(info);
    if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 &&
        infoSize != 124) {
        return Refusal::Unreadable;
    }
    if (!in.read(info + 4, infoSize - 4)) return Refusal::Broken;
    std::uint32_t planes = 0;
    std::uint32_t colours = 0;
    std::uint64_t imageSize = 0;
    int entryBytes = 4;
    if (infoSize == 12) {
        h.width = le16(info + 4);
        h.height = le16(info + 6);
        planes = le16(info + 8);
        h.bits = static_cast<int>(le16(info + 10));
        entryBytes = 3;
    } else {
        h.width = static_cast<std::int32_t>(le32(info + 4));
        h.height = static_cast<std::int32_t>(le32(info + 8));
        planes = le16(info + 12);
        h.bits = static_cast<int>(le16(info + 14));
        h.compression = le32(info + 16);
        imageSize = le32(info + 20);
        const std::int64_t densityX = static_cast<std::int32_t>(le32(info + 24));
        const std::int64_t densityY = static_cast<std::int32_t>(le32(info + 28));
        if (std::max(std::abs(densityX), std::abs(densityY)) > kMaxDensity) return Refusal::Broken;
        colours = le32(info + 32);
    }
    if (h.compression == kJpeg || h.compression == kPng) return Refusal::Unreadable;
    if (planes != 1 || h.width <= 0 || h.height == 0) return Refusal::Broken;
    h.topDown = h.height < 0;
    h.height = std::abs(h.height);

    const int bits = h.bits;
    const bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields;
    const bool known =
        (h.compression == kRgb && (bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 ||
                                   bits == 24 || bits == 32)) ||
        (h.compression == kRle8 && bits == 8) || (h.compression == kRle4 && bits == 4) ||
        (fields && (bits == 16 || bits == 32));
    if (!known) return Refusal::Broken;
    // Run-length coded rows are stored from the bottom only.
    if (h.topDown && (h.compression == kRle8 || h.compression == kRle4)) return Refusal::Broken;
    if (!pictureSizeAllowed(h.width, h.height)) return Refusal::TooLarge;
    if (declaredSize > fileSize) return Refusal::Broken;

    std::uint64_t headerEnd = 14 + std::uint64_t{infoSize};
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bits == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0xFF00;
        masks[2] = 0xFF;
    }
    if (fields) {
        std::uint8_t after[16];
        const std::uint8_t* at = info + 40;
        if (infoSize == 40) {
            // The masks follow a 40-byte header: red, green, blue, and alpha when so coded.
            const std::size_t count = h.compression == kAlphaBitFields ? 16 : 12;
            if (!in.read(after, count)) return Refusal::Broken;
            headerEnd += count;
            at = after;
        }
        for (int c = 0; c < 3; ++c)
            masks[c] = le32(at + 4 * c);
    }
    for (int c = 0; c < 3; ++c) {
        if (!h.fields[std::size_t(c)].set(masks[c])) return Refusal::Broken;
    }

    if (h.dataOffset < headerEnd || h.dataOffset >= fileSize) return Refusal::Broken;
    if (bits <= 8) {
        const std::uint64_t most = std::uint64_t{1} << bits;
        if (colours > most) return Refusal::Broken;
        // A short palette is one that the dots' offset leaves less room for.
        const std::uint64_t room = (h.dataOffset - headerEnd) / std::uint64_t(entryBytes);
        const std::uint64_t entries = std::min<std::uint64_t>(colours != 0 ? colours : most, room);
        if (entries == 0) return Refusal::Broken;
        std::vector<std::uint8_t> raw(entries * std::uint64_t(entryBytes));
        if (!in.read(raw.data(), raw.size())) return Refusal::Broken;
        headerEnd += raw.size();
        h.palette.resize(entries * 3);
        for (std::size_t i = 0; i < entries; ++i)
            std::copy_n(raw.data() + i * std::size_t(entryBytes), 3, h.palette.data() + i * 3);
    }
    if (!in.skip(h.dataOffset - headerEnd)) return Refusal::Broken;

    const std::uint64_t available = fileSize - h.dataOffset;
    if (imageSize > available) return Refusal::Broken;
    if (h.compression == kRle8 || h.compression == kRle4) {
        h.dataSize = imageSize != 0 ? imageSize : available;
    } else {
        const std::uint64_t stride = (std::uint64_t(h.width) * std::uint64_t(bits) + 31) / 32 * 4;
        h.dataSize = stride * std::uint64_t(h.height);
        if (h.dataSize > available) return Refusal::Broken;
    }
    return Refusal::None;
}

// Turns palette indices into dots; false for an index beyond the palette.
bool paint(const std::vector<std::uint8_t>& indices, const Header& h, std::uint8_t* out) {
    const std::size_t entries = h.palette.size() / 3;
    for (const std::uint8_t index : indices) {
        if (index >= entries) return false;
        std::copy_n(h.palette.data() + std::size_t{index} * 3, 3, out);
        out += 3;
    }
    return true;
}

Refusal readPlainRows(Input& in, const Header& h, PictureRows& rows) {
    const auto width = static_cast<std::size_t>(h.width);
    const std::size_t stride = (width * std::size_t(h.bits) + 31) / 32 * 4;
    std::vector<std::uint8_t> stored(stride);
    std::vector<std::uint8_t> dots(width * 3);
    std::vector<std::uint8_t> indices(h.bits <= 8 ? width : 0);
    for (std::int64_t y = 0; y < h.height; ++y) {
        if (!in.read(stored.data(), stride)) return Refusal::Broken;
        const std::uint8_t* row = stored.data();
        if (h.bits <= 8) {
            const unsigned mask = (1u << h.bits) - 1;
            for (std::size_t x = 0; x < width; ++x) {
                const std::size_t bit = x * std::size_t(h.bits);
                const unsigned shift = 8 - unsigned(h.bits) - unsigned(bit % 8);
                indices[x] = static_cast<std::uint8_t>((row[bit / 8] >> shift) & mask);
            }
            if (!paint(indices, h, dots.data())) return Refusal::Broken;
            rows.row(dots.data());
        } else if (h.bits == 24) {
            rows.row(row);
        } else if (h.bits == 32 && h.compression == kRgb) {
            for (std::size_t x = 0; x < width; ++x)
                std::copy_n(row + 4 * x, 3, dots.data() + 3 * x);
            rows.row(dots.data());
        } else {
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint32_t dot = h.bits == 16 ? le16(row + 2 * x) : le32(row + 4 * x);
                dots[3 * x] = h.fields[2].of(dot);
                dots[3 * x + 1] = h.fields[1].of(dot);
                dots[3 * x + 2] = h.fields[0].of(dot);
            }
            rows.row(dots.data());
        }
    }
    return Refusal::None;
}

// Run-length coded rows, from the bottom. Dots that the code skips take the first palette colour.
Refusal readCodedRows(Input& in, const Header& h, PictureRows& rows) {
    const auto width = static_cast<std::size_t>(h.width);
    const bool four = h.compression == kRle4;
    std::vector<std::uint8_t> indices(width, 0);
    std::vector<std::uint8_t> dots(width * 3);
    std::int64_t y = 0;
    std::size_t x = 0;
    const auto endRow = [&]() {
        if (y >= h.height || !paint(indices, h, dots.data())) return false;
        rows.row(dots.data());
        std::fill(indices.begin(), indices.end(), 0);
        ++y;
        x = 0;
        return true;
    };
    const auto put = [&](std::size_t count, auto indexAt) {
        if (count > width - x) return false;
        for (std::size_t i = 0; i < count; ++i)
            indices[x++] = indexAt(i);
        return true;
    };
    while (y < h.height) {
        const int first = in.byte();
        const int second = in.byte();
        // Data that ends after the last row's end needs no end-of-picture code.
        if (first < 0 || second < 0) return Refusal::Broken;
        if (first > 0) {
            const auto value = static_cast<std::uint8_t>(second);
            const bool fits = put(std::size_t(first), [&](std::size_t i) {
                return four ? static_cast<std::uint8_t>(i % 2 == 0 ? value >> 4 : value & 15)
                            : value;
            });
            if (!fits) return Refusal::Broken;
        } else if (second == 0) {
            if (!endRow()) return Refusal::Broken;
        } else if (second == 1) {
            while (y < h.height) {
                if (!endRow()) return Refusal::Broken;
            }
        } else if (second == 2) {
            const int dx = in.byte();
            const int dy = in.byte();
            if (dx < 0 || dy < 0 || std::size_t(dx) > width - x || y + dy >= h.height)
                return Refusal::Broken;
            const std::size_t column = x + std::size_t(dx);
            for (int i = 0; i < dy; ++i) {
                if (!endRow()) return Refusal::Broken;
            }
            x = column;
        } else {
            const auto count = std::size_t(second);
            const std::size_t bytes = four ? (count + 1) / 2 : count;
            std::uint8_t literal[256];
            // Literal runs are padded to a whole number of 16-bit words.
            if (!in.read(literal, bytes + bytes % 2)) return Refusal::Broken;
            const bool fits = put(count, [&](std::size_t i) {
                return four ? static_cast<std::uint8_t>(i % 2 == 0 ? literal[i / 2] >> 4
                                                                   : literal[i / 2] & 15)
                            : literal[i];
            });
            if (!fits) return Refusal::Broken;
        }
    }
    return Refusal::None;
}

Refusal read(std::FILE* file, std::uint64_t fileSize, PictureRows& rows) {
    Input in(file, fileSize);
    Header h;
    if (const Refusal refusal = readHeader(in, fileSize, h); refusal != Refusal::None)
        return refusal;
    RowLayout layout;
    layout.width = static_cast<int>(h.width);
    layout.height = static_cast<int>(h.height);
    layout.order = DotOrder::Bgr;
    layout.bottomUp = !h.topDown;
    if (!rows.begin(layout)) return Refusal::TooLarge;
    Input data(file, h.dataSize);
    // The header's reader has buffered past the dots' start: go back to it.
    if (std::fseek(file, static_cast<long>(h.dataOffset), SEEK_SET) != 0) return Refusal::Broken;
    if (h.compression == kRle8 || h.compression == kRle4) return readCodedRows(data, h, rows);
    return readPlainRows(data, h, rows);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

std::string readBitmap(std::FILE* file, std::uint64_t fileSize, PictureRows& rows,
                       const std::string& name) {
    switch (read(file, fileSize, rows)) {
    case Refusal::None:
        return {};
    case Refusal::TooLarge:
        return tooLargeText(name);
    case Refusal::Broken:
        return name + " は壊れているため読み込めません.";
    case Refusal::Unreadable:
        break;
    }
    return name + " は読み込めません.";
}

ImportResult importBitmapFile(const std::string& path) {
    const std::string name = fileNamePart(path);
    const std::unique_ptr<std::FILE, FileCloser> file(openFileForReading(path));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0)
        return {std::nullopt, name + " は読み込めません."};
    const long size = std::ftell(file.get());
    std::rewind(file.get());
    if (size < 0) return {std::nullopt, name + " は読み込めません."};
    FrameReducer reducer;
    std::string error = readBitmap(file.get(), static_cast<std::uint64_t>(size), reducer, name);
    if (!error.empty()) return {std::nullopt, std::move(error)};
    return {reducer.finish(), {}};
}

} // namespace vemurion
