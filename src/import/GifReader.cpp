#include "import/GifReader.h"

#include "files/FileIo.h"
#include "files/FileKind.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>

namespace vemurion {

namespace {

class GifFile {
public:
    // The library takes the descriptor over, and closes it also when the file is no GIF.
    explicit GifFile(const std::string& path) {
        const int fd = openFileDescriptorForReading(path);
        if (fd < 0) {
            m_error = D_GIF_ERR_OPEN_FAILED;
            return;
        }
        m_gif = DGifOpenFileHandle(fd, &m_error);
    }
    GifFile(const GifFile&) = delete;
    GifFile& operator=(const GifFile&) = delete;
    ~GifFile() {
        if (m_gif != nullptr) DGifCloseFile(m_gif, &m_error);
    }
    GifFileType* get() const { return m_gif; }
    int openError() const { return m_error; }

private:
    int m_error = 0;
    GifFileType* m_gif = nullptr;
};

// The rows of an interlaced image come in four passes: every 8th row from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1.
int interlacedRow(int line, int height) {
    constexpr std::array<int, 4> kStart = {0, 4, 2, 1};
    constexpr std::array<int, 4> kStep = {8, 8, 4, 2};
    for (std::size_t pass = 0; pass < kStart.size(); ++pass) {
        const int inPass = (height - kStart[pass] + kStep[pass] - 1) / kStep[pass];
        if (line < inPass) return kStart[pass] + line * kStep[pass];
        line -= std::max(inPass, 0);
    }
    return -1;
}

// The logical screen, three bytes a dot in RGB order, and the composition of frames on it. A row
// takes memory only once a frame has drawn on it: until then it is the background, so that a
// screen costs what its frames draw, not what the file declares.
class Screen {
public:
    Screen(int width, int height, Rgb background)
        : m_width(width), m_height(height), m_rows(static_cast<std::size_t>(height)),
          m_blank(static_cast<std::size_t>(width) * 3) {
        for (std::size_t i = 0; i < m_blank.size(); i += 3) {
            m_blank[i] = redOf(background);
            m_blank[i + 1] = greenOf(background);
            m_blank[i + 2] = blueOf(background);
        }
    }

    int width() const { return m_width; }
    int height() const { return m_height; }
    const std::uint8_t* row(int y) const {
        const auto& dots = m_rows[static_cast<std::size_t>(y)];
        return dots.empty() ? m_blank.data() : dots.data();
    }

    // The image rectangle cut to the screen.
    struct Area {
        int left, top, right, bottom;
    };
    Area clip(const GifImageDesc& image) const {
        return {std::clamp(image.Left, 0, m_width), std::clamp(image.Top, 0, m_height),
                std::clamp(image.Left + image.Width, 0, m_width),
                std::clamp(image.Top + image.Height, 0, m_height)};
    }

    // Draws row `y` of the image (its own coordinates), skipping the transparent index.
    void draw(const GifImageDesc& image, int y, const GifPixelType* line,
              const ColorMapObject& colours, int transparent) {
        const int screenY = image.Top + y;
        if (screenY < 0 || screenY >= m_height) return;
        std::uint8_t* dots = nullptr;
        for (int x = 0; x < image.Width; ++x) {
            const int screenX = image.Left + x;
            if (screenX < 0 || screenX >= m_width || line[x] == transparent) continue;
            if (dots == nullptr) dots = drawable(screenY);
            // An index beyond the colour table shows black.
            const GifColorType colour =
                line[x] < colours.ColorCount ? colours.Colors[line[x]] : GifColorType{0, 0, 0};
            std::uint8_t* dot = dots + static_cast<std::ptrdiff_t>(screenX) * 3;
            dot[0] = colour.Red;
            dot[1] = colour.Green;
            dot[2] = colour.Blue;
        }
    }

    // Clears the area to the background.
    void clear(const Area& area) {
        for (int y = area.top; y < area.bottom; ++y) {
            auto& dots = m_rows[static_cast<std::size_t>(y)];
            if (!dots.empty())
                std::copy(m_blank.begin() + area.left * 3, m_blank.begin() + area.right * 3,
                          dots.begin() + area.left * 3);
        }
    }
    std::vector<std::uint8_t> save(const Area& area) const {
        std::vector<std::uint8_t> saved;
        for (int y = area.top; y < area.bottom; ++y)
            saved.insert(saved.end(), row(y) + area.left * 3, row(y) + area.right * 3);
        return saved;
    }
    void restore(const Area& area, const std::vector<std::uint8_t>& saved) {
        auto from = saved.begin();
        const auto rowBytes = static_cast<std::ptrdiff_t>(area.right - area.left) * 3;
        for (int y = area.top; y < area.bottom; ++y, from += rowBytes)
            std::copy(from, from + rowBytes, drawable(y) + area.left * 3);
    }

private:
    std::uint8_t* drawable(int y) {
        auto& dots = m_rows[static_cast<std::size_t>(y)];
        if (dots.empty()) dots = m_blank;
        return dots.data();
    }

    int m_width;
    int m_height;
    std::vector<std::vector<std::uint8_t>> m_rows; // empty: all background
    std::vector<std::uint8_t> m_blank;
};

ImportedPicture throughRoad(const Screen& screen) {
    FrameReducer reducer;
    reducer.begin(screen.width(), screen.height(), DotOrder::Rgb);
    for (int y = 0; y < screen.height(); ++y)
        reducer.row(screen.row(y));
    return reducer.finish();
}

// Passes over an image's coded data without decoding it.
bool skipImageData(GifFileType* gif) {
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) != GIF_OK) return false;
    while (block != nullptr)
        if (DGifGetCodeNext(gif, &block) != GIF_OK) return false;
    return true;
}

// Reads an extension; a graphic control block replaces `control`.
bool readExtension(GifFileType* gif, GraphicsControlBlock& control) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4)
        DGifExtensionToGCB(block[0], block + 1, &control);
    while (block != nullptr)
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
    return true;
}

GraphicsControlBlock noControl() {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSAL_UNSPECIFIED;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    return control;
}

} // namespace

int gifDelayToTicks(int hundredths) {
    return std::clamp((hundredths + 12) / 25, 1, 255);
}

GifImport importGifFile(const std::string& path, Rgb background, int maxFrames, int every) {
    every = std::max(every, 1);
    const std::int64_t composedFrames = std::int64_t{std::max(maxFrames, 0)} * every;
    const std::string name = fileNamePart(path);
    GifImport result;
    const auto refuse = [&](const std::string& text) {
        result.frames.clear();
        result.error = text;
        return result;
    };
    const std::string broken = name + " は壊れているため読み込めません.";

    GifFile file(path);
    GifFileType* gif = file.get();
    if (gif == nullptr) {
        // A file that opens and is no GIF, or cannot be opened at all.
        const int error = file.openError();
        return refuse(error == D_GIF_ERR_OPEN_FAILED || error == D_GIF_ERR_NOT_GIF_FILE
                          ? name + " は読み込めません."
                          : broken);
    }
    if (gif->SWidth < 1 || gif->SHeight < 1) return refuse(broken);
    if (!pictureSizeAllowed(gif->SWidth, gif->SHeight)) return refuse(tooLargeText(name));
    const std::int64_t screenDots = std::int64_t{gif->SWidth} * gif->SHeight;

    Screen screen(gif->SWidth, gif->SHeight, background);
    std::int64_t work = 0; // dots composed and decoded so far
    GraphicsControlBlock control = noControl();
    std::vector<GifPixelType> line;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) != GIF_OK) return refuse(broken);
        if (record == TERMINATE_RECORD_TYPE) break;
        if (record == EXTENSION_RECORD_TYPE) {
            if (!readExtension(gif, control)) return refuse(broken);
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) return refuse(broken);
        if (DGifGetImageDesc(gif) != GIF_OK) return refuse(broken);
        const GifImageDesc image = gif->Image;
        if (image.Width <= 0 || image.Height <= 0) return refuse(broken);
        const int index = result.frameCount++;
        result.ticks.push_back(gifDelayToTicks(control.DelayTime));
        if (index >= composedFrames) {
            if (!skipImageData(gif)) return refuse(broken);
            control = noControl();
            continue;
        }
        // Each frame costs its screen and its own image, which may reach beyond the screen.
        if (!pictureSizeAllowed(image.Width, image.Height)) return refuse(tooLargeText(name));
        work += screenDots + std::int64_t{image.Width} * image.Height;
        if (work > kMaxGifComposedDots) return refuse(tooLargeText(name));
        const ColorMapObject* colours = image.ColorMap != nullptr ? image.ColorMap : gif->SColorMap;
        if (colours == nullptr) return refuse(broken);

        const Screen::Area area = screen.clip(image);
        const std::vector<std::uint8_t> before = control.DisposalMode == DISPOSE_PREVIOUS
                                                     ? screen.save(area)
                                                     : std::vector<std::uint8_t>();
        line.resize(static_cast<std::size_t>(image.Width));
        for (int i = 0; i < image.Height; ++i) {
            if (DGifGetLine(gif, line.data(), image.Width) != GIF_OK) return refuse(broken);
            const int y = image.Interlace ? interlacedRow(i, image.Height) : i;
            screen.draw(image, y, line.data(), *colours, control.TransparentColor);
        }
        if (index % every == 0)
            result.frames.push_back({throughRoad(screen), gifDelayToTicks(control.DelayTime)});

        if (control.DisposalMode == DISPOSE_BACKGROUND)
            screen.clear(area);
        else if (control.DisposalMode == DISPOSE_PREVIOUS)
            screen.restore(area, before);
        control = noControl();
    }
    if (result.frameCount == 0) return refuse(broken);
    return result;
}

} // namespace vemurion
