#include "app/ui/Icons.h"

#include <QImage>
#include <QStringList>
#include <gtest/gtest.h>

#include <set>

namespace vemurion {
namespace {

const QStringList kButtonNames = {
    "ToolButton1",  "ToolButton2",    "ToolButton3",    "ToolButton5",  "ToolButton6",
    "ToolButton7",  "ToolButton12",   "ToolButton13",   "ToolButton14", "ToolButton9",
    "ToolButton10", "tbtnBlackWhite", "tbtnWhiteBlack", "tbtnTrans",    "tbtnClear",
    "tbtnCenter",   "tbtnReverse",    "tbtnUD",         "tbtnLR",       "tbtnPen",
    "tbtnSelect",   "tbtnPaint",      "tbtnLine",       "tbtnBox",      "tbtnBoxFill",
    "tbtnCircle",   "tbtnCircleFill", "SpeedButton1",   "SpeedButton2", "SpeedButton3",
    "SpeedButton4",
};

QImage iconImage(const QString& name, int size) {
    return commandIcon(name).pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool hasOpaqueAndClearPixels(const QImage& image) {
    bool opaque = false, clear = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            opaque = opaque || alpha == 255;
            clear = clear || alpha == 0;
        }
    return opaque && clear;
}

TEST(CommandIcons, EveryButtonHasAVisiblePictureAtBothSizes) {
    for (const QString& name : kButtonNames) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_FALSE(commandIcon(name).isNull());
        for (int size : {16, 32}) {
            const QImage image = iconImage(name, size);
            EXPECT_EQ(image.size(), QSize(size, size));
            EXPECT_TRUE(hasOpaqueAndClearPixels(image)) << "at " << size << " pixels";
        }
    }
}

TEST(CommandIcons, NoTwoButtonsShareAPicture) {
    for (qsizetype i = 0; i < kButtonNames.size(); ++i) {
        const QImage first = iconImage(kButtonNames[i], 16);
        for (qsizetype j = i + 1; j < kButtonNames.size(); ++j)
            EXPECT_NE(first, iconImage(kButtonNames[j], 16))
                << kButtonNames[i].toStdString() << " and " << kButtonNames[j].toStdString();
    }
}

TEST(CommandIcons, UnknownNamesGiveNullIcons) {
    // ToolButton4 is a gap in the tool bar's numbering, and names are matched exactly.
    for (const char* name : {"ToolButton4", "", "tbtnpen", "ToolButton1 "})
        EXPECT_TRUE(commandIcon(name).isNull()) << '"' << name << '"';
}

TEST(ProductPicture, Is150By64AndNotOneFlatColour) {
    const QImage image = productPicture().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(150, 64));
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 2u);
}

} // namespace
} // namespace vemurion
