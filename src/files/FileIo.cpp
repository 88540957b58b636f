#include "files/FileIo.h"

#include "files/FileKind.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vemurion {

namespace {

std::atomic<WriteFault> g_writeFault{WriteFault::None};

bool faultAt(WriteFault step) {
    return g_writeFault.load(std::memory_order_relaxed) == step;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(); }

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Reports a failed close, which on some file systems is where a failed write shows up.
    // EINTR is not a failure: the descriptor is gone either way and the data was already synced.
    bool close() {
        const int result = ::close(std::exchange(m_fd, -1));
        return result == 0 || errno == EINTR;
    }
    void reset() {
        if (m_fd >= 0) ::close(std::exchange(m_fd, -1));
    }

private:
    int m_fd;
};

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

bool syncFile(int fd) {
    int result;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

// Makes the rename itself durable. Not every file system can sync a folder, so failure is
// ignored: the file's contents are already on disk.
void syncFolder(const std::string& folder) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) syncFile(dir.get());
}

std::string randomSuffix() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string suffix(6, ' ');
    for (char& c : suffix)
        c = kLetters[pick(engine)];
    return suffix;
}

// Creates ".<name>.XXXXXX" in `folder`. The file is opened with mode 0666 rather than through
// mkstemp (which uses 0600), so the kernel applies the umask and any default ACL exactly as it
// would for a file created the ordinary way.
FileDescriptor createTemporarySibling(const std::string& folder, const std::string& name,
                                      std::string& tempPath) {
    // Keeps the temporary name within NAME_MAX for long file names.
    const std::string stem = name.substr(0, std::min<std::size_t>(name.size(), 200));
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "." + stem + "." + randomSuffix();
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return FileDescriptor(fd);
    }
    return FileDescriptor(-1);
}

// Gives the new file the mode, and where permitted the owner, of the file it replaces. Owner
// first: changing it clears set-user-ID bits that the mode then puts back.
bool adoptExistingAttributes(int fd, const std::string& path) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0 || !S_ISREG(existing.st_mode)) return true;
    // Only root may give a file away; for anyone else the replacement simply becomes theirs.
    [[maybe_unused]] const int ownerKept = ::fchown(fd, existing.st_uid, existing.st_gid);
    return ::fchmod(fd, existing.st_mode & 07777) == 0;
}

} // namespace

bool fileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::size_t maxBytes) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid()) return std::nullopt;

    constexpr std::size_t kChunk = 64 * 1024;
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < maxBytes) {
        const std::size_t had = bytes.size();
        const std::size_t want = std::min(maxBytes - had, kChunk);
        bytes.resize(had + want);
        const ssize_t got = ::read(file.get(), bytes.data() + had, want);
        if (got < 0 && errno == EINTR) {
            bytes.resize(had);
            continue;
        }
        // A directory opens but fails here with EISDIR.
        if (got < 0) return std::nullopt;
        bytes.resize(had + static_cast<std::size_t>(got));
        if (got == 0) break;
    }
    return bytes;
}

bool writeFileAtomically(const std::string& requestedPath, std::span<const std::uint8_t> bytes) {
    // Saving through a link writes the file it names, and the link stays a link.
    std::string path = requestedPath;
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        path = std::filesystem::weakly_canonical(path, error).string();
        if (error) return false;
    }
    const std::string name = fileNamePart(path);
    if (name.empty() || faultAt(WriteFault::Create)) return false;
    const std::string folder = folderPart(path);

    std::string tempPath;
    FileDescriptor file = createTemporarySibling(folder, name, tempPath);
    if (!file.valid()) return false;

    const bool written = adoptExistingAttributes(file.get(), path) && !faultAt(WriteFault::Write) &&
                         writeAll(file.get(), bytes) && !faultAt(WriteFault::Sync) &&
                         syncFile(file.get()) && file.close() && !faultAt(WriteFault::Rename) &&
                         ::rename(tempPath.c_str(), path.c_str()) == 0;
    if (!written) {
        file.reset();
        ::unlink(tempPath.c_str());
        return false;
    }
    syncFolder(folder.empty() ? std::string(".") : folder);
    return true;
}

void setWriteFaultForTesting(WriteFault fault) {
    g_writeFault.store(fault, std::memory_order_relaxed);
}

} // namespace vemurion
