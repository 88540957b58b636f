#pragma once

#include <QWidget>

class QToolButton;

namespace vemurion {

// A pair of arrow buttons holding a position within a range, without wrapping. Each step, also
// each repeat while a button is held, moves the position by one and then reports it.
class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent);
    void setRange(int minimum, int maximum);
    void setPosition(int position);
    int position() const { return m_position; }
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

signals:
    void stepped(int position, bool up);
    void pressed();
    void released();

private:
    void step(bool up);

    QToolButton* m_up;
    QToolButton* m_down;
    int m_minimum = 1;
    int m_maximum = 255;
    int m_position = 1;
    bool m_holding = false;
};

} // namespace vemurion
