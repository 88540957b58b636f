#pragma once

#include <QDialog>

class QLabel;

namespace vemurion {

// The picture conversion dialog. Created once at start and kept hidden until a picture needs
// converting.
class TfrmSelection : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelection(QWidget* parent);
};

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

// The dialog that copies the HTML tag for a web page.
class TfrmTag : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTag(QWidget* parent);
};

} // namespace vemurion
