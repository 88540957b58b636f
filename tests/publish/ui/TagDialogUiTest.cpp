#include "publish/ui/TagDialog.h"

#include "publish/TagText.h"
#include "support/FakeServices.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace vemurion {
namespace {

class TagDialogUi : public ::testing::Test {
protected:
    template <class T> T* child(const char* name) { return dialog.findChild<T*>(name); }
    void click(const char* name) {
        QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton);
    }
    std::string box() { return child<QPlainTextEdit>("memoTagText")->toPlainText().toStdString(); }

    test::FakeClipboard clipboard;
    std::string fileName = "/w/anim.lcd";
    TfrmTag dialog{nullptr, &clipboard, [this] { return fileName; }};
};

TEST_F(TagDialogUi, ReopeningKeepsTabAndPortsAndRebuildsFromTheFileName) {
    dialog.show();
    EXPECT_EQ(box(), boxText(tagLines(fileName, TagForm::Plain, {true, false, false, false})));
    child<QTabBar>("TabControl1")->setCurrentIndex(1);
    click("CheckBox3");
    click("Button2");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(clipboard.textContent.has_value());

    fileName = "/w/next.lcd";
    dialog.show();
    EXPECT_EQ(box(), boxText(tagLines(fileName, TagForm::Script, {true, false, true, false})));
}

TEST_F(TagDialogUi, CopyPutsTheTypedTextWithCrLfOnTheClipboardAndCloses) {
    QSignalSpy copied(&dialog, &TfrmTag::copied);
    dialog.show();
    auto* memo = child<QPlainTextEdit>("memoTagText");
    memo->clear();
    QTest::keyClicks(memo, "<embed>");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "mine");
    click("Button1");
    EXPECT_EQ(clipboard.textContent, std::optional<std::string>("<embed>\r\nmine\r\n"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(copied.count(), 1);
}

// Whatever room the desktop's font needs, the two texts at the top touch neither each other nor
// the border, and every line of the tag stays one line, which the box scrolls sideways.
TEST_F(TagDialogUi, TextsKeepClearOfTheBorderAndTagLinesAreNotWrapped) {
    fileName = "/w/a very long name for the animation on the page.lcd";
    child<QTabBar>("TabControl1")->setCurrentIndex(1);
    dialog.show();
    const QRect first = child<QLabel>("Label1")->geometry();
    const QRect second = child<QLabel>("Label2")->geometry();
    EXPECT_LT(first.right() + 4, second.left());
    EXPECT_LE(second.right() + 8, dialog.width());
    const QWidget* memo = child<QPlainTextEdit>("memoTagText");
    EXPECT_LE(memo->geometry().right() + 8, dialog.width());

    const QTextDocument* text = child<QPlainTextEdit>("memoTagText")->document();
    ASSERT_EQ(text->blockCount(), 7);
    for (QTextBlock line = text->begin(); line.isValid(); line = line.next()) {
        text->documentLayout()->blockBoundingRect(line); // lays the line out
        EXPECT_EQ(line.layout()->lineCount(), 1) << line.text().toStdString();
    }
    EXPECT_GT(child<QPlainTextEdit>("memoTagText")->horizontalScrollBar()->maximum(), 0);
}

TEST_F(TagDialogUi, ClosesWhenAnotherWindowIsActivated) {
    QWidget other;
    other.show();
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(dialog.isActiveWindow());
    QApplication::setActiveWindow(&other);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace vemurion
