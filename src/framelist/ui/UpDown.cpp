#include "framelist/ui/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vemurion {

namespace {

QToolButton* makeArrow(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(400);
    button->setAutoRepeatInterval(60);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(17, 11);
    return button;
}

} // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), m_up(makeArrow(Qt::UpArrow, this)), m_down(makeArrow(Qt::DownArrow, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    setFixedSize(17, 22);
    // A press steps at once; while the button is held, auto-repeat clicks it again and again,
    // with the button staying down. The click that comes with the real release steps no more.
    for (QToolButton* button : {m_up, m_down}) {
        const bool up = button == m_up;
        connect(button, &QToolButton::pressed, this, [this, up] {
            if (m_holding) return;
            m_holding = true;
            emit pressed();
            step(up);
        });
        connect(button, &QToolButton::clicked, this, [this, button, up] {
            if (button->isDown()) step(up);
        });
        connect(button, &QToolButton::released, this, [this, button] {
            if (button->isDown() || !m_holding) return;
            m_holding = false;
            emit released();
        });
    }
}

void UpDown::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    m_position = std::clamp(m_position, m_minimum, m_maximum);
}

void UpDown::setPosition(int position) {
    m_position = std::clamp(position, m_minimum, m_maximum);
}

void UpDown::step(bool up) {
    m_position = std::clamp(m_position + (up ? 1 : -1), m_minimum, m_maximum);
    emit stepped(m_position, up);
}

} // namespace vemurion
