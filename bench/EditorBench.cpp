// Cost of one pen move, from the pointer event to the committed frame and the repainted canvas,
// and of one frame put in front of a long list or taken out of it.
#include "app/ui/MainWindow.h"
#include "editor/CanvasInput.h"
#include "editor/CanvasView.h"
#include "editor/ui/EditCanvas.h"
#include "files/DocumentFile.h"
#include "framelist/FrameOps.h"
#include "import/AddToList.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace vemurion;

// A busy picture: every other dot black, so nothing is cheaper than in real use.
void fillCheckerboard(Editor& e) {
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x)
            e.imgListWork.set(x, y, (x + y) % 2 ? kBlack : kWhite);
    }
    CommitWorkPicture(e);
}

// The core alone: with `move`, the pointer move, the pen segment, the commit to the sheet and
// the canvas picture; without, drawing the canvas picture only, for comparison. With `onion`,
// on the middle of three busy frames, both onion skins shown.
void BM_Core(benchmark::State& state, bool move, bool onion) {
    Editor e;
    NewDocument(e);
    fillCheckerboard(e);
    if (onion) {
        // Black frames before and after: every background dot of the middle one is tinted.
        newFrame(e);
        showFrameList(e, 0);
        newFrame(e);
        e.doc.sheet.fillCell(0, kBlack);
        e.doc.sheet.fillCell(2, kBlack);
        showFrameList(e, 1);
        e.onionPrevious = e.onionNext = true;
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kCanvasWidth) * kCanvasHeight);
    InputState held;
    held.left = true;
    if (move) canvasPress(e, MouseButton::Left, 4, 4, held);
    int x = 0;
    for (auto _ : state) {
        x = (x + 37) % 430;
        if (move) canvasMove(e, x, (x * 7) % 288, held);
        renderCanvasInto(e, pixels.data(), kCanvasWidth);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK_CAPTURE(BM_Core, PenMove, true, false);
BENCHMARK_CAPTURE(BM_Core, PenMoveOnionSkin, true, true);
BENCHMARK_CAPTURE(BM_Core, RenderCanvas, false, false);

// The whole road through Qt: a mouse event on the real canvas widget, the handler, the core,
// and the canvas painted again (into an image, since the offscreen platform shows nothing).
void BM_PenMoveWidget(benchmark::State& state) {
    TfrmMain window;
    window.FormCreate({});
    window.show();
    fillCheckerboard(window.editor());
    auto* canvas = window.findChild<EditCanvas*>("imgMain");
    const QPointF start(4, 4);
    QMouseEvent press(QEvent::MouseButtonPress, start, canvas->mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &press);
    QImage target(canvas->size(), QImage::Format_RGB32);
    int x = 0;
    for (auto _ : state) {
        x = (x + 37) % 430;
        const QPointF p(x, (x * 7) % 288);
        QMouseEvent move(QEvent::MouseMove, p, canvas->mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
        canvas->render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
    QMouseEvent release(QEvent::MouseButtonRelease, start, canvas->mapToGlobal(start),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &release);
    window.editor().doc.Modified = false;
}
BENCHMARK(BM_PenMoveWidget);

enum class ListChange { Insert, Remove, AddToList };

// One frame in front of frame 0 of 254, or frame 0 of 255 taken out: every other frame's cell
// moves. The change that restores the list between iterations is not timed.
void BM_FrameAtFront(benchmark::State& state, ListChange change) {
    Editor e;
    NewDocument(e);
    fillCheckerboard(e);
    const Raster picture = e.imgListWork;
    for (int k = 1; k < kMaxFrames - 1; ++k)
        e.doc.sheet.setCell(k, picture);
    e.doc.FrameCount = kMaxFrames - 1;
    LcdContent oneFrame;
    oneFrame.frameCount = 1;
    oneFrame.timeBytes = {1};
    oneFrame.frames = {picture};
    if (change == ListChange::Remove) InsertFrameAt(e, 1, picture);
    for (auto _ : state) {
        e.doc.CurrentFrame = 0;
        if (change == ListChange::Remove) {
            RemoveCurrentFrame(e);
        } else if (change == ListChange::Insert) {
            InsertFrameAt(e, 1, picture);
        } else {
            InsertLcdFrames(e, oneFrame);
        }
        state.PauseTiming();
        e.doc.CurrentFrame = 0;
        if (change == ListChange::Remove) {
            InsertFrameAt(e, 1, picture);
        } else {
            RemoveCurrentFrame(e);
        }
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_FrameAtFront, Insert, ListChange::Insert)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FrameAtFront, Remove, ListChange::Remove)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FrameAtFront, AddToList, ListChange::AddToList)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
