#include "publish/TagDialog.h"

namespace vemurion {

TfrmTag::TfrmTag(QWidget* parent) : QDialog(parent) {
    setObjectName("frmTag");
    setWindowTitle(QString::fromUtf8("タグをコピー"));
    setFixedSize(493, 277);
}

} // namespace vemurion
