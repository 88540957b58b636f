#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vemurion {

// True when `path` names an existing regular file (or a link to one).
bool fileExists(const std::string& path);
// True when `path` names anything at all: a file, a folder, a device, a FIFO (through links).
bool pathExists(const std::string& path);

// Reads at most `maxBytes` from the start of the file. nullopt when the file cannot be opened
// or read, or is no regular file: a FIFO, a device or a folder is refused without waiting for
// it, also when it took the place of a file the caller had checked.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::size_t maxBytes);
// The regular file at `path` as a stream for reading raw bytes (mode "rb"), or nullptr, also
// for a FIFO, a device or a folder, which are refused as readFileBytes refuses them. The caller
// closes it.
std::FILE* openFileForReading(const std::string& path);
// The same as a file descriptor, or -1.
int openFileDescriptorForReading(const std::string& path);

// Replaces the file at `path` with `bytes` without ever destroying the previous file: the bytes
// go to a new file in the same folder, which is synced and renamed over `path` with the old
// file's mode (and owner where permitted). However the process ends, `path` holds either the old
// file or the new one, never a mixture. Where the file system allows, the new file stays unnamed
// until it is complete and then gets a hidden temporary name for the moment before the rename;
// elsewhere it has that name from the start. SIGINT and SIGTERM remove the temporary name, so
// that only SIGKILL can leave it behind (on the unnamed road only in that moment). A symbolic link
// is followed to the file it names, which is created if it does not exist; the link stays. An
// existing file that this user may not write, or that is no regular file, is refused. A file
// with more than one hard link is replaced like any other: `path` then names the new file, and
// the file's other names keep the old content. On any failure false is returned, `path` holds
// what it held and no temporary file remains.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Test hook: makes the next atomic writes fail at the given step until cleared, with the new
// content in an unnamed file where the file system allows or in a named one from the start.
enum class WriteFault { None, Create, Write, Sync, Rename };
enum class TemporaryKind { Unnamed, Named };
void setWriteFaultForTesting(WriteFault fault, TemporaryKind temporary = TemporaryKind::Unnamed);

} // namespace vemurion
