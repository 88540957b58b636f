#include "MonkeyDriver.h"

#include "FuzzSupport.h"

#include "app/ui/CommandTable.h"
#include "app/ui/MainWindow.h"
#include "editor/CanvasView.h"
#include "editor/ui/EditCanvas.h"
#include "files/DocumentFile.h"
#include "files/LcdFile.h"
#include "framelist/FrameClipboard.h"
#include "framelist/ui/FrameSlot.h"
#include "framelist/ui/UpDown.h"
#include "import/ui/PictureLoader.h"
#include "publish/GifAnimation.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

namespace vemurion::monkey {

namespace {

namespace fs = std::filesystem;
using Random = std::mt19937;

int below(Random& random, int n) {
    return static_cast<int>(random() % static_cast<unsigned>(n));
}

// Timer events reach the program only when the driver fires a timer itself, so that a run goes
// the same way on every machine and at every speed.
bool g_firing = false;

class Gate : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::Timer && !g_firing;
    }
};

void operateDialog(QDialog* dialog, Random& random, bool mustClose);

// The answers of the action running; a modal dialog is operated at random from inside its own
// event loop, where this call, posted before each action, comes to run. It posts itself again
// for a further dialog of the same action.
Random* g_answers = nullptr;

void answerModalDialogs() {
    if (g_answers == nullptr) return;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (dialog == nullptr || !dialog->isVisible() || !dialog->isModal()) continue;
        operateDialog(dialog, *g_answers, true);
        QMetaObject::invokeMethod(qApp, answerModalDialogs, Qt::QueuedConnection);
        return;
    }
}

// A click, a choice or a tab somewhere in `dialog`, a few times, then (when it must close and
// is still up) OK or Cancel.
void operateDialog(QDialog* dialog, Random& random, bool mustClose) {
    for (int round = below(random, 4); round > 0 && dialog->isVisible(); --round) {
        std::vector<QWidget*> targets;
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            if (!w->isVisible() || !w->isEnabled()) continue;
            if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                qobject_cast<QTabBar*>(w) || w->objectName().startsWith("Image"))
                targets.push_back(w);
        }
        if (targets.empty()) break;
        QWidget* target = targets[static_cast<std::size_t>(below(random, int(targets.size())))];
        if (auto* box = qobject_cast<QComboBox*>(target)) {
            const int index = below(random, std::max(1, box->count()));
            box->setCurrentIndex(index);
            emit box->activated(index);
        } else if (auto* tabs = qobject_cast<QTabBar*>(target)) {
            tabs->setCurrentIndex(below(random, std::max(1, tabs->count())));
        } else {
            QTest::mouseClick(target, Qt::LeftButton);
        }
    }
    if (mustClose && dialog->isVisible()) {
        auto* ok = dialog->findChild<QAbstractButton*>(below(random, 2) ? "Button1" : "OK");
        if (ok != nullptr && ok->isEnabled() && below(random, 2)) {
            QTest::mouseClick(ok, Qt::LeftButton);
        }
        if (dialog->isVisible()) dialog->reject();
    }
}

// Every question answered at random; the files asked for come from the pool.
class RandomPrompts : public Prompts {
public:
    std::vector<std::string> pool;
    std::string outFolder;

    void warn(const std::string&) override {}
    Answer askYesNoCancel(const std::string&) override {
        return static_cast<Answer>(below(random(), 3));
    }
    bool askOkCancel(const std::string&, const std::string&) override {
        return below(random(), 2) == 0;
    }
    std::optional<FileDialogAnswer> askOpenFile(const FileDialogRequest& request) override {
        if (below(random(), 6) == 0) return std::nullopt;
        return FileDialogAnswer{pool[static_cast<std::size_t>(below(random(), int(pool.size())))],
                                filterIndex(request)};
    }
    std::optional<FileDialogAnswer> askSaveFile(const FileDialogRequest& request) override {
        static const char* const kNames[] = {"a", "b", "c.lcd", "d.bmp", "e.gif", "f.txt"};
        const int pick = below(random(), 8);
        if (pick == 7) return std::nullopt;
        std::string path = pick == 6 ? "/nonexistent-folder/x.lcd" : outFolder + "/" + kNames[pick];
        if (pick < 2 && !request.defaultExtension.empty()) path += "." + request.defaultExtension;
        return FileDialogAnswer{path, filterIndex(request)};
    }
    std::optional<std::vector<int>> askNumbers(const NumbersRequest& request) override {
        if (below(random(), 5) == 0) return std::nullopt;
        std::vector<int> numbers;
        for (const NumberField& field : request.fields) {
            numbers.push_back(field.minimum + below(random(), field.maximum - field.minimum + 1));
        }
        return numbers;
    }

private:
    static Random& random() { return *g_answers; }
    static int filterIndex(const FileDialogRequest& request) {
        const auto bars = std::count(request.filter.begin(), request.filter.end(), '|');
        return 1 + below(random(), static_cast<int>(bars / 2 + 1));
    }
};

class MemoryClipboard : public ClipboardPort {
public:
    std::optional<Raster> picture;
    std::optional<std::vector<std::uint8_t>> block;
    std::optional<std::string> text;

    void clear() {
        picture.reset();
        block.reset();
        text.reset();
    }
    bool hasPicture() const override { return picture.has_value(); }
    bool hasFrameBlock() const override { return block && block->size() == kFrameBlockSize; }
    bool readPicture(PictureRows& rows) const override {
        if (!picture) return false;
        if (!rows.begin(picture->width(), picture->height(), DotOrder::Rgb)) return true;
        std::vector<std::uint8_t> row(static_cast<std::size_t>(picture->width()) * 3);
        for (int y = 0; y < picture->height(); ++y) {
            for (int x = 0; x < picture->width(); ++x) {
                const Rgb c = picture->at(x, y);
                row[std::size_t(x) * 3] = redOf(c);
                row[std::size_t(x) * 3 + 1] = greenOf(c);
                row[std::size_t(x) * 3 + 2] = blueOf(c);
            }
            rows.row(row.data());
        }
        return true;
    }
    std::optional<std::vector<std::uint8_t>> frameBlock() const override { return block; }
    void setPicture(const Raster& p) override {
        clear();
        picture = p;
    }
    void setFrameBlock(const std::vector<std::uint8_t>& b) override {
        clear();
        block = b;
    }
    void setText(const std::string& t) override {
        clear();
        text = t;
    }
};

Raster randomPicture(Random& random, int width, int height, bool blackWhite) {
    Raster picture(width, height);
    for (Rgb& dot : picture.dots()) {
        dot = blackWhite ? (below(random, 2) ? kBlack : kWhite)
                         : static_cast<Rgb>(random() & 0xFFFFFF);
    }
    return picture;
}

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

AnimationDocument randomDocument(Random& random, int frames) {
    AnimationDocument doc;
    doc.FrameCount = frames;
    doc.LoopCount = 1 + below(random, 255);
    for (int i = 0; i < frames; ++i) {
        doc.sheet.setCell(i, randomPicture(random, kFrameWidth, kFrameHeight, true));
        doc.DisplayTimes[std::size_t(i)] = 1 + below(random, 255);
    }
    return doc;
}

// Good and damaged files, the same for every run.
std::vector<std::string> makePool(const fs::path& folder) {
    Random random(1);
    fs::create_directories(folder / "folder.lcd");
    const auto good = encodeLcd(randomDocument(random, 3), kVersionText);
    writeFile(folder / "good.lcd", good);
    writeFile(folder / "full.lcd", encodeLcd(randomDocument(random, 255), kVersionText));
    writeFile(folder / "truncated.lcd", {good.begin(), good.begin() + long(good.size() / 2)});
    auto garbled = good;
    for (std::size_t i = 0; i < garbled.size(); i += 97)
        garbled[i] ^= 0x5A;
    writeFile(folder / "garbled.lcd", garbled);
    writeFile(folder / "empty.lcd", {});
    writeFile(folder / "note.txt", {'h', 'i', '\n'});
    if (const auto gif = encodeGifAnimation(randomDocument(random, 4), 1))
        writeFile(folder / "anim.gif", *gif);
    imageFromRaster(randomPicture(random, 48, 32, true))
        .save(QString::fromStdString((folder / "plain.bmp").string()));
    imageFromRaster(randomPicture(random, 30, 20, false))
        .save(QString::fromStdString((folder / "colours.png").string()));
    imageFromRaster(randomPicture(random, 200, 150, false))
        .save(QString::fromStdString((folder / "large.jpg").string()));
    imageFromRaster(randomPicture(random, 7, 300, true))
        .save(QString::fromStdString((folder / "tall.bmp").string()));
    std::ifstream png(folder / "colours.png", std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(png)), {});
    writeFile(folder / "truncated.png", {bytes.begin(), bytes.begin() + long(bytes.size() / 2)});
    std::vector<std::string> pool;
    for (const char* name : {"good.lcd", "full.lcd", "truncated.lcd", "garbled.lcd", "empty.lcd",
                             "note.txt", "anim.gif", "plain.bmp", "colours.png", "large.jpg",
                             "tall.bmp", "truncated.png", "folder.lcd", "missing.lcd"})
        pool.push_back((folder / name).string());
    return pool;
}

struct KeySpec {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

const KeySpec kKeys[] = {
    {Qt::Key_Left, Qt::AltModifier},
    {Qt::Key_Right, Qt::AltModifier},
    {Qt::Key_Home, Qt::AltModifier},
    {Qt::Key_End, Qt::AltModifier},
    {Qt::Key_P, {}},
    {Qt::Key_S, {}},
    {Qt::Key_F, {}},
    {Qt::Key_L, {}},
    {Qt::Key_R, {}},
    {Qt::Key_B, {}},
    {Qt::Key_E, {}},
    {Qt::Key_D, {}},
    {Qt::Key_X, {}},
    {Qt::Key_Escape, {}},
    {Qt::Key_Left, {}},
    {Qt::Key_Right, {}},
    {Qt::Key_Up, {}},
    {Qt::Key_Down, {}},
    {Qt::Key_Left, Qt::ShiftModifier},
    {Qt::Key_Down, Qt::ShiftModifier},
    {Qt::Key_F3, {}},
    {Qt::Key_F3, Qt::ShiftModifier},
    {Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier},
    {Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier},
    {Qt::Key_F9, {}},
    {Qt::Key_F2, Qt::ControlModifier},
    {Qt::Key_Insert, {}},
    {Qt::Key_Delete, {}},
    {Qt::Key_Z, Qt::ControlModifier},
    {Qt::Key_X, Qt::ControlModifier},
    {Qt::Key_C, Qt::ControlModifier},
    {Qt::Key_V, Qt::ControlModifier},
    {Qt::Key_A, Qt::ControlModifier},
    {Qt::Key_N, Qt::ControlModifier},
    {Qt::Key_O, Qt::ControlModifier},
    {Qt::Key_S, Qt::ControlModifier},
    {Qt::Key_X, Qt::ControlModifier | Qt::AltModifier},
    {Qt::Key_C, Qt::ControlModifier | Qt::AltModifier},
    {Qt::Key_V, Qt::ControlModifier | Qt::AltModifier},
    {Qt::Key_Home, {}},
    {Qt::Key_End, {}},
};

Qt::KeyboardModifiers modifiersOf(std::uint32_t bits) {
    Qt::KeyboardModifiers m;
    if (bits & 1) m |= Qt::ShiftModifier;
    if (bits & 2) m |= Qt::ControlModifier;
    return m;
}

// A point on the canvas or up to 40 pixels around it.
QPoint where(std::uint32_t b) {
    return {int(b % 513) - 40, int((b / 513) % 369) - 40};
}

bool sameCell(const Raster& a, const Raster& b, int index) {
    const CellPos at = CellOrigin(index);
    for (int y = 0; y < kFrameHeight; ++y) {
        const auto row = std::size_t(at.y + y) * std::size_t(kSheetWidth) + std::size_t(at.x);
        if (!std::equal(a.dots().begin() + long(row), a.dots().begin() + long(row + kFrameWidth),
                        b.dots().begin() + long(row)))
            return false;
    }
    return true;
}

bool blackAndWhite(const Raster& sheet, int index) {
    const CellPos at = CellOrigin(index);
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x) {
            const Rgb c = sheet.at(at.x + x, at.y + y);
            if (c != kBlack && c != kWhite) return false;
        }
    return true;
}

} // namespace

struct Driver::State {
    fs::path folder;
    Gate gate;
    RandomPrompts prompts;
    MemoryClipboard clipboard;
    // The second window opens the file it is told and saves nothing.
    fuzz::QuietPrompts secondPrompts;
    MemoryClipboard secondClipboard;
    std::chrono::microseconds now{std::chrono::seconds(1000)};
    std::unique_ptr<TfrmMain> window;
    std::unique_ptr<TfrmMain> second;
    std::vector<QString> commands;
    Qt::MouseButtons held;
    bool shiftDown = false;
    bool ctrlDown = false;
    int gestureFrame = 0;
    std::uint64_t actionCount = 0;
    std::vector<std::uint32_t> canvasView; // the canvas as it should show

    // What the checks compare with: the document before the action.
    Raster sheetBefore;
    int countBefore = 1;
    int currentBefore = 0;
    bool gestureBefore = false;
    int undoFrameBefore = 0;
    bool mayReplace = false; // the action may open or make another document
    bool mayUndo = false;    // the action may put back the picture of the last undo record
    std::set<int> mayMove;   // frames a frame command may move, besides the one edited

    void openWindow();
    Editor& e() { return window->editor(); }
    template <class T> T* child(const QString& name) { return window->findChild<T*>(name); }
    void activate() {
        if (QApplication::activeWindow() != window.get())
            QApplication::setActiveWindow(window.get());
    }
    // The active window, which the keys go to; the main window once a dialog has closed.
    QWidget* keyTarget() {
        QWidget* active = QApplication::activeWindow();
        if (active != nullptr && active->isVisible()) return active;
        activate();
        return window.get();
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    void perform(const Action& action, Random& random);
    void fire(QTimer* timer);
    std::string check(bool canvasToo);
    std::string checkFrames();
    std::string checkScreen(bool canvasToo);
    std::string roundTrip();
};

void Driver::State::openWindow() {
    window = std::make_unique<TfrmMain>(&prompts, &clipboard);
    window->setClock([this] { return now; });
    window->FormCreate({});
    Editor& ed = window->editor();
    ed.homeFolder = ed.openFolder = ed.saveFolder = prompts.outFolder;
    window->show();
    QApplication::setActiveWindow(window.get());
    held = {};
    shiftDown = ctrlDown = false;
}

Driver::Driver(const std::string& folder) : m(std::make_unique<State>()) {
    m->folder = folder;
    qApp->installEventFilter(&m->gate);
    m->prompts.pool = makePool(m->folder / "pool");
    m->prompts.outFolder = (m->folder / "out").string();
    fs::create_directories(m->prompts.outFolder);
    for (const CommandSpec& spec : commandTable()) {
        const std::string name = spec.name;
        // Help and the support page open the desktop's browser.
        if (spec.handler != nullptr && name != "Contents1" && name != "P4")
            m->commands.push_back(QString::fromUtf8(spec.name));
    }
    m->openWindow();
    m->second = std::make_unique<TfrmMain>(&m->secondPrompts, &m->secondClipboard);
    m->second->FormCreate({});
    QCoreApplication::processEvents();
}

Driver::~Driver() {
    qApp->removeEventFilter(&m->gate);
    for (TfrmMain* w : {m->window.get(), m->second.get()}) {
        w->editor().doc.Modified = false;
        if (w->editor().playing) w->command("N3")->trigger();
    }
}

void Driver::State::mouse(QEvent::Type type, QPoint at, Qt::MouseButton button,
                          Qt::KeyboardModifiers mods) {
    auto* canvas = child<EditCanvas>("imgMain");
    QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, mods);
    QApplication::sendEvent(canvas, &event);
}

void Driver::State::fire(QTimer* timer) {
    if (!timer->isActive()) return;
    g_firing = true;
    QTimerEvent event(timer->timerId());
    QApplication::sendEvent(timer, &event);
    g_firing = false;
}

void Driver::State::perform(const Action& action, Random& random) {
    static constexpr Qt::MouseButton kButtons[] = {Qt::LeftButton, Qt::RightButton,
                                                   Qt::MiddleButton};
    const Qt::KeyboardModifiers mods = modifiersOf(action.a / 3) |
                                       (shiftDown ? Qt::ShiftModifier : Qt::NoModifier) |
                                       (ctrlDown ? Qt::ControlModifier : Qt::NoModifier);
    // A user watching playback stops it before long, by the menu or by its key.
    if (e().playing && action.salt % 8 == 0) {
        if (action.salt % 16 == 0) {
            QTest::keyClick(keyTarget(), Qt::Key_F2, Qt::ControlModifier);
        } else {
            window->command("N3")->trigger();
        }
        return;
    }
    // No button is held on the canvas, which has the mouse while one is.
    const bool mouseFree = held == Qt::NoButton;
    switch (action.kind) {
    case Kind::Press: {
        const Qt::MouseButton button = kButtons[action.a % 3];
        if (held & button) return;
        QPoint at = where(action.b);
        if (mouseFree) {
            activate();
            at = {std::clamp(at.x(), 0, kCanvasWidth - 1),
                  std::clamp(at.y(), 0, kCanvasHeight - 1)};
        }
        held |= button;
        mouse(QEvent::MouseButtonPress, at, button, mods);
        return;
    }
    case Kind::Move:
        if (mouseFree && !QRect(0, 0, kCanvasWidth, kCanvasHeight).contains(where(action.b)))
            return;
        mouse(QEvent::MouseMove, where(action.b), Qt::NoButton, mods);
        return;
    case Kind::Release: {
        // The button named, or else the first one held.
        Qt::MouseButton button = kButtons[action.a % 3];
        for (int i = 0; i < 3 && !(held & button); ++i)
            button = kButtons[i];
        if (!(held & button)) return;
        held &= ~button;
        mouse(QEvent::MouseButtonRelease, where(action.b), button, mods);
        return;
    }
    case Kind::Command: {
        const QString& name = commands[action.a % commands.size()];
        if (name == "New1" || name == "Open1" || name.startsWith("ToolButton1") ||
            name == "ToolButton2" || name == "Exit1")
            mayReplace = true;
        if (name.startsWith("MoveUp") || name.startsWith("MoveDown"))
            mayMove = {currentBefore - 1, currentBefore + 1};
        mayUndo = name == "Undo1";
        if (mouseFree) activate();
        if (action.b % 2 == 0) {
            if (auto* menu = window->findChild<QMenu*>("L1")) emit menu->aboutToShow();
        }
        window->command(name)->trigger();
        return;
    }
    case Kind::Key: {
        const KeySpec& key = kKeys[action.a % std::size(kKeys)];
        if (key.modifiers == Qt::ControlModifier) {
            mayReplace = key.key == Qt::Key_N || key.key == Qt::Key_O;
            mayUndo = key.key == Qt::Key_Z;
        }
        if (key.modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
            mayMove = {currentBefore - 1, currentBefore + 1};
        QTest::keyClick(keyTarget(), key.key, key.modifiers);
        return;
    }
    case Kind::ModifierKey: {
        const bool shift = action.a % 2 == 0;
        const bool press = (action.a / 2) % 2 == 0;
        bool& down = shift ? shiftDown : ctrlDown;
        if (down == press) return;
        down = press;
        QWidget* target = keyTarget();
        const Qt::Key key = shift ? Qt::Key_Shift : Qt::Key_Control;
        if (press) {
            QTest::keyPress(target, key, mods);
        } else {
            QTest::keyRelease(target, key, mods);
        }
        return;
    }
    case Kind::Slot: {
        if (!mouseFree) return;
        activate();
        auto* slot = child<PictureBox>(QString("imgList%1").arg(action.a % kSlotCount));
        const Qt::MouseButton button = action.b % 2 ? Qt::RightButton : Qt::LeftButton;
        if ((action.b / 2) % 4 == 0) {
            QTest::mouseDClick(slot, button);
        } else {
            QTest::mouseClick(slot, button);
        }
        // A frame command of the menu takes the frame the click chose.
        const int chosen = e().doc.CurrentFrame;
        mayMove.insert(chosen);
        if (QWidget* popup = QApplication::activePopupWidget()) {
            const auto items = popup->actions();
            QAction* item = items[below(random, int(items.size()))];
            if (below(random, 3) != 0 && item->isEnabled() && !item->isSeparator()) {
                popup->close();
                const QString name = item->objectName();
                if (name.startsWith("MoveUp") || name.startsWith("MoveDown"))
                    mayMove.insert({chosen - 1, chosen + 1});
                item->trigger();
            } else {
                popup->close();
            }
        }
        return;
    }
    case Kind::TimeLabel:
        if (!mouseFree) return;
        activate();
        QTest::mouseDClick(child<QLabel>(QString("stTimes%1").arg(action.a % kSlotCount)),
                           Qt::LeftButton);
        return;
    case Kind::UpDown: {
        if (!mouseFree) return;
        const int k = int(action.a % (kSlotCount + 1));
        auto* control =
            child<UpDown>(k == kSlotCount ? QString("udLoops") : QString("udTimes%1").arg(k));
        if (!control->isVisible() || !control->isEnabled()) return;
        activate();
        QToolButton* button = action.b % 2 ? control->upButton() : control->downButton();
        QTest::mousePress(button, Qt::LeftButton);
        // The button's own repeat, as a hold of 0.4 s and then 60 ms a step makes it.
        for (int r = int((action.b / 2) % 40); r > 0 && button->isDown(); --r) {
            now += std::chrono::milliseconds(r == 1 ? 400 : 60);
            emit button->clicked(false);
        }
        QTest::mouseRelease(button, Qt::LeftButton);
        return;
    }
    case Kind::Scroll: {
        if (!mouseFree) return;
        activate();
        const int how = int(action.a % 6);
        if (how < 4) {
            QTest::mouseClick(child<QToolButton>(QString("SpeedButton%1").arg(how + 1)),
                              Qt::LeftButton);
        } else if (how == 4) {
            auto* bar = child<QScrollBar>("scList");
            if (!bar->isEnabled()) return;
            static constexpr QAbstractSlider::SliderAction kSteps[] = {
                QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
                QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
                QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum};
            if (action.b % 7 == 6) {
                bar->setValue(int(action.b / 7) % (bar->maximum() + 1));
            } else {
                bar->triggerAction(kSteps[action.b % 7]);
            }
        } else {
            auto* slot = child<PictureBox>(QString("imgList%1").arg(action.b % kSlotCount));
            const QPoint at = slot->rect().center();
            QWheelEvent wheel(at, slot->mapToGlobal(at), QPoint(),
                              QPoint(0, (action.b / 8) % 2 ? 120 : -120), Qt::NoButton, mods,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(slot, &wheel);
        }
        return;
    }
    case Kind::Timer:
        now += std::chrono::milliseconds(action.b % 3000);
        fire(window->findChild<QTimer*>(action.a % 2 ? "tmAnimation" : "Timer1"));
        return;
    case Kind::Clipboard: {
        Random content(action.salt);
        switch (action.a % 8) {
        case 0:
            clipboard.setPicture(
                randomPicture(content, 1 + below(content, 100), 1 + below(content, 80), false));
            break;
        case 1:
            clipboard.setPicture(randomPicture(content, kFrameWidth, kFrameHeight, true));
            break;
        case 2:
            clipboard.setPicture(
                randomPicture(content, 1 + below(content, 48), 1 + below(content, 32), true));
            break;
        case 3: {
            auto block =
                encodeFrameBlock(1, randomPicture(content, kFrameWidth, kFrameHeight, true));
            block[0] = std::uint8_t(content());
            clipboard.setFrameBlock(block);
            break;
        }
        case 4:
            clipboard.setFrameBlock(std::vector<std::uint8_t>(
                std::size_t(below(content, 2)) ? kFrameBlockSize + 1 : 100, 0));
            break;
        case 5: {
            std::vector<std::uint8_t> block(kFrameBlockSize);
            for (auto& byte : block)
                byte = std::uint8_t(content());
            clipboard.setFrameBlock(block);
            break;
        }
        case 6:
            clipboard.setText("<img src=\"x.lcd\">");
            break;
        default:
            clipboard.clear();
            break;
        }
        return;
    }
    case Kind::Dialog: {
        auto* dialog = window->findChild<QDialog*>("frmSelection");
        if (dialog == nullptr || !dialog->isVisible()) return;
        if (action.a % 3 == 0 && mouseFree) {
            // A press on the main window, the canvas here, closes the dialog.
            activate();
            held |= Qt::LeftButton;
            mouse(QEvent::MouseButtonPress, where(action.b), Qt::LeftButton, mods);
        } else {
            operateDialog(dialog, random, action.a % 3 == 1);
        }
        return;
    }
    case Kind::Drop: {
        if (!mouseFree) return;
        mayReplace = true;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(
            QString::fromStdString(prompts.pool[action.a % prompts.pool.size()]))});
        QDropEvent drop(QPointF(200, 200), Qt::CopyAction | Qt::MoveAction, &data, Qt::NoButton,
                        Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        return;
    }
    case Kind::RoundTrip:
        return;
    }
}

std::string Driver::State::checkFrames() {
    const AnimationDocument& doc = e().doc;
    const Raster& sheet = doc.sheet.raster();
    const int count = doc.FrameCount;
    if (!mayReplace && count == countBefore) {
        // The frame being edited, the frame a held gesture began on instead, and the frame an
        // undo puts back; the frames a move swaps.
        std::set<int> allowed = mayMove;
        allowed.insert(gestureBefore ? gestureFrame : currentBefore);
        if (mayUndo) allowed.insert(undoFrameBefore);
        for (int i = 0; i < count; ++i) {
            if (!sameCell(sheet, sheetBefore, i) && !allowed.count(i))
                return "frame " + std::to_string(i) + " changed, which the action did not touch";
        }
    } else if (!mayReplace) {
        // Frames went in or out in one place: the rest kept their pictures and order, apart
        // from the edited frame, whose work may have gone in on the way.
        const int edited = gestureBefore ? gestureFrame : currentBefore;
        const auto same = [&](int before, int after) {
            if (before == edited || (mayUndo && before == undoFrameBefore)) return true;
            const CellPos a = CellOrigin(before), b = CellOrigin(after);
            return sheetBefore.crop(a.x, a.y, kFrameWidth, kFrameHeight) ==
                   sheet.crop(b.x, b.y, kFrameWidth, kFrameHeight);
        };
        int prefix = 0;
        while (prefix < std::min(count, countBefore) && same(prefix, prefix))
            ++prefix;
        int suffix = 0;
        while (suffix < std::min(count, countBefore) - prefix &&
               same(countBefore - 1 - suffix, count - 1 - suffix))
            ++suffix;
        if (prefix + suffix < std::min(count, countBefore))
            return "frames " + std::to_string(prefix) + " .. " +
                   std::to_string(std::min(count, countBefore) - suffix - 1) +
                   " changed when frames went " + (count > countBefore ? "in" : "out");
    }
    for (int i = 0; i < count; ++i) {
        if ((mayReplace || count != countBefore || !sameCell(sheet, sheetBefore, i)) &&
            !blackAndWhite(sheet, i))
            return "frame " + std::to_string(i) + " has a dot neither black nor white";
    }
    return {};
}

std::string Driver::State::checkScreen(bool canvasToo) {
    const Editor& ed = e();
    if (window->windowTitle().toStdString() != ed.title) return "the window title is stale";
    if (!ed.playing && ed.title != documentTitle(ed.doc.DocumentFileName))
        return "the title does not name the document";
    for (int k = 0; k < kSlotCount; ++k) {
        const SlotView& slot = ed.list.slotViews[std::size_t(k)];
        const int index = ed.list.position + k;
        const SlotView::Kind kind = index < ed.doc.FrameCount ? SlotView::Kind::Frame
                                    : index == ed.doc.FrameCount && index < kMaxFrames
                                        ? SlotView::Kind::Append
                                        : SlotView::Kind::Empty;
        const std::string which = "slot " + std::to_string(k);
        if (slot.kind != kind || slot.index != index) return which + " shows another frame";
        if (kind != SlotView::Kind::Frame) continue;
        if (slot.time != ed.doc.DisplayTimes[std::size_t(index)])
            return which + " shows another display time";
        if (child<QLabel>(QString("stTimes%1").arg(k))->text() != QString::number(slot.time))
            return which + "'s time label is stale";
        if (child<PictureBox>(QString("imgList%1").arg(k))->picture() !=
            imageFromRaster(ed.doc.sheet.cell(index)))
            return which + "'s picture is stale";
    }
    if (child<PictureBox>("imgSub")->picture() != imageFromRaster(currentFramePicture(ed)))
        return "the preview is stale";
    // The canvas as last painted, from the offscreen screen's copy of the window.
    auto* canvas = child<EditCanvas>("imgMain");
    if (canvasToo && canvas->devicePixelRatioF() == 1.0) {
        const QPoint at = canvas->mapTo(window.get(), QPoint(0, 0));
        const QImage shown =
            window->screen()
                ->grabWindow(window->winId(), at.x(), at.y(), kCanvasWidth, kCanvasHeight)
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        canvasView.resize(std::size_t(kCanvasWidth) * kCanvasHeight);
        renderCanvasInto(ed, canvasView.data(), kCanvasWidth);
        for (int y = 0; y < kCanvasHeight; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
            for (int x = 0; x < kCanvasWidth; ++x) {
                if (((row[x] ^ canvasView[std::size_t(y) * kCanvasWidth + std::size_t(x)]) &
                     0xFFFFFF) != 0)
                    return "the canvas is stale at pixel " + std::to_string(x) + ", " +
                           std::to_string(y);
            }
        }
    }
    return {};
}

std::string Driver::State::roundTrip() {
    const AnimationDocument& doc = e().doc;
    const auto bytes = encodeLcd(doc, kVersionText);
    const fs::path path = folder / "roundtrip.lcd";
    writeFile(path, bytes);
    secondPrompts.openAnswer = path.string();
    secondPrompts.warnings.clear();
    second->command("Open1")->trigger();
    const AnimationDocument& back = second->editor().doc;
    if (!secondPrompts.warnings.empty())
        return "the saved document does not open: " + secondPrompts.warnings.front();
    if (back.FrameCount != doc.FrameCount || back.LoopCount != doc.LoopCount)
        return "the document opened again has another frame or loop count";
    for (int i = 0; i < doc.FrameCount; ++i) {
        if (back.DisplayTimes[std::size_t(i)] != doc.DisplayTimes[std::size_t(i)] ||
            back.sheet.cell(i) != doc.sheet.cell(i))
            return "frame " + std::to_string(i) + " opened again differs";
    }
    if (encodeLcd(back, kVersionText) != bytes) return "the document saved again differs";
    return {};
}

std::string Driver::State::check(bool canvasToo) {
    const AnimationDocument& doc = e().doc;
    if (doc.FrameCount < 1 || doc.FrameCount > kMaxFrames) return "frame count out of range";
    if (doc.CurrentFrame < 0 || doc.CurrentFrame > doc.FrameCount || doc.CurrentFrame >= kMaxFrames)
        return "current frame out of range";
    if (doc.LoopCount < 1 || doc.LoopCount > 255) return "loop count out of range";
    for (int i = 0; i < doc.FrameCount; ++i) {
        const int time = doc.DisplayTimes[std::size_t(i)];
        if (time < 1 || time > 255)
            return "display time of frame " + std::to_string(i) + " out of range";
    }
    for (const Rgb dot : e().imgDrawWork.dots())
        if (dot != kBlack && dot != kWhite)
            return "the working picture has a dot neither black nor white";
    if (std::string broken = checkFrames(); !broken.empty()) return broken;
    return checkScreen(canvasToo);
}

std::string Driver::run(const Action& action) {
    Random random(action.salt);
    g_answers = &random;
    State& s = *m;
    if (!s.window->isVisible()) s.openWindow(); // closed: the program is started again
    ++s.actionCount;
    const Editor& ed = s.e();
    s.sheetBefore = ed.doc.sheet.raster();
    s.countBefore = ed.doc.FrameCount;
    s.currentBefore = ed.doc.CurrentFrame;
    s.gestureBefore = ed.gestureHeld;
    s.undoFrameBefore = ed.undo.undoState == 0 ? ed.undo.undoFrame : ed.doc.CurrentFrame;
    s.mayReplace = false;
    s.mayMove.clear();
    s.mayUndo = false;
    QMetaObject::invokeMethod(qApp, answerModalDialogs, Qt::QueuedConnection);
    s.perform(action, random);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    std::string broken;
    if (s.window->isVisible()) {
        if (!s.gestureBefore && s.e().gestureHeld) s.gestureFrame = s.e().doc.CurrentFrame;
        // The canvas, the dearest check, after a quarter of the actions, chosen by the action
        // itself so that a shrunk run checks where the whole run did.
        broken = s.check(action.salt % 4 == 0 || action.kind == Kind::RoundTrip);
        if (broken.empty() && action.kind == Kind::RoundTrip) broken = s.roundTrip();
    }
    g_answers = nullptr;
    return broken;
}

std::string Driver::describe() const {
    const Editor& ed = m->window->editor();
    std::string text = "frames " + std::to_string(ed.doc.FrameCount) + " current " +
                       std::to_string(ed.doc.CurrentFrame) + " list " +
                       std::to_string(ed.list.position) + (ed.playing ? " playing" : "") +
                       (ed.gestureHeld ? " gesture" : "") + (ed.sel.isSelected ? " selected" : "") +
                       (ed.isDrawing ? " drawing" : "") + " held " + std::to_string(int(m->held)) +
                       " " + ed.title;
    if (QWidget* active = QApplication::activeWindow())
        text += " active " + active->objectName().toStdString();
    return text;
}

} // namespace vemurion::monkey
