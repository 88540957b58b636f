#include "files/FileIo.h"

#include "files/FileKind.h"
#include "files/InterruptCleanup.h"

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
std::atomic<TemporaryKind> g_temporaryKind{TemporaryKind::Unnamed};

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
    // Hands the descriptor over to whoever closes it now.
    int release() { return std::exchange(m_fd, -1); }

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

// Gives what `make(candidate)` creates a new hidden name ".<name>.XXXXXX" in `folder` (`make`
// fails with EEXIST where a name is taken), and arms `cleanup` to remove it on SIGINT or SIGTERM.
// Both signals wait meanwhile, so the cleanup may be armed before the name exists: no work of its
// own then stands between the name and the caller's rename, where only SIGKILL can strike.
template <typename Make>
bool makeTemporarySibling(const std::string& folder, const std::string& name, std::string& tempPath,
                          std::optional<RemovedOnInterrupt>& cleanup, const Make& make) {
    // Keeps the temporary name within NAME_MAX for long file names.
    const std::string stem = name.substr(0, std::min<std::size_t>(name.size(), 200));
    const InterruptsHeld held;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "." + stem + "." + randomSuffix();
        cleanup.emplace(tempPath);
        if (make(tempPath)) return true;
        const int error = errno;
        cleanup.reset();
        if (error != EEXIST) break;
    }
    tempPath.clear();
    return false;
}

// Links the unnamed file `fd` under `path`. AT_EMPTY_PATH asks for a privilege; the file's entry
// in /proc does not.
bool linkUnnamed(int fd, const std::string& path) {
    if (::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) return true;
    if (errno == EEXIST) return false;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Gives the new file the mode, and where permitted the owner, of the file it replaces. Owner
// first: changing it clears set-user-ID bits that the mode then puts back.
bool adoptAttributes(int fd, const struct stat& existing) {
    // Only root may give a file away; for anyone else the replacement simply becomes theirs.
    [[maybe_unused]] const int ownerKept = ::fchown(fd, existing.st_uid, existing.st_gid);
    return ::fchmod(fd, existing.st_mode & 07777) == 0;
}

// The new content, with the mode and owner of the file it replaces (none for a new one), synced.
bool fill(int fd, std::span<const std::uint8_t> bytes, const struct stat* replaced) {
    return (replaced == nullptr || adoptAttributes(fd, *replaced)) && writeAll(fd, bytes) &&
           !faultAt(WriteFault::Write) && !faultAt(WriteFault::Sync) && syncFile(fd);
}

// Writes `bytes` to a new file in `folder` under a hidden name (`tempPath`) which SIGINT and
// SIGTERM remove (`cleanup`), then `publish`es it (renames it into place). Where the file system
// makes unnamed files, the file gets its name only once it is complete and synced, and is
// published at once: only a SIGKILL in that instant can leave the hidden name behind, where a
// process killed while writing leaves nothing. Elsewhere it is named from the start. On failure
// `tempPath` is whatever name remains to be removed, or empty.
template <typename Publish>
bool writeAndPublish(const std::string& folder, const std::string& name,
                     std::span<const std::uint8_t> bytes, const struct stat* replaced,
                     std::string& tempPath, std::optional<RemovedOnInterrupt>& cleanup,
                     const Publish& publish) {
    // Files are asked for with 0666 rather than the 0600 of mkstemp, so that the kernel applies
    // the umask and any default ACL exactly as it would for a file created the ordinary way.
    constexpr mode_t kMode = 0666;
    const std::string where = folder.empty() ? std::string(".") : folder;
    FileDescriptor unnamed(g_temporaryKind.load(std::memory_order_relaxed) == TemporaryKind::Named
                               ? -1
                               : ::open(where.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kMode));
    // Any refusal (EOPNOTSUPP, EISDIR from kernels without O_TMPFILE, EINVAL...) takes the named
    // road, which meets a real failure such as a read-only folder again and reports it.
    if (unnamed.valid()) {
        if (!fill(unnamed.get(), bytes, replaced)) return false;
        const auto link = [&](const std::string& at) { return linkUnnamed(unnamed.get(), at); };
        // The descriptor is closed after the rename, not between the link and it: the contents
        // are synced already, and a failed close could not take the rename back anyway.
        if (makeTemporarySibling(folder, name, tempPath, cleanup, link)) return publish();
        // Linking needs either a privilege or /proc: without both, the file is written again.
    }
    int fd = -1;
    const auto create = [&](const std::string& at) {
        fd = ::open(at.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kMode);
        return fd >= 0;
    };
    if (!makeTemporarySibling(folder, name, tempPath, cleanup, create)) return false;
    FileDescriptor named(fd);
    return fill(named.get(), bytes, replaced) && named.close() && publish();
}

// Follows a chain of symbolic links to the file it ends at, which need not exist yet: saving
// through a dangling link creates the file the link names. A relative target counts from the
// link's folder. nullopt for a loop or a link that cannot be read.
std::optional<std::string> followLinks(std::string path) {
    constexpr int kMaxLinks = 40; // the kernel's own limit
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::error_code error;
        const std::string target = std::filesystem::read_symlink(path, error).string();
        if (error || target.empty()) return std::nullopt;
        path = target.front() == '/' ? target : folderPart(path) + target;
    }
    return std::nullopt;
}

} // namespace

bool fileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool pathExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

namespace {

// Opening a FIFO without O_NONBLOCK waits for a writer, and a device may wait or act on being
// opened; what was opened is checked, not what the path named a moment before.
FileDescriptor openRegularFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    return FileDescriptor(fd);
}

} // namespace

int openFileDescriptorForReading(const std::string& path) {
    return openRegularFile(path).release();
}

std::FILE* openFileForReading(const std::string& path) {
    FileDescriptor file = openRegularFile(path);
    if (!file.valid()) return nullptr;
    std::FILE* stream = ::fdopen(file.get(), "rb");
    if (stream != nullptr) file.release();
    return stream;
}

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::size_t maxBytes) {
    FileDescriptor file = openRegularFile(path);
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
        if (got < 0) return std::nullopt;
        bytes.resize(had + static_cast<std::size_t>(got));
        if (got == 0) break;
    }
    return bytes;
}

bool writeFileAtomically(const std::string& requestedPath, std::span<const std::uint8_t> bytes) {
    // Saving through a link writes the file it names, and the link stays a link.
    const auto resolved = followLinks(requestedPath);
    if (!resolved) return false;
    const std::string& path = *resolved;
    const std::string name = fileNamePart(path);
    if (name.empty() || faultAt(WriteFault::Create)) return false;
    const std::string folder = folderPart(path);

    // An existing file is replaced only when this user may write it, as an overwrite in place
    // would require: the rename alone asks no more than a writable folder. Anything but a regular
    // file (a folder, a device) is never replaced.
    FileDescriptor existing(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat existingInfo {};
    const bool replacing = existing.valid();
    if (!replacing && errno != ENOENT) return false;
    if (replacing &&
        (::fstat(existing.get(), &existingInfo) != 0 || !S_ISREG(existingInfo.st_mode)))
        return false;
    existing.reset();

    std::string tempPath;
    std::optional<RemovedOnInterrupt> cleanup;
    const bool written = writeAndPublish(
        folder, name, bytes, replacing ? &existingInfo : nullptr, tempPath, cleanup, [&] {
            return !faultAt(WriteFault::Rename) && ::rename(tempPath.c_str(), path.c_str()) == 0;
        });
    if (!written) {
        if (!tempPath.empty()) ::unlink(tempPath.c_str());
        return false;
    }
    syncFolder(folder.empty() ? std::string(".") : folder);
    return true;
}

void setWriteFaultForTesting(WriteFault fault, TemporaryKind temporary) {
    g_writeFault.store(fault, std::memory_order_relaxed);
    g_temporaryKind.store(temporary, std::memory_order_relaxed);
}

} // namespace vemurion
