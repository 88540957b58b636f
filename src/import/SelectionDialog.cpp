#include "import/SelectionDialog.h"

namespace vemurion {

TfrmSelection::TfrmSelection(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSelection");
    setWindowTitle(QString::fromUtf8("拡張貼り付け"));
    setFixedSize(341, 291);
}

} // namespace vemurion
