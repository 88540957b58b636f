#pragma once

#include "spine/Services.h"

#include <string>
#include <vector>

namespace vemurion::test {

// Records what the program asked the shell to open, in order.
class RecordingShell : public ShellPort {
public:
    std::vector<std::string> opened;
    void openTarget(const std::string& target) override { opened.push_back(target); }
};

} // namespace vemurion::test
