#pragma once

#include <QApplication>
#include <QTranslator>

namespace vemurion {

// The application object. An exception that escapes an event handler is shown in a message box
// and the program goes on.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    QTranslator m_qtTranslation;
};

// Loads Qt's own Japanese texts (file dialogs, the overwrite question, standard buttons) from
// Qt's translations folder into `translator`. False when they are not installed; Qt's dialogs
// then speak English.
bool loadQtTranslation(QTranslator& translator);

// The program keeps no settings: Qt's file dialogs, which would write their history and last
// folder to the user's QtProject.conf, get a place for it that can hold nothing, and read
// nothing from it. Call once, before any dialog.
void keepNoSettings();

// The Japanese proportional gothic the window's layout was made for, where installed.
void applyWindowFont(QApplication& app);

} // namespace vemurion
