#include "framelist/ui/FrameSlot.h"

#include <QMouseEvent>
#include <QPainter>

namespace vemurion {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

void PictureBox::setFill(const QColor& colour) {
    QImage filled(1, 1, QImage::Format_RGB32);
    filled.fill(colour);
    setPicture(filled);
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (m_picture.isNull()) {
        painter.fillRect(rect(), palette().color(QPalette::Button));
    } else {
        painter.drawImage(rect(), m_picture);
    }
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button());
}

} // namespace vemurion
