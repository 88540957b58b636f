#pragma once

#include <QDialog>

namespace vemurion {

// The picture conversion dialog. Created once at start and kept hidden until a picture needs
// converting.
class TfrmSelection : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelection(QWidget* parent);
};

} // namespace vemurion
