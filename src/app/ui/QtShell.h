#pragma once

#include "spine/Services.h"

#include <QObject>

namespace vemurion {

// Opens files and addresses with the desktop's preferred programs, through xdg-open. When the
// desktop has no program for the target, or xdg-open cannot be started, `prompts` says so.
class QtShell : public ShellPort {
public:
    explicit QtShell(Prompts* prompts) : m_prompts(prompts) {}
    void openTarget(const std::string& target) override;

private:
    Prompts* m_prompts;
    QObject m_context; // ends the wait for xdg-open's answer with the shell
};

} // namespace vemurion
