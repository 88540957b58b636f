#pragma once

#include "spine/Editor.h"

#include <QMainWindow>
#include <QMap>
#include <QString>

#include <array>
#include <chrono>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QScrollBar;
class QTimer;
class QToolBar;
class QToolButton;
class QFrame;

namespace vemurion {

class ClosingPress;
class EditCanvas;
class PictureBox;
class UpDown;
class QtPrompts;
class QtClipboard;
class QtShell;
class SelectionDialogPort;
class TfrmSelection;
class TfrmAbout;
class TfrmTag;

// The main window. Its handlers turn Qt events into calls on the core and keep the screen in
// step with the Editor through ViewSink.
class TfrmMain : public QMainWindow, public ViewSink {
    Q_OBJECT
public:
    // `prompts` and `clipboard` replace the desktop's dialogs and clipboard when given (tests).
    explicit TfrmMain(Prompts* prompts = nullptr, ClipboardPort* clipboard = nullptr);
    ~TfrmMain() override;

    // Sets the defaults, makes the first document, centres the window on the desktop, and opens
    // the file named by the first argument, if any, as soon as the event loop runs.
    void FormCreate(const QStringList& arguments);

    Editor& editor() { return m_editor; }
    const Editor& editor() const { return m_editor; }
    QAction* command(const QString& name) const { return m_commands.value(name); }
    // The clock that playback and the up-downs' holds read: the steady clock, unless a driver
    // that keeps time itself replaces it.
    void setClock(std::function<std::chrono::microseconds()> clock) { m_clock = std::move(clock); }

    void changed(unsigned parts) override;

    // Handlers of the command table; each forwards to the core.
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void R2Click();
    void GifExport1Click();
    void Onion1Click();
    void OnionNext1Click();
    void MoveUp1Click();
    void MoveDown1Click();
    void TimeSet1Click();
    void TimeRange1Click();
    void Exit1Click();
    void Undo1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void SelectAll1Click();
    void G1Click();
    void I2Click();
    void T1Click();
    void P2Click();
    void P3Click();
    void D1Click();
    void A1Click();
    void P1Click();
    void N3Click();
    void Contents1Click();
    void P4Click();
    void About1Click();
    void tbtnBlackWhiteClick();
    void tbtnWhiteBlackClick();
    void tbtnTransClick();
    void tbtnClearClick();
    void tbtnCenterClick();
    void tbtnReverseClick();
    void tbtnUDClick();
    void tbtnLRClick();
    void tbtnPenClick();
    void tbtnSelectClick();
    void tbtnPaintClick();
    void tbtnLineClick();
    void tbtnBoxClick();
    void tbtnBoxFillClick();
    void tbtnCircleClick();
    void tbtnCircleFillClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void buildLayout();
    void buildCommands();
    // Shows `control`'s hint in the status bar whenever the pointer moves over it.
    void watchHints(QWidget* control);
    void FormShow();
    void FormKeyDown(QKeyEvent* event);
    void FormKeyUp(QKeyEvent* event);
    void FormMouseDown();
    void imgMainMouseDown(QMouseEvent* event);
    void imgMainMouseMove(QMouseEvent* event);
    void imgMainMouseUp(QMouseEvent* event);
    void imgListMouseDown(int slot, Qt::MouseButton button);
    void udTimesClick(int slot, int position, bool up);
    void udLoopsClick(int position, bool up);
    void scListChange(int position);
    void Timer1Timer();
    void tmAnimationTimer();
    void L1Click();
    void PopupMenu1Popup();
    bool dialogIsActive() const;
    // The clock in milliseconds, wrapping, as the up-downs' holds count.
    std::uint32_t tickCount() const;

    InputState inputFrom(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const;
    void refreshSlots();
    void refreshPreview();
    void refreshCommands();
    void refreshTools();

    Editor m_editor;
    std::unique_ptr<QtPrompts> m_ownPrompts;
    std::unique_ptr<QtClipboard> m_ownClipboard;
    std::unique_ptr<QtShell> m_ownShell;
    std::unique_ptr<SelectionDialogPort> m_conversionPort;
    QMap<QString, QAction*> m_commands;
    Qt::KeyboardModifiers m_modifiers;
    std::function<std::chrono::microseconds()> m_clock;

    QWidget* m_client = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QLabel* stModeTitleBar = nullptr;
    EditCanvas* imgMain = nullptr;
    PictureBox* imgSub = nullptr;
    std::array<QToolButton*, 4> speedButtons{};
    std::array<PictureBox*, kSlotCount> imgList{};
    std::array<QLabel*, kSlotCount> lbList{};
    std::array<QLabel*, kSlotCount> stTimes{};
    std::array<UpDown*, kSlotCount> udTimes{};
    QScrollBar* scList = nullptr;
    QFrame* spListCursor = nullptr;
    UpDown* udLoops = nullptr;
    QLabel* stLoops = nullptr;
    std::array<QLabel*, 2> statusPanels{};
    QTimer* Timer1 = nullptr;
    QTimer* tmAnimation = nullptr;

    TfrmSelection* frmSelection = nullptr;
    ClosingPress* m_selectionClosingPress = nullptr;
    TfrmAbout* frmAbout = nullptr;
    TfrmTag* frmTag = nullptr;
};

} // namespace vemurion
