#include "app/ui/MainWindow.h"
#include "editor/CanvasView.h"
#include "editor/ui/EditCanvas.h"
#include "files/DocumentFile.h"
#include "files/FileIo.h"
#include "files/LcdFile.h"
#include "framelist/FrameOps.h"
#include "framelist/ui/FrameSlot.h"
#include "import/GifReader.h"
#include "support/FakeServices.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <variant>

namespace vemurion {
namespace {

using test::FakeClipboard;
using test::FakePrompts;
using test::TempFolder;

// A window on three frames of times 1, 2, 3, each the background with one drawn dot: (1, 1),
// (2, 2) and (3, 3); frame 1 current.
class AnimatorUi : public ::testing::Test {
protected:
    void SetUp() override {
        window.FormCreate({});
        window.show();
        QApplication::setActiveWindow(&window);
        fillFrames();
    }
    void TearDown() override {
        window.editor().doc.Modified = false;
        if (window.editor().playing) window.command("N3")->trigger();
        EXPECT_EQ(prompts.unusedAnswers(), 0u);
    }

    void fillFrames() {
        Editor& e = window.editor();
        e.doc.FrameCount = 3;
        for (int i = 0; i < 3; ++i) {
            Raster cell(kFrameWidth, kFrameHeight, e.rightColor);
            cell.set(i + 1, i + 1, e.leftColor);
            e.doc.sheet.setCell(i, cell);
            e.doc.DisplayTimes[static_cast<std::size_t>(i)] = i + 1;
        }
        showFrameList(e, 1);
    }
    QRgb canvasDot(int x, int y) {
        return window.findChild<EditCanvas*>("imgMain")->grab().toImage().pixel(x * 9 + 4,
                                                                                y * 9 + 4) &
               0xFFFFFF;
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        QApplication::setActiveWindow(&window);
        QTest::keyClick(&window, k, modifiers);
    }
    int current() const { return window.editor().doc.CurrentFrame; }
    std::vector<int> times() const {
        const AnimationDocument& doc = window.editor().doc;
        return {doc.DisplayTimes.begin(), doc.DisplayTimes.begin() + doc.FrameCount};
    }

    TempFolder temp;
    FakePrompts prompts;
    FakeClipboard clipboard;
    TfrmMain window{&prompts, &clipboard};
};

TEST_F(AnimatorUi, OnionSkinTintsTheCanvasAloneInBothColourModes) {
    for (const char* mode : {"tbtnBlackWhite", "tbtnWhiteBlack"}) {
        SCOPED_TRACE(mode);
        window.command(mode)->trigger();
        fillFrames();
        Editor& e = window.editor();
        const Raster cell = e.doc.sheet.cell(1);
        const QImage preview = window.findChild<PictureBox*>("imgSub")->picture();
        window.command("Onion1")->trigger();
        EXPECT_EQ(canvasDot(1, 1), onionTint(e.colorMode, OnionLayer::Previous));
        EXPECT_EQ(canvasDot(3, 3), e.rightColor) << "the next frame shows only when asked";
        window.command("OnionNext1")->trigger();
        EXPECT_EQ(canvasDot(3, 3), onionTint(e.colorMode, OnionLayer::Next));
        EXPECT_EQ(canvasDot(2, 2), e.leftColor) << "the frame's own dots stay on top";
        showFrameList(e, 3); // the append slot: the last frame is its previous one
        EXPECT_EQ(canvasDot(3, 3), onionTint(e.colorMode, OnionLayer::Previous));
        showFrameList(e, 1);
        EXPECT_TRUE(e.doc.sheet.cell(1) == cell);
        EXPECT_EQ(window.findChild<PictureBox*>("imgSub")->picture(), preview);
        ASSERT_TRUE(WriteLcdFile(e, temp.path("onion.lcd")));
        const auto saved = decodeLcd(*readFileBytes(temp.path("onion.lcd"), 1 << 20));
        EXPECT_TRUE(std::get<LcdContent>(saved).frames[1] == cell);
        // Hidden while playing.
        window.command("P1")->trigger();
        EXPECT_NE(canvasDot(1, 1), onionTint(e.colorMode, OnionLayer::Previous));
        window.command("N3")->trigger();
        window.command("Onion1")->trigger();
        window.command("OnionNext1")->trigger();
        EXPECT_EQ(canvasDot(1, 1), e.rightColor);
    }
}

TEST_F(AnimatorUi, KeysActAsTheirCommandsAndNeverWhilePlaying) {
    struct Row {
        const char* what;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::function<bool(const Editor&)> done;
    };
    const Row rows[] = {
        {"previous frame", Qt::Key_Left, Qt::AltModifier,
         [](const Editor& e) { return e.doc.CurrentFrame == 0; }},
        {"next frame", Qt::Key_Right, Qt::AltModifier,
         [](const Editor& e) { return e.doc.CurrentFrame == 2; }},
        {"first frame", Qt::Key_Home, Qt::AltModifier,
         [](const Editor& e) { return e.doc.CurrentFrame == 0; }},
        {"last frame", Qt::Key_End, Qt::AltModifier,
         [](const Editor& e) { return e.doc.CurrentFrame == 2; }},
        {"line tool", Qt::Key_L, {}, [](const Editor& e) { return e.tool == EditTool::Line; }},
        {"filled circle tool",
         Qt::Key_D,
         {},
         [](const Editor& e) { return e.tool == EditTool::CircleFill; }},
        {"colour mode",
         Qt::Key_X,
         {},
         [](const Editor& e) { return e.colorMode == ColorMode::WhiteBlack; }},
        {"escape", Qt::Key_Escape, {}, [](const Editor& e) { return !e.sel.isSelected; }},
        {"nudge",
         Qt::Key_Right,
         {},
         [](const Editor& e) { return e.sel.isSelected && e.sel.selLeft == 1; }},
        {"long nudge", Qt::Key_Down, Qt::ShiftModifier,
         [](const Editor& e) { return e.sel.isSelected && e.sel.selTop == 8; }},
    };
    for (const bool playing : {false, true}) {
        for (const Row& row : rows) {
            // Playback itself ends a selection.
            if (playing && row.key == Qt::Key_Escape) continue;
            SCOPED_TRACE(testing::Message() << row.what << (playing ? " while playing" : ""));
            window.command("tbtnBlackWhite")->trigger();
            window.command("tbtnPen")->trigger();
            showFrameList(window.editor(), 1);
            window.command("SelectAll1")->trigger(); // floating content at (0, 0)
            if (playing) window.command("P1")->trigger();
            key(row.key, row.modifiers);
            if (playing) window.command("N3")->trigger();
            EXPECT_EQ(row.done(window.editor()), !playing);
        }
    }
    // Nudged by a dot and back: the picture is what it was, as after a drag there and back.
    window.command("SelectAll1")->trigger();
    const Raster before = window.editor().doc.sheet.cell(1);
    key(Qt::Key_Left);
    EXPECT_EQ(window.editor().doc.sheet.cell(1).at(1, 1), kWhite) << "moved off the picture";
    key(Qt::Key_Right);
    key(Qt::Key_Escape);
    EXPECT_TRUE(window.editor().doc.sheet.cell(1) == before);
}

TEST_F(AnimatorUi, TimesTypedOrSetForARangeAndFramesMoved) {
    // A double-click on the time of slot 2 (frame 2) types it.
    prompts.numberAnswers.push_back(std::vector<int>{40});
    QTest::mouseDClick(window.findChild<QLabel*>("stTimes2"), Qt::LeftButton);
    EXPECT_EQ(times(), (std::vector<int>{1, 2, 40}));
    EXPECT_EQ(window.findChild<QLabel*>("stTimes2")->text(), "40");
    EXPECT_EQ(prompts.numberRequests.back().fields[0].value, 3);
    // From frame 3 down to frame 1 (either order), current frame 2 offered.
    prompts.numberAnswers.push_back(std::vector<int>{3, 1, 9});
    window.command("TimeRange1")->trigger();
    EXPECT_EQ(prompts.numberRequests.back().fields[0].value, 2);
    EXPECT_EQ(times(), (std::vector<int>{9, 9, 9}));
    prompts.numberAnswers.push_back(std::nullopt);
    window.command("TimeSet2")->trigger();
    EXPECT_EQ(times(), (std::vector<int>{9, 9, 9}));
    EXPECT_TRUE(window.editor().doc.Modified);

    fillFrames();
    const Raster middle = window.editor().doc.sheet.cell(1);
    // A dot drawn, the frame moved, then undone: the undo follows the frame.
    auto* canvas = window.findChild<EditCanvas*>("imgMain");
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(5 * 9 + 4, 5 * 9 + 4));
    key(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(times(), (std::vector<int>{2, 1, 3}));
    EXPECT_FALSE(window.editor().doc.sheet.cell(0) == middle);
    window.command("Undo1")->trigger();
    EXPECT_TRUE(window.editor().doc.sheet.cell(0) == middle);
    key(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier); // already first
    EXPECT_EQ(times(), (std::vector<int>{2, 1, 3}));
    window.command("MoveDown1")->trigger();
    window.command("MoveDown1")->trigger();
    window.command("MoveDown1")->trigger(); // already last
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(times(), (std::vector<int>{1, 3, 2}));
    EXPECT_TRUE(window.editor().doc.sheet.cell(2) == middle);
}

TEST_F(AnimatorUi, TheGifExportWritesTheAnimationAtTheChosenScale) {
    window.editor().doc.DocumentFileName = temp.path("walk.lcd");
    prompts.answerSaveFile(temp.path("walk.gif"), 2);
    window.command("GifExport1")->trigger();
    EXPECT_EQ(prompts.saveRequests.back().initialFolder, temp.folder() + "/");
    EXPECT_EQ(prompts.saveRequests.back().filterIndex, 4);
    const GifImport read = importGifFile(temp.path("walk.gif"), kWhite, 255);
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.frames.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const ImportedPicture& frame = read.frames[static_cast<std::size_t>(i)].picture;
        EXPECT_EQ(frame.fit, PictureFit::TooLarge) << "96 x 64 at scale 2";
        EXPECT_TRUE(frame.picture == window.editor().doc.sheet.cell(i)) << i;
        EXPECT_EQ(read.frames[static_cast<std::size_t>(i)].ticks, i + 1);
    }
    // A folder in the way: the usual message, and nothing written.
    prompts.answerSaveFile(temp.path("none/walk.gif"), 1);
    window.command("GifExport1")->trigger();
    EXPECT_EQ(prompts.warnings.back(), "walk.gif に保存できませんでした.");
    EXPECT_EQ(prompts.saveRequests.back().filterIndex, 2) << "the scale is remembered";
}

} // namespace
} // namespace vemurion
