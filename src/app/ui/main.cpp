#include "app/StartArguments.h"
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"

#include <cstdio>

int main(int argc, char** argv) {
    // Answered before the application object exists, so no display is needed and no window opens.
    if (const auto reply = vemurion::startReply(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fputs(reply->c_str(), stdout);
        return 0;
    }
    vemurion::Application app(argc, argv);
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
