#include "app/ui/MainWindow.h"

#include "app/Hints.h"
#include "app/KeyCommands.h"
#include "app/ui/AboutBox.h"
#include "app/ui/ClosingPress.h"
#include "app/ui/QtClipboard.h"
#include "app/ui/QtPrompts.h"
#include "app/ui/QtShell.h"
#include "editor/CanvasInput.h"
#include "editor/CanvasView.h"
#include "editor/ui/EditCanvas.h"
#include "files/DocumentCommands.h"
#include "files/DocumentFile.h"
#include "framelist/FrameList.h"
#include "framelist/FrameOps.h"
#include "framelist/Playback.h"
#include "framelist/ui/FrameSlot.h"
#include "framelist/ui/UpDown.h"
#include "import/ui/PictureLoader.h"
#include "import/ui/SelectionDialog.h"
#include "publish/ui/TagDialog.h"
#include "spine/CanvasState.h"
#include "spine/CommandStates.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>

namespace vemurion {

namespace {

Rgb fromQColor(const QColor& c) {
    return makeRgb(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                   static_cast<std::uint8_t>(c.blue()));
}

PlaybackClock steadyClock() {
    return std::chrono::duration_cast<PlaybackClock>(
        std::chrono::steady_clock::now().time_since_epoch());
}

MouseButton toMouseButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return MouseButton::Left;
    }
}

// Files dropped on the window are only ever copied: a source that offers a move, and is told
// that the drop moved, deletes the user's file.
bool acceptFilesAsCopy(QDropEvent* event) {
    if (!event->mimeData()->hasUrls() || !event->possibleActions().testFlag(Qt::CopyAction))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

} // namespace

TfrmMain::TfrmMain(Prompts* prompts, ClipboardPort* clipboard) : m_clock(steadyClock) {
    setObjectName("frmMain");
    setWindowTitle("Vemurion");
    if (prompts == nullptr) {
        m_ownPrompts = std::make_unique<QtPrompts>(this);
        prompts = m_ownPrompts.get();
    }
    if (clipboard == nullptr) {
        m_ownClipboard = std::make_unique<QtClipboard>();
        clipboard = m_ownClipboard.get();
    }
    m_editor.prompts = prompts;
    m_editor.clipboard = clipboard;

    buildLayout();
    buildCommands();
    frmSelection = new TfrmSelection(this);
    m_selectionClosingPress = new ClosingPress(frmSelection, this, imgMain);
    m_conversionPort = std::make_unique<SelectionDialogPort>(*frmSelection, m_editor);
    m_editor.conversion = m_conversionPort.get();
    m_ownShell = std::make_unique<QtShell>(prompts);
    m_editor.shell = m_ownShell.get();
    frmAbout = new TfrmAbout(this, m_editor.shell);
    frmTag =
        new TfrmTag(this, m_editor.clipboard, [this] { return m_editor.doc.DocumentFileName; });
    connect(frmTag, &TfrmTag::copied, this, [this] { UpdateCommandStates(m_editor); });

    setAcceptDrops(true);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
}

TfrmMain::~TfrmMain() {
    m_editor.view = nullptr;
}

void TfrmMain::FormCreate(const QStringList& arguments) {
    m_editor.ProgramFolder = QCoreApplication::applicationDirPath().toStdString();
    m_editor.homeFolder =
        QStandardPaths::writableLocation(QStandardPaths::HomeLocation).toStdString();
    m_editor.openFolder = m_editor.homeFolder;
    m_editor.saveFolder = m_editor.homeFolder;
    // The grid takes the button-face colour; where the style's button face is nearly white, a
    // shade darker keeps the grid visible on white dots.
    m_editor.gridColor = fromQColor(palette().color(QPalette::Button).darker(112));
    m_editor.cursorColor = 0xFF0000;
    m_editor.view = this;
    NewDocument(m_editor);
    changed(~0u);
    adjustSize();
    setFixedSize(sizeHint());
    if (const QScreen* desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());
    Timer1->start();
    std::vector<std::string> paths;
    for (const QString& argument : arguments)
        paths.push_back(argument.toStdString());
    // Opened once the event loop runs, when the window is up: a refused file's message then
    // shows over the window.
    if (!paths.empty())
        QTimer::singleShot(0, this, [this, paths] { openFromCommandLine(m_editor, paths); });
}

// ---- The screen follows the Editor ----

void TfrmMain::changed(unsigned parts) {
    const Editor& e = m_editor;
    if (parts & kViewCanvas) imgMain->update();
    if (parts & kViewPreview) refreshPreview();
    if (parts & kViewSlots) refreshSlots();
    if (parts & kViewTitle) setWindowTitle(QString::fromStdString(e.title));
    if (parts & kViewStatus) {
        statusPanels[0]->setText(QString::fromStdString(e.status[0]));
        statusPanels[1]->setText(QString::fromStdString(e.status[1]));
    }
    if (parts & kViewCommands) refreshCommands();
    if (parts & kViewLoopCount) {
        udLoops->setPosition(e.doc.LoopCount);
        stLoops->setText(QString::fromStdString(loopCountText(e.doc.LoopCount)));
    }
    if (parts & kViewModeCaption) stModeTitleBar->setText(QString::fromStdString(e.modeCaption));
    if (parts & kViewTools) refreshTools();
    if ((parts & kViewTimer) && Timer1->interval() != e.timer1Interval) {
        Timer1->setInterval(e.timer1Interval);
    }
}

void TfrmMain::refreshPreview() {
    imgSub->setPicture(imageFromRaster(currentFramePicture(m_editor)));
}

void TfrmMain::refreshSlots() {
    const Editor& e = m_editor;
    for (int k = 0; k < kSlotCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const SlotView& slot = e.list.slotViews[i];
        const bool frame = slot.kind == SlotView::Kind::Frame;
        if (frame) {
            imgList[i]->setPicture(imageFromRaster(e.doc.sheet.cell(slot.index)));
        } else {
            imgList[i]->setFill(palette().color(
                slot.kind == SlotView::Kind::Append ? QPalette::Light : QPalette::Button));
        }
        imgList[i]->setEnabled(slot.kind != SlotView::Kind::Empty && !e.playing);
        lbList[i]->setText(QString::fromStdString(slot.label));
        stTimes[i]->setVisible(frame);
        stTimes[i]->setText(QString::number(slot.time));
        udTimes[i]->setPosition(slot.time);
        udTimes[i]->setVisible(frame);
        udTimes[i]->setEnabled(frame && !e.playing);
    }
    {
        const QSignalBlocker blocker(scList);
        // A disabled list shows no handle.
        scList->setRange(0, e.list.scrollEnabled ? e.list.maximum : 0);
        scList->setValue(e.list.position);
    }
    scList->setEnabled(e.list.scrollEnabled && !e.playing);
    spListCursor->setVisible(e.list.cursorVisible);
    spListCursor->move(520, 145 + 45 * e.list.cursorSlot);
}

void TfrmMain::refreshCommands() {
    // A decided state names a command, or a control of the window such as a frame slot.
    for (const auto& [name, enabled] : m_editor.commandEnabled) {
        const QString qname = QString::fromStdString(name);
        if (QAction* action = m_commands.value(qname)) {
            action->setEnabled(enabled);
        } else if (QWidget* control = m_client->findChild<QWidget*>(qname)) {
            control->setEnabled(enabled);
        }
    }
}

void TfrmMain::refreshTools() {
    static constexpr std::pair<const char*, EditTool> kToolButtons[] = {
        {"tbtnPen", EditTool::Pen},       {"tbtnSelect", EditTool::Select},
        {"tbtnPaint", EditTool::Paint},   {"tbtnLine", EditTool::Line},
        {"tbtnBox", EditTool::Box},       {"tbtnBoxFill", EditTool::BoxFill},
        {"tbtnCircle", EditTool::Circle}, {"tbtnCircleFill", EditTool::CircleFill}};
    for (const auto& [name, tool] : kToolButtons) {
        m_commands.value(name)->setChecked(m_editor.tool == tool);
    }
    m_commands.value("tbtnBlackWhite")->setChecked(m_editor.colorMode == ColorMode::BlackWhite);
    m_commands.value("tbtnWhiteBlack")->setChecked(m_editor.colorMode == ColorMode::WhiteBlack);
    m_commands.value("tbtnTrans")->setChecked(m_editor.sel.transparent);
    m_commands.value("Onion1")->setChecked(m_editor.onionPrevious);
    m_commands.value("OnionNext1")->setChecked(m_editor.onionNext);
}

// ---- Window events ----

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FormShow();
}

void TfrmMain::FormShow() {
    UpdateCommandStates(m_editor);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (confirmClose(m_editor)) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
    acceptFilesAsCopy(event);
}

void TfrmMain::dragMoveEvent(QDragMoveEvent* event) {
    acceptFilesAsCopy(event);
}

void TfrmMain::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    }
    if (!acceptFilesAsCopy(event)) return;
    if (m_editor.playing) return;
    endCanvasGesture(m_editor);
    dropFiles(m_editor, paths);
}

void TfrmMain::mousePressEvent(QMouseEvent* event) {
    QMainWindow::mousePressEvent(event);
    FormMouseDown();
}

void TfrmMain::FormMouseDown() {
    Deselect(m_editor);
}

void TfrmMain::watchHints(QWidget* control) {
    control->setMouseTracking(true);
    control->installEventFilter(this);
    for (QWidget* part : control->findChildren<QWidget*>()) {
        part->setMouseTracking(true);
        part->installEventFilter(this);
    }
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int k = 0; k < kSlotCount; ++k) {
            if (watched != stTimes[static_cast<std::size_t>(k)]) continue;
            endCanvasGesture(m_editor);
            typeSlotTime(m_editor, k);
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress && watched == ToolBar1) Deselect(m_editor);
    if (event->type() == QEvent::Wheel && watched == m_client) {
        // The wheel over the slots (it climbs up to here from their controls) turns the list's
        // scroll bar, as it would over the bar itself.
        const auto* wheel = static_cast<QWheelEvent*>(event);
        QRect slotArea;
        for (std::size_t i = 0; i < kSlotCount; ++i)
            slotArea |= imgList[i]->geometry() | lbList[i]->geometry() | stTimes[i]->geometry() |
                        udTimes[i]->geometry();
        if (slotArea.contains(wheel->position().toPoint())) {
            QWheelEvent overBar(QPointF(scList->rect().center()), wheel->globalPosition(),
                                wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(),
                                wheel->modifiers(), wheel->phase(), wheel->inverted(),
                                wheel->source());
            QCoreApplication::sendEvent(scList, &overBar);
            return true;
        }
    }
    if (event->type() == QEvent::MouseMove) {
        if (watched == m_client) {
            // A move that a control did not take climbs up to the background; only a move over
            // the bare background is the background's.
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (m_client->childAt(p) == nullptr) pointerOverControl(m_editor, "frmMainClient");
        } else {
            // The arrows of an up-down control report for the control.
            for (QObject* control = watched; control != m_client && control != nullptr;
                 control = control->parent()) {
                const std::string name = control->objectName().toStdString();
                if (controlHint(name, m_editor.colorMode, m_editor.sel.isSelected)) {
                    pointerOverControl(m_editor, name);
                    break;
                }
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

namespace {

KeyPress keyPressOf(const QKeyEvent* event) {
    static constexpr std::pair<int, Key> kKeys[] = {
        {Qt::Key_Left, Key::Left},    {Qt::Key_Right, Key::Right}, {Qt::Key_Up, Key::Up},
        {Qt::Key_Down, Key::Down},    {Qt::Key_Home, Key::Home},   {Qt::Key_End, Key::End},
        {Qt::Key_Escape, Key::Escape}};
    KeyPress press;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    press.shift = modifiers.testFlag(Qt::ShiftModifier);
    press.alt = modifiers.testFlag(Qt::AltModifier);
    press.ctrl = modifiers.testFlag(Qt::ControlModifier);
    const int key = event->key();
    for (const auto& [qtKey, ours] : kKeys)
        if (key == qtKey) press.key = ours;
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        press.key = Key::Letter;
        press.letter = static_cast<char>('A' + (key - Qt::Key_A));
    }
    return press;
}

} // namespace

// None of the window's controls takes SHIFT or CTRL, so those keys always climb up to here.
void TfrmMain::keyPressEvent(QKeyEvent* event) {
    m_editor.dialogActive = dialogIsActive();
    if (keyPressed(m_editor, keyPressOf(event))) {
        event->accept();
        return;
    }
    FormKeyDown(event);
    QMainWindow::keyPressEvent(event);
}

void TfrmMain::keyReleaseEvent(QKeyEvent* event) {
    FormKeyUp(event);
    QMainWindow::keyReleaseEvent(event);
}

InputState TfrmMain::inputFrom(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const {
    InputState input;
    input.left = buttons.testFlag(Qt::LeftButton);
    input.right = buttons.testFlag(Qt::RightButton);
    input.middle = buttons.testFlag(Qt::MiddleButton);
    input.shift = modifiers.testFlag(Qt::ShiftModifier);
    input.ctrl = modifiers.testFlag(Qt::ControlModifier);
    return input;
}

void TfrmMain::FormKeyDown(QKeyEvent* event) {
    m_modifiers = event->modifiers();
    if (event->key() == Qt::Key_Shift) m_modifiers |= Qt::ShiftModifier;
    if (event->key() == Qt::Key_Control) m_modifiers |= Qt::ControlModifier;
    windowKey(m_editor, true, inputFrom(QGuiApplication::mouseButtons(), m_modifiers));
}

void TfrmMain::FormKeyUp(QKeyEvent* event) {
    m_modifiers = event->modifiers();
    if (event->key() == Qt::Key_Shift) m_modifiers &= ~Qt::ShiftModifier;
    if (event->key() == Qt::Key_Control) m_modifiers &= ~Qt::ControlModifier;
    windowKey(m_editor, false, inputFrom(QGuiApplication::mouseButtons(), m_modifiers));
}

// ---- The edit canvas ----

bool TfrmMain::dialogIsActive() const {
    return frmSelection->isActiveWindow() || frmAbout->isActiveWindow() || frmTag->isActiveWindow();
}

void TfrmMain::imgMainMouseDown(QMouseEvent* event) {
    // The press that closed the conversion dialog counts as made under it.
    const bool closedDialog = m_selectionClosingPress->take(event);
    m_editor.dialogActive = closedDialog || dialogIsActive();
    m_modifiers = event->modifiers();
    const QPoint p = imgMain->canvasPixel(event->position());
    canvasPress(m_editor, toMouseButton(event->button()), p.x(), p.y(),
                inputFrom(event->buttons(), m_modifiers));
}

void TfrmMain::imgMainMouseMove(QMouseEvent* event) {
    m_editor.dialogActive = dialogIsActive();
    m_modifiers = event->modifiers();
    const QPoint p = imgMain->canvasPixel(event->position());
    canvasMove(m_editor, p.x(), p.y(), inputFrom(event->buttons(), m_modifiers));
}

void TfrmMain::imgMainMouseUp(QMouseEvent* event) {
    m_modifiers = event->modifiers();
    canvasRelease(m_editor, toMouseButton(event->button()),
                  inputFrom(event->buttons(), m_modifiers));
}

void TfrmMain::Timer1Timer() {
    const QPoint p = imgMain->canvasPixel(imgMain->mapFromGlobal(QCursor::pos().toPointF()));
    vemurion::Timer1Timer(m_editor, inputFrom(QGuiApplication::mouseButtons(), m_modifiers),
                          Dot{p.x(), p.y()});
}

std::uint32_t TfrmMain::tickCount() const {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(m_clock()).count());
}

// ---- The frame list ----

void TfrmMain::imgListMouseDown(int slot, Qt::MouseButton button) {
    endCanvasGesture(m_editor);
    SelectFrameSlot(m_editor, slot);
    if (button == Qt::RightButton) PopupMenu1->popup(QCursor::pos());
}

void TfrmMain::udTimesClick(int slot, int position, bool up) {
    endCanvasGesture(m_editor);
    ChangeSlotTime(m_editor, slot, position, up ? StepDirection::Up : StepDirection::Down,
                   tickCount());
}

void TfrmMain::udLoopsClick(int position, bool up) {
    vemurion::udLoopsClick(m_editor, position, up ? StepDirection::Up : StepDirection::Down,
                           tickCount());
}

void TfrmMain::scListChange(int position) {
    endCanvasGesture(m_editor);
    vemurion::scListChange(m_editor, position);
}

void TfrmMain::L1Click() {
    frameMenuOpened(m_editor, FrameMenu::ImageList);
}
void TfrmMain::PopupMenu1Popup() {
    frameMenuOpened(m_editor, FrameMenu::Popup);
}

} // namespace vemurion
