// How near each conversion method's middle candidate comes to the picture it converts: for each
// picture file, the mean absolute difference between the 48 x 32 averaged grey picture and the
// black-and-white candidate 4, both blurred over 3 x 3 dots first (a stand-in for the eye, which
// sees a pattern's mean rather than its dots). Lower is better. The threshold method is also
// given with its best of the nine candidates. bench/dither-quality runs it.

#include "document/FrameSheet.h"
#include "files/FileKind.h"
#include "import/Conversion.h"
#include "import/PictureFile.h"
#include "import/PngReader.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace vemurion;

std::vector<double> blurred(const std::vector<double>& levels) {
    std::vector<double> out(levels.size());
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            double sum = 0;
            int count = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= kFrameWidth || ny >= kFrameHeight) continue;
                    sum += levels[std::size_t(ny * kFrameWidth + nx)];
                    ++count;
                }
            }
            out[std::size_t(y * kFrameWidth + x)] = sum / count;
        }
    }
    return out;
}

std::vector<double> greyLevels(const Raster& picture) {
    std::vector<double> levels;
    for (const Rgb dot : picture.dots())
        levels.push_back(greyLevel(dot));
    return levels;
}

double difference(const std::vector<double>& reference, const Raster& candidate) {
    const std::vector<double> seen = blurred(greyLevels(candidate));
    double sum = 0;
    for (std::size_t i = 0; i < seen.size(); ++i)
        sum += std::abs(seen[i] - reference[i]);
    return sum / double(seen.size());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: vemurion_dither_quality PICTURE...\n", stderr);
        return 2;
    }
    std::printf("%-26s %9s %9s %9s %9s %9s\n", "picture", "threshold", "best thr.", "ordered",
                "floyd-st.", "atkinson");
    for (int i = 1; i < argc; ++i) {
        const std::string path = argv[i];
        const ImportResult read =
            pathHasPngExtension(path) ? importPngFile(path, kWhite) : importPictureFile(path);
        if (!read.picture) {
            std::printf("%-26s %s\n", fileNamePart(path).c_str(), read.error.c_str());
            continue;
        }
        const ImportedPicture& picture = *read.picture;
        const Raster frame = frameForConversion(picture, kWhite);
        const std::vector<double> reference = blurred(greyLevels(frame));
        double best = 1e9;
        for (const Raster& candidate : thresholdCandidates(frame))
            best = std::min(best, difference(reference, candidate));
        std::printf("%-26s %9.2f %9.2f", fileNamePart(path).c_str(),
                    difference(reference, frameToAdd(picture, 4, kWhite)), best);
        for (const DitherMethod method :
             {DitherMethod::Ordered, DitherMethod::FloydSteinberg, DitherMethod::Atkinson}) {
            std::printf(" %9.2f", difference(reference, frameToAdd(picture, 4, kWhite, {method})));
        }
        std::printf("\n");
    }
    return 0;
}
