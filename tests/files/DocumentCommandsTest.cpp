#include "files/DocumentCommands.h"

#include "editor/CanvasView.h"
#include "editor/Rasterizers.h"
#include "editor/Undo.h"
#include "files/BitmapExport.h"
#include "files/DocumentFile.h"
#include "files/FileIo.h"
#include "files/LcdFile.h"
#include "framelist/FrameList.h"
#include "import/AddToList.h"
#include "spine/CommandStates.h"
#include "support/AsNobody.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vemurion {
namespace {

using test::Bytes;
using test::EditorFixture;
using test::readBytes;
using test::sameBytes;
using test::writeBytes;
using test::writeText;

constexpr const char* kAddToListHint =
    " は直接開くことができません.\nイメージリストメニューの[リストへ追加]で読み込んで下さい.";

// One frame of a hand-made file: its time byte and the dots stored with a non-zero byte.
struct FileFrame {
    std::uint8_t timeByte = 1;
    std::vector<Dot> black;
    std::uint8_t blackByte = kLcdBlackDot;
};

// The bytes of an LCD file laid out by hand, independently of the program's writer.
Bytes lcdFile(std::uint8_t loopByte, const std::vector<FileFrame>& frames,
              std::string_view trailer = kVersionText) {
    const auto count = static_cast<std::uint8_t>(frames.size());
    Bytes bytes = {0x4C, 0x43, 0x44, 0x69, 0x01, 0x00,     0x30,  0x00,
                   0x20, 0x00, 0x01, 0x00, 0x00, loopByte, count, 0x00};
    for (const FileFrame& f : frames)
        bytes.insert(bytes.end(), {0x00, f.timeByte, 0x00, 0x00});
    for (const FileFrame& f : frames) {
        Bytes block(kLcdDotBlockSize, 0x00);
        for (const Dot& d : f.black)
            block[static_cast<std::size_t>(d.y * kFrameWidth + d.x)] = f.blackByte;
        bytes.insert(bytes.end(), block.begin(), block.end());
    }
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    return bytes;
}

Raster pictureOf(const FileFrame& f) {
    Raster picture(kFrameWidth, kFrameHeight, kWhite);
    for (const Dot& d : f.black)
        picture.set(d.x, d.y, kBlack);
    return picture;
}

// What the user can see of a document: compared before and after a command that must not
// change it.
struct DocState {
    int frameCount = 0;
    int loopCount = 0;
    int currentFrame = 0;
    std::vector<int> times;
    std::vector<Raster> frames;
    std::string fileName;
    std::string title;
    bool modified = false;
};

DocState stateOf(const Editor& e) {
    DocState s;
    s.frameCount = e.doc.FrameCount;
    s.loopCount = e.doc.LoopCount;
    s.currentFrame = e.doc.CurrentFrame;
    for (int i = 0; i < e.doc.FrameCount; ++i) {
        s.times.push_back(e.doc.DisplayTimes[static_cast<std::size_t>(i)]);
        s.frames.push_back(e.doc.sheet.cell(i));
    }
    s.fileName = e.doc.DocumentFileName;
    s.title = e.title;
    s.modified = e.doc.Modified;
    return s;
}

void expectUnchanged(const DocState& before, const Editor& e) {
    const DocState now = stateOf(e);
    EXPECT_EQ(now.frameCount, before.frameCount);
    EXPECT_EQ(now.loopCount, before.loopCount);
    EXPECT_EQ(now.currentFrame, before.currentFrame);
    EXPECT_EQ(now.times, before.times);
    EXPECT_EQ(now.fileName, before.fileName);
    EXPECT_EQ(now.title, before.title);
    EXPECT_EQ(now.modified, before.modified);
    ASSERT_EQ(now.frames.size(), before.frames.size());
    for (std::size_t i = 0; i < now.frames.size(); ++i)
        EXPECT_TRUE(now.frames[i] == before.frames[i]) << "picture of frame " << i << " changed";
}

// A pen dot drawn the way every picture edit runs, which leaves an undo record.
void drawDot(Editor& e, int x, int y) {
    SaveUndo(e);
    e.imgListWork.set(x, y, kBlack);
    CommitWorkPicture(e);
    CommitTrailingFrame(e);
    e.doc.Modified = true;
    UpdateCommandStates(e);
}

bool undoEnabled(const Editor& e) {
    const auto it = e.commandEnabled.find("Undo1");
    return it != e.commandEnabled.end() && it->second;
}

class DocumentCommandsTest : public EditorFixture {
protected:
    std::string makeFile(const std::string& name, const Bytes& bytes) {
        const std::string where = path(name);
        std::filesystem::create_directories(std::filesystem::path(where).parent_path());
        writeBytes(where, bytes);
        return where;
    }

    // A loaded, unmodified document named `name`: two frames, times 3 and 7, loop count 5.
    std::string openTitled(const std::string& name = "mine.lcd") {
        const std::string where =
            makeFile(name, lcdFile(5, {{3, {{1, 1}}, kLcdBlackDot}, {7, {{2, 2}}, kLcdBlackDot}}));
        OpenFilePath(e, where);
        EXPECT_EQ(e.doc.DocumentFileName, where);
        EXPECT_FALSE(e.doc.Modified);
        prompts.clearRecord();
        return where;
    }

    // Makes a file that exists but whose bytes cannot be read, also for root.
    void makeUnreadable(const std::string& where) {
        writeText(where, "x");
        ::chmod(where.c_str(), 0);
        if (::access(where.c_str(), R_OK) == 0) {
            // Root reads anything; reading from the start of this file fails for everyone.
            std::filesystem::remove(where);
            std::filesystem::create_symlink("/proc/self/mem", where);
        }
        if (!fileExists(where) || readFileBytes(where, 16).has_value()) {
            GTEST_SKIP() << "no unreadable file can be made here";
        }
    }
};

// ---------------------------------------------------------------------------------------------
// Loading

TEST_F(DocumentCommandsTest, LoadingShowsTheFirstFrameOfTheFileUnmodified) {
    // Leave the editor somewhere else first: more frames, all black, a later frame current and
    // the list scrolled.
    e.doc.FrameCount = 9;
    for (int i = 0; i < 9; ++i)
        e.doc.sheet.fillCell(i, kBlack);
    applyScrollRange(e);
    scListChange(e, 3);
    SelectFrameSlot(e, 2);
    ASSERT_EQ(e.doc.CurrentFrame, 5);

    const std::vector<FileFrame> frames = {
        {4, {{0, 0}, {47, 31}, {10, 3}}, kLcdBlackDot},
        {200, {{5, 5}}, 1}, // any non-zero dot byte is black
        {255, {}, kLcdBlackDot},
    };
    const std::string where = makeFile("anim.lcd", lcdFile(9, frames, "trailer is ignored"));
    view.reset();
    OpenFilePath(e, where);

    EXPECT_EQ(e.doc.FrameCount, 3);
    EXPECT_EQ(e.doc.LoopCount, 9);
    EXPECT_EQ(e.doc.DisplayTimes[0], 4);
    EXPECT_EQ(e.doc.DisplayTimes[1], 200);
    EXPECT_EQ(e.doc.DisplayTimes[2], 255);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_TRUE(e.doc.sheet.cell(static_cast<int>(i)) == pictureOf(frames[i])) << "frame " << i;
    }
    EXPECT_EQ(e.doc.CurrentFrame, 0);
    EXPECT_TRUE(currentFramePicture(e) == pictureOf(frames[0]));
    EXPECT_TRUE(e.imgListWork == pictureOf(frames[0]));
    EXPECT_FALSE(e.doc.Modified);
    EXPECT_EQ(e.doc.DocumentFileName, where);
    EXPECT_EQ(e.title, "Vemurion - [anim.lcd]");

    EXPECT_EQ(e.list.position, 0);
    EXPECT_EQ(e.list.slotViews[0].label, "001/003");
    EXPECT_EQ(e.list.slotViews[2].label, "003/003");
    EXPECT_EQ(e.list.slotViews[3].kind, SlotView::Kind::Append);
    EXPECT_EQ(e.list.slotViews[4].kind, SlotView::Kind::Empty);
    EXPECT_TRUE(e.list.cursorVisible);
    EXPECT_EQ(e.list.cursorSlot, 0);
    EXPECT_TRUE(view.saw(kViewCanvas | kViewPreview | kViewTitle | kViewLoopCount | kViewSlots));

    EXPECT_TRUE(prompts.calls.empty()) << "an unmodified document is replaced without a word";
}

TEST_F(DocumentCommandsTest, LoopAndTimeBytesZeroLoadAsInfiniteAndOne) {
    struct Case {
        std::uint8_t loopByte;
        std::uint8_t timeByte;
        int loopCount;
        const char* loopText;
        int time;
    };
    const Case cases[] = {
        {0, 0, 255, "無限", 1},       {1, 1, 1, "1", 1},
        {128, 128, 128, "128", 128},  {254, 254, 254, "254", 254},
        {255, 255, 255, "無限", 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "loop byte " << int(c.loopByte) << ", time byte " << int(c.timeByte));
        OpenFilePath(e, makeFile("anim.lcd", lcdFile(c.loopByte, {{c.timeByte, {}}})));
        EXPECT_EQ(e.doc.LoopCount, c.loopCount);
        EXPECT_EQ(loopCountText(e.doc.LoopCount), c.loopText);
        EXPECT_EQ(e.doc.DisplayTimes[0], c.time);
        EXPECT_EQ(e.list.slotViews[0].time, c.time);
    }
}

TEST_F(DocumentCommandsTest, TitleNamesTheFileWithoutItsFolder) {
    std::filesystem::create_directories(path("deep/er"));
    OpenFilePath(e, makeFile("deep/er/anim.lcd", lcdFile(1, {{1, {}}})));
    EXPECT_EQ(e.title, "Vemurion - [anim.lcd]");

    struct Case {
        const char* fileName;
        const char* title;
    };
    const Case cases[] = {
        {"/home/user/anim.lcd", "Vemurion - [anim.lcd]"},
        {"anim.lcd", "Vemurion - [anim.lcd]"},
        {"無題", "Vemurion - [無題]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(documentTitle(c.fileName), c.title);
}

// ---------------------------------------------------------------------------------------------
// Files that are not opened

TEST_F(DocumentCommandsTest, UnsupportedFilesAreRefusedWithoutAskingAnything) {
    const Bytes lcd = lcdFile(1, {{1, {{0, 0}}}});
    Bytes tooFew = lcd;
    tooFew[14] = 2;
    struct Case {
        const char* name;
        Bytes content;
        std::string message;
    };
    const std::vector<Case> cases = {
        // A name of no kind is read by its content: "LCDi" and all the frames it announces.
        {"anim.Lcd", {'h', 'e', 'l', 'l', 'o'}, "anim.Lcd は未対応のファイル形式です."},
        {"anim", Bytes{0x4C, 0x43, 0x44, 0x69}, "anim は未対応のファイル形式です."},
        {"anim", tooFew, "anim は未対応のファイル形式です."},
        // Only the file name tells the kind, never a folder's name.
        {"saves.lcd/anim", {'h', 'e', 'l', 'l', 'o'}, "anim は未対応のファイル形式です."},
        {"pic.bmp", lcd, std::string("pic.bmp") + kAddToListHint},
        {"pic.BMP", lcd, std::string("pic.BMP") + kAddToListHint},
        {"photo.jpg", lcd, std::string("photo.jpg") + kAddToListHint},
        {"photo.JPG", lcd, std::string("photo.JPG") + kAddToListHint},
        // A picture extension anywhere in the path wins over the LCD extension.
        {"anim.lcd.bmp", lcd, std::string("anim.lcd.bmp") + kAddToListHint},
        {"notes.txt", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'},
         "notes.txt は未対応のテキストファイルです."},
        {"short.TXT", Bytes{0x4C, 0x43, 0x44, 0x69}, "short.TXT は未対応のテキストファイルです."},
        {"empty.txt", Bytes{}, "empty.txt は未対応のテキストファイルです."},
    };

    drawDot(e, 3, 3);
    const DocState before = stateOf(e);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.clearRecord();
        OpenFilePath(e, makeFile(c.name, c.content));
        EXPECT_EQ(prompts.warnings, std::vector<std::string>{c.message});
        EXPECT_TRUE(prompts.questions.empty());
        expectUnchanged(before, e);
        EXPECT_EQ(e.undo.undoState, 0);
    }
}

// Open, a drop, the command line and Add to list (which inserts the frame) tell an LCD file
// alike: by its name, or where the name carries none of the known kinds, by its content.
TEST_F(DocumentCommandsTest, AnLcdFileIsReadUnderATextNameOrANameOfNoKind) {
    struct Case {
        const char* name;
        int brokenByte; // a name ending in .lcd needs no signature; by content, "LCDi" is all of it
    };
    const Case cases[] = {{"anim.txt", -1},
                          {"ANIM.TXT", -1},
                          {"notes.txt.d/anim.lcd", 0},
                          {"anim", 6},
                          {"Anim.Lcd", -1}};
    const std::function<void(const std::string&)> roads[] = {
        [&](const std::string& p) { prompts.answerOpenFile(p), commandOpen(e); },
        [&](const std::string& p) { dropFiles(e, {p}); },
        [&](const std::string& p) { openFromCommandLine(e, {p}); },
        [&](const std::string& p) { prompts.answerOpenFile(p), A1Click(e); },
    };
    const FileFrame frame{9, {{4, 4}}};
    for (const Case& c : cases) {
        Bytes bytes = lcdFile(12, {frame});
        if (c.brokenByte >= 0) bytes[static_cast<std::size_t>(c.brokenByte)] = 'X';
        const std::string where = makeFile(c.name, bytes);
        for (std::size_t road = 0; road < std::size(roads); ++road) {
            SCOPED_TRACE(testing::Message() << c.name << ", road " << road);
            NewDocument(e);
            roads[road](where);
            const bool added = road == 3;
            EXPECT_TRUE(prompts.warnings.empty());
            EXPECT_EQ(e.doc.DocumentFileName, added ? kUntitled : where);
            EXPECT_EQ(e.doc.FrameCount, added ? 2 : 1);
            EXPECT_EQ(e.doc.LoopCount, added ? kInfiniteLoops : 12);
            EXPECT_EQ(e.doc.DisplayTimes[0], 9);
            EXPECT_TRUE(e.doc.sheet.cell(0) == pictureOf(frame));
        }
    }
}

TEST_F(DocumentCommandsTest, DamagedFilesAreRefusedBeforeTheQuestionAndChangeNothing) {
    const Bytes good = lcdFile(5, {{2, {{1, 1}}}, {3, {}}});
    ASSERT_EQ(good.size(), 16 + 1540 * 2 + std::string_view(kVersionText).size());
    const Bytes headerOnly(good.begin(), good.begin() + 16);
    const Bytes oneByteShort(good.begin(), good.begin() + 16 + 1540 * 2 - 1);
    const Bytes withoutDots(good.begin(), good.begin() + 16 + 4 * 2);
    Bytes zeroFrames = good;
    zeroFrames[14] = 0;
    Bytes moreFramesThanStored = good;
    moreFramesThanStored[14] = 3;
    struct Case {
        const char* what;
        Bytes content;
    };
    const std::vector<Case> cases = {
        {"empty file", {}},
        {"shorter than the header", Bytes(good.begin(), good.begin() + 15)},
        {"header only", headerOnly},
        {"time records but no dots", withoutDots},
        {"one byte short of the last dot block", oneByteShort},
        {"frame count byte 0", zeroFrames},
        {"announces a frame more than it holds", moreFramesThanStored},
    };

    openTitled("mine.lcd");
    drawDot(e, 20, 20);
    e.doc.LoopCount = 17;
    const DocState before = stateOf(e);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.clearRecord();
        OpenFilePath(e, makeFile("bad.lcd", c.content));
        EXPECT_EQ(prompts.warnings,
                  std::vector<std::string>{"bad.lcd は壊れているため読み込めません."});
        EXPECT_TRUE(prompts.questions.empty()) << "no question for a file that cannot be loaded";
        expectUnchanged(before, e);
        EXPECT_EQ(e.undo.undoState, 0);
    }

    // The smallest complete file, trailer and all cut off, loads.
    prompts.clearRecord();
    prompts.answer(Answer::No);
    OpenFilePath(e, makeFile("exact.lcd", Bytes(good.begin(), good.begin() + 16 + 1540 * 2)));
    EXPECT_TRUE(prompts.warnings.empty());
    EXPECT_EQ(e.doc.DocumentFileName, path("exact.lcd"));
    EXPECT_EQ(e.doc.FrameCount, 2);
}

TEST_F(DocumentCommandsTest, AFileThatCannotBeReadIsReportedAndChangesNothing) {
    for (const char* name : {"locked.lcd", "locked.txt"}) {
        SCOPED_TRACE(name);
        makeUnreadable(path(name));
        if (IsSkipped()) return;
        drawDot(e, 1, 2);
        const DocState before = stateOf(e);
        prompts.clearRecord();
        OpenFilePath(e, path(name));
        EXPECT_EQ(prompts.warnings, std::vector<std::string>{std::string(name) + " を開けません."});
        EXPECT_TRUE(prompts.questions.empty());
        expectUnchanged(before, e);
    }
}

TEST_F(DocumentCommandsTest, AMissingFileOrEmptyNameDoesNothingSilently) {
    drawDot(e, 1, 1);
    const DocState before = stateOf(e);
    OpenFilePath(e, path("missing.lcd"));
    OpenFilePath(e, "");
    dropFiles(e, {path("missing.lcd")});
    EXPECT_TRUE(prompts.calls.empty());
    expectUnchanged(before, e);
}

// Should a read wait on a FIFO after all, a writer comes along after a while and ends the wait,
// so that the test fails instead of hanging.
class FifoWatchdog {
public:
    explicit FifoWatchdog(std::string fifo)
        : m_thread([this, fifo = std::move(fifo)] {
              for (int tick = 0; tick < 100 && !m_done; ++tick)
                  std::this_thread::sleep_for(std::chrono::milliseconds(50));
              if (m_done) return;
              const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
              if (writer >= 0) {
                  ADD_FAILURE() << "a read waited on the FIFO " << fifo;
                  ::close(writer);
              }
          }) {}
    ~FifoWatchdog() {
        m_done = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// Reading a FIFO waits for a writer and a device may never end: what is no regular file is
// refused at once with the message, also when it takes the place of a file after the check.
TEST_F(DocumentCommandsTest, WhatIsNoRegularFileIsRefusedWithoutWaiting) {
    const std::string fifo = path("pipe.lcd");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const FifoWatchdog watchdog(fifo);
    std::filesystem::create_directory(path("folder.lcd"));
    std::filesystem::create_symlink("/dev/zero", path("zero.txt"));
    drawDot(e, 1, 2);
    const DocState before = stateOf(e);
    for (const std::string name : {"pipe.lcd", "folder.lcd", "zero.txt"}) {
        for (const bool dropped : {false, true}) {
            SCOPED_TRACE(name + (dropped ? ", dropped" : ""));
            prompts.clearRecord();
            if (dropped) {
                dropFiles(e, {path(name)});
            } else {
                OpenFilePath(e, path(name));
            }
            EXPECT_EQ(prompts.warnings, std::vector<std::string>{name + " を開けません."});
            EXPECT_TRUE(prompts.questions.empty());
            expectUnchanged(before, e);
        }
    }

    // The file is read again after the save prompt; by then a FIFO has taken its place.
    class SwappingPrompts : public test::FakePrompts {
    public:
        std::function<void()> onQuestion;
        Answer askYesNoCancel(const std::string& text) override {
            onQuestion();
            return FakePrompts::askYesNoCancel(text);
        }
    } swapping;
    const std::string swapped = makeFile("swapped.lcd", lcdFile(1, {{1, {}}}));
    swapping.onQuestion = [&] {
        std::filesystem::remove(swapped);
        ASSERT_EQ(::mkfifo(swapped.c_str(), 0600), 0);
    };
    swapping.answer(Answer::No);
    const FifoWatchdog swappedWatchdog(swapped);
    e.prompts = &swapping;
    OpenFilePath(e, swapped);
    e.prompts = &prompts;
    EXPECT_EQ(swapping.warnings, std::vector<std::string>{"swapped.lcd を開けません."});
    expectUnchanged(before, e);
}

// ---------------------------------------------------------------------------------------------
// The save prompt

TEST_F(DocumentCommandsTest, SavePromptNamesTheDocumentsFile) {
    drawDot(e, 0, 0);
    prompts.answer(Answer::Cancel);
    commandNew(e);
    EXPECT_EQ(prompts.questions, std::vector<std::string>{"無題 への変更を保存しますか?"});

    prompts.answer(Answer::No);
    openTitled("anim.lcd");
    drawDot(e, 0, 0);
    prompts.answer(Answer::Cancel);
    commandNew(e);
    EXPECT_EQ(prompts.questions, std::vector<std::string>{"anim.lcd への変更を保存しますか?"});
}

enum class Command { New, Open, Drop, Close };
enum class Reply {
    No,
    Cancel,
    YesSavesToItsFile,
    YesSaveAsConfirmed,
    YesSaveAsCancelled,
    YesSaveFails,
};
// The names of the cases, in the order of the two enumerations.
constexpr const char* kCommandNames[] = {"New", "Open", "Drop", "Close"};
constexpr const char* kReplyNames[] = {
    "No",          "Cancel", "YesSavesToItsFile", "YesSaveAsConfirmed", "YesSaveAsCancelled",
    "YesSaveFails"};

class UnsavedChangesTest : public DocumentCommandsTest,
                           public testing::WithParamInterface<std::tuple<Command, Reply>> {};

// Each command that replaces or closes a modified document asks first. The command goes on
// after No, or after Yes once the document is written; it is called off after Cancel, a
// cancelled Save As or a failed save, and then nothing at all is lost.
TEST_P(UnsavedChangesTest, CommandGoesOnOnlyWhenNothingIsLost) {
    const auto [command, reply] = GetParam();
    const bool titled = reply == Reply::YesSavesToItsFile || reply == Reply::YesSaveFails;
    const bool goesOn = reply == Reply::No || reply == Reply::YesSavesToItsFile ||
                        reply == Reply::YesSaveAsConfirmed;

    const std::string other = makeFile("other.lcd", lcdFile(40, {{6, {}}, {6, {}}, {6, {}}}));
    std::string mine;
    Bytes mineBefore;
    if (titled) {
        mine = openTitled("mine.lcd");
        mineBefore = readBytes(mine);
    }
    drawDot(e, 7, 8);
    e.doc.DisplayTimes[0] = 66;
    const Bytes expectedSave = encodeLcd(e.doc, kVersionText);
    const DocState before = stateOf(e);

    if (command == Command::Open) prompts.answerOpenFile(other);
    switch (reply) {
    case Reply::No:
        prompts.answer(Answer::No);
        break;
    case Reply::Cancel:
        prompts.answer(Answer::Cancel);
        break;
    case Reply::YesSavesToItsFile:
        prompts.answer(Answer::Yes);
        break;
    case Reply::YesSaveAsConfirmed:
        prompts.answer(Answer::Yes);
        prompts.answerSaveFile(path("saved.lcd"));
        break;
    case Reply::YesSaveAsCancelled:
        prompts.answer(Answer::Yes);
        prompts.cancelSaveFile();
        break;
    case Reply::YesSaveFails:
        prompts.answer(Answer::Yes);
        setWriteFaultForTesting(WriteFault::Write);
        break;
    }

    bool closes = false;
    switch (command) {
    case Command::New:
        commandNew(e);
        break;
    case Command::Open:
        commandOpen(e);
        break;
    case Command::Drop:
        dropFiles(e, {other});
        break;
    case Command::Close:
        closes = confirmClose(e);
        break;
    }
    setWriteFaultForTesting(WriteFault::None);

    EXPECT_EQ(prompts.questions,
              std::vector<std::string>{titled ? "mine.lcd への変更を保存しますか?"
                                              : "無題 への変更を保存しますか?"});

    // What was written.
    if (reply == Reply::YesSavesToItsFile) {
        EXPECT_TRUE(sameBytes(readBytes(mine), expectedSave));
    }
    if (reply == Reply::YesSaveFails) {
        EXPECT_TRUE(sameBytes(readBytes(mine), mineBefore));
        EXPECT_EQ(prompts.warnings, std::vector<std::string>{"mine.lcd に保存できませんでした."});
    } else {
        EXPECT_TRUE(prompts.warnings.empty());
    }
    if (reply == Reply::YesSaveAsConfirmed) {
        EXPECT_TRUE(sameBytes(readBytes(path("saved.lcd")), expectedSave));
    } else {
        EXPECT_FALSE(fileExists(path("saved.lcd")));
    }
    std::vector<std::string> expectedEntries = {"other.lcd"};
    if (titled) expectedEntries.insert(expectedEntries.begin(), "mine.lcd");
    if (reply == Reply::YesSaveAsConfirmed) expectedEntries.push_back("saved.lcd");
    EXPECT_EQ(temp.entries(), expectedEntries) << "no temporary file may be left behind";

    // What became of the document.
    if (!goesOn) {
        expectUnchanged(before, e);
        EXPECT_TRUE(e.doc.Modified);
        EXPECT_EQ(e.undo.undoState, 0) << "the undo record survives a called-off command";
        if (command == Command::Close) {
            EXPECT_FALSE(closes);
        }
        return;
    }
    switch (command) {
    case Command::New:
        EXPECT_EQ(e.doc.DocumentFileName, "無題");
        EXPECT_EQ(e.doc.FrameCount, 1);
        EXPECT_TRUE(e.doc.sheet.cell(0) == Raster(kFrameWidth, kFrameHeight, kWhite));
        break;
    case Command::Open:
    case Command::Drop:
        EXPECT_EQ(e.doc.DocumentFileName, other);
        EXPECT_EQ(e.doc.FrameCount, 3);
        EXPECT_EQ(e.doc.LoopCount, 40);
        break;
    case Command::Close:
        EXPECT_TRUE(closes);
        return;
    }
    EXPECT_FALSE(e.doc.Modified);
    EXPECT_EQ(e.undo.undoState, -1);
    EXPECT_FALSE(undoEnabled(e));
}

INSTANTIATE_TEST_SUITE_P(
    AllCommandsAndReplies, UnsavedChangesTest,
    testing::Combine(testing::Values(Command::New, Command::Open, Command::Drop, Command::Close),
                     testing::Values(Reply::No, Reply::Cancel, Reply::YesSavesToItsFile,
                                     Reply::YesSaveAsConfirmed, Reply::YesSaveAsCancelled,
                                     Reply::YesSaveFails)),
    [](const testing::TestParamInfo<std::tuple<Command, Reply>>& info) {
        return std::string(kCommandNames[static_cast<int>(std::get<0>(info.param))]) + "_" +
               kReplyNames[static_cast<int>(std::get<1>(info.param))];
    });

// Saving on Yes may write the very file that is being opened; what is then shown must be what
// the file holds, or the document and its file disagree while Modified says they do not.
TEST_F(DocumentCommandsTest, OpeningAFileJustSavedOnYesShowsWhatWasSaved) {
    struct Case {
        const char* what;
        bool titled;
    };
    const Case cases[] = {
        {"its own file, saved on Yes", true},
        {"a file replaced through Save As on Yes", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        e.doc.Modified = false;
        commandNew(e);
        const std::string target = openTitled("anim.lcd");
        if (!c.titled) commandNew(e);
        drawDot(e, 24, 16);
        e.doc.DisplayTimes[0] = 99;
        const Bytes saved = encodeLcd(e.doc, kVersionText);

        prompts.answer(Answer::Yes);
        if (!c.titled) prompts.answerSaveFile(target);
        OpenFilePath(e, target);

        EXPECT_TRUE(sameBytes(readBytes(target), saved));
        EXPECT_EQ(e.doc.DocumentFileName, target);
        EXPECT_FALSE(e.doc.Modified);
        EXPECT_TRUE(sameBytes(encodeLcd(e.doc, kVersionText), saved))
            << "the document shows an older file";
        EXPECT_EQ(e.doc.sheet.cell(0).at(24, 16), kBlack);
    }
}

TEST_F(DocumentCommandsTest, WithoutChangesNothingIsAsked) {
    const std::string other = makeFile("other.lcd", lcdFile(2, {{1, {}}}));
    EXPECT_TRUE(confirmClose(e));
    commandNew(e);
    dropFiles(e, {other});
    EXPECT_EQ(e.doc.DocumentFileName, other);
    EXPECT_TRUE(prompts.questions.empty());
}

TEST_F(DocumentCommandsTest, OpenShowsTheDialogBeforeAskingAndACancelledDialogDoesNothing) {
    drawDot(e, 5, 5);
    const DocState before = stateOf(e);
    prompts.cancelOpenFile();
    commandOpen(e);
    EXPECT_EQ(prompts.calls, std::vector<std::string>{"askOpenFile"});
    expectUnchanged(before, e);
    EXPECT_EQ(e.undo.undoState, 0);

    prompts.clearRecord();
    prompts.answerOpenFile(makeFile("other.lcd", lcdFile(2, {{1, {}}})));
    prompts.answer(Answer::No);
    commandOpen(e);
    EXPECT_EQ(prompts.calls, (std::vector<std::string>{"askOpenFile", "askYesNoCancel"}));
}

TEST_F(DocumentCommandsTest, OpenDialogIsSetUpAndRemembersFolderAndFilter) {
    std::filesystem::create_directories(path("sub"));
    const std::string where = makeFile("sub/anim.lcd", lcdFile(2, {{1, {}}}));
    prompts.answerOpenFile(where, 3);
    commandOpen(e);
    prompts.cancelOpenFile();
    commandOpen(e);

    ASSERT_EQ(prompts.openRequests.size(), 2u);
    const FileDialogRequest& first = prompts.openRequests[0];
    EXPECT_EQ(first.title, "ファイルを開く");
    EXPECT_EQ(first.filter, "利用可能なすべてのファイル (*.lcd;*.txt)|*.lcd;*.txt|"
                            "LCDファイル (*.lcd)|*.lcd|テキストファイル(内部LCD) (*.txt)|*.txt");
    EXPECT_EQ(first.initialFolder, temp.folder());
    EXPECT_EQ(prompts.openRequests[1].initialFolder, temp.folder() + "/sub/");
    EXPECT_EQ(prompts.openRequests[1].filterIndex, 3);
}

// ---------------------------------------------------------------------------------------------
// Save and Save As

TEST_F(DocumentCommandsTest, SaveAsWritesTheDocumentAndNamesItAfterTheFile) {
    drawDot(e, 9, 9);
    e.doc.LoopCount = 3;
    const Bytes expected = encodeLcd(e.doc, kVersionText);
    std::filesystem::create_directories(path("out"));
    prompts.answerSaveFile(path("out/anim.lcd"), 2);
    commandSaveAs(e);

    EXPECT_TRUE(sameBytes(readBytes(path("out/anim.lcd")), expected));
    EXPECT_EQ(e.doc.DocumentFileName, path("out/anim.lcd"));
    EXPECT_EQ(e.title, "Vemurion - [anim.lcd]");
    EXPECT_FALSE(e.doc.Modified);
    EXPECT_EQ(e.undo.undoState, -1);
    EXPECT_FALSE(undoEnabled(e));
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_TRUE(prompts.warnings.empty());

    prompts.cancelSaveFile();
    commandSaveAs(e);
    ASSERT_EQ(prompts.saveRequests.size(), 2u);
    const FileDialogRequest& first = prompts.saveRequests[0];
    EXPECT_EQ(first.filter, "LCDファイル (*.lcd)|*.lcd|テキストファイル(内部LCD) (*.txt)|*.txt");
    EXPECT_EQ(first.defaultExtension, "lcd");
    EXPECT_TRUE(first.confirmOverwrite);
    EXPECT_EQ(first.initialFolder, temp.folder());
    EXPECT_EQ(prompts.saveRequests[1].initialFolder, temp.folder() + "/out/");
    EXPECT_EQ(prompts.saveRequests[1].filterIndex, 2);
}

TEST_F(DocumentCommandsTest, ACancelledSaveAsChangesNothing) {
    struct Case {
        const char* what;
        bool titled;
        bool modified;
    };
    const Case cases[] = {
        {"untitled, modified", false, true},
        {"untitled, unmodified", false, false},
        {"titled, modified", true, true},
        {"titled, unmodified", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        e.doc.Modified = false;
        commandNew(e);
        if (c.titled) openTitled("docs/mine.lcd");
        drawDot(e, 2, 2);
        e.doc.Modified = c.modified;
        const auto entries = temp.entries();
        const DocState before = stateOf(e);

        prompts.cancelSaveFile();
        commandSaveAs(e);
        expectUnchanged(before, e);
        EXPECT_EQ(e.undo.undoState, 0) << "only a confirmed Save As forgets the undo record";
        EXPECT_EQ(temp.entries(), entries);

        // Save of an untitled document goes through the same dialog.
        if (!c.titled) {
            prompts.cancelSaveFile();
            commandSave(e);
            expectUnchanged(before, e);
        }
        EXPECT_TRUE(prompts.warnings.empty());
        // Every save dialog, the export's too, starts where the document lives, if anywhere.
        prompts.cancelSaveFile();
        commandExport(e);
        for (const FileDialogRequest& asked : prompts.saveRequests)
            EXPECT_EQ(asked.initialFolder, c.titled ? path("docs/") : e.homeFolder);
    }
}

TEST_F(DocumentCommandsTest, SaveWritesToTheDocumentsFileWithoutAsking) {
    const std::string mine = openTitled("mine.lcd");
    drawDot(e, 30, 30);
    const Bytes expected = encodeLcd(e.doc, kVersionText);
    commandSave(e);

    EXPECT_TRUE(prompts.calls.empty());
    EXPECT_TRUE(sameBytes(readBytes(mine), expected));
    EXPECT_FALSE(e.doc.Modified);
    EXPECT_EQ(e.doc.DocumentFileName, mine);
    EXPECT_EQ(e.undo.undoState, -1);
    EXPECT_FALSE(undoEnabled(e));
    EXPECT_EQ(temp.entries(), std::vector<std::string>{"mine.lcd"});
}

TEST_F(DocumentCommandsTest, SavingAHandMadeFileAgainGivesTheSameBytes) {
    const std::vector<FileFrame> frames = {
        {4, {{0, 0}, {47, 0}, {0, 31}, {47, 31}}},
        {200, {{13, 7}, {14, 7}, {15, 8}}},
        {255, {}},
    };
    const Bytes original = lcdFile(200, frames);
    const std::string where = makeFile("anim.lcd", original);
    OpenFilePath(e, where);
    commandSave(e);
    EXPECT_TRUE(sameBytes(readBytes(where), original));
}

TEST_F(DocumentCommandsTest, SavingWritesTheCanonicalFormOfWhatWasRead) {
    // Loop byte 0, time byte 0, dot bytes other than 8, a foreign signature and trailer: all
    // load, and the next save writes them in the program's own form.
    Bytes odd = lcdFile(0, {{0, {{0, 0}}, 1}, {17, {{47, 31}}, 0xFF}}, "someone else's trailer");
    odd[0] = 'X';
    odd[6] = 0x99;
    const std::string where = makeFile("odd.lcd", odd);
    OpenFilePath(e, where);
    commandSave(e);
    EXPECT_TRUE(sameBytes(readBytes(where), lcdFile(255, {{1, {{0, 0}}}, {17, {{47, 31}}}})));
}

TEST_F(DocumentCommandsTest, AnLcdSavedUnderATextNameOpensAgain) {
    drawDot(e, 11, 12);
    e.doc.DisplayTimes[0] = 31;
    const Raster drawn = e.doc.sheet.cell(0);
    prompts.answerSaveFile(path("anim.txt"), 2);
    commandSaveAs(e);
    commandNew(e);
    OpenFilePath(e, path("anim.txt"));
    EXPECT_TRUE(prompts.warnings.empty());
    EXPECT_EQ(e.doc.DocumentFileName, path("anim.txt"));
    EXPECT_EQ(e.doc.DisplayTimes[0], 31);
    EXPECT_TRUE(e.doc.sheet.cell(0) == drawn);
}

TEST_F(DocumentCommandsTest, AFailedSaveKeepsTheOldFileAndTheDocument) {
    const std::string mine = openTitled("mine.lcd");
    const Bytes old = readBytes(mine);
    drawDot(e, 40, 20);
    const DocState before = stateOf(e);

    for (const WriteFault fault :
         {WriteFault::Create, WriteFault::Write, WriteFault::Sync, WriteFault::Rename}) {
        SCOPED_TRACE(static_cast<int>(fault));
        prompts.clearRecord();
        setWriteFaultForTesting(fault);
        commandSave(e);
        setWriteFaultForTesting(WriteFault::None);

        EXPECT_EQ(prompts.warnings, std::vector<std::string>{"mine.lcd に保存できませんでした."});
        EXPECT_TRUE(sameBytes(readBytes(mine), old));
        EXPECT_EQ(temp.entries(), std::vector<std::string>{"mine.lcd"});
        expectUnchanged(before, e);
    }
}

TEST_F(DocumentCommandsTest, AFailedSaveAsKeepsTheDocumentsNameAndModified) {
    struct Case {
        const char* what;
        const char* name; // relative to the temporary folder
        WriteFault fault;
        std::string message;
    };
    const Case cases[] = {
        {"write fails", "new.lcd", WriteFault::Write, "new.lcd に保存できませんでした."},
        {"rename fails", "new.lcd", WriteFault::Rename, "new.lcd に保存できませんでした."},
        {"folder missing", "nowhere/new.lcd", WriteFault::None, "new.lcd に保存できませんでした."},
    };
    for (const bool modified : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << (modified ? ", modified" : ""));
            prompts.clearRecord();
            e.doc.Modified = modified;
            const DocState before = stateOf(e);
            prompts.answerSaveFile(path(c.name));
            setWriteFaultForTesting(c.fault);
            commandSaveAs(e);
            setWriteFaultForTesting(WriteFault::None);

            EXPECT_EQ(prompts.warnings, std::vector<std::string>{c.message});
            expectUnchanged(before, e);
            EXPECT_TRUE(temp.entries().empty());
        }
    }
}

// Saving through a symbolic link writes the file the link names, and creates it when the link
// dangles; the link stays a link.
TEST_F(DocumentCommandsTest, SaveThroughASymbolicLinkWritesTheLinkedFile) {
    struct Case {
        const char* what;
        std::string target; // as the link holds it
        const char* file;   // the file it names, in the temporary folder
    };
    const Case cases[] = {
        {"to an existing file", path("real/anim.lcd"), "real/anim.lcd"},
        {"dangling", "nowhere.lcd", "nowhere.lcd"},
        {"dangling, into a folder", "real/new.lcd", "real/new.lcd"},
    };
    const std::string link = path("anim.lcd");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.clearRecord();
        std::filesystem::remove_all(path("real"));
        std::filesystem::remove(link);
        std::filesystem::create_directories(path("real"));
        std::filesystem::create_symlink(c.target, link);
        if (fileExists(link)) {
            makeFile(c.file, lcdFile(1, {{1, {}}}));
            OpenFilePath(e, link);
            drawDot(e, 3, 4);
            commandSave(e);
        } else {
            drawDot(e, 3, 4);
            prompts.answerSaveFile(link);
            commandSaveAs(e);
        }
        const Bytes expected = encodeLcd(e.doc, kVersionText);

        EXPECT_TRUE(prompts.warnings.empty());
        EXPECT_TRUE(std::filesystem::is_symlink(link)) << "the link was replaced by a plain file";
        EXPECT_TRUE(sameBytes(readBytes(path(c.file)), expected));
        EXPECT_EQ(e.doc.DocumentFileName, link);
        EXPECT_FALSE(e.doc.Modified);
    }
}

// Saving never replaces a file that the user may not write, although the folder would let a
// new file be renamed over it.
TEST_F(DocumentCommandsTest, FilesTheUserMayNotWriteAreNeverReplaced) {
    if (const auto run = test::rerunAsNobody(); run.rerun) {
        if (!run.ran) GTEST_SKIP() << run.why;
        return;
    }
    const std::string mine = openTitled("mine.lcd");
    const Bytes kept = {'k', 'e', 'p', 't'};
    struct Case {
        const char* name;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"mine.lcd", [&] { commandSave(e); }},
        {"other.lcd",
         [&] {
             prompts.answerSaveFile(path("other.lcd"));
             commandSaveAs(e);
         }},
        {"pic.bmp",
         [&] {
             prompts.answerSaveFile(path("pic.bmp"), kExportSingleFilter);
             commandExport(e);
         }},
        {"anim001.bmp",
         [&] {
             prompts.answerSaveFile(path("anim.bmp"), kExportSeriesFilter);
             commandExport(e);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.name != std::string("mine.lcd")) makeFile(c.name, kept);
        ASSERT_EQ(::chmod(path(c.name).c_str(), 0444), 0);
        const Bytes old = readBytes(path(c.name));
        drawDot(e, 5, 6);
        const DocState before = stateOf(e);
        prompts.clearRecord();
        c.run();

        EXPECT_EQ(prompts.warnings,
                  std::vector<std::string>{std::string(c.name) + " に保存できませんでした."});
        EXPECT_TRUE(sameBytes(readBytes(path(c.name)), old));
        struct stat info {};
        ASSERT_EQ(::stat(path(c.name).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0444u);
        expectUnchanged(before, e);
        EXPECT_EQ(e.doc.DocumentFileName, mine);
    }
}

TEST_F(DocumentCommandsTest, SaveAsOverAnExistingFileReplacesIt) {
    const std::string mine = openTitled("mine.lcd");
    commandNew(e);
    drawDot(e, 0, 0);
    const Bytes expected = encodeLcd(e.doc, kVersionText);
    prompts.answerSaveFile(mine);
    commandSaveAs(e);
    EXPECT_TRUE(sameBytes(readBytes(mine), expected));
    EXPECT_EQ(temp.entries(), std::vector<std::string>{"mine.lcd"});
}

// ---------------------------------------------------------------------------------------------
// Undo after document commands

TEST_F(DocumentCommandsTest, DocumentCommandsForgetTheUndoRecord) {
    const std::string mine = makeFile("mine.lcd", lcdFile(1, {{1, {}}}));
    struct Case {
        const char* what;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"New",
         [&] {
             prompts.answer(Answer::No);
             commandNew(e);
         }},
        {"Open",
         [&] {
             prompts.answerOpenFile(mine);
             prompts.answer(Answer::No);
             commandOpen(e);
         }},
        {"Save", [&] { commandSave(e); }},
        {"Save As",
         [&] {
             prompts.answerSaveFile(path("as.lcd"));
             commandSaveAs(e);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OpenFilePath(e, mine);
        drawDot(e, 4, 4);
        ASSERT_TRUE(undoEnabled(e));
        c.run();
        EXPECT_EQ(e.undo.undoState, -1);
        EXPECT_FALSE(undoEnabled(e));
        EXPECT_FALSE(e.doc.Modified);
    }
}

// ---------------------------------------------------------------------------------------------
// Dropped files and the command line

TEST_F(DocumentCommandsTest, DropOpensOnlyTheFirstFile) {
    const std::string a = makeFile("a.lcd", lcdFile(11, {{1, {}}}));
    const std::string b = makeFile("b.lcd", lcdFile(22, {{1, {}}}));
    const std::string pic = makeFile("pic.bmp", Bytes{'B', 'M'});

    dropFiles(e, {a, b, pic});
    EXPECT_EQ(e.doc.DocumentFileName, a);
    EXPECT_EQ(e.doc.LoopCount, 11);
    EXPECT_TRUE(prompts.calls.empty()) << "the other files are not even looked at";

    // A first file that does not exist ends the drop; the others still are not opened.
    dropFiles(e, {path("gone.lcd"), b});
    dropFiles(e, {});
    EXPECT_EQ(e.doc.DocumentFileName, a);
    EXPECT_TRUE(prompts.calls.empty());

    dropFiles(e, {pic, a});
    EXPECT_EQ(prompts.warnings, std::vector<std::string>{std::string("pic.bmp") + kAddToListHint});
}

TEST_F(DocumentCommandsTest, CommandLineOpensItsFirstArgument) {
    const std::string a = makeFile("a.lcd", lcdFile(11, {{1, {}}}));
    const std::string b = makeFile("b.lcd", lcdFile(22, {{1, {}}}));
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        std::string openedFile;
    };
    const Case cases[] = {
        {"no argument", {}, "無題"},
        {"an existing file", {a}, a},
        {"further arguments ignored", {a, b}, a},
        {"a missing file", {path("missing.lcd")}, "無題"},
        {"a missing file first", {path("missing.lcd"), b}, "無題"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewDocument(e);
        prompts.clearRecord();
        openFromCommandLine(e, c.arguments);
        EXPECT_EQ(e.doc.DocumentFileName, c.openedFile);
        EXPECT_TRUE(prompts.calls.empty()) << "nothing is said about the command line";
    }

    NewDocument(e);
    openFromCommandLine(e, {makeFile("pic.bmp", Bytes{'B', 'M'})});
    EXPECT_EQ(prompts.warnings, std::vector<std::string>{std::string("pic.bmp") + kAddToListHint});
    EXPECT_EQ(e.doc.DocumentFileName, "無題");
}

} // namespace
} // namespace vemurion
