#include "files/LcdFile.h"

#include "support/Pictures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vemurion {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kRecordsStart = kLcdHeaderSize;

std::size_t dotBlockStart(int frameCount, int frame) {
    return kLcdHeaderSize + kLcdTimeRecordSize * static_cast<std::size_t>(frameCount) +
           kLcdDotBlockSize * static_cast<std::size_t>(frame);
}

LcdContent decoded(std::variant<LcdContent, LcdError> result) {
    EXPECT_TRUE(std::holds_alternative<LcdContent>(result));
    auto* content = std::get_if<LcdContent>(&result);
    return content ? std::move(*content) : LcdContent{};
}

TEST(LcdLayout, FreshDocumentIsHeaderRecordWhiteDotsAndTrailer) {
    AnimationDocument doc;
    doc.DisplayTimes[0] = 1;
    Bytes expected = {0x4C, 0x43, 0x44, 0x69, 0x01, 0x00, 0x30, 0x00, 0x20, 0x00,
                      0x01, 0x00, 0x00, 0xFF, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00};
    expected.resize(1556, 0x00);
    expected.insert(expected.end(), {'e', 'n', 'd'});

    EXPECT_EQ(encodeLcd(doc, "end"), expected);
}

TEST(LcdLayout, HeaderAndRecordsCarryCountsAndTimesInFrameOrder) {
    AnimationDocument doc;
    doc.FrameCount = 3;
    doc.LoopCount = 7;
    doc.DisplayTimes = {5, 6, 200, 9};
    const Bytes bytes = encodeLcd(doc, "");

    ASSERT_EQ(bytes.size(), dotBlockStart(3, 3));
    EXPECT_EQ(bytes[13], 7);
    EXPECT_EQ(bytes[14], 3);
    EXPECT_EQ(bytes[15], 0);
    const Bytes records(bytes.begin() + kRecordsStart, bytes.begin() + dotBlockStart(3, 0));
    EXPECT_EQ(records, (Bytes{0, 5, 0, 0, 0, 6, 0, 0, 0, 200, 0, 0}));
}

TEST(LcdLayout, EachBlackDotLandsAtItsOwnByte) {
    struct Case {
        int frame, x, y;
        std::size_t offsetInBlock;
    };
    const Case cases[] = {
        {0, 0, 0, 0}, {0, 47, 0, 47},         {0, 0, 1, 48}, {0, 47, 31, 1535},
        {1, 0, 0, 0}, {11, 5, 2, 2 * 48 + 5}, // cell 11 is on the sheet's 2nd row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "frame " << c.frame << " at " << c.x << "," << c.y);
        AnimationDocument doc;
        doc.FrameCount = 12;
        Raster picture(kFrameWidth, kFrameHeight, kWhite);
        picture.set(c.x, c.y, kBlack);
        doc.sheet.setCell(c.frame, picture);

        const Bytes bytes = encodeLcd(doc, "");
        const std::size_t at = dotBlockStart(12, c.frame) + c.offsetInBlock;
        for (std::size_t i = dotBlockStart(12, 0); i < bytes.size(); ++i) {
            ASSERT_EQ(bytes[i], i == at ? kLcdBlackDot : kLcdWhiteDot) << "byte " << i;
        }
    }
}

TEST(LcdLayout, ADotIsBlackExactlyWhenItsBlueIsZero) {
    const std::pair<Rgb, std::uint8_t> cases[] = {
        {kBlack, kLcdBlackDot},           {makeRgb(255, 255, 0), kLcdBlackDot},
        {makeRgb(0, 0, 1), kLcdWhiteDot}, {makeRgb(0, 0, 255), kLcdWhiteDot},
        {kWhite, kLcdWhiteDot},
    };
    for (const auto& [colour, expected] : cases) {
        AnimationDocument doc;
        doc.sheet.raster().set(0, 0, colour);
        EXPECT_EQ(encodeLcd(doc, "")[dotBlockStart(1, 0)], expected) << std::hex << colour;
    }
}

TEST(LcdRoundTrip, EveryLoopCountAndDisplayTimeSurvives) {
    for (int value = 1; value <= 255; ++value) {
        AnimationDocument doc;
        doc.LoopCount = value;
        doc.DisplayTimes[0] = value;
        const LcdContent content = decoded(decodeLcd(encodeLcd(doc, "")));
        ASSERT_EQ(content.loopByte, value);
        ASSERT_EQ(content.timeBytes, Bytes{static_cast<std::uint8_t>(value)});
    }
}

TEST(LcdRoundTrip, FullDocumentOf255FramesKeepsEveryPictureAndTime) {
    AnimationDocument doc;
    doc.FrameCount = 255;
    doc.LoopCount = 3;
    for (int i = 0; i < 255; ++i) {
        doc.DisplayTimes[static_cast<std::size_t>(i)] = 255 - i;
        doc.sheet.raster().fillRect(CellOrigin(i).x, CellOrigin(i).y, CellOrigin(i).x + i % 48,
                                    CellOrigin(i).y + i / 48, kBlack);
    }
    const Bytes bytes = encodeLcd(doc, "trailer");
    ASSERT_EQ(bytes.size(), kLcdMaxReadSize + 7);

    const LcdContent content = decoded(decodeLcd(bytes));
    ASSERT_EQ(content.frameCount, 255);
    ASSERT_EQ(content.frames.size(), 255u);
    ASSERT_EQ(content.timeBytes.size(), 255u);
    for (int i = 0; i < 255; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        EXPECT_EQ(content.timeBytes[slot], 255 - i);
        EXPECT_EQ(content.frames[slot], doc.sheet.cell(i)) << "frame " << i;
    }
}

// A one-frame file with the given loop byte, time byte and first dot byte.
Bytes handMadeFile(std::uint8_t loop, std::uint8_t time, std::uint8_t firstDot) {
    Bytes bytes = {0x4C, 0x43, 0x44, 0x69, 0x01, 0x00, 0x30, 0x00, 0x20, 0x00,
                   0x01, 0x00, 0x00, loop, 0x01, 0x00, 0x00, time, 0x00, 0x00};
    bytes.resize(dotBlockStart(1, 1), kLcdWhiteDot);
    bytes[dotBlockStart(1, 0)] = firstDot;
    return bytes;
}

TEST(LcdDecode, ZeroLoopAndTimeBytesComeBackRaw) {
    const LcdContent content = decoded(decodeLcd(handMadeFile(0, 0, 0)));
    EXPECT_EQ(content.loopByte, 0);
    EXPECT_EQ(content.timeBytes, Bytes{0});
}

TEST(LcdDecode, AnyNonZeroDotByteIsBlack) {
    for (int dot : {1, 7, 8, 9, 0x7F, 0x80, 0xFF}) {
        const LcdContent& content =
            decoded(decodeLcd(handMadeFile(1, 1, static_cast<std::uint8_t>(dot))));
        ASSERT_EQ(content.frames.size(), 1u);
        EXPECT_PICTURE(content.frames[0], {"#.", ".."}) << "dot byte " << dot;
    }
}

TEST(LcdDecode, UncheckedBytesDoNotMatter) {
    Bytes bytes = handMadeFile(2, 3, kLcdBlackDot);
    for (std::size_t i : {0, 3, 4, 6, 8, 10, 12, 15, 16, 18, 19})
        bytes[i] = 0xA5;
    bytes.insert(bytes.end(), {0xDE, 0xAD, 0x00, 0xFF});

    const LcdContent content = decoded(decodeLcd(bytes));
    EXPECT_EQ(content.loopByte, 2);
    EXPECT_EQ(content.frameCount, 1);
    EXPECT_EQ(content.timeBytes, Bytes{3});
    ASSERT_EQ(content.frames.size(), 1u);
    EXPECT_PICTURE(content.frames[0], {"#.", ".."});
}

TEST(LcdDecode, ShortFilesAreTruncated) {
    AnimationDocument doc;
    doc.FrameCount = 2;
    const Bytes whole = encodeLcd(doc, "");
    const std::size_t cuts[] = {0,
                                1,
                                13,
                                15,
                                16,
                                17,
                                20,
                                23,
                                24,
                                dotBlockStart(2, 0) + 1,
                                dotBlockStart(2, 1),
                                dotBlockStart(2, 2) - 1};
    for (std::size_t cut : cuts) {
        const auto result = decodeLcd(std::span(whole).first(cut));
        ASSERT_TRUE(std::holds_alternative<LcdError>(result)) << "cut at " << cut;
        EXPECT_EQ(std::get<LcdError>(result), LcdError::Truncated) << "cut at " << cut;
    }
    EXPECT_TRUE(std::holds_alternative<LcdContent>(decodeLcd(whole)));
}

TEST(LcdDecode, FrameCountZeroHasNoFrames) {
    Bytes bytes = handMadeFile(1, 1, 0);
    bytes[14] = 0;
    for (std::size_t size : {kLcdHeaderSize, bytes.size()}) {
        const auto result = decodeLcd(std::span(bytes).first(size));
        ASSERT_TRUE(std::holds_alternative<LcdError>(result));
        EXPECT_EQ(std::get<LcdError>(result), LcdError::NoFrames);
    }
}

TEST(LcdSignature, EveryEncodedFileIsRecognised) {
    for (int frames : {1, 2, 255}) {
        AnimationDocument doc;
        doc.FrameCount = frames;
        doc.LoopCount = frames;
        EXPECT_TRUE(IsInternalLcdText(encodeLcd(doc, ""))) << frames << " frames";
    }
}

TEST(LcdSignature, ShortOrDifferentPrefixesAreNot) {
    const Bytes signature(std::begin(kLcdSignature), std::end(kLcdSignature));
    EXPECT_TRUE(IsInternalLcdText(signature));
    EXPECT_FALSE(IsInternalLcdText(std::span(signature).first(8)));
    EXPECT_FALSE(IsInternalLcdText({}));
    for (std::size_t i = 0; i < signature.size(); ++i) {
        Bytes changed = signature;
        changed[i] ^= 0x01;
        EXPECT_FALSE(IsInternalLcdText(changed)) << "byte " << i;
    }
}

} // namespace
} // namespace vemurion
