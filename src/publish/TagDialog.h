#pragma once

#include <QDialog>

namespace vemurion {

// The dialog that copies the HTML tag for a web page.
class TfrmTag : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTag(QWidget* parent);
};

} // namespace vemurion
