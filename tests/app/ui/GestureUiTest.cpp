#include "app/ui/MainWindow.h"
#include "editor/ui/EditCanvas.h"
#include "files/LcdFile.h"
#include "framelist/ui/FrameSlot.h"
#include "framelist/ui/UpDown.h"
#include "support/FakeServices.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace vemurion {
namespace {

using test::FakeClipboard;
using test::FakePrompts;
using test::TempFolder;

// What a command may change: the frames, their times, the current frame, the undo record and
// the frame on the clipboard.
struct Outcome {
    std::vector<Raster> cells;
    std::vector<int> times;
    int current = 0;
    int undoState = 0;
    std::optional<std::vector<std::uint8_t>> frameBlock;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* out) {
    *out << o.cells.size() << " frames, current " << o.current << ", undo " << o.undoState
         << ", times";
    for (const int t : o.times)
        *out << ' ' << t;
    *out << ", frame " << o.current << ":\n";
    if (o.current < static_cast<int>(o.cells.size())) {
        const Raster& cell = o.cells[static_cast<std::size_t>(o.current)];
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 24; ++x)
                *out << (cell.at(x, y) == kBlack ? '#' : '.');
            *out << '\n';
        }
    }
}

// A window on a file of 12 frames, each marked with a dot in the top row at its index, frame 3
// current, and frame 0 on the clipboard.
class GestureRun {
public:
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

    EditCanvas* canvas() { return window.findChild<EditCanvas*>("imgMain"); }
    static QPoint pixel(QPoint dot) { return dot * 9 + QPoint(4, 4); }
    void press(QPoint dot) { QTest::mousePress(canvas(), Qt::LeftButton, {}, pixel(dot)); }
    void move(QPoint dot, Qt::MouseButtons held) {
        QMouseEvent event(QEvent::MouseMove, pixel(dot), canvas()->mapToGlobal(pixel(dot)),
                          Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(canvas(), &event);
    }
    void release(QPoint dot) { QTest::mouseRelease(canvas(), Qt::LeftButton, {}, pixel(dot)); }

    Outcome outcome() const {
        const Editor& e = window.editor();
        Outcome o;
        for (int k = 0; k < e.doc.FrameCount; ++k) {
            o.cells.push_back(e.doc.sheet.cell(k));
            o.times.push_back(e.doc.DisplayTimes[static_cast<std::size_t>(k)]);
        }
        o.current = e.doc.CurrentFrame;
        o.undoState = e.undo.undoState;
        o.frameBlock = clipboard.frameBlockContent;
        return o;
    }

    FakePrompts prompts;
    FakeClipboard clipboard;
    TfrmMain window{&prompts, &clipboard};
};

// A command given by its key, or by what the user does for it (after any answers it needs).
struct GestureCommand {
    const char* name;
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = {};
    std::function<void(GestureRun&, const std::string& file)> run = nullptr;
};

void button(GestureRun& r, const char* name) {
    QTest::mouseClick(r.window.findChild<QToolButton*>(name), Qt::LeftButton);
}

constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kCtrlAlt = Qt::ControlModifier | Qt::AltModifier;

const GestureCommand kCommands[] = {
    {"insert", Qt::Key_Insert},
    {"delete",
     Qt::Key_Delete,
     {},
     [](GestureRun& r, auto&) { r.prompts.okCancelAnswers.push_back(true); }},
    {"frame cut", Qt::Key_X, kCtrlAlt},
    {"frame copy", Qt::Key_C, kCtrlAlt},
    {"frame paste", Qt::Key_V, kCtrlAlt},
    {"add to list",
     Qt::Key_unknown,
     {},
     [](GestureRun& r, const std::string& file) {
         r.prompts.answerOpenFile(file);
         r.window.command("A1")->trigger();
     }},
    {"new", Qt::Key_N, kCtrl, [](GestureRun& r, auto&) { r.prompts.answer(Answer::No); }},
    {"open", Qt::Key_O, kCtrl,
     [](GestureRun& r, const std::string& file) {
         r.prompts.answer(Answer::No);
         r.prompts.answerOpenFile(file);
     }},
    {"undo", Qt::Key_Z, kCtrl},
    {"play", Qt::Key_F9},
    {"picture paste", Qt::Key_V, kCtrl},
    {"clear", Qt::Key_unknown, {}, [](GestureRun& r, auto&) { button(r, "tbtnClear"); }},
    {"centre", Qt::Key_unknown, {}, [](GestureRun& r, auto&) { button(r, "tbtnCenter"); }},
    {"reverse", Qt::Key_unknown, {}, [](GestureRun& r, auto&) { button(r, "tbtnReverse"); }},
    {"flip", Qt::Key_unknown, {}, [](GestureRun& r, auto&) { button(r, "tbtnUD"); }},
    {"scroll picture",
     Qt::Key_unknown,
     {},
     [](GestureRun& r, auto&) { button(r, "SpeedButton4"); }},
    {"slot click",
     Qt::Key_unknown,
     {},
     [](GestureRun& r, auto&) {
         QTest::mouseClick(r.window.findChild<PictureBox*>("imgList1"), Qt::LeftButton);
     }},
    {"slot up-down",
     Qt::Key_unknown,
     {},
     [](GestureRun& r, auto&) { r.window.findChild<UpDown*>("udTimes3")->upButton()->click(); }},
    {"list scroll",
     Qt::Key_unknown,
     {},
     [](GestureRun& r, auto&) { r.window.findChild<QScrollBar*>("scList")->setValue(4); }},
};

void give(GestureRun& r, const GestureCommand& command, const std::string& file) {
    if (command.run) command.run(r, file);
    if (command.key != Qt::Key_unknown) QTest::keyClick(&r.window, command.key, command.modifiers);
}

// CTRL and ALT pressed on the way to a command's key: CTRL reshapes a figure being dragged.
void holdModifiers(GestureRun& r, Qt::KeyboardModifiers modifiers, bool down) {
    for (const auto& [flag, key] : {std::pair{Qt::ControlModifier, Qt::Key_Control},
                                    std::pair{Qt::AltModifier, Qt::Key_Alt}}) {
        if (!modifiers.testFlag(flag)) continue;
        if (down)
            QTest::keyPress(&r.window, key, modifiers);
        else
            QTest::keyRelease(&r.window, key, modifiers);
    }
}

struct Gesture {
    const char* name;
    const char* tool;
    std::function<void(GestureRun&)> prepare;
};

const Gesture kGestures[] = {
    {"box", "tbtnBox", nullptr},
    {"pen", "tbtnPen", nullptr},
    {"floating move", "tbtnSelect",
     [](GestureRun& r) { // lift the dots of (1,0)-(7,7)
         r.press({1, 0});
         r.move({7, 7}, Qt::LeftButton);
         r.release({7, 7});
     }},
};

// A command pressed while a button is held on the canvas ends the gesture first, as releasing
// the button there would: the rest of the drag draws nothing, into no frame.
TEST(GestureUi, ACommandDuringADragActsAsAfterItsRelease) {
    TempFolder temp;
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

    for (const Gesture& gesture : kGestures) {
        for (const GestureCommand& command : kCommands) {
            SCOPED_TRACE(std::string(gesture.name) + ", then " + command.name);
            GestureRun released(file);
            button(released, gesture.tool);
            if (gesture.prepare) gesture.prepare(released);
            released.press({2, 2});
            released.move({6, 6}, Qt::LeftButton);
            holdModifiers(released, command.modifiers, true);
            released.release({6, 6});
            holdModifiers(released, command.modifiers, false);
            give(released, command, file);
            released.move({9, 9}, Qt::NoButton);

            GestureRun held(file);
            button(held, gesture.tool);
            if (gesture.prepare) gesture.prepare(held);
            held.press({2, 2});
            held.move({6, 6}, Qt::LeftButton);
            give(held, command, file);
            held.move({9, 9}, Qt::LeftButton);
            held.release({9, 9});

            EXPECT_EQ(held.outcome(), released.outcome());
            EXPECT_EQ(held.prompts.unusedAnswers(), 0u);
        }
    }
}

} // namespace
} // namespace vemurion
