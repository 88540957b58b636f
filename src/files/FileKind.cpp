#include "files/FileKind.h"

#include <algorithm>
#include <initializer_list>

namespace vemurion {

namespace {

bool containsEither(std::string_view path, std::string_view lower, std::string_view upper) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name.find(lower) != std::string_view::npos || name.find(upper) != std::string_view::npos;
}

} // namespace

bool pathHasLcdExtension(std::string_view path) {
    return containsEither(path, ".lcd", ".LCD");
}
bool pathHasTextExtension(std::string_view path) {
    return containsEither(path, ".txt", ".TXT");
}
bool pathHasBitmapExtension(std::string_view path) {
    return containsEither(path, ".bmp", ".BMP");
}
bool pathHasJpegExtension(std::string_view path) {
    return containsEither(path, ".jpg", ".JPG");
}

bool pathHasPngExtension(std::string_view path) {
    return containsEither(path, ".png", ".PNG");
}
bool pathHasGifExtension(std::string_view path) {
    return containsEither(path, ".gif", ".GIF");
}

bool pathHasKnownExtension(std::string_view path) {
    return pathHasLcdExtension(path) || pathHasTextExtension(path) ||
           pathHasBitmapExtension(path) || pathHasJpegExtension(path);
}

PictureKind pictureKindByName(std::string_view path) {
    if (pathHasBitmapExtension(path)) return PictureKind::Bitmap;
    if (pathHasJpegExtension(path)) return PictureKind::Jpeg;
    std::string name = fileNamePart(path);
    for (char& c : name)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const auto endsWith = [&name](std::string_view end) {
        return name.size() > end.size() && name.ends_with(end);
    };
    if (endsWith(".png")) return PictureKind::Png;
    if (endsWith(".gif")) return PictureKind::Gif;
    if (endsWith(".jpeg") || endsWith(".jpe") || endsWith(".jfif")) return PictureKind::Jpeg;
    return PictureKind::None;
}

PictureKind pictureKindByContent(std::span<const std::uint8_t> head) {
    const auto startsWith = [head](std::initializer_list<std::uint8_t> bytes) {
        return head.size() >= bytes.size() && std::equal(bytes.begin(), bytes.end(), head.begin());
    };
    if (startsWith({'B', 'M'})) return PictureKind::Bitmap;
    if (startsWith({0xFF, 0xD8, 0xFF})) return PictureKind::Jpeg;
    if (startsWith({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return PictureKind::Png;
    if (startsWith({'G', 'I', 'F', '8', '7', 'a'}) || startsWith({'G', 'I', 'F', '8', '9', 'a'}))
        return PictureKind::Gif;
    return PictureKind::None;
}

std::string fileNamePart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string folderPart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string messageName(std::string_view path) {
    if (path.empty()) return "\"\"";
    const std::string name = fileNamePart(path);
    return name.empty() ? std::string(path) : name;
}

} // namespace vemurion
