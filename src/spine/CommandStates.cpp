#include "spine/CommandStates.h"

namespace vemurion {

void UpdateCommandStates(Editor& e) {
    if (e.playing) return;
    const bool clipPicture = e.clipboard != nullptr && e.clipboard->hasPicture();
    const bool clipFrame = e.clipboard != nullptr && e.clipboard->hasFrameBlock();
    const int count = e.doc.FrameCount;

    for (const char* name : {"ToolButton14", "P3", "Paste2"}) {
        e.setEnabled(name, (clipFrame || clipPicture) && count < kMaxFrames);
    }
    for (const char* name : {"ToolButton12", "T1", "Cut2", "D1", "Delete2"}) {
        e.setEnabled(name, count != 1);
    }
    for (const char* name : {"I2", "N8", "A1", "A2"})
        e.setEnabled(name, count != kMaxFrames);
    for (const char* name : {"Paste1", "ToolButton7"})
        e.setEnabled(name, clipPicture);
    for (const char* name : {"Cut1", "ToolButton5", "Copy1", "ToolButton6"}) {
        e.setEnabled(name, e.sel.isSelected);
    }
    e.setEnabled("Undo1", e.undo.undoState != -1);
    e.notify(kViewCommands);
}

} // namespace vemurion
