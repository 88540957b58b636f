#include "import/PngReader.h"

#include "files/FileIo.h"
#include "files/FileKind.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace vemurion {

namespace {

enum class Refusal { None, NotPng, Broken, TooLarge };

// The largest chunk libpng may take into memory, and how many ancillary chunks it may keep.
constexpr png_alloc_size_t kPngChunkBytes = 1 << 20;
constexpr png_uint_32 kPngCachedChunks = 32;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void onPngError(png_structp png, png_const_charp) {
    std::longjmp(png_jmpbuf(png), 1);
}
void onPngWarning(png_structp, png_const_charp) {}

// The header and the transforms; the dots are read by readDots. Both only hold plain values
// across their setjmp, as libpng's errors leave them by longjmp.
Refusal readHeader(png_structp png, png_infop info, FrameReducer& rows, Rgb background,
                   bool& interlaced, std::uint32_t& width, std::uint32_t& height) {
    if (setjmp(png_jmpbuf(png))) return Refusal::Broken;
    png_read_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    if (!pictureSizeAllowed(width, height)) return Refusal::TooLarge;

    const int colourType = png_get_color_type(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if ((colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_color_16 over{};
        over.red = redOf(background);
        over.green = greenOf(background);
        over.blue = blueOf(background);
        png_set_background(png, &over, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    }
    // Without libpng's interlace handling, a progressive picture comes as the reduced pictures
    // of its passes, which the reducer takes dot by dot: nothing holds the picture whole.
    interlaced = png_get_interlace_type(png, info) == PNG_INTERLACE_ADAM7;
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{width} * 3) return Refusal::Broken;
    if (!rows.begin(static_cast<int>(width), static_cast<int>(height), DotOrder::Rgb))
        return Refusal::TooLarge;
    return Refusal::None;
}

// Every row goes out through `line` as it is decoded: a progressive picture's pass by pass,
// each pass's rows holding every n-th dot.
Refusal readDots(png_structp png, FrameReducer& rows, bool interlaced, std::uint32_t width,
                 std::uint32_t height, std::uint8_t* line) {
    if (setjmp(png_jmpbuf(png))) return Refusal::Broken;
    if (!interlaced) {
        for (std::uint32_t y = 0; y < height; ++y) {
            png_read_row(png, line, nullptr);
            rows.row(line);
        }
    } else {
        for (int pass = 0; pass < PNG_INTERLACE_ADAM7_PASSES; ++pass) {
            const std::uint32_t columns = PNG_PASS_COLS(width, pass);
            // libpng passes over the passes that hold no dot.
            if (columns == 0) continue;
            for (std::uint32_t y = 0; y < PNG_PASS_ROWS(height, pass); ++y) {
                png_read_row(png, line, nullptr);
                rows.dots(static_cast<int>(PNG_ROW_FROM_PASS_ROW(y, pass)),
                          static_cast<int>(PNG_PASS_START_COL(pass)),
                          static_cast<int>(PNG_PASS_COL_OFFSET(pass)), static_cast<int>(columns),
                          line);
            }
        }
    }
    png_read_end(png, nullptr);
    return Refusal::None;
}

std::string refusalText(Refusal refusal, const std::string& name) {
    switch (refusal) {
    case Refusal::None:
        return {};
    case Refusal::NotPng:
        return name + " は読み込めません.";
    case Refusal::Broken:
        return name + " は壊れているため読み込めません.";
    case Refusal::TooLarge:
        return tooLargeText(name);
    }
    return {};
}

// Chunks that hold nothing the dots depend on are passed over unread, whatever length they
// declare: text, suggested palettes, histograms, times, sizes and Exif data, and the file's
// background, as the caller's is used. libpng would otherwise allocate (and clear) what each
// declares before finding that the file ends. The colour space chunks are read, as their gamma
// changes how translucent dots are laid over the background; a colour profile among them is
// held to kPngChunkBytes, more than real ones take.
void limitChunks(png_structp png) {
    static const png_byte kUnused[] = "tEXt\0zTXt\0iTXt\0sPLT\0hIST\0tIME\0pHYs\0oFFs\0pCAL\0sCAL\0"
                                      "sBIT\0eXIf\0bKGD";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kUnused,
                                static_cast<int>(sizeof kUnused / 5));
    png_set_chunk_malloc_max(png, kPngChunkBytes);
    png_set_chunk_cache_max(png, kPngCachedChunks);
}

// libpng takes its memory through these: an allocation larger than any a picture within the
// limits needs is refused, and the file with it, whatever part of libpng asks for it.
constexpr png_alloc_size_t kPngLargestAllocation = 4 << 20;

png_voidp allocate(png_structp png, png_alloc_size_t size) {
    if (size > kPngLargestAllocation) {
        *static_cast<bool*>(png_get_mem_ptr(png)) = true;
        return nullptr;
    }
    return std::malloc(size);
}
void release(png_structp, png_voidp memory) {
    std::free(memory);
}

class PngReading {
public:
    PngReading() {
        m_png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning,
                                         &m_askedTooMuch, allocate, release);
        if (m_png != nullptr) m_info = png_create_info_struct(m_png);
    }
    PngReading(const PngReading&) = delete;
    PngReading& operator=(const PngReading&) = delete;
    ~PngReading() {
        png_destroy_read_struct(&m_png, m_info != nullptr ? &m_info : nullptr, nullptr);
    }

    bool ok() const { return m_png != nullptr && m_info != nullptr; }
    png_structp png() const { return m_png; }
    png_infop info() const { return m_info; }
    bool askedTooMuch() const { return m_askedTooMuch; }

private:
    bool m_askedTooMuch = false;
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

} // namespace

std::string readPng(std::FILE* file, FrameReducer& rows, const std::string& name, Rgb background) {
    png_byte signature[8];
    if (std::fread(signature, 1, sizeof signature, file) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        return refusalText(Refusal::NotPng, name);
    }
    PngReading reading;
    if (!reading.ok()) return refusalText(Refusal::NotPng, name);
    png_init_io(reading.png(), file);
    png_set_sig_bytes(reading.png(), sizeof signature);
    // The road's limits decide, once the header is read: libpng's own would call a large
    // picture damaged.
    png_set_user_limits(reading.png(), 0x7FFFFFFF, 0x7FFFFFFF);
    limitChunks(reading.png());

    bool interlaced = false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    Refusal refusal =
        readHeader(reading.png(), reading.info(), rows, background, interlaced, width, height);
    if (refusal == Refusal::None) {
        std::vector<std::uint8_t> line(std::size_t{width} * 3);
        refusal = readDots(reading.png(), rows, interlaced, width, height, line.data());
    }
    return refusalText(reading.askedTooMuch() ? Refusal::TooLarge : refusal, name);
}

ImportResult importPngFile(const std::string& path, Rgb background) {
    const std::string name = fileNamePart(path);
    const std::unique_ptr<std::FILE, FileCloser> file(openFileForReading(path));
    if (!file) return {std::nullopt, name + " は読み込めません."};
    FrameReducer reducer;
    std::string error = readPng(file.get(), reducer, name, background);
    if (!error.empty()) return {std::nullopt, std::move(error)};
    return {reducer.finish(), {}};
}

} // namespace vemurion
