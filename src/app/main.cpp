#include "app/Application.h"
#include "app/MainWindow.h"

int main(int argc, char** argv) {
    vemurion::Application app(argc, argv);
    vemurion::applyWindowFont(app);
    vemurion::TfrmMain frmMain;
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    frmMain.FormCreate(arguments.mid(0, 1));
    frmMain.show();
    app.exec();
    return 0;
}
