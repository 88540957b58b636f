// vemurion-cli: batch use of the editor's core, without a window.
#include "document/FrameSheet.h"
#include "import/Conversion.h"
#include "import/PictureFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace vemurion;

constexpr const char* kUsage =
    "usage: vemurion-cli show PICTURE [--candidate K] [--white-on-black]\n"
    "  Prints the frame that Add to list would make of PICTURE (a .bmp or .jpg file): 32 lines\n"
    "  of 48 characters, '#' black and '.' white. K (0 to 8, default 4) is the candidate of the\n"
    "  conversion; the background is white, or black with --white-on-black.\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

int show(int argc, char** argv) {
    std::string picture;
    int candidate = kFirstChosenCandidate;
    Rgb background = kWhite;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--white-on-black") {
            background = kBlack;
        } else if (argument == "--candidate" && i + 1 < argc) {
            const std::string number = argv[++i];
            if (number.size() != 1 || number[0] < '0' || number[0] > '8') return usage();
            candidate = number[0] - '0';
        } else if (picture.empty() && !argument.starts_with("--")) {
            picture = argument;
        } else {
            return usage();
        }
    }
    if (picture.empty()) return usage();

    const ImportResult read = importPictureFile(picture);
    if (!read.picture) {
        std::fprintf(stderr, "%s\n", read.error.c_str());
        return 1;
    }
    const Raster frame = frameToAdd(*read.picture, candidate, background);
    std::string text;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x)
            text += frame.at(x, y) == kBlack ? '#' : '.';
        text += '\n';
    }
    std::fputs(text.c_str(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "show") return show(argc, argv);
    return usage();
}
