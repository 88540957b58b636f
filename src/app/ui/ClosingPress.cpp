#include "app/ui/ClosingPress.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <utility>

namespace vemurion {

ClosingPress::ClosingPress(QWidget* dialog, QWidget* owner, QWidget* target)
    : QObject(owner), m_dialog(dialog), m_owner(owner), m_target(target) {
    m_dialog->installEventFilter(this);
}

bool ClosingPress::take(const QEvent* event) {
    return std::exchange(m_closingPress, nullptr) == event;
}

void ClosingPress::stopWatching() {
    m_watching = false;
    m_closedByFocusLoss = false;
    qApp->removeEventFilter(this);
}

bool ClosingPress::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_dialog) {
        if (event->type() == QEvent::Show && !m_dialog->isModal()) {
            // Every event of the application passes here until the owner's next press or key.
            m_watching = true;
            m_closedByFocusLoss = false;
            qApp->installEventFilter(this);
        } else if (event->type() == QEvent::WindowDeactivate && m_watching &&
                   m_dialog->isVisible()) {
            m_closedByFocusLoss = true;
        } else if (event->type() == QEvent::Hide && m_watching && !m_closedByFocusLoss) {
            stopWatching(); // closed by its own buttons
        }
        return false;
    }
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (m_watching && (press || event->type() == QEvent::KeyPress) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == m_owner) {
        if (press && watched == m_target) m_closingPress = event;
        stopWatching();
    }
    return false;
}

} // namespace vemurion
