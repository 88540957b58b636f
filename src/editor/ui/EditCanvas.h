#pragma once

#include "spine/Editor.h"

#include <QImage>
#include <QMouseEvent>
#include <QWidget>

namespace vemurion {

// The magnified edit canvas. It paints what the Editor holds and passes pointer events on.
class EditCanvas : public QWidget {
    Q_OBJECT
public:
    EditCanvas(const Editor& editor, QWidget* parent);

signals:
    void mousePressed(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseReleased(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const Editor& m_editor;
    QImage m_image;
};

} // namespace vemurion
