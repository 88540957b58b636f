#pragma once

#include <QDialog>

class QLabel;

namespace vemurion {

// The about box.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* lbVersion;
};

} // namespace vemurion
