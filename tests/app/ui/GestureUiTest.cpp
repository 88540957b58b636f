#include "app/ui/MainWindow.h"
#include "editor/ui/EditCanvas.h"
#include "files/LcdFile.h"
#include "framelist/ui/FrameSlot.h"
#include "framelist/ui/UpDown.h"
#include "support/FakeServices.h"
#include "support/Pictures.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace vemurion {
namespace {

// A window on a file of 12 frames, each marked with a dot in the top row at its index, frame 3
// current, frame 0 on the clipboard as a frame and a black square as a picture.
struct GestureRun {
    explicit GestureRun(const std::string& file) {
        window.FormCreate({});
        window.show();
        QApplication::setActiveWindow(&window);
        prompts.answerOpenFile(file);
        window.command("Open1")->trigger();
        QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
        QTest::mouseClick(window.findChild<PictureBox*>("imgList3"), Qt::LeftButton);
        clipboard.pictureContent = Raster(3, 3, kBlack);
    }
    ~GestureRun() {
        window.editor().doc.Modified = false;
        window.command("N3")->trigger();
    }
    void click(const char* name) {
        QTest::mouseClick(window.findChild<QWidget*>(name), Qt::LeftButton);
    }
    void mouse(QEvent::Type type, QPoint dot, Qt::MouseButtons held) {
        auto* canvas = window.findChild<EditCanvas*>("imgMain");
        const QPoint at = dot * 9 + QPoint(4, 4);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    }
    void drag(QPoint from, QPoint to) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::LeftButton);
    }

    test::FakePrompts prompts;
    test::FakeClipboard clipboard;
    TfrmMain window{&prompts, &clipboard};
};

// A command given by its key, by a click on a control, or by what the user does for it; any
// answers it needs come first.
struct GestureCommand {
    const char* name;
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = {};
    const char* click = nullptr;
    std::function<void(GestureRun&, const std::string& file)> run = nullptr;
};

constexpr auto kNoKey = Qt::Key_unknown;
constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kCtrlAlt = Qt::ControlModifier | Qt::AltModifier;
using R = GestureRun;
using F = const std::string&;

// clang-format off
const GestureCommand kCommands[] = {
    {"insert", Qt::Key_Insert},
    {"delete", Qt::Key_Delete, {}, {}, [](R& r, F) { r.prompts.okCancelAnswers.push_back(true); }},
    {"frame cut", Qt::Key_X, kCtrlAlt},
    {"frame copy", Qt::Key_C, kCtrlAlt},
    {"frame paste", Qt::Key_V, kCtrlAlt},
    {"add to list", kNoKey, {}, {}, [](R& r, F file) {
         r.prompts.answerOpenFile(file);
         r.window.command("A1")->trigger();
     }},
    {"new", Qt::Key_N, kCtrl, {}, [](R& r, F) { r.prompts.answer(Answer::No); }},
    {"open", Qt::Key_O, kCtrl, {}, [](R& r, F file) {
         r.prompts.answer(Answer::No);
         r.prompts.answerOpenFile(file);
     }},
    {"undo", Qt::Key_Z, kCtrl},
    {"play", Qt::Key_F9},
    {"picture paste", Qt::Key_V, kCtrl},
    {"clear", kNoKey, {}, "tbtnClear"},
    {"centre", kNoKey, {}, "tbtnCenter"},
    {"reverse", kNoKey, {}, "tbtnReverse"},
    {"flip", kNoKey, {}, "tbtnUD"},
    {"scroll picture", kNoKey, {}, "SpeedButton4"},
    {"slot click", kNoKey, {}, "imgList1"},
    {"slot up-down", kNoKey, {}, {},
     [](R& r, F) { r.window.findChild<UpDown*>("udTimes3")->upButton()->click(); }},
    {"list scroll", kNoKey, {}, {},
     [](R& r, F) { r.window.findChild<QScrollBar*>("scList")->setValue(4); }},
    {"move frame", Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier},
    {"times for a range", kNoKey, {}, {}, [](R& r, F) {
         r.prompts.numberAnswers.push_back(std::vector<int>{1, 12, 5});
         r.window.command("TimeRange1")->trigger();
     }},
};
// clang-format on

// CTRL and ALT pressed or let go on the way to a command's key: CTRL reshapes a dragged figure.
void modifierKeys(R& r, Qt::KeyboardModifiers modifiers, bool down) {
    QApplication::setActiveWindow(&r.window);
    for (const auto& [flag, key] : {std::pair{Qt::ControlModifier, Qt::Key_Control},
                                    std::pair{Qt::AltModifier, Qt::Key_Alt}}) {
        if (!modifiers.testFlag(flag)) continue;
        if (down)
            QTest::keyPress(&r.window, key, modifiers);
        else
            QTest::keyRelease(&r.window, key, modifiers);
    }
}

void give(R& r, const GestureCommand& command, F file) {
    QApplication::setActiveWindow(&r.window); // shortcuts reach the active window only
    if (command.run) command.run(r, file);
    if (command.click) r.click(command.click);
    if (command.key != Qt::Key_unknown) QTest::keyClick(&r.window, command.key, command.modifiers);
}

// A command pressed while a button is held on the canvas ends the gesture first, as releasing
// the button there would: the rest of the drag draws nothing, into no frame, and an inserted
// frame is blank.
TEST(GestureUi, ACommandDuringADragActsAsAfterItsRelease) {
    test::TempFolder temp;
    AnimationDocument doc;
    doc.FrameCount = 12;
    for (int k = 0; k < 12; ++k) {
        Raster cell(kFrameWidth, kFrameHeight);
        cell.set(k, 0, kBlack);
        cell.set(20, 20, kBlack);
        doc.sheet.setCell(k, cell);
        doc.DisplayTimes[static_cast<std::size_t>(k)] = k + 1;
    }
    const std::string file = temp.path("twelve.lcd");
    test::writeBytes(file, encodeLcd(doc, "x"));

    // The tool, and what the user does with it before the gesture: the floating move first
    // lifts the dots of (1,0)-(7,7); the select tool alone draws a rubber band.
    const std::pair<const char*, bool> gestures[] = {
        {"tbtnBox", false}, {"tbtnPen", false}, {"tbtnSelect", true}, {"tbtnSelect", false}};
    for (const auto& [tool, lift] : gestures) {
        for (const GestureCommand& command : kCommands) {
            SCOPED_TRACE(std::string(tool) + ", then " + command.name);
            GestureRun released(file), held(file);
            for (GestureRun* r : {&released, &held}) {
                r->click(tool);
                if (lift) r->drag({1, 0}, {7, 7});
                if (lift) r->mouse(QEvent::MouseButtonRelease, {7, 7}, Qt::NoButton);
                r->drag({2, 2}, {6, 6});
            }
            modifierKeys(released, command.modifiers, true);
            released.mouse(QEvent::MouseButtonRelease, {6, 6}, Qt::NoButton);
            modifierKeys(released, command.modifiers, false);
            give(released, command, file);

            give(held, command, file);
            held.mouse(QEvent::MouseMove, {9, 9}, Qt::LeftButton);
            held.mouse(QEvent::MouseButtonRelease, {9, 9}, Qt::NoButton);

            const Editor& a = held.window.editor();
            const Editor& b = released.window.editor();
            ASSERT_EQ(a.doc.FrameCount, b.doc.FrameCount);
            EXPECT_EQ(a.doc.CurrentFrame, b.doc.CurrentFrame);
            EXPECT_EQ(a.doc.DisplayTimes, b.doc.DisplayTimes);
            EXPECT_EQ(a.undo.undoState, b.undo.undoState);
            EXPECT_EQ(held.clipboard.frameBlockContent, released.clipboard.frameBlockContent);
            for (int k = 0; k < a.doc.FrameCount; ++k)
                EXPECT_EQ(test::pictureToText(a.doc.sheet.cell(k)),
                          test::pictureToText(b.doc.sheet.cell(k)))
                    << "frame " << k;
            EXPECT_EQ(held.prompts.unusedAnswers(), released.prompts.unusedAnswers());
        }
    }
}

} // namespace
} // namespace vemurion
