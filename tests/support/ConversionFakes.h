#pragma once

#include "import/PictureFile.h"
#include "spine/Services.h"
#include "support/Pictures.h"

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

// Pictures come from `pictures`, by path, through the import road; other files from the real
// readers. Every read is recorded.
class FakePictureFiles : public PictureFiles {
public:
    std::map<std::string, Raster> pictures;
    std::vector<std::string> reads; // every path asked for, in order

    ImportResult importPicture(const std::string& path) override {
        reads.push_back(path);
        if (const auto it = pictures.find(path); it != pictures.end())
            return {importRaster(it->second), {}};
        return importPictureFile(path);
    }
};

} // namespace vemurion::test
