#include "app/StartArguments.h"
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {

// While the application object connects to the display, Qt's own complaints stay unsaid, and a
// display that cannot be reached ends the program with one line of its own instead of Qt's
// abort.
void startupMessage(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type != QtFatalMsg) return;
    std::fputs("vemurion: ディスプレイに接続できないため, ウィンドウを開けません.\n", stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char** argv) {
    // Answered before the application object exists, so no display is needed and no window opens.
    if (const auto reply = vemurion::startReply(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fputs(reply->c_str(), stdout);
        return 0;
    }
    const QtMessageHandler usual = qInstallMessageHandler(startupMessage);
    vemurion::Application app(argc, argv);
    qInstallMessageHandler(usual);
    vemurion::applyWindowFont(app);
    vemurion::TfrmMain frmMain;
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    arguments.removeAll(QStringLiteral("--"));
    frmMain.FormCreate(arguments);
    frmMain.show();
    app.exec();
    return 0;
}
