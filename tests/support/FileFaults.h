#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vemurion::test {

// What a folder holds, recursively: each entry's kind, and for a regular file its bytes. Links
// are not followed. Two snapshots are equal when nothing was added, removed or changed.
std::map<std::string, std::string> snapshot(const std::string& folder);

// Sets or clears the immutable flag; false where the file system or the user cannot.
bool setImmutable(const std::string& path, bool on);

// File-system faults made for one test and undone at its end.
class FileFaults {
public:
    FileFaults() = default;
    FileFaults(const FileFaults&) = delete;
    FileFaults& operator=(const FileFaults&) = delete;
    ~FileFaults();

    // Mounts a small tmpfs of its own at `folder`, writes `bytes` under each of `names` there
    // and fills what room is left. False where no file system may be mounted.
    bool mountFullDisk(const std::string& folder, const std::vector<std::string>& names,
                       const std::vector<std::uint8_t>& bytes);
    // Makes `path` immutable until the end; false where that cannot be done here.
    bool makeImmutable(const std::string& path);

private:
    std::vector<std::string> m_immutable;
    std::vector<std::string> m_mounts;
};

} // namespace vemurion::test
