#pragma once

#include "editor/Services.h"
#include "files/FileKind.h"
#include "import/JpegDecoder.h"

#include <map>
#include <string>
#include <vector>

namespace vemurion::test {

// Records every request to show the conversion dialog; the dialog itself never appears.
class FakeConversion : public ConversionPort {
public:
    std::vector<ConversionRequest> requests;
    void showConversion(const ConversionRequest& request) override { requests.push_back(request); }
};

// Bitmaps come from `bitmaps`, by path (a path not there cannot be read); JPEG files from
// `jpegs`, or else from the real decoder.
class FakePictureFiles : public PictureFiles {
public:
    std::map<std::string, Raster> bitmaps;
    std::map<std::string, Raster> jpegs;
    std::vector<std::string> reads; // every path asked for, in order

    PictureReadResult readBitmap(const std::string& path) override {
        reads.push_back(path);
        if (const auto it = bitmaps.find(path); it != bitmaps.end()) return {it->second, {}};
        return {std::nullopt, fileNamePart(path) + " は読み込めません."};
    }
    PictureReadResult readJpeg(const std::string& path) override {
        reads.push_back(path);
        if (const auto it = jpegs.find(path); it != jpegs.end()) return {it->second, {}};
        return readJpegFile(path);
    }
};

} // namespace vemurion::test
