#pragma once

#include <QObject>

class QEvent;
class QWidget;

namespace vemurion {

// Finds the press that closes a dialog which closes itself as soon as it loses the focus (the
// conversion dialog as Add to list shows it, without waiting). That press lands on the owner
// window: while the dialog is still up when the press itself moves the focus, or just after it
// has closed when the window manager moves the focus before it hands the press on.
class ClosingPress : public QObject {
public:
    // Watches every showing of `dialog` that leaves its owner usable; `target` is the owner's
    // widget whose closing press is asked about.
    ClosingPress(QWidget* dialog, QWidget* owner, QWidget* target);

    // Whether `event`, a press being delivered to the target, is the press that closed the
    // dialog. Asked once per press.
    bool take(const QEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stopWatching();

    QWidget* m_dialog;
    QWidget* m_owner;
    QWidget* m_target;
    bool m_watching = false;
    bool m_closedByFocusLoss = false;
    const QEvent* m_closingPress = nullptr;
};

} // namespace vemurion
