#pragma once

#include "spine/Services.h"

namespace vemurion {

// Opens files and addresses with the desktop's preferred programs.
class QtShell : public ShellPort {
public:
    void openTarget(const std::string& target) override;
};

} // namespace vemurion
