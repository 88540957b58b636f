#include "import/JpegDecoder.h"

#include "files/FileIo.h"
#include "files/FileKind.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <new>

// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace vemurion {

namespace {

// A file larger than this is no JPEG picture of at most kMaxPictureDots dots.
constexpr std::size_t kMaxJpegFileBytes = std::size_t{512} << 20;

// Two bytes that end every JPEG stream; fed to the library when the data runs out, so that a
// truncated file decodes with its missing part grey instead of failing to suspend.
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

// The library reports a fatal error by calling error_exit, which must not return. Ours jumps
// back to the setjmp of the decoding step under way; every C++ object of the decoder lives in
// frames outside those steps, so the jump skips no destructor.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void errorExit(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(manager->jump, 1);
}

// Warnings (corrupt but readable data) are accepted silently; the library would print them.
void outputMessage(j_common_ptr) {}

// A source manager over a byte span that outlives the decompression.
void initSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr cinfo) {
    WARNMS(cinfo, JWRN_JPEG_EOF);
    cinfo->src->next_input_byte = kEndOfImage;
    cinfo->src->bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* src = cinfo->src;
    const auto skip = static_cast<std::size_t>(count);
    if (skip > src->bytes_in_buffer) {
        fillInputBuffer(cinfo);
        return;
    }
    src->next_input_byte += skip;
    src->bytes_in_buffer -= skip;
}

void termSource(j_decompress_ptr) {}

// Destroying a decompression object that was zeroed and never created, or whose creation
// failed part way, is safe: the library only releases the memory manager if there is one.
struct Decoder {
    jpeg_decompress_struct cinfo{};
    ErrorManager error{};
    jpeg_source_mgr source{};

    Decoder() = default;
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    ~Decoder() { jpeg_destroy_decompress(&cinfo); }
    int messageCode() const { return error.pub.msg_code; }
};

void pointSourceAt(Decoder& d, std::span<const std::uint8_t> bytes) {
    d.source.init_source = initSource;
    d.source.fill_input_buffer = fillInputBuffer;
    d.source.skip_input_data = skipInputData;
    d.source.resync_to_restart = jpeg_resync_to_restart;
    d.source.term_source = termSource;
    d.source.next_input_byte = bytes.data();
    d.source.bytes_in_buffer = bytes.size();
    d.cinfo.src = &d.source;
}

// The steps below hold only trivially destructible locals: an error jumps back into them.

// Reads the header and chooses the output colours. False on an error, or when the picture is
// of a kind or size that is not decoded; msg_code then tells which.
bool readHeader(Decoder& d, std::span<const std::uint8_t> bytes) {
    d.cinfo.err = jpeg_std_error(&d.error.pub);
    d.error.pub.error_exit = errorExit;
    d.error.pub.output_message = outputMessage;
    if (setjmp(d.error.jump)) return false;
    jpeg_create_decompress(&d.cinfo);
    if (bytes.empty()) ERREXIT(&d.cinfo, JERR_INPUT_EMPTY);
    pointSourceAt(d, bytes);
    jpeg_read_header(&d.cinfo, TRUE);

    // Samples of more than 8 bits do not fit the 8-bit scanlines of this interface.
    if (d.cinfo.data_precision != 8) {
        d.error.pub.msg_code = JERR_BAD_PRECISION;
        return false;
    }
    const std::uint64_t dots =
        std::uint64_t{d.cinfo.image_width} * std::uint64_t{d.cinfo.image_height};
    if (dots == 0 || dots > kMaxPictureDots) {
        d.error.pub.msg_code = dots == 0 ? JERR_EMPTY_IMAGE : JERR_IMAGE_TOO_BIG;
        return false;
    }
    switch (d.cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        d.cinfo.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        d.cinfo.out_color_space = JCS_CMYK;
        break;
    default:
        d.cinfo.out_color_space = JCS_RGB;
        break;
    }
    return true;
}

Rgb dotFrom(const JSAMPLE* sample, int components, bool invertedCmyk) {
    switch (components) {
    case 1:
        return makeRgb(sample[0], sample[0], sample[0]);
    case 4: {
        // Adobe's files store CMYK inverted (255 is no ink); others store the ink itself.
        const unsigned c = invertedCmyk ? sample[0] : 255u - sample[0];
        const unsigned m = invertedCmyk ? sample[1] : 255u - sample[1];
        const unsigned y = invertedCmyk ? sample[2] : 255u - sample[2];
        const unsigned k = invertedCmyk ? sample[3] : 255u - sample[3];
        return makeRgb(static_cast<std::uint8_t>(c * k / 255),
                       static_cast<std::uint8_t>(m * k / 255),
                       static_cast<std::uint8_t>(y * k / 255));
    }
    default:
        return makeRgb(sample[0], sample[1], sample[2]);
    }
}

// Decodes every scanline into `picture`, which has the header's size.
bool readScanlines(Decoder& d, Raster& picture) {
    if (setjmp(d.error.jump)) return false;
    jpeg_start_decompress(&d.cinfo);
    const int components = d.cinfo.output_components;
    const bool invertedCmyk = d.cinfo.saw_Adobe_marker != FALSE;
    // Freed with the decompression object.
    JSAMPARRAY row =
        (*d.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.cinfo), JPOOL_IMAGE,
                                     d.cinfo.output_width * static_cast<JDIMENSION>(components), 1);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        const int y = static_cast<int>(d.cinfo.output_scanline);
        if (jpeg_read_scanlines(&d.cinfo, row, 1) != 1) return false;
        const JSAMPLE* sample = row[0];
        for (int x = 0; x < picture.width(); ++x, sample += components)
            picture.set(x, y, dotFrom(sample, components, invertedCmyk));
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

PictureReadResult failure(int messageCode) {
    return {std::nullopt, jpegErrorText(messageCode)};
}

} // namespace

std::string jpegErrorText(int messageCode) {
    return "JPEG エラー #" + std::to_string(messageCode);
}

PictureReadResult decodeJpeg(std::span<const std::uint8_t> bytes) {
    Decoder d;
    if (!readHeader(d, bytes)) return failure(d.messageCode());
    PictureReadResult result;
    try {
        result.picture.emplace(static_cast<int>(d.cinfo.image_width),
                               static_cast<int>(d.cinfo.image_height), kWhite);
    } catch (const std::bad_alloc&) {
        return failure(JERR_OUT_OF_MEMORY);
    }
    if (!readScanlines(d, *result.picture)) return failure(d.messageCode());
    return result;
}

PictureReadResult readJpegFile(const std::string& path) {
    const auto bytes = readFileBytes(path, kMaxJpegFileBytes + 1);
    if (!bytes || bytes->size() > kMaxJpegFileBytes)
        return {std::nullopt, fileNamePart(path) + " は読み込めません."};
    return decodeJpeg(*bytes);
}

} // namespace vemurion
