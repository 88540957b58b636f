#include "import/PictureLoader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace vemurion {
namespace {

namespace fs = std::filesystem;

// The widget tests are built without VEMURION_SHARED_TESTDATA; Qt's test library names the
// project's folder, beside which the shared test data lies.
const std::string kBmpSuite = std::string(QT_TESTCASE_SOURCEDIR) + "/../shared/testdata/bmpsuite";

TEST(QtPictureFiles, ReadsGoodBitmapsAndRefusesBadOnesByName) {
    if (!fs::is_directory(kBmpSuite)) GTEST_SKIP() << "test data not found: " << kBmpSuite;
    QtPictureFiles files;
    for (const char* name : {"pal1.bmp", "pal4rle.bmp", "pal8topdown.bmp", "rgb16-565.bmp",
                             "rgb24.bmp", "rgb32bf.bmp"}) {
        SCOPED_TRACE(name);
        const PictureReadResult result = files.readBitmap(kBmpSuite + "/g/" + name);
        ASSERT_TRUE(result.picture) << result.error;
        EXPECT_EQ(result.picture->width(), 127);
        EXPECT_EQ(result.picture->height(), 64);
    }
    // Declares 3000000 x 2000000 dots: refused from its header, before any memory is taken.
    EXPECT_EQ(files.readBitmap(kBmpSuite + "/b/reallybig.bmp").error,
              "reallybig.bmp は読み込めません.");
    EXPECT_EQ(files.readBitmap(kBmpSuite + "/missing.bmp").error, "missing.bmp は読み込めません.");
    for (const auto& entry : fs::directory_iterator(kBmpSuite + "/b")) {
        SCOPED_TRACE(entry.path().string());
        const PictureReadResult result = files.readBitmap(entry.path().string());
        EXPECT_NE(result.picture.has_value(), result.error.ends_with(" は読み込めません."));
    }
}

} // namespace
} // namespace vemurion
