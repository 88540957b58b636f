// Reads a GIF through the import road (every frame composed on the screen and reduced to the
// 48 x 32 frame) or through giflib's DGifSlurp alone (every image decoded, none composed), ROUNDS
// times in this process, and prints the median time: the yardstick that bench/reader-limits
// compares the road's GIF reader with, in process and process against process. Memory freed by
// one round is kept for the next, so that the medians time the work, not the system's first
// touch of fresh pages, which a single round, process against process, includes.
#include "import/GifReader.h"

#include <gif_lib.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool slurp(const char* path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path, &error);
    if (gif == nullptr) return false;
    const bool read = DGifSlurp(gif) == GIF_OK;
    DGifCloseFile(gif, &error);
    return read;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    // road: every aspect of the conversion, as the editor reads; stretch: the stretch only, as
    // vemurion-cli build reads without --fit.
    if (argc < 3 || (mode != "road" && mode != "stretch" && mode != "giflib")) {
        std::fputs("usage: vemurion_gif_read road|stretch|giflib FILE.gif [ROUNDS]\n", stderr);
        return 2;
    }
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1;
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        bool read = false;
        if (mode != "giflib")
            read = vemurion::importGifFile(argv[2], vemurion::kWhite, 255, 1, mode == "road")
                       .error.empty();
        else
            read = slurp(argv[2]);
        const auto end = std::chrono::steady_clock::now();
        if (!read) {
            std::fprintf(stderr, "%s: not read\n", argv[2]);
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::nth_element(times.begin(), times.begin() + rounds / 2, times.end());
    std::printf("%.2f\n", times[static_cast<std::size_t>(rounds / 2)]);
    return 0;
}
