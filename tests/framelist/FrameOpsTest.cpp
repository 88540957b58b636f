#include "framelist/FrameOps.h"

#include "files/DocumentFile.h"
#include "framelist/FrameClipboard.h"
#include "support/ConversionFakes.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace vemurion {
namespace {

class FrameOpsTest : public test::EditorFixture {
protected:
    // Frame k has the one black dot (k, 0) and display time 10 + k.
    void makeFrames(int count, int current) {
        NewDocument(e);
        e.conversion = &conversion;
        conversion.requests.clear();
        for (int k = 0; k < count; ++k) {
            e.doc.DisplayTimes[static_cast<std::size_t>(k)] = 10 + k % 100;
            e.doc.sheet.raster().set(CellOrigin(k).x + k % kFrameWidth, CellOrigin(k).y, kBlack);
        }
        e.doc.FrameCount = count;
        showFrameList(e, current);
    }
    // "dot/time" for each frame; "-" for a picture without black.
    std::string frames() const {
        std::string text;
        for (int k = 0; k < e.doc.FrameCount; ++k) {
            std::string dot = "-";
            for (int x = 0; x < kFrameWidth; ++x)
                if (e.doc.sheet.cell(k).at(x, 0) == kBlack) dot = std::to_string(x);
            text += dot + "/" + std::to_string(e.doc.DisplayTimes[std::size_t(k)]) + " ";
        }
        return text;
    }
    test::FakeConversion conversion;
};

TEST_F(FrameOpsTest, FrameCommandsWorkInFrontOfTheCurrentFrame) {
    makeFrames(4, 2);
    e.doc.DisplayTimes[2] = 7;
    copyFrame(e);
    showFrameList(e, 0);
    PasteFrame(e);
    EXPECT_EQ(frames(), "2/7 0/10 1/11 2/7 3/13 ");
    showFrameList(e, 2);
    cutFrame(e);
    EXPECT_EQ(frames(), "2/7 0/10 2/7 3/13 ");
    PasteFrame(e);
    EXPECT_EQ(frames(), "2/7 0/10 1/11 2/7 3/13 ");
    showFrameList(e, 5); // the append slot
    newFrame(e);
    showFrameList(e, 1);
    newFrame(e);
    EXPECT_EQ(frames(), "2/7 -/1 0/10 1/11 2/7 3/13 -/1 ");
    prompts.okCancelAnswers = {false, true, true};
    deleteFrame(e);
    deleteFrame(e);
    EXPECT_EQ(frames(), "2/7 0/10 1/11 2/7 3/13 -/1 ");
    EXPECT_EQ(prompts.okCancelAsks.at(0).first,
              "選択されているイメージをリストから削除します.よろしいですか?");
    EXPECT_EQ(prompts.okCancelAsks.at(0).second, "削除の確認");
    showFrameList(e, 5);
    deleteFrame(e);
    EXPECT_EQ(frames(), "2/7 0/10 1/11 2/7 3/13 ");
    ASSERT_TRUE(e.doc.onAppendSlot());
    clipboard.clear();
    cutFrame(e);
    deleteFrame(e); // asking again would fail: no answer is scripted
    EXPECT_EQ(e.doc.FrameCount, 5);
    EXPECT_FALSE(clipboard.hasFrameBlock());
}

TEST_F(FrameOpsTest, ClipboardPicturesBecomeFramesOrGoToConversion) {
    Raster grey(16, 16), small(20, 10), full(48, 32);
    grey.set(3, 3, 0x808080);
    small.set(0, 0, kBlack);
    full.set(47, 31, kBlack);
    struct Case {
        Raster picture;
        int reason; // 0: pasted at once
        int left, top;
    };
    for (const Case& c : {Case{full, 0, 0, 0}, Case{small, 0, 14, 11}, Case{grey, 1, 0, 0},
                          Case{Raster(100, 40), 2, 0, 0}}) {
        SCOPED_TRACE(c.picture.width());
        makeFrames(1, 0);
        e.rightColor = kBlack;
        clipboard.setPicture(c.picture);
        PasteFrame(e);
        ASSERT_EQ(conversion.requests.size(), c.reason ? 1u : 0u);
        if (c.reason) {
            const ConversionRequest& r = conversion.requests[0];
            EXPECT_EQ(r.reason, c.reason);
            EXPECT_TRUE(r.destination == ConversionTarget::NewFrame && r.modal);
        }
        EXPECT_EQ(e.doc.FrameCount, c.reason ? 1 : 2);
        if (c.reason) continue;
        Raster expected(kFrameWidth, kFrameHeight, kBlack);
        expected.paste(c.picture, c.left, c.top);
        EXPECT_EQ(e.doc.sheet.cell(0), expected);
        EXPECT_EQ(e.doc.DisplayTimes[0], 1);
    }

    // A picture that cannot be read ends the paste with a message.
    e.rightColor = kWhite;
    makeFrames(1, 0);
    clipboard.clear();
    clipboard.pictureUnreadable = true;
    PasteFrame(e);
    EXPECT_EQ(prompts.warnings, std::vector<std::string>{"クリップボードの画像は読み込めません."});
    EXPECT_EQ(frames(), "0/10 ");
}

TEST_F(FrameOpsTest, FrameBlockBytesAndBlocksFromOutside) {
    std::vector<std::uint8_t> white(4609, 0xFF);
    white[0] = 0x01;
    EXPECT_TRUE(test::sameBytes(encodeFrameBlock(1, Raster(kFrameWidth, kFrameHeight)), white));
    struct Case {
        std::size_t size;
        std::uint8_t time;
        int pastedTime; // 0: refused
    };
    for (const Case& c : {Case{4608, 5, 0}, Case{0, 0, 0}, Case{4610, 5, 0}, Case{4612, 5, 0},
                          Case{4609, 0, 1}, Case{4609, 5, 5}}) {
        makeFrames(1, 0);
        std::vector<std::uint8_t> block = white;
        block.resize(c.size);
        if (!block.empty()) block[0] = c.time;
        clipboard.setFrameBlock(block);
        PasteFrame(e);
        EXPECT_EQ(frames(), c.pastedTime ? "-/" + std::to_string(c.pastedTime) + " 0/10 " : "0/10 ")
            << c.size;
    }

    // Beside a picture, a block of another size counts as absent: the picture is pasted.
    makeFrames(1, 0);
    clipboard.frameBlockContent = std::vector<std::uint8_t>(4610, 0x01);
    clipboard.pictureContent = Raster(kFrameWidth, kFrameHeight);
    clipboard.pictureContent->set(7, 0, kBlack);
    PasteFrame(e);
    EXPECT_EQ(frames(), "7/1 0/10 ");

    // Any other colour becomes black when its blue byte is 0 and white otherwise, as the LCD
    // file stores it. Dots 0 to 3 of row 0, as blue, green, red: yellow, grey 808080, red 010000
    // and blue 000001.
    const std::uint8_t row[] = {0x00, 0xFF, 0xFF, 0x80, 0x80, 0x80,
                                0x00, 0x00, 0x01, 0x01, 0x00, 0x00};
    std::vector<std::uint8_t> colours = white;
    std::copy(std::begin(row), std::end(row), colours.begin() + 1);
    makeFrames(1, 0);
    clipboard.setFrameBlock(colours);
    PasteFrame(e);
    Raster expected(kFrameWidth, kFrameHeight, kWhite);
    expected.set(0, 0, kBlack);
    expected.set(2, 0, kBlack);
    EXPECT_EQ(e.doc.sheet.cell(0), expected);
}

TEST_F(FrameOpsTest, MenusOpenWithTheItemsOfTheCurrentFrame) {
    struct Case {
        int frames, current;
        bool cut, copy, paste;
    };
    for (const Case& c : {Case{3, 1, true, true, true}, Case{3, 3, false, false, true},
                          Case{1, 0, false, true, true}, Case{255, 9, true, true, false}}) {
        makeFrames(c.frames, c.current);
        clipboard.setPicture(Raster(4, 4));
        frameMenuOpened(e, FrameMenu::ImageList);
        frameMenuOpened(e, FrameMenu::Popup);
        SCOPED_TRACE(testing::Message() << c.frames << " frames, current " << c.current);
        for (const char* name : {"T1", "D1", "Cut2", "Delete2"})
            EXPECT_EQ(e.commandEnabled[name], c.cut) << name;
        EXPECT_EQ(e.commandEnabled["P2"] && e.commandEnabled["Copy2"], c.copy);
        EXPECT_EQ(e.commandEnabled["P3"] && e.commandEnabled["Paste2"], c.paste);
    }
}

} // namespace
} // namespace vemurion
