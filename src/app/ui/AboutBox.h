#pragma once

#include "spine/Services.h"

#include <QDialog>

#include <array>

class QLabel;
class QTimer;

namespace vemurion {

// The about box: the version and three links, which underline under the pointer and open
// through the shell when clicked. Made once and kept.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    // `shell` opens the links; without one a click does nothing.
    explicit TfrmAbout(QWidget* parent, ShellPort* shell = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void FormDeactivate();
    void OKClick();
    void Timer1Timer();
    // The pointer over a link, or over anything else in the box.
    void linkMouseMove(QLabel* link);
    void plainMouseMove();
    void linkClick(QLabel* link);
    void underlineOnly(QLabel* link);
    // Places the links and what follows them so that the chosen addresses fit.
    void layOutLinks();

    ShellPort* m_shell;
    QLabel* lbVersion = nullptr;
    QLabel* lbURL = nullptr;
    QLabel* lbEMAIL = nullptr;
    QLabel* lbSEGA = nullptr;
    QTimer* Timer1 = nullptr;
    std::array<QLabel*, 3> m_links{};
};

} // namespace vemurion
