#include "import/JpegDecoder.h"

#include "document/FrameSheet.h"
#include "files/FileIo.h"
#include "files/FileKind.h"

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <memory>

// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace vemurion {

namespace {

// Two bytes that end every JPEG stream; fed to the library when the data runs out, so that a
// truncated stream decodes with its missing part grey instead of failing to suspend.
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

// The message code given when a stream has more than kMaxJpegScans scans.
constexpr int kTooManyScans = JERR_BAD_SCAN_SCRIPT;

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

// Warnings (corrupt but readable data) are counted, not printed; too many end the decoding with
// the last one's code. Trace messages (level 0 and up) are ignored.
void emitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    if (++cinfo->err->num_warnings > kMaxJpegWarnings) (*cinfo->err->error_exit)(cinfo);
}

// Called before each step of reading the input, so also at every new scan.
void progressMonitor(j_common_ptr cinfo) {
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxJpegScans) {
        cinfo->err->msg_code = kTooManyScans;
        (*cinfo->err->error_exit)(cinfo);
    }
}

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
    jpeg_progress_mgr progress{};
    bool tooLarge = false;

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

// Reads the header from `file`, or from `bytes` without one, and chooses the output colours and
// scale. False on an error, or when the picture is of a kind or size that is not decoded;
// msg_code or tooLarge then tells which.
bool readHeader(Decoder& d, std::FILE* file, std::span<const std::uint8_t> bytes,
                std::uint64_t fileBytes) {
    d.cinfo.err = jpeg_std_error(&d.error.pub);
    d.error.pub.error_exit = errorExit;
    d.error.pub.emit_message = emitMessage;
    if (setjmp(d.error.jump)) return false;
    jpeg_create_decompress(&d.cinfo);
    d.cinfo.mem->max_memory_to_use = jpegMemoryLimit(fileBytes);
    d.progress.progress_monitor = progressMonitor;
    d.cinfo.progress = &d.progress;
    if (file != nullptr) {
        jpeg_stdio_src(&d.cinfo, file);
    } else {
        if (bytes.empty()) ERREXIT(&d.cinfo, JERR_INPUT_EMPTY);
        pointSourceAt(d, bytes);
    }
    jpeg_read_header(&d.cinfo, TRUE);

    // Samples of more than 8 bits do not fit the 8-bit scanlines of this interface.
    if (d.cinfo.data_precision != 8) {
        d.error.pub.msg_code = JERR_BAD_PRECISION;
        return false;
    }
    const JDIMENSION width = d.cinfo.image_width;
    const JDIMENSION height = d.cinfo.image_height;
    if (width == 0 || height == 0) {
        d.error.pub.msg_code = JERR_EMPTY_IMAGE;
        return false;
    }
    if (std::int64_t{width} * height > kMaxJpegDeclaredDots) {
        d.tooLarge = true;
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
    d.cinfo.scale_num = 1;
    d.cinfo.scale_denom = 1;
    // A picture that fits is read whole; a larger one at the smallest scale that leaves each
    // frame dot 2 x 2 pixels, along each side that has that many.
    if (width > kFrameWidth || height > kFrameHeight) {
        const JDIMENSION wantedWidth = std::min<JDIMENSION>(width, 2 * kFrameWidth);
        const JDIMENSION wantedHeight = std::min<JDIMENSION>(height, 2 * kFrameHeight);
        d.cinfo.scale_denom = 8;
        for (unsigned eighths = 1; eighths <= 8; ++eighths) {
            d.cinfo.scale_num = eighths;
            jpeg_calc_output_dimensions(&d.cinfo);
            if (d.cinfo.output_width >= wantedWidth && d.cinfo.output_height >= wantedHeight) break;
        }
    }
    jpeg_calc_output_dimensions(&d.cinfo);
    if (!pictureSizeAllowed(d.cinfo.output_width, d.cinfo.output_height)) {
        d.tooLarge = true;
        return false;
    }
    return true;
}

void convertRow(const JSAMPLE* sample, JSAMPLE* rgb, JDIMENSION width, int components,
                bool invertedCmyk) {
    for (JDIMENSION x = 0; x < width; ++x, sample += components, rgb += 3) {
        if (components == 1) {
            rgb[0] = rgb[1] = rgb[2] = sample[0];
            continue;
        }
        // Adobe's files store CMYK inverted (255 is no ink); others store the ink itself.
        const unsigned k = invertedCmyk ? sample[3] : 255u - sample[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned ink = invertedCmyk ? sample[c] : 255u - sample[c];
            rgb[c] = static_cast<JSAMPLE>(ink * k / 255);
        }
    }
}

// Decodes every scanline into `rows`.
bool readScanlines(Decoder& d, PictureRows& rows) {
    if (setjmp(d.error.jump)) return false;
    jpeg_start_decompress(&d.cinfo);
    const int components = d.cinfo.output_components;
    const JDIMENSION width = d.cinfo.output_width;
    // A scaled dot is 8 / scale_num of the picture's dots, so 8 parts of 1 / scale_num each.
    RowLayout layout;
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(d.cinfo.output_height);
    layout.unit = static_cast<int>(d.cinfo.scale_denom);
    layout.extentX = std::int64_t{d.cinfo.image_width} * d.cinfo.scale_num;
    layout.extentY = std::int64_t{d.cinfo.image_height} * d.cinfo.scale_num;
    if (!rows.begin(layout)) {
        d.tooLarge = true;
        return false;
    }
    const bool invertedCmyk = d.cinfo.saw_Adobe_marker != FALSE;
    const auto lines = static_cast<JDIMENSION>(d.cinfo.rec_outbuf_height);
    // Freed with the decompression object.
    const auto pool = reinterpret_cast<j_common_ptr>(&d.cinfo);
    JSAMPARRAY buffer = (*d.cinfo.mem->alloc_sarray)(
        pool, JPOOL_IMAGE, width * static_cast<JDIMENSION>(components), lines);
    JSAMPARRAY rgb =
        components == 3 ? nullptr : (*d.cinfo.mem->alloc_sarray)(pool, JPOOL_IMAGE, width * 3, 1);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        const JDIMENSION got = jpeg_read_scanlines(&d.cinfo, buffer, lines);
        if (got == 0) return false;
        for (JDIMENSION i = 0; i < got; ++i) {
            if (rgb == nullptr) {
                rows.row(buffer[i]);
            } else {
                convertRow(buffer[i], rgb[0], width, components, invertedCmyk);
                rows.row(rgb[0]);
            }
        }
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

std::string decode(std::FILE* file, std::uint64_t fileBytes, std::span<const std::uint8_t> bytes,
                   PictureRows& rows, const std::string& name) {
    Decoder d;
    if (readHeader(d, file, bytes, fileBytes) && readScanlines(d, rows)) return {};
    return d.tooLarge ? tooLargeText(name) : jpegErrorText(d.messageCode());
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

long jpegMemoryLimit(std::uint64_t fileBytes) {
    const std::uint64_t most = (kJpegMemoryLimit - kJpegMemoryBase) / kJpegMemoryPerFileByte;
    return kJpegMemoryBase + static_cast<long>(std::min(fileBytes, most)) * kJpegMemoryPerFileByte;
}

std::string jpegErrorText(int messageCode) {
    return "JPEG エラー #" + std::to_string(messageCode);
}

std::string decodeJpeg(std::span<const std::uint8_t> bytes, PictureRows& rows,
                       const std::string& name) {
    return decode(nullptr, bytes.size(), bytes, rows, name);
}

ImportResult importJpegFile(const std::string& path) {
    const std::string name = fileNamePart(path);
    const std::unique_ptr<std::FILE, FileCloser> file(openFileForReading(path));
    if (!file) return {std::nullopt, name + " は読み込めません."};
    FrameReducer reducer;
    std::uint64_t fileBytes = 0;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        const long end = std::ftell(file.get());
        fileBytes = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    }
    std::rewind(file.get());
    std::string error = decode(file.get(), fileBytes, {}, reducer, name);
    if (!error.empty()) return {std::nullopt, std::move(error)};
    return {reducer.finish(), {}};
}

} // namespace vemurion
