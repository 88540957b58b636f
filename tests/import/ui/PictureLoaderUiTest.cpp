#include "import/ui/PictureLoader.h"

#include "support/Pictures.h"

#include <QImage>

#include <gtest/gtest.h>

namespace vemurion {
namespace {

// Clipboard images of any format enter the road from their scan lines.
TEST(PictureLoader, ImagesOfEveryFormatGiveTheirDots) {
    Raster picture(60, 20, makeRgb(10, 20, 30));
    picture.fillRect(0, 0, 29, 19, makeRgb(200, 100, 50));
    const QImage image = imageFromRaster(picture);
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32,
                                  QImage::Format_RGB888, QImage::Format_RGB16}) {
        SCOPED_TRACE(format);
        const QImage converted = image.convertToFormat(format);
        FrameReducer reducer;
        ASSERT_TRUE(sendImageRows(converted, reducer));
        const ImportedPicture imported = reducer.finish();
        EXPECT_EQ(imported.fit, PictureFit::TooLarge);
        const Raster expected = test::importRaster(picture).picture;
        const int tolerance = format == QImage::Format_RGB16 ? 8 : 0;
        for (int x : {0, 23, 24, 47}) {
            const Rgb got = imported.picture.at(x, 5);
            const Rgb want = expected.at(x, 5);
            EXPECT_LE(std::abs(redOf(got) - redOf(want)), tolerance) << x;
            EXPECT_LE(std::abs(blueOf(got) - blueOf(want)), tolerance) << x;
        }
    }
    FrameReducer reducer;
    EXPECT_FALSE(sendImageRows(QImage(), reducer));
}

} // namespace
} // namespace vemurion
