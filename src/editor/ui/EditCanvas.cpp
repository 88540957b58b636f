#include "editor/ui/EditCanvas.h"

#include "editor/CanvasView.h"

#include <QMouseEvent>
#include <QPainter>

namespace vemurion {

EditCanvas::EditCanvas(const Editor& editor, QWidget* parent)
    : QWidget(parent), m_editor(editor),
      m_image(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32) {
    setFixedSize(kCanvasWidth, kCanvasHeight);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

void EditCanvas::paintEvent(QPaintEvent*) {
    renderCanvasInto(m_editor, reinterpret_cast<std::uint32_t*>(m_image.bits()),
                     static_cast<int>(m_image.bytesPerLine() / 4));
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void EditCanvas::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event);
}
void EditCanvas::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event);
}
void EditCanvas::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseReleased(event);
}

} // namespace vemurion
