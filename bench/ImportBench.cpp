// A picture's way in, in process: the bare import (read, classify, reduce, nine candidates)
// against Add to list through the real window, which reads the picture once and shows the
// conversion dialog. The pictures are bench/import-bench's; set VEMURION_BENCH_PICTURES to the
// folder that holds big.jpg and big.bmp.
#include "app/ui/MainWindow.h"
#include "import/AddToList.h"
#include "import/Conversion.h"
#include "import/PictureFile.h"
#include "import/ui/SelectionDialog.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

using namespace vemurion;

std::string benchPicture(benchmark::State& state, const char* name) {
    const char* folder = std::getenv("VEMURION_BENCH_PICTURES");
    if (folder == nullptr) {
        state.SkipWithError("VEMURION_BENCH_PICTURES is not set (bench/import-bench sets it)");
        return {};
    }
    return std::string(folder) + "/" + name;
}

void BM_BareImport(benchmark::State& state, const char* name) {
    const std::string path = benchPicture(state, name);
    if (path.empty()) return;
    for (auto _ : state) {
        const ImportResult read = importPictureFile(path);
        if (!read.picture) {
            state.SkipWithError(read.error.c_str());
            return;
        }
        auto candidates = thresholdCandidates(frameForConversion(*read.picture, kWhite));
        benchmark::DoNotOptimize(candidates);
    }
}
BENCHMARK_CAPTURE(BM_BareImport, Jpeg, "big.jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BareImport, Bitmap, "big.bmp")->Unit(benchmark::kMillisecond);

// Answers the open dialog with one file; asks nothing else.
class OneFilePrompts : public Prompts {
public:
    explicit OneFilePrompts(std::string path) : m_path(std::move(path)) {}
    void warn(const std::string& text) override { warnings += text; }
    Answer askYesNoCancel(const std::string&) override { return Answer::Cancel; }
    bool askOkCancel(const std::string&, const std::string&) override { return false; }
    std::optional<FileDialogAnswer> askOpenFile(const FileDialogRequest&) override {
        return FileDialogAnswer{m_path, 1};
    }
    std::optional<FileDialogAnswer> askSaveFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::vector<int>> askNumbers(const NumbersRequest&) override {
        return std::nullopt;
    }
    std::string warnings;

private:
    std::string m_path;
};

void BM_AddToListWindow(benchmark::State& state, const char* name) {
    const std::string path = benchPicture(state, name);
    if (path.empty()) return;
    OneFilePrompts prompts(path);
    TfrmMain window(&prompts);
    window.FormCreate({});
    window.show();
    auto* dialog = window.findChild<TfrmSelection*>("frmSelection");
    for (auto _ : state) {
        A1Click(window.editor());
        state.PauseTiming();
        if (!prompts.warnings.empty()) {
            state.SkipWithError(prompts.warnings.c_str());
            return;
        }
        dialog->reject();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_AddToListWindow, Jpeg, "big.jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AddToListWindow, Bitmap, "big.bmp")->Unit(benchmark::kMillisecond);

} // namespace
