#include "app/HelpPages.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/EditCanvas.h"
#include "files/LcdFile.h"
#include "framelist/ui/FrameSlot.h"
#include "framelist/ui/UpDown.h"
#include "spine/CommandStates.h"
#include "support/FakeServices.h"
#include "support/GifFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace vemurion {
namespace {

using test::FakeClipboard;
using test::FakePrompts;
using test::TempFolder;

class MainWindowUi : public ::testing::Test {
protected:
    void SetUp() override {
        window.FormCreate({});
        window.show();
        QApplication::setActiveWindow(&window);
    }
    void TearDown() override {
        window.editor().doc.Modified = false; // closing must not ask
        EXPECT_EQ(prompts.unusedAnswers(), 0u);
    }

    template <class T> T* child(const char* name) {
        T* widget = window.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString text(const char* label) { return child<QLabel>(label)->text(); }
    void trigger(const char* command) { window.command(command)->trigger(); }

    // A left-button stroke on the canvas between two dots, through real mouse events.
    void stroke(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
        auto* canvas = child<EditCanvas>("imgMain");
        const auto pixel = [](QPoint dot) { return dot * 9 + QPoint(4, 4); };
        QTest::mousePress(canvas, button, {}, pixel(from));
        QMouseEvent move(QEvent::MouseMove, pixel(to), canvas->mapToGlobal(pixel(to)), Qt::NoButton,
                         button, Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
        QTest::mouseRelease(canvas, button, {}, pixel(to));
    }

    TempFolder temp;
    FakePrompts prompts;
    FakeClipboard clipboard;
    TfrmMain window{&prompts, &clipboard};
};

TEST_F(MainWindowUi, StartsWithAFreshUntitledDocument) {
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Vemurion - [無題]"));
    EXPECT_EQ(text("stLoops"), QString::fromUtf8("無限"));
    EXPECT_EQ(text("lbList0"), "001/001");
    EXPECT_EQ(text("stTimes0"), "1");
    EXPECT_EQ(text("lbList1"), "");
    EXPECT_EQ(text("stModeTitleBar"), QString::fromUtf8("エディット - ペンツール"));
    EXPECT_FALSE(child<QScrollBar>("scList")->isEnabled());
    EXPECT_TRUE(child<PictureBox>("imgList1")->isEnabled());  // the append slot
    EXPECT_FALSE(child<PictureBox>("imgList2")->isEnabled()); // beyond it
    EXPECT_FALSE(child<UpDown>("udTimes1")->isVisible());
    EXPECT_EQ(child<PictureBox>("imgSub")->picture().pixel(0, 0), qRgb(255, 255, 255));
}

// The window starts centred on the desktop; it and its three dialogs keep their size, and only
// the main window can be minimised.
TEST_F(MainWindowUi, StartsCentredWithFixedWindowsAndDialogs) {
    const QRect desktop = window.screen()->availableGeometry();
    // The frame's size is the desktop's to decide, and known only once the window is up.
    const QRect frame = window.frameGeometry();
    const QPoint offCentre = frame.center() - desktop.center();
    EXPECT_LE(std::abs(offCentre.x()), (frame.width() - window.width()) / 2 + 1);
    EXPECT_LE(std::abs(offCentre.y()), (frame.height() - window.height()) / 2 + 1);
    const std::pair<const char*, bool> windows[] = {
        {"frmMain", true}, {"frmSelection", false}, {"frmAbout", false}, {"frmTag", false}};
    for (const auto& [name, minimisable] : windows) {
        SCOPED_TRACE(name);
        QWidget* shown = name == window.objectName() ? &window : child<QWidget>(name);
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(shown->isWindow());
        EXPECT_EQ(shown->minimumSize(), shown->maximumSize());
        const Qt::WindowFlags flags = shown->windowFlags();
        EXPECT_EQ(flags.testFlag(Qt::WindowMinimizeButtonHint), minimisable);
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        if (!minimisable) {
            EXPECT_TRUE(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
        }
    }
}

// A file named on the command line is opened once the window is up, so that the message for a
// refused one shows over the window.
TEST(MainWindowStart, OpensTheCommandLineFileOverTheShownWindow) {
    class ShownPrompts : public FakePrompts {
    public:
        const QWidget* window = nullptr;
        std::vector<bool> windowShown;
        void warn(const std::string& text) override {
            windowShown.push_back(window->isVisible());
            FakePrompts::warn(text);
        }
    };
    TempFolder temp;
    const std::string picture = temp.path("pic.bmp");
    const std::string animation = temp.path("anim.lcd");
    test::writeBytes(picture, {'B', 'M'});
    test::writeBytes(animation, encodeLcd(AnimationDocument{}, "x"));
    const std::pair<std::string, const char*> cases[] = {
        {picture, "Vemurion - [無題]"},
        {animation, "Vemurion - [anim.lcd]"},
        {temp.path("missing.lcd"), "Vemurion - [無題]"},
    };
    for (const auto& [path, title] : cases) {
        SCOPED_TRACE(path);
        ShownPrompts prompts;
        FakeClipboard clipboard;
        TfrmMain window{&prompts, &clipboard};
        prompts.window = &window;
        window.FormCreate({QString::fromStdString(path), "ignored.lcd"});
        EXPECT_TRUE(prompts.warnings.empty());
        window.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(window.windowTitle(), QString::fromUtf8(title));
        if (path == picture) {
            EXPECT_EQ(prompts.warnings,
                      std::vector<std::string>{
                          "pic.bmp は直接開くことができません.\n"
                          "イメージリストメニューの[リストへ追加]で読み込んで下さい."});
            EXPECT_EQ(prompts.windowShown, std::vector<bool>{true});
        } else {
            EXPECT_TRUE(prompts.warnings.empty());
        }
    }
}

// Every command with its caption, shortcut and enabled state once the window is up with an
// empty clipboard: undo, picture cut and copy, frame cut and delete are disabled then, and so is
// everything that pastes.
struct ExpectedCommand {
    const char* name;
    const char* caption;
    const char* shortcut;
    bool enabled;
};

constexpr ExpectedCommand kExpectedCommands[] = {
    {"File1", "ファイル(&F)", "", true},
    {"New1", "新規作成(&N)...", "Ctrl+N", true},
    {"Open1", "開く(&O)...", "Ctrl+O", true},
    {"Save1", "上書き保存(&S)", "Ctrl+S", true},
    {"SaveAs1", "名前を付けて保存(&A)...", "", true},
    {"R2", "書き出し(&R)...", "", true},
    {"Exit1", "終了(&X)", "", true},
    {"Edit1", "編集(&E)", "", true},
    {"Undo1", "元に戻す(&U)", "Ctrl+Z", false},
    {"Cut1", "切り取り(&T)", "Ctrl+X", false},
    {"Copy1", "コピー(&C)", "Ctrl+C", false},
    {"Paste1", "貼り付け(&P)", "Ctrl+V", false},
    {"SelectAll1", "すべて選択(&A)", "Ctrl+A", true},
    {"G1", "タグをコピー(&G)", "", true},
    {"L1", "イメージリスト(&L)", "", true},
    {"I2", "新規イメージ(&I)", "Ins", true},
    {"T1", "イメージの切り取り(&T)", "Ctrl+Alt+X", false},
    {"P2", "イメージのコピー(&C)", "Ctrl+Alt+C", true},
    {"P3", "イメージの貼り付け(&P)", "Ctrl+Alt+V", false},
    {"D1", "イメージの削除(&D)", "Del", false},
    {"A1", "リストへ追加(&A)...", "", true},
    {"R1", "実行(&R)", "", true},
    {"P1", "再生(&P)", "F9", true},
    {"N3", "停止(&S)", "Ctrl+F2", false},
    {"Help1", "ヘルプ(&H)", "", true},
    {"Contents1", "目次(&C)", "", true},
    {"P4", "サポートホームページ(&P)", "", true},
    {"About1", "バージョン情報(&A)...", "", true},
    {"N8", "新規イメージ(&N)", "", true},
    {"Cut2", "イメージの切り取り(&T)", "", false},
    {"Copy2", "イメージのコピー(&C)", "", true},
    {"Paste2", "イメージの貼り付け(&P)", "", false},
    {"Delete2", "イメージの削除(&D)", "", false},
    {"A2", "リストへ追加(&A)...", "", true},
    {"ToolButton1", "新規作成", "", true},
    {"ToolButton2", "開く", "", true},
    {"ToolButton3", "上書き保存", "", true},
    {"ToolButton5", "切り取り", "", false},
    {"ToolButton6", "コピー", "", false},
    {"ToolButton7", "貼り付け", "", false},
    {"ToolButton12", "イメージの切り取り", "", false},
    {"ToolButton13", "イメージのコピー", "", true},
    {"ToolButton14", "イメージの貼り付け", "", false},
    {"ToolButton9", "再生", "", true},
    {"ToolButton10", "停止", "", false},
};

TEST_F(MainWindowUi, CommandsHaveTheirCaptionsShortcutsAndStates) {
    for (const ExpectedCommand& expected : kExpectedCommands) {
        SCOPED_TRACE(expected.name);
        QAction* action = window.command(expected.name);
        ASSERT_NE(action, nullptr);
        if (QString(expected.name).startsWith("ToolButton")) {
            EXPECT_EQ(action->toolTip(), QString::fromUtf8(expected.caption));
        } else {
            EXPECT_EQ(action->text(), QString::fromUtf8(expected.caption));
        }
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromUtf8(expected.shortcut)));
        EXPECT_EQ(action->isEnabled(), expected.enabled);
    }
}

// The items of a menu or tool bar by name, "-" for a separator.
QStringList itemNames(const QList<QAction*>& actions) {
    QStringList names;
    for (QAction* action : actions)
        names << (action->isSeparator() ? "-" : action->objectName());
    return names;
}

TEST_F(MainWindowUi, MenusAndToolBarsAreGroupedInOrder) {
    EXPECT_EQ(itemNames(window.menuBar()->actions()),
              QStringList({"File1", "Edit1", "View1", "L1", "R1", "Help1"}));
    const std::pair<const char*, QStringList> menus[] = {
        {"File1",
         {"New1", "Open1", "-", "Save1", "SaveAs1", "-", "R2", "GifExport1", "-", "Exit1"}},
        {"Edit1", {"Undo1", "-", "Cut1", "Copy1", "Paste1", "SelectAll1", "-", "G1"}},
        {"View1", {"Onion1", "OnionNext1"}},
        {"L1",
         {"I2", "-", "T1", "P2", "P3", "D1", "-", "MoveUp1", "MoveDown1", "TimeSet1", "TimeRange1",
          "-", "A1"}},
        {"R1", {"P1", "N3"}},
        {"Help1", {"Contents1", "-", "P4", "-", "About1"}},
        {"PopupMenu1",
         {"N8", "-", "Cut2", "Copy2", "Paste2", "Delete2", "-", "MoveUp2", "MoveDown2", "TimeSet2",
          "TimeRange2", "-", "A2"}},
    };
    for (const auto& [menu, items] : menus) {
        EXPECT_EQ(itemNames(child<QMenu>(menu)->actions()), items) << menu;
    }
    EXPECT_EQ(itemNames(child<QToolBar>("ToolBar1")->actions()),
              QStringList({"ToolButton1", "ToolButton2", "ToolButton3", "-", "ToolButton5",
                           "ToolButton6", "ToolButton7", "-", "ToolButton12", "ToolButton13",
                           "ToolButton14", "-", "ToolButton9", "ToolButton10"}));
    EXPECT_EQ(itemNames(child<QToolBar>("ToolBar2")->actions()),
              QStringList({"tbtnBlackWhite", "tbtnWhiteBlack", "-", "tbtnTrans", "-", "tbtnClear",
                           "tbtnCenter", "tbtnReverse", "tbtnUD", "tbtnLR", "-", "tbtnPen",
                           "tbtnSelect", "tbtnPaint", "tbtnLine", "tbtnBox", "tbtnBoxFill",
                           "tbtnCircle", "tbtnCircleFill"}));
}

TEST_F(MainWindowUi, ToolButtonsAreExclusiveWithinTheirGroups) {
    child<QToolButton>("tbtnCircle")->click();
    EXPECT_TRUE(window.command("tbtnCircle")->isChecked());
    EXPECT_FALSE(window.command("tbtnPen")->isChecked());
    EXPECT_EQ(window.editor().tool, EditTool::Circle);
    EXPECT_EQ(text("stModeTitleBar"), QString::fromUtf8("エディット - 円ツール"));
    child<QToolButton>("tbtnWhiteBlack")->click();
    EXPECT_FALSE(window.command("tbtnBlackWhite")->isChecked());
    EXPECT_EQ(window.editor().leftColor, kWhite);
    EXPECT_TRUE(window.command("tbtnCircle")->isChecked());
}

TEST_F(MainWindowUi, AStrokeReachesSheetPreviewSlotAndUndo) {
    stroke({0, 0}, {20, 5});
    const Editor& e = window.editor();
    EXPECT_EQ(e.doc.sheet.cell(0).at(20, 5), kBlack);
    EXPECT_EQ(e.doc.sheet.cell(0).at(10, 2), kBlack); // the pen joined the two positions
    EXPECT_EQ(child<PictureBox>("imgSub")->picture().pixel(20, 5), qRgb(0, 0, 0));
    EXPECT_EQ(child<PictureBox>("imgList0")->picture().pixel(20, 5), qRgb(0, 0, 0));
    EXPECT_EQ(child<QLabel>("StatusPanel0")->text(), "X=20 Y= 5");
    EXPECT_TRUE(window.command("Undo1")->isEnabled());

    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e.doc.sheet.cell(0).at(20, 5), kWhite);
    window.command("Undo1")->trigger();
    EXPECT_EQ(e.doc.sheet.cell(0).at(20, 5), kBlack);
}

TEST_F(MainWindowUi, DrawingOnTheAppendSlotAddsAFrame) {
    QTest::mouseClick(child<PictureBox>("imgList1"), Qt::LeftButton);
    stroke({3, 3}, {3, 3});
    EXPECT_EQ(window.editor().doc.FrameCount, 2);
    EXPECT_EQ(text("lbList1"), "002/002");
    EXPECT_EQ(text("stTimes1"), "1");
    EXPECT_TRUE(window.command("T1")->isEnabled());
}

// The conversion dialog of Add to list closes when the main window takes the focus. The press
// that took it draws nothing, whether it arrives before the dialog has closed or after.
TEST_F(MainWindowUi, ThePressThatClosesTheConversionDialogDrawsNothing) {
    QImage photo(64, 64, QImage::Format_RGB32);
    photo.fill(qRgb(200, 120, 40));
    const std::string where = temp.path("photo.bmp");
    ASSERT_TRUE(photo.save(QString::fromStdString(where), "BMP"));
    auto* dialog = child<QWidget>("frmSelection");
    auto* canvas = child<EditCanvas>("imgMain");
    const Editor& e = window.editor();
    for (const bool pressFirst : {false, true}) {
        SCOPED_TRACE(pressFirst ? "press, then the focus" : "the focus, then the press");
        prompts.answerOpenFile(where);
        trigger("A1");
        ASSERT_TRUE(dialog->isVisible());
        QApplication::setActiveWindow(dialog);
        const QPoint dot(9 * 5 + 4, 9 * 5 + 4);
        if (pressFirst) QTest::mousePress(canvas, Qt::LeftButton, {}, dot);
        QApplication::setActiveWindow(&window);
        EXPECT_FALSE(dialog->isVisible());
        if (!pressFirst) QTest::mousePress(canvas, Qt::LeftButton, {}, dot);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, dot);
        EXPECT_EQ(e.doc.sheet.cell(0).at(5, 5), kWhite);
        EXPECT_EQ(e.undo.undoState, -1);
        EXPECT_EQ(e.doc.FrameCount, 1);

        stroke({5, 5}, {5, 5}); // the next press draws
        EXPECT_EQ(e.doc.sheet.cell(0).at(5, 5), kBlack);
        window.editor().doc.Modified = false;
        trigger("New1");
    }
}

TEST_F(MainWindowUi, ShiftPressedDuringAStrokeSquaresTheBox) {
    child<QToolButton>("tbtnBox")->click();
    auto* canvas = child<EditCanvas>("imgMain");
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(13, 13));
    QMouseEvent move(QEvent::MouseMove, QPointF(9 * 6 + 4, 9 * 3 + 4), QPointF(), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    const Editor& e = window.editor();
    EXPECT_EQ(e.doc.sheet.cell(0).at(1, 6), kWhite);
    QTest::keyPress(&window, Qt::Key_Shift);
    EXPECT_EQ(e.doc.sheet.cell(0).at(1, 6), kBlack); // squared to 6 x 6 at once
    QTest::keyRelease(&window, Qt::Key_Shift);
    EXPECT_EQ(e.doc.sheet.cell(0).at(1, 6), kWhite);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(9 * 6 + 4, 9 * 3 + 4));
}

// Every control of the hint table, through the pointer moving over it: without a selection, and
// with one, where the three picture operations name the selection instead.
struct ExpectedHint {
    const char* control;
    const char* hint;
    const char* withSelection; // nullptr: the same hint
};

constexpr ExpectedHint kExpectedHints[] = {
    {"tbtnBlackWhite", " 左クリックの描画色を黒,右クリックの描画色を白に設定. [X]", nullptr},
    {"tbtnWhiteBlack", " 左クリックの描画色を白,右クリックの描画色を黒に設定. [X]", nullptr},
    {"tbtnTrans", " 画像の背景色を透過して貼り付けるかどうかのON/OFF.", nullptr},
    {"tbtnClear", " 画像を背景色(白)で消去.", nullptr},
    {"tbtnCenter", " 画像を自動的に中央へ配置.", nullptr},
    {"tbtnReverse", " 画像の白黒を反転.", " 選択範囲の画像の白黒を反転."},
    {"tbtnUD", " 画像の上下を反転.", " 選択範囲の画像の上下を反転."},
    {"tbtnLR", " 画像の左右を反転.", " 選択範囲の画像の左右を反転."},
    {"tbtnPen", " ペンツール.ドットを自由に描画可能. [P]", nullptr},
    {"tbtnSelect", " 選択ツール.画像の移動やコピーに使用. [S]", nullptr},
    {"tbtnPaint", " ペイントツール.色の塗り潰しに使用. [F]", nullptr},
    {"tbtnLine", " ラインツール.直線の描画が可能. [L]", nullptr},
    {"tbtnBox", " ボックスツール.長方形の枠の描画が可能. [R]", nullptr},
    {"tbtnBoxFill", " 塗り潰しボックスツール.塗り潰した長方形の描画が可能. [B]", nullptr},
    {"tbtnCircle", " 円ツール.円形の枠の描画が可能. [E]", nullptr},
    {"tbtnCircleFill", " 塗り潰し円ツール.塗り潰した円形の描画が可能. [D]", nullptr},
    {"SpeedButton1", " 画像を上方向にスクロール.", nullptr},
    {"SpeedButton2", " 画像を下方向にスクロール.", nullptr},
    {"SpeedButton3", " 画像を左方向にスクロール.", nullptr},
    {"SpeedButton4", " 画像を右方向にスクロール.", nullptr},
    {"imgList", " 左クリックで画像選択.右クリックでポップアップメニュー表示.", nullptr},
    {"lbList", " 画像番号と総画像枚数.", nullptr},
    {"stTimes", " 画像の表示時間.1ポイントは約0.25秒,4ポイントで約1秒.", nullptr},
    {"udTimes", " 画像の表示時間の設定.1ポイントは約0.25秒,4ポイントで約1秒.", nullptr},
    {"udLoops", " アニメーションの繰り返し回数の設定.最大は無限大.", nullptr},
    {"stLoops", " アニメーションの繰り返し回数.", nullptr},
    {"Label1", " アニメーションの繰り返し回数.", nullptr},
};

TEST_F(MainWindowUi, PointerOverControlsShowsTheirHintsAndHidesTheDotCursor) {
    for (int i = 0; i < 5; ++i) // every slot holds a frame, so that all of them are shown
        QTest::keyClick(&window, Qt::Key_Insert);
    const auto hover = [&](const QString& name, QPointF at = QPointF(2, 2)) {
        QWidget* control = window.centralWidget();
        if (name != control->objectName()) control = control->findChild<QWidget*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        if (control == nullptr) return QString();
        QMouseEvent move(QEvent::MouseMove, at, control->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(control, &move);
        return child<QLabel>("StatusPanel1")->text();
    };
    // The five slots share the hint of their kind.
    const auto names = [](const char* control) {
        const QString name = QString::fromUtf8(control);
        if (!QStringList({"imgList", "lbList", "stTimes", "udTimes"}).contains(name))
            return QStringList{name};
        QStringList numbered;
        for (int k = 0; k < 5; ++k)
            numbered << name + QString::number(k);
        return numbered;
    };
    auto* canvas = child<EditCanvas>("imgMain");
    QTest::mouseMove(canvas, QPoint(40, 40));
    EXPECT_EQ(window.editor().mark.kind, CanvasMark::Kind::DotCursor);
    for (const ExpectedHint& expected : kExpectedHints) {
        for (const QString& name : names(expected.control)) {
            EXPECT_EQ(hover(name), QString::fromUtf8(expected.hint)) << name.toStdString();
        }
    }
    EXPECT_EQ(window.editor().mark.kind, CanvasMark::Kind::None);
    EXPECT_EQ(hover("imgSub"), hover("Label1")); // the preview leaves the hint alone
    EXPECT_EQ(hover("frmMainClient", QPointF(495, 200)), "");
    child<QToolButton>("tbtnWhiteBlack")->click();
    EXPECT_EQ(hover("tbtnClear"), QString::fromUtf8(" 画像を背景色(黒)で消去."));

    trigger("SelectAll1");
    ASSERT_TRUE(window.editor().sel.isSelected);
    for (const ExpectedHint& expected : kExpectedHints) {
        if (QString(expected.control) == "tbtnClear") continue; // the colour mode changed
        const char* hint = expected.withSelection ? expected.withSelection : expected.hint;
        for (const QString& name : names(expected.control)) {
            EXPECT_EQ(hover(name), QString::fromUtf8(hint)) << name.toStdString();
        }
    }
    EXPECT_EQ(window.editor().mark.kind, CanvasMark::Kind::SelectionFrame);
}

TEST_F(MainWindowUi, PlaybackLocksEditingUntilItStops) {
    QTest::keyClick(&window, Qt::Key_Insert); // a second frame
    ASSERT_EQ(window.editor().doc.FrameCount, 2);
    QTest::keyClick(&window, Qt::Key_F9);
    EXPECT_TRUE(window.editor().playing);
    EXPECT_EQ(text("stModeTitleBar"), QString::fromUtf8("アニメーション再生中 - 01/02"));
    for (const char* name : {"New1", "Undo1", "I2", "P1", "ToolButton9", "tbtnPen"}) {
        EXPECT_FALSE(window.command(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(window.command("N3")->isEnabled());
    EXPECT_FALSE(child<QScrollBar>("scList")->isEnabled());
    EXPECT_FALSE(child<PictureBox>("imgList0")->isEnabled());
    EXPECT_FALSE(child<QToolButton>("SpeedButton1")->isEnabled());
    stroke({5, 5}, {9, 5});
    EXPECT_EQ(window.editor().doc.sheet.cell(0).at(5, 5), kWhite); // the canvas ignores the pen
    QTest::keyClick(&window, Qt::Key_Insert);
    EXPECT_EQ(window.editor().doc.FrameCount, 2);

    QTest::keyClick(&window, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_FALSE(window.editor().playing);
    EXPECT_EQ(text("stModeTitleBar"), QString::fromUtf8("エディット - ペンツール"));
    EXPECT_EQ(window.editor().doc.CurrentFrame, 0);
    EXPECT_TRUE(window.command("tbtnPen")->isEnabled());
    EXPECT_TRUE(child<PictureBox>("imgList1")->isEnabled());
    EXPECT_FALSE(child<PictureBox>("imgList3")->isEnabled());
}

TEST_F(MainWindowUi, UpDownsStepTheLoopCountAndTheTimesOfAScrolledList) {
    auto* loops = child<UpDown>("udLoops");
    loops->downButton()->click();
    EXPECT_EQ(text("stLoops"), "254");
    EXPECT_TRUE(window.editor().doc.Modified);
    loops->upButton()->click();
    EXPECT_EQ(text("stLoops"), QString::fromUtf8("無限"));
    loops->upButton()->click(); // no wrap
    EXPECT_EQ(window.editor().doc.LoopCount, 255);

    while (window.editor().doc.FrameCount < 10)
        trigger("I2");
    child<QScrollBar>("scList")->setValue(4);
    struct Click {
        const char* upDown;
        bool up;
        int index; // the frame whose time changes
        int time;
        const char* shown; // by the slot
    };
    const Click clicks[] = {
        {"udTimes0", true, 4, 2, "stTimes0"},  {"udTimes3", true, 7, 2, "stTimes3"},
        {"udTimes3", true, 7, 3, "stTimes3"},  {"udTimes3", false, 7, 2, "stTimes3"},
        {"udTimes4", false, 8, 1, "stTimes4"}, // no wrap
    };
    for (const Click& c : clicks) {
        SCOPED_TRACE(c.upDown);
        window.editor().doc.Modified = false;
        auto* upDown = child<UpDown>(c.upDown);
        (c.up ? upDown->upButton() : upDown->downButton())->click();
        EXPECT_EQ(window.editor().doc.DisplayTimes[static_cast<std::size_t>(c.index)], c.time);
        EXPECT_EQ(text(c.shown), QString::number(c.time));
        EXPECT_TRUE(window.editor().doc.Modified);
    }
    EXPECT_EQ(window.editor().doc.DisplayTimes[3], 1);
    EXPECT_EQ(window.editor().doc.DisplayTimes[5], 1);
}

TEST_F(MainWindowUi, TheWheelOverTheSlotsScrollsTheList) {
    while (window.editor().doc.FrameCount < 20)
        trigger("I2");
    auto* bar = child<QScrollBar>("scList");
    const auto wheel = [&](const char* name, QPoint at, int delta, bool fromTheMiddle = true) {
        if (fromTheMiddle) bar->setValue(8);
        QWidget* control = child<QWidget>(name);
        QWheelEvent event(at, control->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        // As from the mouse, climbing from a control that does not take it to its parents;
        // sendEvent would make it synthesized, which stays where it is sent.
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(control, &event);
        return bar->value();
    };
    const int down = wheel("scList", QPoint(6, 100), -120);
    const int up = wheel("scList", QPoint(6, 100), 120);
    ASSERT_GT(down, 8);
    ASSERT_LT(up, 8);
    struct Place {
        const char* name;
        QPoint at;
    };
    const Place places[] = {{"imgList0", {10, 10}},        {"imgList4", {47, 31}},
                            {"lbList2", {5, 5}},           {"stTimes3", {20, 8}},
                            {"udTimes1", {8, 3}},          {"udTimes4", {8, 18}},
                            {"frmMainClient", {550, 188}}, // between two slots
                            {"frmMainClient", {628, 350}}};
    for (const Place& p : places) {
        SCOPED_TRACE(testing::Message() << p.name << " " << p.at.x() << "," << p.at.y());
        EXPECT_EQ(wheel(p.name, p.at, -120), down);
        EXPECT_EQ(wheel(p.name, p.at, 120), up);
    }
    EXPECT_EQ(wheel("imgMain", QPoint(100, 100), -120), 8);
    EXPECT_EQ(wheel("imgSub", QPoint(10, 10), -120), 8);
    EXPECT_EQ(wheel("frmMainClient", QPoint(560, 400), -120), 8); // the loop count

    window.editor().doc.Modified = false;
    trigger("New1"); // one frame: the bar and so the wheel stay still
    EXPECT_EQ(wheel("imgList0", QPoint(10, 10), -120, false), 0);
    EXPECT_EQ(text("lbList0"), "001/001");
}

TEST_F(MainWindowUi, ThreeDigitTimesKeepClearOfThePictureAndTheArrows) {
    for (int k = 0; k < kSlotCount; ++k) {
        SCOPED_TRACE(k);
        auto* time = child<QLabel>(("stTimes" + std::to_string(k)).c_str());
        const QRect shown = time->geometry();
        const int width = time->fontMetrics().horizontalAdvance("255");
        EXPECT_LE(width, shown.width());
        // Right-aligned: the text begins `width` before the label's right edge.
        EXPECT_GE(shown.right() - width,
                  child<PictureBox>(("imgList" + std::to_string(k)).c_str())->geometry().right() +
                      4);
        EXPECT_LT(shown.right(), child<UpDown>(("udTimes" + std::to_string(k)).c_str())->x());
    }
}

TEST_F(MainWindowUi, NewWithUnsavedChangesAsksAndHonoursTheAnswer) {
    stroke({1, 1}, {1, 1});
    prompts.answer(Answer::Cancel);
    trigger("New1");
    EXPECT_EQ(prompts.questions.back(), "無題 への変更を保存しますか?");
    EXPECT_EQ(window.editor().doc.sheet.cell(0).at(1, 1), kBlack);
    EXPECT_TRUE(window.command("Undo1")->isEnabled()); // Cancel keeps even the undo record

    // Yes leads to Save As; cancelling it cancels New: nothing is lost.
    prompts.answer(Answer::Yes);
    prompts.cancelSaveFile();
    trigger("New1");
    EXPECT_EQ(window.editor().doc.sheet.cell(0).at(1, 1), kBlack);
    EXPECT_TRUE(window.editor().doc.Modified);

    prompts.answer(Answer::No);
    trigger("New1");
    EXPECT_EQ(window.editor().doc.sheet.cell(0).at(1, 1), kWhite);
    EXPECT_FALSE(window.editor().doc.Modified);
    EXPECT_FALSE(window.command("Undo1")->isEnabled());
}

TEST_F(MainWindowUi, SaveAsWritesTheFileAndNamesTheWindow) {
    stroke({0, 0}, {0, 0});
    const std::string path = temp.path("anim.lcd");
    prompts.answerSaveFile(path);
    trigger("SaveAs1");
    // The dialog starts in the user's home, not in the program's folder.
    EXPECT_EQ(prompts.saveRequests.at(0).initialFolder, QDir::homePath().toStdString());
    EXPECT_EQ(window.windowTitle(), "Vemurion - [anim.lcd]");
    EXPECT_FALSE(window.editor().doc.Modified);
    const test::Bytes bytes = test::readBytes(path);
    ASSERT_GT(bytes.size(), 16u + 4u);
    EXPECT_EQ(bytes[20], kLcdBlackDot);

    // A cancelled Save As leaves Modified as it was.
    stroke({1, 0}, {1, 0});
    prompts.cancelSaveFile();
    trigger("SaveAs1");
    EXPECT_TRUE(window.editor().doc.Modified);
    // Ctrl+S writes to the document's own file without asking.
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window.editor().doc.Modified);
    EXPECT_EQ(test::readBytes(path)[21], kLcdBlackDot);
}

TEST_F(MainWindowUi, CloseWithUnsavedChangesCanBeCancelled) {
    stroke({2, 2}, {2, 2});
    prompts.answer(Answer::Cancel);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());

    prompts.answer(Answer::Yes); // untitled: Save As, which the user cancels
    prompts.cancelSaveFile();
    EXPECT_FALSE(window.close());

    prompts.answer(Answer::No);
    EXPECT_TRUE(window.close());
}

TEST_F(MainWindowUi, DroppingFilesCopiesAndOpensOnlyTheFirst) {
    AnimationDocument doc;
    doc.LoopCount = 3;
    doc.FrameCount = 2;
    doc.DisplayTimes[0] = 4;
    doc.DisplayTimes[1] = 9;
    const std::string first = temp.path("first.lcd");
    const std::string second = temp.path("second.lcd");
    test::writeBytes(first, encodeLcd(doc, "x"));
    doc.FrameCount = 1;
    test::writeBytes(second, encodeLcd(doc, "x"));

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(first)),
                  QUrl::fromLocalFile(QString::fromStdString(second)),
                  QUrl::fromLocalFile(QString::fromStdString(temp.path("third.bmp")))});
    // SHIFT held over a source that offers everything proposes a move; the window takes a copy,
    // so the files stay where they are.
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(QPoint(100, 100), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(&window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(100, 100), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(drop.proposedAction(), Qt::MoveAction);
    QApplication::sendEvent(&window, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);

    EXPECT_EQ(window.windowTitle(), "Vemurion - [first.lcd]");
    EXPECT_EQ(window.editor().doc.FrameCount, 2);
    EXPECT_EQ(text("stLoops"), "3");
    EXPECT_EQ(text("stTimes1"), "9");
    EXPECT_TRUE(prompts.warnings.empty());
}

// Add to list reads PNG, JPEG under its other names, GIF (every frame of an animated one, with
// its delays) and a picture of no named kind by its content; plain pictures go in at once, the
// others through the conversion dialog, whose choice for the first frame serves them all.
TEST_F(MainWindowUi, AddToListTakesPngJpegAndAnimatedGif) {
    QImage plain(48, 32, QImage::Format_RGB32);
    plain.fill(Qt::white);
    plain.setPixel(3, 3, qRgb(0, 0, 0));
    QImage photo(64, 64, QImage::Format_RGB32);
    photo.fill(qRgb(200, 120, 40));
    ASSERT_TRUE(plain.save(QString::fromStdString(temp.path("bw.PNG")), "PNG"));
    ASSERT_TRUE(plain.save(QString::fromStdString(temp.path("noname")), "PNG"));
    ASSERT_TRUE(photo.save(QString::fromStdString(temp.path("photo.jpeg")), "JPEG"));
    // Frames that cover the whole screen in colour 1.
    const auto covering = [](int width, int height, int delay) {
        test::GifImageSpec image;
        image.width = width;
        image.height = height;
        image.indices.assign(std::size_t(width * height), 1);
        image.delay = delay;
        return image;
    };
    test::writeBytes(
        temp.path("walk.gif"),
        test::makeGif(60, 40, {0x000000, 0x808080},
                      {covering(60, 40, 50), covering(60, 40, 100), covering(60, 40, 25)}));
    // 300 black-and-white frames of half a second: more than a fresh list has room for.
    test::writeBytes(temp.path("long.gif"),
                     test::makeGif(48, 32, {0x000000, 0xFFFFFF},
                                   std::vector<test::GifImageSpec>(300, covering(48, 32, 50))));
    const struct {
        const char* name;
        bool converted;
        std::vector<int> times; // of the frames added
        std::optional<Answer> thin;
        const char* warning = nullptr;
    } cases[] = {
        {"bw.PNG", false, {1}, {}},
        {"noname", false, {1}, {}},
        {"photo.jpeg", true, {1}, {}},
        {"walk.gif", true, {2, 4, 1}, {}},
        {"long.gif", false, std::vector<int>(150, 4), Answer::Yes},
        {"long.gif", false, std::vector<int>(254, 2), Answer::No,
         "リストに入りきらないため, 46 枚のイメージは追加されませんでした."},
    };
    auto* dialog = child<QWidget>("frmSelection");
    const Editor& e = window.editor();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        window.editor().doc.Modified = false;
        trigger("New1");
        prompts.clearRecord();
        prompts.answerOpenFile(temp.path(c.name));
        if (c.thin) prompts.answer(*c.thin);
        trigger("A1");
        EXPECT_EQ(dialog->isVisible(), c.converted);
        if (c.converted) QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
        const auto added = static_cast<int>(c.times.size());
        ASSERT_EQ(e.doc.FrameCount, std::min(1 + added, kMaxFrames));
        for (int k = 0; k < added; ++k)
            EXPECT_EQ(e.doc.DisplayTimes[static_cast<std::size_t>(k)], c.times[std::size_t(k)]);
        EXPECT_EQ(prompts.warnings,
                  c.warning ? std::vector<std::string>{c.warning} : std::vector<std::string>{});
    }
}

// Help pages that no program of the desktop opens get a message naming them: xdg-open is
// missing, or it finds no browser.
TEST_F(MainWindowUi, HelpThatCannotOpenSaysSo) {
    const QByteArray path = qgetenv("PATH");
    const QString noBrowser = QString::fromStdString(temp.path("xdg-open"));
    test::writeText(noBrowser.toStdString(), "#!/bin/sh\nexit 3\n");
    QFile::setPermissions(noBrowser, QFile::ReadOwner | QFile::ExeOwner);
    for (const bool opener : {false, true}) {
        SCOPED_TRACE(opener ? "no browser" : "no xdg-open");
        qputenv("PATH", opener ? QByteArray::fromStdString(temp.folder()) : QByteArray("/nowhere"));
        prompts.clearRecord();
        trigger("Contents1");
        trigger("P4");
        EXPECT_TRUE(QTest::qWaitFor([&] { return prompts.warnings.size() == 2; }));
        ASSERT_EQ(prompts.warnings.size(), 2u);
        EXPECT_EQ(prompts.warnings[0],
                  helpIndexPath(window.editor().ProgramFolder) +
                      " を開けませんでした.表示できるプログラムが見つかりません.");
        EXPECT_EQ(prompts.warnings[1].substr(0, std::string(kSupportAddress).size() + 1),
                  std::string(kSupportAddress) + " ");
    }
    qputenv("PATH", path);
}

// On the system clipboard, only a block of exactly 4609 bytes is a frame to paste.
TEST(MainWindowClipboardUi, FramePasteFollowsTheSizeOfTheBlock) {
    FakePrompts prompts;
    TfrmMain window{&prompts};
    window.FormCreate({});
    for (const int size : {4608, 4609, 4610}) {
        auto* data = new QMimeData;
        data->setData("VEMURION_TYPE", QByteArray(size, '\x01'));
        QGuiApplication::clipboard()->setMimeData(data);
        UpdateCommandStates(window.editor());
        EXPECT_EQ(window.command("P3")->isEnabled(), size == 4609) << size;
    }
    QGuiApplication::clipboard()->clear();
}

} // namespace
} // namespace vemurion
