#include "files/OutputFiles.h"

#include "files/FileIo.h"
#include "files/FileKind.h"

#include <sys/stat.h>

namespace vemurion {

namespace {

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::optional<std::string> saveFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (writeFileAtomically(path, bytes)) return std::nullopt;
    return messageName(path) + " に保存できませんでした.";
}

FileWriter saverSparing(std::vector<std::string> inputs) {
    return [inputs = std::move(inputs)](
               const std::string& path,
               std::span<const std::uint8_t> bytes) -> std::optional<std::string> {
        // A target that does not exist yet is no input; one that does is compared by identity,
        // through links, with every input that exists.
        struct stat target {};
        if (::stat(path.c_str(), &target) == 0) {
            for (const std::string& input : inputs) {
                struct stat read {};
                if (::stat(input.c_str(), &read) == 0 && sameFile(target, read))
                    return messageName(path) + " は入力ファイルのため保存できませんでした.";
            }
        }
        return saveFile(path, bytes);
    };
}

} // namespace vemurion
