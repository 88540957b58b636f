#include "import/ui/SelectionDialog.h"

#include "support/FakeServices.h"
#include "support/Pictures.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace vemurion {
namespace {

using test::EditorFixture;

// Nine bands of five columns: band b has the grey level at which candidate b turns white, so
// candidate i shows the columns left of 5i black and the rest white.
Raster bands() {
    Raster picture(kFrameWidth, kFrameHeight, kWhite);
    for (int b = 0; b < kCandidateCount; ++b) {
        const auto level = static_cast<std::uint8_t>(candidateThreshold(b));
        picture.fillRect(5 * b, 0, 5 * b + 4, kFrameHeight - 1, makeRgb(level, level, level));
    }
    return picture;
}

class SelectionDialogUi : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        main.resize(600, 500);
        main.show();
    }

    template <class T> T* child(const QString& name) {
        T* widget = dialog.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    // The 48 x 32 picture that candidate image `number` shows at twice its size.
    Raster shown(int number) {
        const QImage image = child<QLabel>(QString("Image%1").arg(number))->pixmap().toImage();
        Raster picture(image.width() / 2, image.height() / 2);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x)
                picture.set(x, y, image.pixel(2 * x, 2 * y) & 0xFFFFFFu);
        }
        return picture;
    }
    ConversionRequest request(bool modal = false) {
        ConversionRequest r;
        r.picture = test::importRaster(bands());
        r.reason = 1;
        r.modal = modal;
        return r;
    }

    QWidget main;
    TfrmSelection dialog{&main};
};

TEST_F(SelectionDialogUi, ChoiceOfNineCandidatesIsKeptAfterCancelAndInsertedOnOk) {
    dialog.showFor(e, request());
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_EQ(child<QLabel>("Label1")->text(), "以下の画像から最適なものを選択して下さい.");
    for (int i = 0; i < kCandidateCount; ++i) {
        SCOPED_TRACE(i);
        Raster expected(kFrameWidth, kFrameHeight, kWhite);
        if (i > 0) expected.fillRect(0, 0, 5 * i - 1, kFrameHeight - 1, kBlack);
        EXPECT_TRUE(shown(i) == expected);
    }
    EXPECT_EQ(dialog.chosenCandidate(), kFirstChosenCandidate);

    QTest::mouseClick(child<QLabel>("Image7"), Qt::LeftButton);
    EXPECT_EQ(dialog.chosenCandidate(), 7);
    EXPECT_EQ(child<QFrame>("spSelCursor")->pos(), QPoint(122 - 8, 181 - 6));
    QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(e.doc.FrameCount, 1);
    EXPECT_FALSE(e.doc.Modified);

    dialog.showFor(e, request());
    EXPECT_EQ(dialog.chosenCandidate(), 7);
    EXPECT_EQ(child<QFrame>("spSelCursor")->pos(), QPoint(122 - 8, 181 - 6));
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(e.doc.FrameCount, 2);
    EXPECT_EQ(e.doc.CurrentFrame, 0);
    EXPECT_TRUE(e.doc.sheet.cell(0) == shown(7));
    EXPECT_EQ(e.doc.DisplayTimes[0], 1);
    EXPECT_EQ(e.undo.undoState, 1);
    EXPECT_TRUE(e.doc.Modified);
}

// Another method or aspect renders the nine candidates again from the picture the request
// carries; the choice stays for the next use, and OK inserts the candidate as shown.
TEST_F(SelectionDialogUi, MethodAndAspectChangeTheCandidatesAndAreKept) {
    ConversionRequest large = request();
    large.picture = test::importRaster(Raster(300, 100, makeRgb(90, 90, 90)));
    dialog.showFor(e, large);
    QApplication::setActiveWindow(&dialog);
    auto* method = child<QComboBox>("cbDither");
    auto* fit = child<QComboBox>("cbFit");
    EXPECT_TRUE(fit->isEnabled());
    method->setFocus();
    QTest::keyClick(method, Qt::Key_Down); // ordered
    fit->setFocus();
    QTest::keyClick(fit, Qt::Key_Down); // contain
    const ConversionChoice choice{DitherMethod::Ordered, AspectFit::Contain};
    ASSERT_TRUE(dialog.isVisible());
    const auto expected = conversionCandidates(large.picture, choice, e.rightColor);
    for (int i = 0; i < kCandidateCount; ++i)
        EXPECT_EQ(shown(i), expected[std::size_t(i)]) << i;
    QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);

    dialog.showFor(e, request()); // a picture that fits: the aspect does not apply
    EXPECT_FALSE(fit->isEnabled());
    EXPECT_EQ(method->currentIndex(), 1);
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_EQ(e.doc.sheet.cell(0),
              conversionCandidates(request().picture, choice, e.rightColor)[4]);
}

// Shown modally, the dialog returns only once it has closed, with the frame in place.
TEST_F(SelectionDialogUi, ModalUseReturnsAfterOk) {
    std::function<void()> pressOkWhenReady = [&] {
        if (child<QLabel>("Label1")->text().startsWith("以下")) {
            child<QPushButton>("Button1")->click();
        } else {
            QTimer::singleShot(10, pressOkWhenReady);
        }
    };
    QTimer::singleShot(10, pressOkWhenReady);
    dialog.showFor(e, request(true));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(e.doc.FrameCount, 2);
}

// Clicking the main window while the dialog from Add to list is open cancels it.
TEST_F(SelectionDialogUi, LosingTheFocusCloses) {
    dialog.showFor(e, request());
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(dialog.isActiveWindow());
    QApplication::setActiveWindow(&main);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(e.doc.FrameCount, 1);
}

// A reduced picture is shown as it came; one that fits is centred on the background colour.
TEST_F(SelectionDialogUi, CandidatesComeFromThePictureTheRequestCarries) {
    ConversionRequest small = request();
    small.picture = test::importRaster(Raster(20, 10, makeRgb(200, 200, 200)));
    e.rightColor = kBlack;
    dialog.showFor(e, small);
    const Raster candidate = shown(8);
    EXPECT_EQ(candidate.at(13, 11), kBlack);
    EXPECT_EQ(candidate.at(14, 11), kBlack); // 200 is below candidate 8's 226
    EXPECT_EQ(shown(0).at(14, 11), kWhite);
    EXPECT_EQ(shown(0).at(34, 20), kBlack);
    QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
}

} // namespace
} // namespace vemurion
