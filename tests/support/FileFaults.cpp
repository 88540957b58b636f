#include "support/FileFaults.h"

#include "support/FakeServices.h"

#include <filesystem>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace vemurion::test {

namespace fs = std::filesystem;

namespace {

void addEntries(const fs::path& folder, const std::string& prefix,
                std::map<std::string, std::string>& entries) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = prefix + entry.path().filename().string();
        const auto status = entry.symlink_status();
        if (fs::is_symlink(status)) {
            entries[name] = "link to " + fs::read_symlink(entry.path()).string();
        } else if (fs::is_regular_file(status)) {
            const Bytes bytes = readBytes(entry.path().string());
            entries[name] = "file " + std::string(bytes.begin(), bytes.end());
        } else if (fs::is_directory(status)) {
            entries[name] = "folder";
            addEntries(entry.path(), name + "/", entries);
        } else {
            entries[name] = "other";
        }
    }
}

} // namespace

std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> entries;
    addEntries(folder, "", entries);
    return entries;
}

bool setImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

FileFaults::~FileFaults() {
    for (const std::string& file : m_immutable)
        setImmutable(file, false);
    for (const std::string& mount : m_mounts)
        ::umount2(mount.c_str(), MNT_DETACH);
}

bool FileFaults::mountFullDisk(const std::string& folder, const std::vector<std::string>& names,
                               const Bytes& bytes) {
    fs::create_directories(folder);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k,nr_inodes=64") != 0) return false;
    m_mounts.push_back(folder);
    for (const std::string& name : names)
        writeBytes(folder + "/" + name, bytes);
    // Fills every block that is left, then every byte.
    const int fd = ::open((folder + "/filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const std::vector<char> block(4096, 'f');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    while (::write(fd, block.data(), 1) > 0) {
    }
    ::close(fd);
    return true;
}

bool FileFaults::makeImmutable(const std::string& path) {
    if (!setImmutable(path, true)) return false;
    m_immutable.push_back(path);
    return true;
}

} // namespace vemurion::test
