// How closely playback keeps time: an animation played through the real window, each frame
// timed from the canvas paint that shows it to the paint of the next.
#include "app/ui/MainWindow.h"
#include "framelist/Playback.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

namespace {

using namespace vemurion;
using Clock = std::chrono::steady_clock;

// Notes the moment of every canvas paint that shows something new: a playing frame with its
// caption, then the frame put back at the stop. Ends `loop` at the stop.
class PaintClock : public QObject {
public:
    PaintClock(const Editor& editor, QEventLoop& loop) : m_editor(editor), m_loop(loop) {}
    std::vector<Clock::time_point> shown;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        const std::string seen = m_editor.playing ? m_editor.modeCaption : std::string();
        if (shown.empty() || seen != m_last) {
            shown.push_back(Clock::now());
            m_last = seen;
            if (!m_editor.playing) m_loop.quit();
        }
        return false;
    }

private:
    const Editor& m_editor;
    QEventLoop& m_loop;
    std::string m_last;
};

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Three frames of display time 1, ten passes: thirty frames of 250 ms each. Reports each
// frame's deviation from its time (the mean, signed, and the worst, either way) and how much
// longer than its 7.5 s the whole run took.
void BM_PlaybackTiming(benchmark::State& state) {
    constexpr int kFrames = 3;
    constexpr int kLoops = 10;
    TfrmMain window;
    window.FormCreate({});
    window.show();
    QApplication::processEvents();
    while (window.editor().doc.FrameCount < kFrames)
        window.I2Click();
    window.editor().doc.LoopCount = kLoops;
    window.editor().doc.Modified = false;
    QWidget* canvas = window.findChild<QWidget*>("imgMain");

    std::vector<double> deviations;
    std::vector<double> drifts;
    for (auto _ : state) {
        QEventLoop loop;
        PaintClock clock(window.editor(), loop);
        canvas->installEventFilter(&clock);
        QTimer::singleShot(3 * kFrames * kLoops * kDisplayTickMs, &loop, &QEventLoop::quit);
        window.P1Click();
        loop.exec();
        canvas->removeEventFilter(&clock);
        if (clock.shown.size() != kFrames * kLoops + 1) {
            state.SkipWithError("playback did not show every frame and stop");
            return;
        }
        for (std::size_t i = 1; i < clock.shown.size(); ++i)
            deviations.push_back(milliseconds(clock.shown[i] - clock.shown[i - 1]) -
                                 kDisplayTickMs);
        drifts.push_back(milliseconds(clock.shown.back() - clock.shown.front()) -
                         kFrames * kLoops * kDisplayTickMs);
    }
    double worst = 0;
    for (double d : deviations)
        worst = std::max(worst, std::abs(d));
    state.counters["mean_dev_ms"] =
        std::accumulate(deviations.begin(), deviations.end(), 0.0) / deviations.size();
    state.counters["worst_dev_ms"] = worst;
    state.counters["drift_ms"] = std::accumulate(drifts.begin(), drifts.end(), 0.0) / drifts.size();
}
// Each run takes 7.5 s, so a few runs, whatever the command line asks; "max" gives the worst
// of them beside the usual aggregates.
BENCHMARK(BM_PlaybackTiming)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("max", [](const std::vector<double>& v) {
        return *std::max_element(v.begin(), v.end());
    });

} // namespace
