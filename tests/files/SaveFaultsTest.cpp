// Saving when the file system says no: the editor's Save As and the bitmap export, each against
// a full disk, a failing sync, a refused rename, an immutable file, a folder or a FIFO where the
// file should be, a link loop and a link into a missing folder. In every case the user is told,
// whatever stood under the name is as it was, no temporary file is left and the document keeps
// its name and its unsaved changes.

#include "editor/CanvasView.h"
#include "files/BitmapExport.h"
#include "files/DocumentCommands.h"
#include "files/FileIo.h"
#include "support/AsNobody.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vemurion {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::readBytes;
using test::writeBytes;

const Bytes kOld = {'o', 'l', 'd', 0, 1, 2};

// What a folder holds, recursively: each entry's kind, and for a regular file its bytes. Links
// are not followed.
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

std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> entries;
    addEntries(folder, "", entries);
    return entries;
}

// Sets or clears the immutable flag; false where the file system or the user cannot.
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

class SaveFaultsTest : public test::EditorFixture {
protected:
    void TearDown() override {
        for (const std::string& file : m_immutable)
            setImmutable(file, false);
        for (const std::string& mount : m_mounts)
            ::umount2(mount.c_str(), MNT_DETACH);
        EditorFixture::TearDown();
    }

    // A full tmpfs of its own at `folder` holding `name` with the old bytes; false where no file
    // system may be mounted.
    bool mountFullDisk(const std::string& folder, const std::vector<std::string>& names) {
        fs::create_directories(folder);
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k,nr_inodes=64") != 0)
            return false;
        m_mounts.push_back(folder);
        for (const std::string& name : names)
            writeBytes(folder + "/" + name, kOld);
        // Fills every block that is left.
        const int fd = ::open((folder + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
        const std::vector<char> block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        while (::write(fd, block.data(), 1) > 0) {
        }
        ::close(fd);
        return true;
    }

    // Save As, or the export of the current frame as one bitmap, to `target`.
    void saveAs(const std::string& target, bool exportsBitmap) {
        if (exportsBitmap) {
            prompts.answerSaveFile(target, kExportSingleFilter);
            commandExport(e);
        } else {
            prompts.answerSaveFile(target);
            commandSaveAs(e);
        }
    }

    std::vector<std::string> m_immutable;
    std::vector<std::string> m_mounts;
};

TEST_F(SaveFaultsTest, EveryFaultIsReportedAndKeepsWhatWasThere) {
    struct Case {
        const char* what;
        // Prepares the folder `in` for the name `name`; returns a note when the case cannot be
        // made here and is run through the write-fault seam instead.
        std::function<std::string(const std::string& in, const std::string& name)> prepare;
        WriteFault fault = WriteFault::None;
    };
    const Case cases[] = {
        {"full disk",
         [&](const std::string& in, const std::string& name) {
             if (mountFullDisk(in, {name})) return std::string();
             writeBytes(in + "/" + name, kOld);
             return std::string("no tmpfs may be mounted here: a failed write stands in");
         }},
        {"failing fsync",
         [](const std::string& in, const std::string& name) {
             writeBytes(in + "/" + name, kOld);
             return std::string();
         },
         WriteFault::Sync},
        {"refused rename",
         [](const std::string& in, const std::string& name) {
             writeBytes(in + "/" + name, kOld);
             return std::string();
         },
         WriteFault::Rename},
        {"immutable file",
         [&](const std::string& in, const std::string& name) {
             writeBytes(in + "/" + name, kOld);
             if (!setImmutable(in + "/" + name, true))
                 return std::string("no immutable files here");
             m_immutable.push_back(in + "/" + name);
             return std::string();
         }},
        {"a folder under the name",
         [](const std::string& in, const std::string& name) {
             fs::create_directories(in + "/" + name);
             writeBytes(in + "/" + name + "/inside", kOld);
             return std::string();
         }},
        {"a FIFO under the name",
         [](const std::string& in, const std::string& name) {
             EXPECT_EQ(::mkfifo((in + "/" + name).c_str(), 0600), 0);
             return std::string();
         }},
        {"link loop",
         [](const std::string& in, const std::string& name) {
             fs::create_symlink("loop", in + "/" + name);
             fs::create_symlink(name, in + "/loop");
             return std::string();
         }},
        {"link into a missing folder",
         [](const std::string& in, const std::string& name) {
             fs::create_symlink("missing/" + name, in + "/" + name);
             return std::string();
         }},
    };
    struct Road {
        const char* what;
        const char* name;
        bool exportsBitmap;
    };
    const Road roads[] = {{"Save As", "anim.lcd", false}, {"export", "frame.bmp", true}};

    int folderNumber = 0;
    for (const Case& c : cases) {
        for (const Road& road : roads) {
            SCOPED_TRACE(testing::Message() << c.what << ", " << road.what);
            const std::string in = path("case" + std::to_string(++folderNumber));
            fs::create_directories(in);
            WriteFault fault = c.fault;
            if (const std::string note = c.prepare(in, road.name); !note.empty()) {
                std::cout << c.what << ": " << note << "\n";
                if (c.fault == WriteFault::None) fault = WriteFault::Write;
            }
            e.imgListWork.set(folderNumber % kFrameWidth, 3, kBlack);
            CommitWorkPicture(e);
            e.doc.Modified = true;
            const std::string nameBefore = e.doc.DocumentFileName;
            const auto before = snapshot(in);
            prompts.clearRecord();

            setWriteFaultForTesting(fault);
            saveAs(in + "/" + road.name, road.exportsBitmap);
            setWriteFaultForTesting(WriteFault::None);

            EXPECT_EQ(prompts.warnings, std::vector<std::string>{std::string(road.name) +
                                                                 " に保存できませんでした."});
            EXPECT_EQ(snapshot(in), before);
            EXPECT_TRUE(e.doc.Modified);
            EXPECT_EQ(e.doc.DocumentFileName, nameBefore);
        }
    }
}

// What an ordinary user may not write: a write-protected file, and any file in a read-only
// folder, whether it exists or is to be made.
TEST_F(SaveFaultsTest, WhatTheUserMayNotWriteIsReportedAndKeptAsItWas) {
    if (const auto run = test::rerunAsNobody(); run.rerun) {
        if (!run.ran) GTEST_SKIP() << run.why;
        return;
    }
    const std::string locked = path("locked");
    fs::create_directories(locked);
    writeBytes(locked + "/anim.lcd", kOld);
    writeBytes(path("protected.lcd"), kOld);
    ASSERT_EQ(::chmod(path("protected.lcd").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);

    for (const std::string& target :
         {path("protected.lcd"), locked + "/anim.lcd", locked + "/new.lcd", locked + "/new.bmp"}) {
        SCOPED_TRACE(target);
        e.imgListWork.set(7, 7, kBlack);
        CommitWorkPicture(e);
        e.doc.Modified = true;
        const auto before = snapshot(temp.folder());
        prompts.clearRecord();
        saveAs(target, target.ends_with(".bmp"));
        EXPECT_EQ(prompts.warnings, std::vector<std::string>{fs::path(target).filename().string() +
                                                             " に保存できませんでした."});
        EXPECT_EQ(snapshot(temp.folder()), before);
        EXPECT_TRUE(e.doc.Modified);
        EXPECT_TRUE(e.doc.isUntitled());
    }
    ::chmod(locked.c_str(), 0755);
}

} // namespace
} // namespace vemurion
