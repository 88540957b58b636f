#include "app/ui/QtShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace vemurion {

void QtShell::openTarget(const std::string& target) {
    const QString text = QString::fromStdString(target);
    const QUrl url =
        text.contains(QLatin1String("://")) || text.startsWith(QLatin1String("mailto:"))
            ? QUrl(text)
            : QUrl::fromLocalFile(text);
    QDesktopServices::openUrl(url);
}

} // namespace vemurion
