#pragma once

#include "spine/Editor.h"

#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <vector>

namespace vemurion {

// The magnified edit canvas. It paints what the Editor holds and passes pointer events on.
class EditCanvas : public QWidget {
    Q_OBJECT
public:
    EditCanvas(const Editor& editor, QWidget* parent);

    // The pixel of the 433 x 289 canvas view under `position` (in the widget's coordinates), at
    // the screen's device pixel ratio.
    QPoint canvasPixel(QPointF position) const;

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
    QImage m_image;             // the view at one device pixel per pixel
    QImage m_screen;            // the view at the screen's ratio, when that is not 1
    std::vector<int> m_columns; // for each device column of m_screen, m_image's column
    std::vector<int> m_rows;
};

} // namespace vemurion
