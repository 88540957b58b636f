// The handlers of the command table: each forwards to the core.
#include "app/HelpPages.h"
#include "app/ui/AboutBox.h"
#include "app/ui/MainWindow.h"
#include "editor/CanvasInput.h"
#include "editor/CanvasView.h"
#include "editor/PictureClipboard.h"
#include "editor/PictureOps.h"
#include "editor/Undo.h"
#include "files/BitmapExport.h"
#include "files/DocumentCommands.h"
#include "framelist/FrameOps.h"
#include "framelist/Playback.h"
#include "import/AddToList.h"
#include "publish/GifExport.h"
#include "publish/ui/TagDialog.h"
#include "spine/CanvasState.h"
#include "spine/CommandStates.h"

#include <QAction>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace vemurion {

namespace {

// Has the single-shot `timer` fire when the frame on show is due. The timer counts whole
// milliseconds and rounds what is left up to the next one each time the event loop wakes, so
// it is set for the whole milliseconds before the due time; a step that comes early does
// nothing and sets it again, for the last fraction with no wait at all.
void scheduleNextFrame(QTimer* timer, const Editor& e, PlaybackClock now) {
    if (!e.playing) {
        timer->stop();
        return;
    }
    const auto wait = std::chrono::floor<std::chrono::milliseconds>(nextFrameDue(e) - now);
    timer->start(std::max(wait, std::chrono::milliseconds(0)));
}

} // namespace

void TfrmMain::New1Click() {
    commandNew(m_editor);
}
void TfrmMain::Open1Click() {
    commandOpen(m_editor);
}
void TfrmMain::Save1Click() {
    commandSave(m_editor);
}
void TfrmMain::SaveAs1Click() {
    commandSaveAs(m_editor);
}
void TfrmMain::R2Click() {
    commandExport(m_editor);
}
void TfrmMain::GifExport1Click() {
    commandExportGif(m_editor);
}
void TfrmMain::Onion1Click() {
    toggleOnionSkin(m_editor, OnionLayer::Previous);
}
void TfrmMain::OnionNext1Click() {
    toggleOnionSkin(m_editor, OnionLayer::Next);
}
void TfrmMain::MoveUp1Click() {
    moveCurrentFrame(m_editor, -1);
}
void TfrmMain::MoveDown1Click() {
    moveCurrentFrame(m_editor, 1);
}
void TfrmMain::TimeSet1Click() {
    typeDisplayTime(m_editor, m_editor.doc.CurrentFrame);
}
void TfrmMain::TimeRange1Click() {
    setDisplayTimesForRange(m_editor);
}
void TfrmMain::Exit1Click() {
    close();
    Deselect(m_editor);
}
void TfrmMain::Undo1Click() {
    vemurion::Undo1Click(m_editor);
}
void TfrmMain::Cut1Click() {
    vemurion::Cut1Click(m_editor);
}
void TfrmMain::Copy1Click() {
    vemurion::Copy1Click(m_editor);
}
void TfrmMain::Paste1Click() {
    vemurion::Paste1Click(m_editor);
}
void TfrmMain::SelectAll1Click() {
    vemurion::SelectAll1Click(m_editor);
}
void TfrmMain::G1Click() {
    frmTag->exec();
}
void TfrmMain::I2Click() {
    newFrame(m_editor);
}
void TfrmMain::T1Click() {
    cutFrame(m_editor);
}
void TfrmMain::P2Click() {
    copyFrame(m_editor);
}
void TfrmMain::P3Click() {
    PasteFrame(m_editor);
}
void TfrmMain::D1Click() {
    deleteFrame(m_editor);
}
void TfrmMain::A1Click() {
    vemurion::A1Click(m_editor);
}
void TfrmMain::P1Click() {
    const PlaybackClock now = m_clock();
    vemurion::P1Click(m_editor, now);
    scheduleNextFrame(tmAnimation, m_editor, now);
}
void TfrmMain::N3Click() {
    vemurion::N3Click(m_editor);
    tmAnimation->stop();
}

void TfrmMain::tmAnimationTimer() {
    const PlaybackClock now = m_clock();
    vemurion::tmAnimationTimer(m_editor, now);
    scheduleNextFrame(tmAnimation, m_editor, now);
}
void TfrmMain::Contents1Click() {
    openHelpContents(m_editor);
}
void TfrmMain::P4Click() {
    openSupportPage(m_editor);
}
void TfrmMain::About1Click() {
    frmAbout->exec();
}

void TfrmMain::tbtnBlackWhiteClick() {
    setColorMode(m_editor, ColorMode::BlackWhite);
}
void TfrmMain::tbtnWhiteBlackClick() {
    setColorMode(m_editor, ColorMode::WhiteBlack);
}
void TfrmMain::tbtnTransClick() {
    vemurion::tbtnTransClick(m_editor, m_commands.value("tbtnTrans")->isChecked());
}
void TfrmMain::tbtnClearClick() {
    vemurion::tbtnClearClick(m_editor);
}
void TfrmMain::tbtnCenterClick() {
    vemurion::tbtnCenterClick(m_editor);
}
void TfrmMain::tbtnReverseClick() {
    vemurion::tbtnReverseClick(m_editor);
}
void TfrmMain::tbtnUDClick() {
    FlipPicture(m_editor, FlipDirection::UpDown);
}
void TfrmMain::tbtnLRClick() {
    FlipPicture(m_editor, FlipDirection::LeftRight);
}
void TfrmMain::tbtnPenClick() {
    selectTool(m_editor, EditTool::Pen);
}
void TfrmMain::tbtnSelectClick() {
    selectTool(m_editor, EditTool::Select);
}
void TfrmMain::tbtnPaintClick() {
    selectTool(m_editor, EditTool::Paint);
}
void TfrmMain::tbtnLineClick() {
    selectTool(m_editor, EditTool::Line);
}
void TfrmMain::tbtnBoxClick() {
    selectTool(m_editor, EditTool::Box);
}
void TfrmMain::tbtnBoxFillClick() {
    selectTool(m_editor, EditTool::BoxFill);
}
void TfrmMain::tbtnCircleClick() {
    selectTool(m_editor, EditTool::Circle);
}
void TfrmMain::tbtnCircleFillClick() {
    selectTool(m_editor, EditTool::CircleFill);
}

} // namespace vemurion
