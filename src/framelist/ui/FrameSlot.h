#pragma once

#include <QImage>
#include <QWidget>

namespace vemurion {

// A picture shown at the widget's size with whole dots (no smoothing): the preview and the
// five frame slots. Reports presses and pointer moves.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent);
    void setPicture(const QImage& picture);
    void setFill(const QColor& colour);
    const QImage& picture() const { return m_picture; }

signals:
    void pressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
};

} // namespace vemurion
