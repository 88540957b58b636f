#include "app/ui/Application.h"

#include "app/StartArguments.h"

#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>

#include <exception>

namespace vemurion {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vemurion"));
    setApplicationVersion(QString::fromUtf8(kProgramVersion));
    setOrganizationName(QStringLiteral("Vemurion"));
    setOrganizationDomain(QStringLiteral("vemurion.github.io"));
    // Ties the window to the desktop entry, whose icon and name the desktop then shows.
    setDesktopFileName(QString::fromUtf8(kApplicationId));
    // The installed icon, where the desktop's icon theme finds it (none in the build tree).
    setWindowIcon(QIcon::fromTheme(QString::fromUtf8(kApplicationId)));
    if (loadQtTranslation(m_qtTranslation)) installTranslator(&m_qtTranslation);
    // Numbers, dates and file types that Qt's dialogs show follow the program's Japanese.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    keepNoSettings();
}

void keepNoSettings() {
    // A folder below a device cannot be made, so nothing is ever written there.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null/none"));
}

bool loadQtTranslation(QTranslator& translator) {
    return translator.load(QStringLiteral("qtbase_ja"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Vemurion"), QString::fromUtf8(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QStringLiteral("Vemurion"),
                              QString::fromUtf8("予期しないエラーが発生しました."));
    }
    return false;
}

void applyWindowFont(QApplication& app) {
    QFont font = app.font();
    if (QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
        font.setFamily(QStringLiteral("IPAPGothic"));
    }
    font.setPixelSize(12);
    app.setFont(font);
}

} // namespace vemurion
