#include "import/PngReader.h"

#include "files/FileIo.h"
#include "files/FileKind.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <memory>
#include <vector>

namespace vemurion {

namespace {

enum class Refusal { None, NotPng, Broken, TooLarge };

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void onPngError(png_structp png, png_const_charp) {
    std::longjmp(png_jmpbuf(png), 1);
}
void onPngWarning(png_structp, png_const_charp) {}

// The header and the transforms; the dots are read by readDots. Both only hold plain values
// across their setjmp, as libpng's errors leave them by longjmp.
Refusal readHeader(png_structp png, png_infop info, PictureRows& rows, Rgb background, int& passes,
                   std::uint32_t& width, std::uint32_t& height) {
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
    passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{width} * 3) return Refusal::Broken;
    if (!rows.begin(static_cast<int>(width), static_cast<int>(height), DotOrder::Rgb))
        return Refusal::TooLarge;
    return Refusal::None;
}

// A picture of one pass goes out row by row through `line`; a progressive one is assembled in
// `whole` and handed over when its last pass is in.
Refusal readDots(png_structp png, PictureRows& rows, int passes, std::uint32_t height,
                 std::uint8_t* line, std::uint8_t* whole, std::size_t rowBytes) {
    if (setjmp(png_jmpbuf(png))) return Refusal::Broken;
    if (passes == 1) {
        for (std::uint32_t y = 0; y < height; ++y) {
            png_read_row(png, line, nullptr);
            rows.row(line);
        }
    } else {
        for (int pass = 0; pass < passes; ++pass)
            for (std::uint32_t y = 0; y < height; ++y)
                png_read_row(png, whole + y * rowBytes, nullptr);
        for (std::uint32_t y = 0; y < height; ++y)
            rows.row(whole + y * rowBytes);
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

class PngReading {
public:
    PngReading() {
        m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
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

private:
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

} // namespace

std::string readPng(std::FILE* file, PictureRows& rows, const std::string& name, Rgb background) {
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

    int passes = 1;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    Refusal refusal =
        readHeader(reading.png(), reading.info(), rows, background, passes, width, height);
    if (refusal != Refusal::None) return refusalText(refusal, name);

    const std::size_t rowBytes = std::size_t{width} * 3;
    std::vector<std::uint8_t> line(rowBytes);
    // Left unset: memory is taken as passes fill it, so that a progressive file declaring a large
    // picture and holding little costs little before its data runs out.
    const auto whole =
        std::make_unique_for_overwrite<std::uint8_t[]>(passes == 1 ? 0 : rowBytes * height);
    refusal = readDots(reading.png(), rows, passes, height, line.data(), whole.get(), rowBytes);
    return refusalText(refusal, name);
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
