#pragma once

#include <QApplication>

namespace vemurion {

// The application object. An exception that escapes an event handler is shown in a message box
// and the program goes on.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The Japanese proportional gothic the window's layout was made for, where installed.
void applyWindowFont(QApplication& app);

} // namespace vemurion
