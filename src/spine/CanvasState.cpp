#include "spine/CanvasState.h"

#include "spine/CommandStates.h"

namespace vemurion {

void ShowCurrentFrame(Editor& e) {
    e.mark = {};
    e.notify(kViewCanvas | kViewPreview);
}

void clearCanvasMark(Editor& e) {
    e.mark = {};
    e.notify(kViewCanvas);
}

void Deselect(Editor& e) {
    e.sel.isSelected = false;
    clearCanvasMark(e);
    UpdateCommandStates(e);
}

} // namespace vemurion
