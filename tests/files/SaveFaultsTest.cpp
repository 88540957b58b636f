// Saving when the file system says no: the editor's Save As and the bitmap export, each against
// a full disk, a failing sync, a refused rename, a file with a second name, an immutable file, a
// folder or a FIFO where the file should be, a link loop and a link into a missing folder. In every
// case the user is told, whatever stood under the name is as it was, no temporary file is left and
// the document keeps its name and its unsaved changes.

#include "editor/CanvasView.h"
#include "files/BitmapExport.h"
#include "files/DocumentCommands.h"
#include "files/FileIo.h"
#include "support/AsNobody.h"
#include "support/FakeServices.h"
#include "support/FileFaults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vemurion {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::readBytes;
using test::writeBytes;

const Bytes kOld = {'o', 'l', 'd', 0, 1, 2};

using test::snapshot;

class SaveFaultsTest : public test::EditorFixture {
protected:
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

    test::FileFaults faults;
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
             if (faults.mountFullDisk(in, {name}, kOld)) return std::string();
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
        {"a file with a second name",
         [](const std::string& in, const std::string& name) {
             writeBytes(in + "/" + name, kOld);
             fs::create_hard_link(in + "/" + name, in + "/second");
             return std::string();
         },
         WriteFault::Write},
        {"immutable file",
         [&](const std::string& in, const std::string& name) {
             writeBytes(in + "/" + name, kOld);
             if (!faults.makeImmutable(in + "/" + name))
                 return std::string("no immutable files here");
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
