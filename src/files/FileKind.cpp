#include "files/FileKind.h"

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
