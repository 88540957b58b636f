#include "import/AddToList.h"
#include "import/Thinning.h"

#include "framelist/FrameList.h"
#include "spine/CommandStates.h"
#include "support/ConversionFakes.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include <jerror.h>
#include <sys/stat.h>

namespace vemurion {
namespace {

using test::Bytes;
using test::EditorFixture;
using test::FakeConversion;
using test::FakePictureFiles;
using test::importRaster;
using test::writeBytes;

// Frame number `id` is one black dot at (id mod 48, id div 48). The document's frames are
// numbered 0 .. 254 and the file's from 1000 on, so a list reads back as the numbers in order.
Raster numbered(int id) {
    Raster picture(kFrameWidth, kFrameHeight, kWhite);
    picture.set(id % kFrameWidth, id / kFrameWidth, kBlack);
    return picture;
}
constexpr int kFromFile = 1000;

// An LCD file laid out by hand: loop count 7, the given time bytes, frame k numbered 1000 + k.
Bytes lcdBytes(const std::vector<std::uint8_t>& times) {
    Bytes bytes = {0x4C, 0x43, 0x44, 0x69, 0x01,
                   0x00, 0x30, 0x00, 0x20, 0x00,
                   0x01, 0x00, 0x00, 7,    static_cast<std::uint8_t>(times.size()),
                   0};
    for (std::uint8_t time : times)
        bytes.insert(bytes.end(), {0, time, 0, 0});
    for (std::size_t k = 0; k < times.size(); ++k) {
        const Raster picture = numbered(kFromFile + static_cast<int>(k));
        for (const Rgb dot : picture.dots())
            bytes.push_back(dot == kBlack ? 8 : 0);
    }
    return bytes;
}

class AddToListTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        e.conversion = &conversion;
        e.pictureFiles = &files;
    }

    // A document of `count` frames, frame k numbered k with display time k + 1, frame
    // `current` current, and an undo record from an edit.
    void makeDocument(int count, int current) {
        e.doc.FrameCount = count;
        for (int k = 0; k < count; ++k) {
            e.doc.sheet.setCell(k, numbered(k));
            e.doc.DisplayTimes[static_cast<std::size_t>(k)] = k + 1;
        }
        e.doc.LoopCount = 3;
        e.doc.CurrentFrame = current;
        e.imgListWork = e.doc.sheet.cell(current);
        e.undo.undoState = 0;
        UpdateCommandStates(e);
    }

    std::vector<int> numbers() const {
        std::vector<int> list;
        for (int k = 0; k < e.doc.FrameCount; ++k) {
            const Raster cell = e.doc.sheet.cell(k);
            const auto& dots = cell.dots();
            list.push_back(
                static_cast<int>(std::find(dots.begin(), dots.end(), kBlack) - dots.begin()));
        }
        return list;
    }

    std::string makeFile(const std::string& name, const Bytes& bytes) {
        const std::string where = path(name);
        std::filesystem::create_directories(std::filesystem::path(where).parent_path());
        writeBytes(where, bytes);
        return where;
    }

    void addFile(const std::string& where) {
        prompts.answerOpenFile(where);
        A1Click(e);
    }

    bool undoEnabled() const { return e.commandEnabled.at("Undo1"); }

    FakeConversion conversion;
    FakePictureFiles files;
};

TEST_F(AddToListTest, FramesOfAnLcdFileGoInFrontOfTheCurrentFrame) {
    makeDocument(5, 1);
    const std::string where = makeFile("in/three.lcd", lcdBytes({0, 200, 255}));
    addFile(where);

    ASSERT_EQ(prompts.openRequests.size(), 1u);
    EXPECT_EQ(prompts.openRequests[0].title, "イメージリストへ追加");
    EXPECT_EQ(prompts.openRequests[0].filter, kAddToListFilter);
    EXPECT_EQ(prompts.openRequests[0].initialFolder, e.homeFolder);

    EXPECT_EQ(numbers(), (std::vector<int>{0, 1000, 1001, 1002, 1, 2, 3, 4}));
    // A stored time of 0 is raised to 1 as Open does: display times are 1 to 255.
    EXPECT_EQ(std::vector<int>(e.doc.DisplayTimes.begin(), e.doc.DisplayTimes.begin() + 8),
              (std::vector<int>{1, 1, 200, 255, 2, 3, 4, 5}));
    EXPECT_EQ(e.doc.CurrentFrame, 1);
    EXPECT_TRUE(e.imgListWork == numbered(kFromFile));
    EXPECT_EQ(e.list.position, 0);
    EXPECT_EQ(e.list.slotViews[1].label, "002/008");
    EXPECT_EQ(e.doc.LoopCount, 3);
    EXPECT_TRUE(e.doc.Modified);
    EXPECT_EQ(e.undo.undoState, -1);
    EXPECT_FALSE(undoEnabled());
    EXPECT_EQ(e.openFolder, temp.folder() + "/in/");
}

// The list's own frames always stay. Of a file's frames that do not all fit, the user takes
// the first that fit (and hears how many did not), or every N-th with the times of the frames
// between summed, or none.
TEST_F(AddToListTest, ListKeepsItsFramesAndTakesThoseOfTheFileThatFit) {
    struct Case {
        int count, current, inFile;
        std::optional<Answer> answer; // to the question, when there is one
        int added, step;
        const char* message; // none when every frame fits
    };
    const char* const left45 = "リストに入りきらないため, 45 枚のイメージは追加されませんでした.";
    const Case cases[] = {
        {100, 50, 200, Answer::No, 155, 1, left45},
        {100, 50, 200, Answer::Yes, 100, 2, nullptr},
        {100, 50, 200, Answer::Cancel, 0, 1, nullptr},
        {250, 250, 5, std::nullopt, 5, 1, nullptr},
        {254, 0, 2, Answer::No, 1, 1,
         "リストに入りきらないため, 1 枚のイメージは追加されませんでした."},
        {200, 0, 255, Answer::Yes, 51, 5, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.inFile << " frames into " << c.count);
        makeDocument(c.count, c.current);
        prompts.clearRecord();
        if (c.answer) prompts.answer(*c.answer);
        addFile(makeFile("long.lcd", lcdBytes(std::vector<std::uint8_t>(c.inFile, 9))));

        std::vector<int> expected(static_cast<std::size_t>(c.count + c.added));
        const auto at = [&](int k) { return expected.begin() + k; };
        std::iota(at(0), at(c.current), 0);
        for (int k = 0; k < c.added; ++k)
            *at(c.current + k) = kFromFile + k * c.step;
        std::iota(at(c.current + c.added), expected.end(), c.current);
        EXPECT_EQ(numbers(), expected);
        EXPECT_EQ(prompts.questions.size(), c.answer ? 1u : 0u);
        EXPECT_EQ(prompts.warnings,
                  c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        EXPECT_EQ(e.undo.undoState, c.added > 0 ? -1 : 0);
        if (c.added == 0) continue;
        const int last = c.inFile - (c.added - 1) * c.step; // frames the last kept one stands for
        EXPECT_EQ(e.doc.DisplayTimes[std::size_t(c.current)], 9 * c.step);
        EXPECT_EQ(e.doc.DisplayTimes[std::size_t(c.current + c.added - 1)],
                  9 * (c.step > 1 ? std::min(last, c.step) : 1));
        EXPECT_EQ(e.doc.CurrentFrame, c.current);
    }
    EXPECT_EQ(thinnedTimes(std::vector<int>{200, 100, 5}, 2), (std::vector<int>{255, 5}));
}

// Files that cannot be added leave the document, its undo record and the dialog's folder as
// they were.
TEST_F(AddToListTest, FilesThatCannotBeAddedChangeNothing) {
    Bytes textual = lcdBytes({1});
    std::copy_n("plain tex", 9, textual.begin());
    Bytes truncated = lcdBytes({1, 1});
    truncated.pop_back();
    struct Case {
        const char* name;
        Bytes bytes;
        std::string message;
    };
    const Case cases[] = {
        {"notes.TXT", textual, "notes.TXT は未対応のテキストファイルです."},
        {"short.lcd", truncated, "short.lcd は壊れているため読み込めません."},
        {"empty.lcd", lcdBytes({}), "empty.lcd は壊れているため読み込めません."},
        // The kind is told from the file name alone: in a folder named *.lcd a bitmap is read as
        // a bitmap.
        {"pics.lcd/bw.bmp", {'B', 'M'}, "bw.bmp は読み込めません."},
        {"unknown.bmp", {'B', 'M'}, "unknown.bmp は読み込めません."},
        {"broken.jpg", {0xFF, 0xD8, 0xFF, 0xD9}, "JPEG エラー #" + std::to_string(JERR_NO_IMAGE)},
        {"photo.JPEG", {0xFF, 0xD8, 0xFF, 0xD9}, "JPEG エラー #" + std::to_string(JERR_NO_IMAGE)},
        {"bw48.Png", {0x89, 'P', 'N', 'G'}, "bw48.Png は読み込めません."},
        {"walk.gif", {'G', 'I', 'F', '8', '9', 'a'}, "walk.gif は壊れているため読み込めません."},
        // A name of no kind is read as what its first bytes say.
        {"photo", {0xFF, 0xD8, 0xFF, 0xD9}, "JPEG エラー #" + std::to_string(JERR_NO_IMAGE)},
        {"anim.dat", {'A', 'B'}, "anim.dat は未対応のファイル形式です."},
        {"anim.Lcd", textual, "anim.Lcd は未対応のファイル形式です."},
    };
    const auto expectRefused = [&](const std::string& where, const std::string& message) {
        makeDocument(2, 1);
        e.doc.Modified = false;
        const std::string folderBefore = e.openFolder;
        prompts.clearRecord();
        addFile(where);
        EXPECT_EQ(prompts.warnings, std::vector<std::string>{message});
        EXPECT_EQ(numbers(), (std::vector<int>{0, 1}));
        EXPECT_FALSE(e.doc.Modified);
        EXPECT_EQ(e.undo.undoState, 0);
        EXPECT_EQ(e.openFolder, folderBefore);
        EXPECT_TRUE(conversion.requests.empty());
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectRefused(makeFile(c.name, c.bytes), c.message);
    }
    // What is no regular file is never read, so a FIFO cannot keep the command waiting.
    ASSERT_EQ(::mkfifo(path("pipe.lcd").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(path("folder.jpg"));
    std::filesystem::create_symlink("/dev/zero", path("zero.bmp"));
    for (const std::string name : {"pipe.lcd", "pipe", "folder.jpg", "zero.bmp"}) {
        SCOPED_TRACE(name);
        expectRefused(path(name), name + " を開けません.");
    }
    EXPECT_EQ(files.reads, std::vector<std::string>(
                               {path("pics.lcd/bw.bmp"), path("unknown.bmp"), path("broken.jpg")}));

    // The same bytes as the refused text file, under a name ending in .lcd, are read unchecked,
    // also in a folder whose name holds ".txt".
    prompts.clearRecord();
    addFile(makeFile("notes.lcd", textual));
    addFile(makeFile("notes.txt.d/anim.lcd", textual));
    EXPECT_TRUE(prompts.warnings.empty());
    EXPECT_EQ(numbers(), (std::vector<int>{0, kFromFile, kFromFile, 1}));
}

TEST_F(AddToListTest, PicturesAreAddedAtOnceOrGoToTheConversionDialog) {
    Raster bw(kFrameWidth, kFrameHeight, kWhite);
    bw.fillRect(3, 4, 20, 30, kBlack);
    Raster small(20, 10, kWhite);
    small.set(0, 0, kBlack);
    Raster smallOnBlack(kFrameWidth, kFrameHeight, kBlack);
    smallOnBlack.fillRect(14, 11, 33, 20, kWhite);
    smallOnBlack.set(14, 11, kBlack);
    Raster photo(kFrameWidth, kFrameHeight, makeRgb(10, 200, 30));
    const Raster large(640, 480, kBlack);

    struct Case {
        const char* name;
        Raster picture;
        ColorMode mode;
        Raster frame; // the frame added at once, or none
        int reason;   // of the conversion request otherwise
    };
    const Case cases[] = {
        {"bw.bmp", bw, ColorMode::BlackWhite, bw, 0},
        {"small.BMP", small, ColorMode::WhiteBlack, smallOnBlack, 0},
        {"photo.bmp", photo, ColorMode::BlackWhite, {}, 1},
        {"large.jpg", large, ColorMode::BlackWhite, {}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeDocument(2, 1);
        e.colorMode = c.mode;
        e.rightColor = c.mode == ColorMode::BlackWhite ? kWhite : kBlack;
        conversion.requests.clear();
        const std::string where = path(c.name);
        files.pictures[where] = c.picture;
        addFile(makeFile(c.name, {0}));

        if (c.reason == 0) {
            EXPECT_TRUE(conversion.requests.empty());
            ASSERT_EQ(e.doc.FrameCount, 3);
            EXPECT_TRUE(e.doc.sheet.cell(1) == c.frame);
            EXPECT_EQ(e.doc.DisplayTimes[1], 1);
            EXPECT_EQ(numbers()[2], 1);
            EXPECT_EQ(e.undo.undoState, 1);
            EXPECT_TRUE(undoEnabled());
        } else {
            EXPECT_EQ(numbers(), (std::vector<int>{0, 1}));
            ASSERT_EQ(conversion.requests.size(), 1u);
            const ConversionRequest& request = conversion.requests[0];
            EXPECT_EQ(request.picture.fit, static_cast<PictureFit>(c.reason));
            EXPECT_TRUE(request.picture.picture == importRaster(c.picture).picture);
            EXPECT_EQ(request.destination, ConversionTarget::NewFrame);
            EXPECT_EQ(request.reason, c.reason);
            EXPECT_FALSE(request.modal);
        }
        EXPECT_EQ(e.doc.LoopCount, 3);
        EXPECT_EQ(e.openFolder, temp.folder() + "/");
        // Read once, for the classification and the dialog together.
        EXPECT_EQ(std::count(files.reads.begin(), files.reads.end(), where), 1);
    }

    // A frame added at once leaves the list where it is, with the current frame out of view.
    makeDocument(20, 15);
    applyScrollRange(e);
    addFile(path("bw.bmp"));
    EXPECT_EQ(e.list.position, 0);
    EXPECT_FALSE(e.list.cursorVisible);
    EXPECT_EQ(e.doc.CurrentFrame, 15);
    EXPECT_TRUE(e.imgListWork == bw);
    EXPECT_EQ(numbers()[16], 15);
}

} // namespace
} // namespace vemurion
