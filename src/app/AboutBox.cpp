#include "app/AboutBox.h"

#include "app/Icons.h"
#include "editor/Editor.h"

#include <QLabel>
#include <QPushButton>

namespace vemurion {

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle(QString::fromUtf8("Vemurion のバージョン情報"));
    setFixedSize(304, 178);
    auto* picture = new QLabel(this);
    picture->setObjectName("Image1");
    picture->setPixmap(productPicture());
    picture->setGeometry(10, 10, 150, 64);
    lbVersion = new QLabel(this);
    lbVersion->setObjectName("lbVersion");
    lbVersion->setGeometry(165, 45, 130, 16);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName("OK");
    ok->setGeometry(180, 145, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmAbout::showEvent(QShowEvent* event) {
    lbVersion->setText(QString::fromUtf8(kVersionText));
    QDialog::showEvent(event);
}

} // namespace vemurion
