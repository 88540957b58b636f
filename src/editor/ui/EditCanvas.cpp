#include "editor/ui/EditCanvas.h"

#include "editor/CanvasView.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vemurion {

EditCanvas::EditCanvas(const Editor& editor, QWidget* parent)
    : QWidget(parent), m_editor(editor),
      m_image(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32) {
    setFixedSize(kCanvasWidth, kCanvasHeight);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

namespace {

// The device pixel where the canvas begins along one axis: a canvas narrower than its place at
// a fractional ratio sits in the middle of it.
int canvasMargin(int place, qreal ratio, int dots, CanvasPitch pitch) {
    const auto available = static_cast<int>(place * ratio);
    return std::max(0, (available - (dots * pitch.pitch + pitch.line)) / 2);
}

} // namespace

QPoint EditCanvas::canvasPixel(QPointF position) const {
    const qreal ratio = devicePixelRatioF();
    const CanvasPitch pitch = canvasPitchFor(ratio);
    const auto device = [ratio](qreal logical) {
        return static_cast<int>(std::floor(logical * ratio));
    };
    const int left = canvasMargin(kCanvasWidth, ratio, kFrameWidth, pitch);
    const int top = canvasMargin(kCanvasHeight, ratio, kFrameHeight, pitch);
    return {canvasPixelOfDevice(device(position.x()) - left, pitch),
            canvasPixelOfDevice(device(position.y()) - top, pitch)};
}

void EditCanvas::paintEvent(QPaintEvent*) {
    renderCanvasInto(m_editor, reinterpret_cast<std::uint32_t*>(m_image.bits()),
                     static_cast<int>(m_image.bytesPerLine() / 4));
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const CanvasPitch pitch = canvasPitchFor(ratio);
    if (pitch.pitch == kCanvasScale) {
        painter.drawImage(0, 0, m_image);
        return;
    }
    // Scaled by whole device pixels per dot and line, not by the ratio, which would make every
    // other line or dot a pixel wider.
    const int width = kFrameWidth * pitch.pitch + pitch.line;
    const int height = kFrameHeight * pitch.pitch + pitch.line;
    if (m_screen.width() != width || m_screen.height() != height) {
        m_screen = QImage(width, height, QImage::Format_RGB32);
        m_columns.resize(static_cast<std::size_t>(width));
        m_rows.resize(static_cast<std::size_t>(height));
        for (int d = 0; d < width; ++d)
            m_columns[static_cast<std::size_t>(d)] = canvasPixelOfDevice(d, pitch);
        for (int d = 0; d < height; ++d)
            m_rows[static_cast<std::size_t>(d)] = canvasPixelOfDevice(d, pitch);
    }
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(
            m_image.constScanLine(m_rows[static_cast<std::size_t>(y)]));
        auto* to = reinterpret_cast<QRgb*>(m_screen.scanLine(y));
        for (int x = 0; x < width; ++x)
            to[x] = from[m_columns[static_cast<std::size_t>(x)]];
    }
    m_screen.setDevicePixelRatio(ratio);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.drawImage(QPointF(canvasMargin(kCanvasWidth, ratio, kFrameWidth, pitch) / ratio,
                              canvasMargin(kCanvasHeight, ratio, kFrameHeight, pitch) / ratio),
                      m_screen);
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
