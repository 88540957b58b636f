#include "files/BitmapExport.h"

#include "editor/CanvasInput.h"
#include "editor/Selection.h"
#include "files/DocumentCommands.h"
#include "files/FileIo.h"
#include "framelist/FrameList.h"
#include "support/FakeServices.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vemurion {
namespace {

using test::Bytes;
using test::EditorFixture;
using test::patterned;
using test::readBytes;

std::uint32_t le32(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

// Reads a written file back dot by dot, as a viewer of one-bit bitmaps does.
Raster decodeBitmap(const Bytes& file) {
    Raster picture(kFrameWidth, kFrameHeight, kWhite);
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x) {
            const std::uint8_t byte = file[62 + static_cast<std::size_t>((31 - y) * 8 + x / 8)];
            if (((byte >> (7 - x % 8)) & 1) == 0) picture.set(x, y, kBlack);
        }
    return picture;
}

class BitmapExportTest : public EditorFixture {
protected:
    // A document of `count` frames, frame i patterned with seed i.
    void makeFrames(int count) {
        e.doc.FrameCount = count;
        for (int i = 0; i < count; ++i)
            e.doc.sheet.setCell(i, patterned(i));
    }
    Bytes exportCurrent(const std::string& name = "pic.bmp") {
        prompts.answerSaveFile(path(name), kExportSingleFilter);
        commandExport(e);
        return readBytes(path(name));
    }
};

TEST_F(BitmapExportTest, HeaderDescribesA48By32OneBitPicture) {
    const Bytes file = exportCurrent();
    ASSERT_EQ(file.size(), 318u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 2), "BM");
    // offset, value: size, dot offset, header size, width, height, planes and bits, compression,
    // dot bytes, resolutions, palette black and white
    const std::pair<std::size_t, std::uint32_t> fields[] = {
        {2, 318}, {10, 62},  {14, 40},   {18, 48},   {22, 32},       {26, 0x00010001},
        {30, 0},  {34, 256}, {38, 3780}, {42, 3780}, {54, 0x000000}, {58, 0xFFFFFF},
    };
    for (const auto& [offset, value] : fields)
        EXPECT_EQ(le32(file, offset), value) << "offset " << offset;
}

TEST_F(BitmapExportTest, DotBytesFollowThePicture) {
    struct Case {
        const char* what;
        Rgb fill;
        std::vector<Dot> black;
        std::size_t offset;    // a dot byte to look at
        std::uint8_t expected; // its value
    };
    const Case cases[] = {
        {"blank", kWhite, {}, 62, 0xFF},
        {"all black", kBlack, {}, 62, 0x00},
        {"top-left dot", kWhite, {{0, 0}}, 310, 0x7F},
        {"dot 9 of row 30", kWhite, {{9, 30}}, 71, 0xBF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Raster picture(kFrameWidth, kFrameHeight, c.fill);
        for (const Dot& d : c.black)
            picture.set(d.x, d.y, kBlack);
        e.doc.sheet.setCell(0, picture);
        const Bytes file = exportCurrent();
        ASSERT_EQ(file.size(), 318u);
        EXPECT_EQ(file[c.offset], c.expected);
        for (std::size_t at = 62; at < 318; ++at) {
            if (at == c.offset) continue;
            const bool padding = (at - 62) % 8 >= 6;
            const std::uint8_t plain = padding || c.fill == kBlack ? 0x00 : 0xFF;
            ASSERT_EQ(file[at], plain) << "offset " << at;
        }
    }
}

TEST_F(BitmapExportTest, SeriesWritesEveryFrameUnderNumberedNames) {
    struct Case {
        const char* chosen;
        int frames;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {"anim.bmp", 3, "anim000.bmp", "anim002.bmp"},
        {"anim.txt", 2, "anim000.bmp", "anim001.bmp"},
        {"anim.bmp", 1, "anim000.bmp", "anim000.bmp"},
        {"walk.bmp", 12, "walk000.bmp", "walk011.bmp"},
        {"アニメ.えほん", 1, "アニメ000.bmp", "アニメ000.bmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        test::TempFolder out;
        makeFrames(c.frames);
        prompts.answerSaveFile(out.path(c.chosen), kExportSeriesFilter);
        commandExport(e);
        const std::vector<std::string> written = out.entries();
        ASSERT_EQ(written.size(), static_cast<std::size_t>(c.frames));
        EXPECT_EQ(written.front(), c.first);
        EXPECT_EQ(written.back(), c.last);
        for (int i = 0; i < c.frames; ++i)
            EXPECT_EQ(decodeBitmap(readBytes(out.path(written[i]))), patterned(i));
    }

    // A name shorter than four characters is cut no further than its folder: the series stays
    // inside the chosen folder and nothing lands beside it.
    for (const char* chosen : {"pics/a.b", "pics/b"}) {
        SCOPED_TRACE(chosen);
        test::TempFolder out;
        std::filesystem::create_directory(out.path("pics"));
        makeFrames(2);
        prompts.answerSaveFile(out.path(chosen), kExportSeriesFilter);
        commandExport(e);
        EXPECT_EQ(out.entries(), std::vector<std::string>{"pics"});
        EXPECT_TRUE(fileExists(out.path("pics/000.bmp")));
        EXPECT_TRUE(fileExists(out.path("pics/001.bmp")));
    }
    EXPECT_TRUE(prompts.warnings.empty());
}

TEST_F(BitmapExportTest, AppendSlotWritesItsEmptyPictureAloneButNeverJoinsASeries) {
    makeFrames(1);
    setColorMode(e, ColorMode::WhiteBlack); // the empty picture is black then
    SelectFrameSlot(e, 1);
    ASSERT_TRUE(e.doc.onAppendSlot());
    const Bytes single = exportCurrent("slot.bmp");
    ASSERT_EQ(single.size(), 318u);
    EXPECT_EQ(decodeBitmap(single), Raster(kFrameWidth, kFrameHeight, kBlack));

    prompts.answerSaveFile(path("all.bmp"), kExportSeriesFilter);
    commandExport(e);
    EXPECT_TRUE(fileExists(path("all000.bmp")));
    EXPECT_FALSE(fileExists(path("all001.bmp")));
}

TEST_F(BitmapExportTest, ConfirmingForgetsUndoCancellingKeepsItBothEndTheSelection) {
    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm ? "confirmed" : "cancelled");
        e.undo.undoState = 0;
        e.sel.selLeft = 2, e.sel.selTop = 2, e.sel.selRight = 9, e.sel.selBottom = 9;
        LiftSelection(e);
        ASSERT_TRUE(e.sel.isSelected);
        if (confirm) {
            prompts.answerSaveFile(path("pic.bmp"), kExportSingleFilter);
        } else {
            prompts.cancelSaveFile();
        }
        commandExport(e);
        EXPECT_EQ(e.undo.undoState, confirm ? -1 : 0);
        EXPECT_EQ(e.commandEnabled["Undo1"], !confirm);
        EXPECT_FALSE(e.sel.isSelected);
        EXPECT_EQ(fileExists(path("pic.bmp")), confirm);
    }
}

TEST_F(BitmapExportTest, SharesFilterIndexAndFolderWithSaveAs) {
    // Step by step: what the user picks in one dialog, and where and with which filter the next
    // one opens (after a series, in the program's folder unless the stem names a file).
    std::filesystem::create_directory(path("docs"));
    struct Step {
        void (*command)(Editor&);
        std::string chosen;
        int filter;
        std::string nextFolder;
    };
    const Step steps[] = {
        {commandExport, path("docs/anim.bmp"), kExportSeriesFilter, e.homeFolder},
        {commandSaveAs, path("docs/anim.lcd"), 1, path("docs/")},
        {commandExport, path("one.bmp"), kExportSingleFilter, path("docs/")},
        {commandExport, path("docs/anim.lcd.bmp"), kExportSeriesFilter, path("docs/")},
    };
    int filter = 1;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.chosen);
        prompts.answerSaveFile(step.chosen, step.filter);
        step.command(e);
        EXPECT_EQ(prompts.saveRequests.back().filterIndex, filter);
        filter = step.filter;
        prompts.cancelSaveFile();
        commandSaveAs(e);
        EXPECT_EQ(prompts.saveRequests.back().initialFolder, step.nextFolder);
        EXPECT_EQ(prompts.saveRequests.back().filterIndex, step.filter);
    }
    const FileDialogRequest& asked = prompts.saveRequests.front();
    EXPECT_EQ(asked.filter,
              "単一白黒ビットマップ (*.bmp)|*.bmp|連番白黒ビットマップ (*.bmp)|*.bmp");
    EXPECT_EQ(asked.defaultExtension, "bmp");
    EXPECT_TRUE(asked.confirmOverwrite);
}

TEST_F(BitmapExportTest, AFileThatCannotBeWrittenIsReportedAndEndsTheSeries) {
    makeFrames(3);
    std::filesystem::create_directory(path("anim001.bmp")); // a folder stands in the way
    prompts.answerSaveFile(path("anim.bmp"), kExportSeriesFilter);
    commandExport(e);
    EXPECT_EQ(prompts.warnings, std::vector<std::string>{"anim001.bmp に保存できませんでした."});
    EXPECT_TRUE(fileExists(path("anim000.bmp")));
    EXPECT_FALSE(fileExists(path("anim002.bmp")));

    setWriteFaultForTesting(WriteFault::Create);
    prompts.clearRecord();
    prompts.answerSaveFile(path("one.bmp"), kExportSingleFilter);
    commandExport(e);
    EXPECT_EQ(prompts.warnings, std::vector<std::string>{"one.bmp に保存できませんでした."});
    EXPECT_FALSE(fileExists(path("one.bmp")));
}

TEST_F(BitmapExportTest, OverlongNumberedNamesAreRefusedBeforeAnythingIsWritten) {
    // The limit counts characters: 248 kana and a number make 255 of them in 751 bytes.
    std::string kana;
    for (int i = 0; i < 248; ++i)
        kana += "あ";
    EXPECT_TRUE(numberedBitmapName(kana, 254).has_value());
    EXPECT_FALSE(numberedBitmapName(std::string(249, 'a'), 0).has_value());

    makeFrames(2);
    prompts.answerSaveFile(path(std::string(250 - path("").size(), 'a') + ".bmp"),
                           kExportSeriesFilter);
    commandExport(e);
    ASSERT_EQ(prompts.warnings.size(), 1u);
    EXPECT_TRUE(prompts.warnings[0].ends_with("000.bmp は名前が長すぎるため保存できませんでした."));
    EXPECT_TRUE(temp.entries().empty());
}

} // namespace
} // namespace vemurion
