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
// go to a temporary file in the same folder, which is flushed, synced and renamed over `path`
// with the old file's mode (and owner where permitted). A symbolic link is followed to the file
// it names, which is created if it does not exist; the link stays. An existing file that this
// user may not write, or that is no regular file, is refused. A file with more than one hard
// link is rewritten in place, so that its names stay one file, after a synced copy of its old
// content is made; should the rewrite fail, the copy is written back. On any failure false is
// returned, `path` holds what it held and no temporary file remains (except in the one case
// where even writing the old content back fails: then the copy is renamed over `path`, or left
// beside it should that fail too).
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Test hook: makes the next atomic writes fail at the given step until cleared. Restore makes a
// rewrite in place fail and then the writing back of the old content fail too.
enum class WriteFault { None, Create, Write, Sync, Rename, Restore };
void setWriteFaultForTesting(WriteFault fault);

} // namespace vemurion
