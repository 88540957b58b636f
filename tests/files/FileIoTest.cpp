#include "files/FileIo.h"
#include "files/InterruptCleanup.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace vemurion {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class FileIoTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vemurion-fileio-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern + "/";
    }
    void TearDown() override {
        setWriteFaultForTesting(WriteFault::None);
        fs::remove_all(m_folder);
    }

    std::string path(const std::string& name) const { return m_folder + name; }

    std::set<std::string> folderEntries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    static void writePlain(const std::string& where, const Bytes& bytes) {
        std::ofstream(where, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    static mode_t permissions(const std::string& where) {
        struct stat info {};
        EXPECT_EQ(::stat(where.c_str(), &info), 0);
        return info.st_mode & 07777;
    }

    std::string m_folder;
};

TEST_F(FileIoTest, WritesANewFileThenReplacesIt) {
    const std::string target = path("anim.lcd");
    const Bytes first = {1, 2, 3, 0, 255, 4};
    const Bytes second = {9};

    ASSERT_TRUE(writeFileAtomically(target, first));
    EXPECT_EQ(readFileBytes(target, 100), first);
    ASSERT_TRUE(writeFileAtomically(target, second));
    EXPECT_EQ(readFileBytes(target, 100), second);
    ASSERT_TRUE(writeFileAtomically(target, {}));
    EXPECT_EQ(readFileBytes(target, 100), Bytes{});
    EXPECT_EQ(folderEntries(), std::set<std::string>{"anim.lcd"});
}

TEST_F(FileIoTest, NewFilesFollowTheUmaskAndReplacementsKeepTheirMode) {
    const mode_t previous = ::umask(027);
    const std::string fresh = path("fresh.lcd");
    const bool written = writeFileAtomically(fresh, Bytes{1});
    ::umask(previous);
    ASSERT_TRUE(written);
    EXPECT_EQ(permissions(fresh), 0640u);

    const std::string kept = path("kept.lcd");
    writePlain(kept, {1});
    fs::permissions(kept, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    // Root may keep another user's file theirs.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(kept.c_str(), 65534, 65534), 0);
    }
    ASSERT_TRUE(writeFileAtomically(kept, Bytes{2}));
    EXPECT_EQ(permissions(kept), 0604u);
    struct stat info {};
    ASSERT_EQ(::stat(kept.c_str(), &info), 0);
    if (root) {
        EXPECT_EQ(info.st_uid, 65534u);
    }
}

// A file with a second name is replaced like any other: this name gets the new file, the other
// keeps the old content. A failure leaves both names on the old file.
TEST_F(FileIoTest, HardLinkedFilesAreReplacedWhole) {
    const std::string first = path("anim.lcd");
    const std::string second = path("published.lcd");
    const Bytes old = {1, 2, 3, 4, 5};
    for (const WriteFault fault : {WriteFault::None, WriteFault::Create, WriteFault::Write,
                                   WriteFault::Sync, WriteFault::Rename}) {
        SCOPED_TRACE(static_cast<int>(fault));
        fs::remove(first);
        fs::remove(second);
        writePlain(first, old);
        fs::permissions(first, fs::perms(0640));
        fs::create_hard_link(first, second);

        setWriteFaultForTesting(fault);
        const bool written = writeFileAtomically(second, Bytes{9, 9});
        setWriteFaultForTesting(WriteFault::None);

        EXPECT_EQ(written, fault == WriteFault::None);
        EXPECT_EQ(readFileBytes(second, 100), written ? Bytes({9, 9}) : old);
        EXPECT_EQ(readFileBytes(first, 100), old);
        EXPECT_EQ(permissions(second), 0640u);
        EXPECT_EQ(folderEntries(), (std::set<std::string>{"anim.lcd", "published.lcd"}));
        EXPECT_EQ(fs::hard_link_count(second), written ? 1u : 2u);
    }
}

// Both roads: the unnamed file where the file system makes one, and the named one elsewhere.
TEST_F(FileIoTest, EveryFaultLeavesTheOldFileAndNoTemporary) {
    const std::string target = path("anim.lcd");
    const Bytes original = {10, 20, 30};
    for (const TemporaryKind temporary : {TemporaryKind::Unnamed, TemporaryKind::Named}) {
        SCOPED_TRACE(static_cast<int>(temporary));
        for (WriteFault fault :
             {WriteFault::Create, WriteFault::Write, WriteFault::Sync, WriteFault::Rename}) {
            SCOPED_TRACE(static_cast<int>(fault));
            writePlain(target, original);
            setWriteFaultForTesting(fault, temporary);
            EXPECT_FALSE(writeFileAtomically(target, Bytes{1, 2, 3, 4, 5}));
            EXPECT_FALSE(writeFileAtomically(path("new.lcd"), Bytes{1}));
            setWriteFaultForTesting(WriteFault::None);

            EXPECT_EQ(readFileBytes(target, 100), original);
            EXPECT_EQ(folderEntries(), std::set<std::string>{"anim.lcd"});
        }
        setWriteFaultForTesting(WriteFault::None, temporary);
        EXPECT_TRUE(writeFileAtomically(target, Bytes{7}));
        EXPECT_EQ(readFileBytes(target, 100), Bytes{7});
        EXPECT_EQ(folderEntries(), std::set<std::string>{"anim.lcd"});
    }
}

// Where a save's temporary file has a name from the start, Ctrl-C or SIGTERM removes it before
// the process ends as the signal asks; a signal the process ignores (a shell's background job
// ignores SIGINT) neither ends it nor removes the file.
TEST_F(FileIoTest, AnInterruptRemovesTheNamedTemporaryFile) {
    const std::string temporary = path(".anim.lcd.Ab12Cd");
    const std::pair<int, bool> cases[] = {{SIGINT, false}, {SIGTERM, false}, {SIGINT, true}};
    for (const auto& [signal, ignored] : cases) {
        SCOPED_TRACE(std::to_string(signal) + (ignored ? " ignored" : ""));
        writePlain(temporary, {1});
        const auto interrupted = [&, signal = signal, ignored = ignored] {
            if (ignored) std::signal(signal, SIG_IGN);
            const RemovedOnInterrupt cleanup(temporary);
            std::raise(signal);
            std::exit(fs::exists(temporary) ? 0 : 1);
        };
        if (ignored)
            EXPECT_EXIT(interrupted(), testing::ExitedWithCode(0), "");
        else
            EXPECT_EXIT(interrupted(), testing::KilledBySignal(signal), "");
        EXPECT_EQ(fs::exists(temporary), ignored);
    }
}

TEST_F(FileIoTest, OnlyRegularFilesAreReplaced) {
    const std::string target = path("taken.lcd");
    fs::create_directory(target);
    writePlain(target + "/inside", {5});
    const std::string pipe = path("pipe.lcd");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

    EXPECT_FALSE(writeFileAtomically(target, Bytes{1, 2}));
    EXPECT_FALSE(writeFileAtomically(pipe, Bytes{1, 2}));
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(readFileBytes(target + "/inside", 10), Bytes{5});
    EXPECT_EQ(folderEntries(), (std::set<std::string>{"pipe.lcd", "taken.lcd"}));
}

TEST_F(FileIoTest, MissingFolderOrNoFileNameFails) {
    EXPECT_FALSE(writeFileAtomically(path("absent/anim.lcd"), Bytes{1}));
    EXPECT_FALSE(writeFileAtomically(m_folder, Bytes{1}));
    EXPECT_FALSE(writeFileAtomically("", Bytes{1}));
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(FileIoTest, PathWithoutFolderWritesInTheWorkingFolder) {
    const fs::path previous = fs::current_path();
    fs::current_path(m_folder);
    const bool written = writeFileAtomically("bare.lcd", Bytes{4, 2});
    fs::current_path(previous);

    ASSERT_TRUE(written);
    EXPECT_EQ(readFileBytes(path("bare.lcd"), 10), (Bytes{4, 2}));
    EXPECT_EQ(folderEntries(), std::set<std::string>{"bare.lcd"});
}

TEST_F(FileIoTest, ReadStopsAtMaxBytes) {
    Bytes content(200000);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<std::uint8_t>(i);
    const std::string source = path("big.bin");
    writePlain(source, content);

    for (std::size_t limit : {std::size_t{0}, std::size_t{9}, std::size_t{70000}, content.size(),
                              content.size() + 1, SIZE_MAX}) {
        const auto bytes = readFileBytes(source, limit);
        ASSERT_TRUE(bytes.has_value()) << limit;
        const auto expected = std::min(limit, content.size());
        EXPECT_EQ(*bytes, Bytes(content.begin(), content.begin() + expected)) << limit;
    }
}

// Only regular files are read: a FIFO without a writer would wait, a device might never end.
TEST_F(FileIoTest, ReadRefusesWhatIsNoRegularFile) {
    const std::string fifo = path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", path("zero"));
    for (const std::string& where :
         {m_folder, path("missing"), std::string(), fifo, path("zero"), std::string("/dev/null")}) {
        EXPECT_EQ(readFileBytes(where, 10), std::nullopt) << where;
        EXPECT_EQ(openFileForReading(where), nullptr) << where;
    }
    writePlain(path("file"), {7, 8});
    std::FILE* stream = openFileForReading(path("file"));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(std::fgetc(stream), 7);
    EXPECT_EQ(std::fgetc(stream), 8);
    EXPECT_EQ(std::fgetc(stream), EOF);
    std::fclose(stream);
    EXPECT_TRUE(pathExists(fifo));
    EXPECT_TRUE(pathExists(m_folder));
    EXPECT_FALSE(pathExists(path("missing")));
}

TEST_F(FileIoTest, ExistsOnlyForRegularFilesThroughLinks) {
    writePlain(path("file"), {1});
    fs::create_directory(path("dir"));
    fs::create_symlink(path("file"), path("link"));
    fs::create_symlink(path("missing"), path("dangling"));

    const std::pair<std::string, bool> cases[] = {
        {path("file"), true},      {path("link"), true}, {path("dir"), false},
        {path("dangling"), false}, {m_folder, false},    {"", false},
    };
    for (const auto& [where, expected] : cases)
        EXPECT_EQ(fileExists(where), expected) << where;
}

} // namespace
} // namespace vemurion
