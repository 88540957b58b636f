#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vemurion {

// True when `path` names an existing regular file (or a link to one).
bool fileExists(const std::string& path);

// Reads at most `maxBytes` from the start of the file. nullopt when the file cannot be opened
// or read.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::size_t maxBytes);

// Replaces the file at `path` with `bytes` without ever destroying the previous file: the bytes
// go to a temporary file in the same folder, which is flushed, synced and renamed over `path`.
// On any failure the temporary file is removed, `path` is left as it was, and false is returned.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Test hook: makes the next atomic writes fail at the given step until cleared.
enum class WriteFault { None, Create, Write, Sync, Rename };
void setWriteFaultForTesting(WriteFault fault);

} // namespace vemurion
