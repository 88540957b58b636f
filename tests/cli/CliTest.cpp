#include "files/BitmapExport.h"
#include "files/LcdFile.h"
#include "publish/TagText.h"
#include "support/FakeServices.h"
#include "support/FileFaults.h"
#include "support/GifFiles.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vemurion {
namespace {

using test::Bytes;
using test::patterned;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

struct CliRun {
    int status = -1; // the exit code, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

std::string readText(const std::string& path) {
    const Bytes bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Runs the real vemurion-cli with `args` in `folder`, its output captured in files there.
CliRun runCli(const TempFolder& folder, const std::vector<std::string>& args) {
    const std::string outPath = folder.path(".stdout");
    const std::string errPath = folder.path(".stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addchdir_np(&actions, folder.folder().c_str());
    std::vector<std::string> words = {VEMURION_CLI};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    CliRun run;
    pid_t child = 0;
    const int spawned = posix_spawn(&child, VEMURION_CLI, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(spawned, 0) << "cannot start " << VEMURION_CLI;
    if (spawned != 0) return run;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readText(outPath);
    run.err = readText(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
}

// A document of `times.size()` frames, frame i patterned with seed i.
AnimationDocument documentOf(const std::vector<int>& times, int loopCount) {
    AnimationDocument doc;
    doc.FrameCount = static_cast<int>(times.size());
    doc.LoopCount = loopCount;
    for (int i = 0; i < doc.FrameCount; ++i) {
        doc.DisplayTimes[static_cast<std::size_t>(i)] = times[static_cast<std::size_t>(i)];
        doc.sheet.setCell(i, patterned(i));
    }
    return doc;
}

class CliTest : public testing::Test {
protected:
    // Writes the LCD file of `doc` as `name` and returns its bytes.
    Bytes writeLcd(const std::string& name, const AnimationDocument& doc) {
        Bytes bytes = encodeLcd(doc, "trailer");
        writeBytes(temp.path(name), bytes);
        return bytes;
    }
    CliRun cli(const std::vector<std::string>& args) { return runCli(temp, args); }

    TempFolder temp;
};

TEST_F(CliTest, InfoGivesCountLoopAndTimesAsOpenReadsThem) {
    struct Case {
        std::vector<int> times;
        int loopByte;
        std::string expected;
    };
    const Case cases[] = {
        {{4, 200, 255}, 200, "frames: 3\nloop: 200\ntimes: 4 200 255\n"},
        {{1}, 255, "frames: 1\nloop: infinite\ntimes: 1\n"},
        // Open reads a loop byte 0 as without end and a display time 0 as 1.
        {{0, 7}, 0, "frames: 2\nloop: infinite\ntimes: 1 7\n"},
    };
    for (const Case& c : cases) {
        writeLcd("anim.lcd", documentOf(c.times, c.loopByte));
        const CliRun run = cli({"info", "anim.lcd"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.expected);
        EXPECT_EQ(run.err, "");
    }
}

TEST_F(CliTest, ShowPrintsOneFrameOrEveryFrameWithItsHeading) {
    AnimationDocument doc = documentOf({3, 9}, 255);
    Raster corner(kFrameWidth, kFrameHeight, kWhite);
    corner.set(0, 0, kBlack);
    corner.set(47, 31, kBlack);
    doc.sheet.setCell(1, corner);
    writeLcd("anim.txt", doc);

    const std::string row0 = "#" + std::string(47, '.') + "\n";
    const std::string middle = std::string(48, '.') + "\n";
    const std::string row31 = std::string(47, '.') + "#\n";
    std::string frame1 = row0;
    for (int y = 1; y < 31; ++y)
        frame1 += middle;
    frame1 += row31;

    const CliRun one = cli({"show", "anim.txt", "--frame", "1"});
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, frame1);

    const CliRun all = cli({"show", "anim.txt"});
    EXPECT_EQ(all.status, 0) << all.err;
    const std::string heading1 = "frame 1/2 time 3\n";
    const std::string heading2 = "frame 2/2 time 9\n";
    ASSERT_EQ(all.out.size(), heading1.size() + heading2.size() + 2 * (frame1.size() + 1));
    EXPECT_EQ(all.out.substr(0, heading1.size()), heading1);
    EXPECT_EQ(all.out.substr(all.out.size() - frame1.size() - heading2.size() - 1),
              heading2 + frame1 + "\n");
}

TEST_F(CliTest, RefusalsPrintOneLineAndExitOne) {
    const Bytes lcd = writeLcd("anim.lcd", documentOf({1, 2, 3}, 255));
    writeBytes(temp.path("short.lcd"), Bytes(lcd.begin(), lcd.end() - 8 - 1536));
    test::writeText(temp.path("notes.txt"), "just some notes\n");
    test::writeText(temp.path("pic.bmp"), "BM");
    test::writeText(temp.path("anim.doc"), "LCDi");
    test::writeText(temp.path("pic.gif"), "BM and no GIF at all");
    writeBytes(temp.path("photo.png"), Bytes(2000, 1));
    std::filesystem::create_directory(temp.path("taken.bmp"));
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"info", "missing.lcd"}, "missing.lcd を開けません."},
        {{"show", "short.lcd"}, "short.lcd は壊れているため読み込めません."},
        {{"gif", "notes.txt", "out.gif"}, "notes.txt は未対応のテキストファイルです."},
        {{"info", "anim.doc"}, "anim.doc は未対応のファイル形式です."},
        {{"info", "pic.bmp"},
         "pic.bmp は直接開くことができません. "
         "イメージリストメニューの[リストへ追加]で読み込んで下さい."},
        {{"show", "anim.lcd", "--frame", "3"}, "anim.lcd にはイメージ 3 がありません."},
        {{"show", "gone.png"}, "gone.png を開けません."},
        {{"show", "pic.gif"}, "pic.gif は読み込めません."},
        {{"build", "out.lcd", "anim.doc"}, "anim.doc は未対応のファイル形式です."},
        {{"export", "anim.lcd", "taken.bmp"}, "taken.bmp に保存できませんでした."},
        {{"export", "anim.lcd", "anim.lcd"}, "anim.lcd は入力ファイルのため保存できませんでした."},
        {{"thumbnail", "short.lcd", "out.png", "128"}, "short.lcd は壊れているため読み込めません."},
        {{"thumbnail", "missing.lcd", "out.png", "128"}, "missing.lcd を開けません."},
        // Read by content, whatever the name: only an LCD image is drawn.
        {{"thumbnail", "photo.png", "out.png", "128"}, "photo.png は未対応のファイル形式です."},
        {{"thumbnail", "notes.txt", "out.png", "128"}, "notes.txt は未対応のテキストファイルです."},
        {{"info", ""}, "\"\" を開けません."},
        {{"build", "out/", "anim.lcd"}, "out/ に保存できませんでした."},
    };
    for (const Case& c : cases) {
        const CliRun run = cli(c.args);
        EXPECT_EQ(run.status, 1) << c.args[1];
        EXPECT_EQ(run.err, "vemurion-cli: " + c.message + "\n");
        EXPECT_EQ(run.out, "");
    }
    EXPECT_TRUE(test::sameBytes(readBytes(temp.path("anim.lcd")), lcd));
}

TEST_F(CliTest, UsageErrorsPrintTheUsageAndExitTwo) {
    writeLcd("anim.lcd", documentOf({1}, 255));
    const std::vector<std::string> cases[] = {
        {},
        {"play", "anim.lcd"},
        {"info"},
        {"info", "anim.lcd", "more.lcd"},
        {"info", "anim.lcd", "--bogus"},
        {"show", "anim.lcd", "--frame"},
        {"show", "anim.lcd", "--frame", "x"},
        {"export", "anim.lcd", "a.bmp", "--frame", "0", "--series"},
        {"tag", "anim.lcd", "--ports", "AE"},
        {"tag", "anim.lcd", "--script=yes"},
        {"tag", "anim.lcd", "--ports="},
        {"show", "anim.lcd", "--candidate", "9"},
        {"build", "a.lcd", "--time", "0", "anim.lcd"},
        {"build", "a.Png", "anim.lcd"},
        {"gif", "anim.lcd", "a.bmp"},
        {"show", "anim.lcd", "--dither", "blue"},
        {"build", "a.lcd", "--fit", "zoom", "anim.lcd"},
        {"build", "a.lcd", "--every", "0", "anim.lcd"},
        {"build", "a.lcd", "--every", "2", "--fit-frames", "anim.lcd"},
        {"gif", "anim.lcd", "a.gif", "--scale", "17"},
        {"gif", "anim.lcd", "a.gif", "--scale", "0"},
        {"thumbnail", "anim.lcd", "a.png"},
        {"thumbnail", "anim.lcd", "a.png", "0"},
        {"thumbnail", "anim.lcd", "a.png", "4097"},
        {"thumbnail", "anim.lcd", "a.png", "12px"},
    };
    for (const auto& args : cases) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(args);
        EXPECT_TRUE(run.err.starts_with("vemurion-cli: ")) << run.err;
        EXPECT_NE(run.err.find("\nusage: vemurion-cli"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(temp.path("a.bmp")));
    EXPECT_FALSE(std::filesystem::exists(temp.path("a.png")));
    EXPECT_FALSE(std::filesystem::exists(temp.path("a.lcd")));
}

// Every output is written as the editor saves. Where the file system refuses, the message is
// printed, the exit code is 1 and whatever stood under the name is as it was, with no temporary
// file beside it. Inputs that are no regular files are refused without waiting on them.
TEST_F(CliTest, OutputFaultsPrintTheMessageAndKeepWhatWasThere) {
    writeLcd("anim.lcd", documentOf({1, 2}, 255));
    const Bytes old = {'o', 'l', 'd'};
    struct Output {
        std::vector<std::string> args;
        std::string name; // of the output, in the case's folder
    };
    const auto outputs = [](const std::string& in) {
        const std::string at = in + "/";
        return std::vector<Output>{
            {{"export", "anim.lcd", at + "frame.bmp"}, "frame.bmp"},
            {{"build", at + "built.lcd", "anim.lcd"}, "built.lcd"},
            {{"gif", "anim.lcd", at + "anim.gif"}, "anim.gif"},
            {{"thumbnail", "anim.lcd", at + "thumb.png", "64"}, "thumb.png"},
        };
    };
    test::FileFaults faults;
    struct Case {
        const char* what;
        std::function<bool(const std::string& in, const std::string& name)> prepare;
    };
    const Case cases[] = {
        {"full disk",
         [&](const std::string& in, const std::string& name) {
             return faults.mountFullDisk(in, {name}, old);
         }},
        {"immutable file",
         [&](const std::string& in, const std::string& name) {
             writeBytes(in + "/" + name, old);
             return faults.makeImmutable(in + "/" + name);
         }},
        {"a folder under the name",
         [](const std::string& in, const std::string& name) {
             return std::filesystem::create_directory(in + "/" + name);
         }},
        {"a FIFO under the name",
         [](const std::string& in, const std::string& name) {
             return ::mkfifo((in + "/" + name).c_str(), 0600) == 0;
         }},
        {"link loop",
         [](const std::string& in, const std::string& name) {
             std::filesystem::create_symlink("loop", in + "/" + name);
             std::filesystem::create_symlink(name, in + "/loop");
             return true;
         }},
        {"link into a missing folder",
         [](const std::string& in, const std::string& name) {
             std::filesystem::create_symlink("missing/" + name, in + "/" + name);
             return true;
         }},
    };
    int number = 0;
    for (const Case& c : cases) {
        for (std::size_t which = 0; which < 4; ++which) {
            // Each case and output in a folder of its own.
            const std::string in = "case" + std::to_string(++number);
            const Output output = outputs(in)[which];
            SCOPED_TRACE(testing::Message() << c.what << ", " << output.args[0]);
            const std::string folder = temp.path(in);
            std::filesystem::create_directories(folder);
            if (!c.prepare(folder, output.name)) {
                std::cout << c.what << ": cannot be made here\n";
                continue;
            }
            const auto before = test::snapshot(folder);
            const CliRun run = cli(output.args);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.err, "vemurion-cli: " + output.name + " に保存できませんでした.\n");
            EXPECT_EQ(test::snapshot(folder), before);
        }
    }

    // Inputs: what is no regular file is refused, and nothing waits on a FIFO.
    ASSERT_EQ(::mkfifo(temp.path("pipe.lcd").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", temp.path("zero.lcd"));
    std::filesystem::create_directory(temp.path("folder.lcd"));
    for (const std::string name : {"pipe.lcd", "zero.lcd", "folder.lcd"}) {
        const CliRun run = cli({"info", name});
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_EQ(run.err, "vemurion-cli: " + name + " を開けません.\n");
    }
}

TEST_F(CliTest, HelpShowsAnExampleOfEveryCommandAndVersionItsText) {
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"info", "show", "export", "tag", "build", "gif", "thumbnail"})
        EXPECT_NE(help.out.find(std::string("\n  vemurion-cli ") + command + " "),
                  std::string::npos)
            << command;
    const CliRun version = cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Vemurion ver.1.12\n");
}

TEST_F(CliTest, ExportWritesOneFrameOrTheNumberedSeries) {
    const AnimationDocument doc = documentOf({1, 2, 3}, 255);
    writeLcd("anim.lcd", doc);
    std::filesystem::create_directory(temp.path("pics.d"));

    EXPECT_EQ(cli({"export", "anim.lcd", "first.bmp"}).status, 0);
    EXPECT_TRUE(
        test::sameBytes(readBytes(temp.path("first.bmp")), encodeFrameBitmap(patterned(0))));
    EXPECT_EQ(cli({"export", "anim.lcd", "last.bmp", "--frame=2"}).status, 0);
    EXPECT_TRUE(test::sameBytes(readBytes(temp.path("last.bmp")), encodeFrameBitmap(patterned(2))));

    EXPECT_EQ(cli({"export", "anim.lcd", "walk.bmp", "--series"}).status, 0);
    // The shortening stops at the folder: "a.b" loses its three characters only.
    EXPECT_EQ(cli({"export", "anim.lcd", "pics.d/a.b", "--series"}).status, 0);
    for (int i = 0; i < 3; ++i) {
        const std::string number = "00" + std::to_string(i);
        EXPECT_TRUE(test::sameBytes(readBytes(temp.path("walk" + number + ".bmp")),
                                    encodeFrameBitmap(patterned(i))));
        EXPECT_TRUE(std::filesystem::exists(temp.path("pics.d/" + number + ".bmp")));
    }
    // Written as the editor saves: through a dangling link, the file it names is created.
    std::filesystem::create_symlink("named.bmp", temp.path("link.bmp"));
    EXPECT_EQ(cli({"export", "anim.lcd", "link.bmp"}).status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(temp.path("link.bmp")));
    EXPECT_TRUE(
        test::sameBytes(readBytes(temp.path("named.bmp")), encodeFrameBitmap(patterned(0))));
    EXPECT_FALSE(std::filesystem::exists(temp.path("walk.bmp")));
    EXPECT_FALSE(std::filesystem::exists(temp.path("pics000.bmp")));
}

TEST_F(CliTest, TagIsTheDialogsTextForTheFileNameWithCrLf) {
    const CliRun plain = cli({"tag", "pages/anim.lcd"});
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out,
              "<embed type=application/x-dreamcast-lcdimg src=anim.lcd port=A hidden=true>\r\n");

    const CliRun script = cli({"tag", "anim.lcd", "--ports", "CA", "--script"});
    EXPECT_EQ(script.status, 0) << script.err;
    EXPECT_EQ(script.out, clipboardText(boxText(
                              tagLines("anim.lcd", TagForm::Script, {true, false, true, false}))));
    EXPECT_NE(script.out.find("port=A hidden=true>\");\r\n    document.write("), std::string::npos);

    EXPECT_EQ(
        cli({"tag", "my anim.lcd", "--ports", "D"}).out,
        "<embed type=application/x-dreamcast-lcdimg src=my%20anim.lcd port=D hidden=true>\r\n");
}

TEST_F(CliTest, GifPlaysTheDocumentAtItsTiming) {
    writeLcd("anim.lcd", documentOf({1, 8}, 3));
    const CliRun run = cli({"gif", "anim.lcd", "anim.gif"});
    EXPECT_EQ(run.status, 0) << run.err;
    const auto back = test::readGifBack(readBytes(temp.path("anim.gif")));
    ASSERT_EQ(back.error, "");
    EXPECT_EQ(back.width, 192); // the default scale, 4
    EXPECT_EQ(back.delays, (std::vector<int>{25, 200}));
    EXPECT_EQ(back.repeat, 2);
    ASSERT_EQ(back.frames.size(), 2u);
    EXPECT_EQ(back.frames[1].at(4 * 5, 4 * 1 + 3), patterned(1).at(5, 1));

    EXPECT_EQ(cli({"gif", "anim.lcd", "small.gif", "--scale", "1"}).status, 0);
    EXPECT_EQ(test::readGifBack(readBytes(temp.path("small.gif"))).frames[0], patterned(0));
}

// A file manager names its files as it likes: the LCD file by its content, the PNG anywhere.
TEST_F(CliTest, ThumbnailIsTheFirstFrameAsAPng) {
    const Bytes lcd = writeLcd("anim.lcd", documentOf({1, 2}, 255));
    writeBytes(temp.path("download"), lcd);
    const CliRun run = cli({"thumbnail", "download", "thumb.tmp", "256"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const Bytes png = readBytes(temp.path("thumb.tmp"));
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(Bytes(png.begin() + 1, png.begin() + 4), (Bytes{'P', 'N', 'G'}));
    EXPECT_EQ(Bytes(png.begin() + 16, png.begin() + 24), (Bytes{0, 0, 0, 240, 0, 0, 0, 160}));
}

TEST_F(CliTest, BuildJoinsTheFramesOfItsInputsInOrder) {
    writeLcd("one.lcd", documentOf({5, 0}, 7));
    writeLcd("two.txt", documentOf({9}, 255));
    // Frames as Add to list brings them in: their own display times (0 read as 1), the inputs'
    // loop counts ignored.
    AnimationDocument expected = documentOf({5, 1, 9}, 3);
    expected.sheet.setCell(2, patterned(0));

    const CliRun run = cli({"build", "out.lcd", "--loop", "3", "one.lcd", "two.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(
        test::sameBytes(readBytes(temp.path("out.lcd")), encodeLcd(expected, "Vemurion ver.1.12")));

    EXPECT_EQ(cli({"build", "again.lcd", "two.txt"}).status, 0);
    EXPECT_EQ(cli({"info", "again.lcd"}).out, "frames: 1\nloop: infinite\ntimes: 9\n");
}

TEST_F(CliTest, BuildBeyond255FramesOrFromABadInputWritesNothing) {
    writeLcd("many.lcd", documentOf(std::vector<int>(200, 2), 255));
    writeLcd("few.lcd", documentOf(std::vector<int>(55, 2), 255));
    test::writeText(temp.path("notes.txt"), "not an animation");
    const Bytes old = writeLcd("out.lcd", documentOf({1}, 255));
    struct Case {
        std::vector<std::string> inputs;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"many.lcd", "few.lcd"}, 0, ""},
        {{"many.lcd", "few.lcd", "few.lcd"},
         1,
         "out.lcd はイメージが 310 枚になり, 255 枚を超えるため保存できませんでした."},
        {{"few.lcd", "notes.txt"}, 1, "notes.txt は未対応のテキストファイルです."},
        {{"few.lcd", "gone.lcd"}, 1, "gone.lcd を開けません."},
        {{"few.lcd", "out.lcd"}, 1, "out.lcd は入力ファイルのため保存できませんでした."},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"build", "out.lcd"};
        args.insert(args.end(), c.inputs.begin(), c.inputs.end());
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_EQ(run.err, c.message.empty() ? "" : "vemurion-cli: " + c.message + "\n");
        if (c.status == 0) {
            EXPECT_EQ(cli({"info", "out.lcd"}).out.substr(0, 12), "frames: 255\n");
            writeBytes(temp.path("out.lcd"), old);
        } else {
            EXPECT_TRUE(test::sameBytes(readBytes(temp.path("out.lcd")), old));
        }
    }
    for (const char* loop : {"0", "256"})
        EXPECT_EQ(cli({"build", "new.lcd", "--loop", loop, "few.lcd"}).status, 2);
    EXPECT_EQ(cli({"build", "new.lcd"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(temp.path("new.lcd")));
}

TEST_F(CliTest, PicturesComeInAsAddToListWouldInsertThem) {
    // A 20 x 10 grey of level 125: white from candidate 0 to 3, black from 4, centred at (14, 11)
    // on the background.
    const Rgb grey = makeRgb(125, 125, 125);
    std::vector<test::GifImageSpec> still(1);
    still[0].width = 20;
    still[0].height = 10;
    still[0].indices.assign(200, 0);
    writeBytes(temp.path("grey.gif"), test::makeGif(20, 10, {grey}, still));

    const std::string dots = std::string(14, '.') + std::string(20, '#') + std::string(14, '.');
    const auto line = [](const std::string& text, int y) {
        return text.substr(static_cast<std::size_t>(y) * 49, 48);
    };
    const CliRun dark = cli({"show", "grey.gif"});
    EXPECT_EQ(dark.status, 0) << dark.err;
    ASSERT_EQ(dark.out.size(), 32u * 49);
    EXPECT_EQ(line(dark.out, 10), std::string(48, '.'));
    EXPECT_EQ(line(dark.out, 11), dots);
    EXPECT_EQ(line(dark.out, 20), dots);
    EXPECT_EQ(line(cli({"show", "grey.gif", "--candidate", "3"}).out, 11), std::string(48, '.'));
    const CliRun onBlack = cli({"show", "grey.gif", "--white-on-black", "--candidate=3"});
    EXPECT_EQ(line(onBlack.out, 11),
              std::string(14, '#') + std::string(20, '.') + std::string(14, '#'));

    // The ordered pattern lies fixed on the frame's dots: its row 3 turns level 125 black at
    // even x and white at odd x.
    EXPECT_EQ(line(cli({"show", "grey.gif", "--dither", "ordered"}).out, 11),
              std::string(14, '.') + "#.#.#.#.#.#.#.#.#.#." + std::string(14, '.'));
    // A black 96 x 16 picture: whole, it is 48 x 8 dots in the middle; cut, it fills the frame.
    std::vector<test::GifImageSpec> band(1);
    band[0].width = 96;
    band[0].height = 16;
    band[0].indices.assign(96 * 16, 0);
    writeBytes(temp.path("band.gif"), test::makeGif(96, 16, {kBlack}, band));
    const std::string contained = cli({"show", "band.gif", "--fit", "contain"}).out;
    EXPECT_EQ(line(contained, 11) + line(contained, 12) + line(contained, 19) + line(contained, 20),
              std::string(48, '.') + std::string(96, '#') + std::string(48, '.'));
    EXPECT_EQ(line(cli({"show", "band.gif", "--fit=cover"}).out, 0), std::string(48, '#'));
    // build reads a GIF for the aspect asked for alone.
    EXPECT_EQ(cli({"build", "band.lcd", "--fit", "contain", "band.gif"}).status, 0);
    EXPECT_EQ(cli({"show", "band.lcd"}).out, "frame 1/1 time 1\n" + contained + "\n");

    writeLcd("one.lcd", documentOf({6}, 255));
    const CliRun build =
        cli({"build", "mixed.lcd", "--time", "7", "one.lcd", "grey.gif", "grey.gif"});
    EXPECT_EQ(build.status, 0) << build.err;
    EXPECT_EQ(cli({"info", "mixed.lcd"}).out, "frames: 3\nloop: infinite\ntimes: 6 7 7\n");
    EXPECT_EQ(line(cli({"show", "mixed.lcd", "--frame", "2"}).out, 20), dots);
}

TEST_F(CliTest, AnAnimatedGifGivesEveryFrameWithItsDelay) {
    const std::vector<Rgb> blackAndWhite = {kWhite, kBlack};
    std::vector<test::GifImageSpec> frames(3);
    frames[0].width = 48;
    frames[0].height = 32;
    frames[0].indices.assign(48 * 32, 0);
    frames[0].delay = 25;
    frames[0].disposal = 1;
    // Frame 2 sets one dot, the rest of it transparent; frame 3 sets another.
    for (int i = 1; i < 3; ++i) {
        frames[static_cast<std::size_t>(i)].left = i * 10;
        frames[static_cast<std::size_t>(i)].top = i;
        frames[static_cast<std::size_t>(i)].width = 2;
        frames[static_cast<std::size_t>(i)].height = 1;
        frames[static_cast<std::size_t>(i)].indices = {1, 2};
        frames[static_cast<std::size_t>(i)].transparent = 2;
        frames[static_cast<std::size_t>(i)].disposal = 1;
    }
    frames[1].delay = 50;
    frames[2].delay = 0;
    writeBytes(temp.path("walk.gif"), test::makeGif(48, 32, {kWhite, kBlack, 0xFF0000}, frames));

    EXPECT_EQ(cli({"build", "walk.lcd", "--time", "9", "walk.gif"}).status, 0);
    EXPECT_EQ(cli({"info", "walk.lcd"}).out, "frames: 3\nloop: infinite\ntimes: 1 2 1\n");
    const std::string last = cli({"show", "walk.lcd", "--frame", "2"}).out;
    EXPECT_EQ(last.substr(49 + 10, 2), "#.");
    EXPECT_EQ(last.substr(2 * 49 + 20, 2), "#.");
    EXPECT_EQ(cli({"show", "walk.gif"}).out.substr(0, 17), "frame 1/3 time 1\n");

    // 256 frames of one dot each are one too many, alone or after other frames.
    std::vector<test::GifImageSpec> many(256);
    for (auto& frame : many) {
        frame.width = 1;
        frame.height = 1;
        frame.indices = {1};
    }
    writeBytes(temp.path("many.gif"), test::makeGif(1, 1, blackAndWhite, many));
    const CliRun unshown = cli({"show", "many.gif"});
    EXPECT_EQ(unshown.status, 1);
    EXPECT_EQ(
        unshown.err,
        "vemurion-cli: many.gif はイメージが 256 枚あり, 255 枚を超えるため読み込めません.\n");
    const CliRun refused = cli({"build", "out.lcd", "many.gif"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "vemurion-cli: out.lcd はイメージが 256 枚になり, 255 "
                           "枚を超えるため保存できませんでした.\n");
    many.pop_back();
    writeBytes(temp.path("many.gif"), test::makeGif(1, 1, blackAndWhite, many));
    EXPECT_EQ(cli({"build", "out.lcd", "many.gif"}).status, 0);
    EXPECT_EQ(cli({"build", "more.lcd", "walk.lcd", "many.gif"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(temp.path("more.lcd")));

    // Thinned: every N-th frame of each file of several frames, the times between them summed;
    // --fit-frames takes the smallest N that fits (walk.lcd 3 + many.gif 255 frames: 2).
    const std::pair<std::vector<std::string>, std::string> thinned[] = {
        {{"--every", "2", "walk.gif"}, "frames: 2\nloop: infinite\ntimes: 3 1\n"},
        {{"--fit-frames", "walk.lcd", "many.gif"}, "frames: 130\n"},
        {{"--every", "300", "walk.lcd", "many.gif"}, "frames: 2\nloop: infinite\ntimes: 4 255\n"},
    };
    for (const auto& [options, info] : thinned) {
        std::vector<std::string> args = {"build", "thin.lcd"};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(cli(args).status, 0);
        EXPECT_EQ(cli({"info", "thin.lcd"}).out.substr(0, info.size()), info);
    }
}

} // namespace
} // namespace vemurion
