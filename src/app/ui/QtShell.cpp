#include "app/ui/QtShell.h"

#include "app/HelpPages.h"

#include <QProcess>
#include <QUrl>

namespace vemurion {

void QtShell::openTarget(const std::string& target) {
    const QString text = QString::fromStdString(target);
    const QUrl url =
        text.contains(QLatin1String("://")) || text.startsWith(QLatin1String("mailto:"))
            ? QUrl(text)
            : QUrl::fromLocalFile(text);
    auto* opener = new QProcess(&m_context);
    const auto failed = [this, opener, target] {
        opener->deleteLater();
        if (m_prompts != nullptr) m_prompts->warn(openFailedMessage(target));
    };
    QObject::connect(opener, &QProcess::finished, &m_context,
                     [opener, failed](int code, QProcess::ExitStatus status) {
                         if (code != 0 || status != QProcess::NormalExit) {
                             failed();
                         } else {
                             opener->deleteLater();
                         }
                     });
    QObject::connect(opener, &QProcess::errorOccurred, &m_context,
                     [failed](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) failed();
                     });
    opener->start(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

} // namespace vemurion
