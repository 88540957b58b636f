#include "app/ui/AboutBox.h"

#include "support/ShellFakes.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace vemurion {
namespace {

class AboutBoxUi : public ::testing::Test {
protected:
    QLabel* label(const char* name) { return box.findChild<QLabel*>(name); }
    void hover(const char* name) {
        QWidget* widget = label(name);
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
    std::vector<bool> underlined() {
        return {label("lbURL")->font().underline(), label("lbEMAIL")->font().underline(),
                label("lbSEGA")->font().underline()};
    }

    test::RecordingShell shell;
    TfrmAbout box{nullptr, &shell};
};

TEST_F(AboutBoxUi, EveryShowingSetsTheVersionText) {
    box.show();
    label("lbVersion")->clear();
    box.hide();
    box.show();
    EXPECT_EQ(label("lbVersion")->text(), QString::fromUtf8("Vemurion ver.1.12"));
}

TEST_F(AboutBoxUi, LinksOpenTheirTargetsThroughTheShell) {
    box.show();
    for (const char* name : {"lbURL", "lbEMAIL", "lbSEGA"})
        QTest::mouseClick(label(name), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(shell.opened, (std::vector<std::string>{
                                "https://github.com/vemurion/vemurion",
                                "mailto:vemurion@users.noreply.github.com",
                                "https://www.sega.com/",
                            }));
}

TEST_F(AboutBoxUi, HoverUnderlinesOneLinkUntilThePointerLeaves) {
    box.show();
    hover("lbEMAIL");
    EXPECT_EQ(underlined(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(box.cursor().shape(), Qt::PointingHandCursor);
    hover("Label5");
    EXPECT_EQ(underlined(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(box.cursor().shape(), Qt::ArrowCursor);

    // Straight out of the window: no move reaches the box, its timer takes the underline away.
    hover("lbSEGA");
    QCursor::setPos(box.frameGeometry().bottomRight() + QPoint(40, 40));
    for (int waited = 0; waited < 1000 && underlined()[2]; waited += 20)
        QTest::qWait(20);
    EXPECT_EQ(underlined(), (std::vector<bool>{false, false, false}));
}

} // namespace
} // namespace vemurion
