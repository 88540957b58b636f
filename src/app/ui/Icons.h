#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vemurion {

// The picture of a tool button, drawn in code; a null icon for an unknown name.
QIcon commandIcon(const QString& buttonName);

// The about box's 150 x 64 product picture.
QPixmap productPicture();

} // namespace vemurion
