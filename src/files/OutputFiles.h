#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vemurion {

// Writes one file; nullopt once it is written, otherwise the message for the user.
using FileWriter =
    std::function<std::optional<std::string>(const std::string&, std::span<const std::uint8_t>)>;

// Writes `bytes` as the editor saves (writeFileAtomically, with its refusals). On failure
// "<name> に保存できませんでした." and `path` holds what it held.
std::optional<std::string> saveFile(const std::string& path, std::span<const std::uint8_t> bytes);

// saveFile, except that a path naming the same file as one of `inputs` (by any name or link) is
// refused with "<name> は入力ファイルのため保存できませんでした." and left alone: a batch run
// never writes over what it reads.
FileWriter saverSparing(std::vector<std::string> inputs);

} // namespace vemurion
