#pragma once

// The monkey's hands and eyes: the real main window on the offscreen platform, driven by the
// actions of Sequence.h, and the checks made after every action.

#include "Sequence.h"

#include <memory>
#include <string>

namespace vemurion::monkey {

class Driver {
public:
    // Files the actions open, save and add go under `folder`, which must exist and be empty.
    explicit Driver(const std::string& folder);
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // Runs one action and checks the window after it: empty when all holds, else what broke.
    std::string run(const Action& action);
    // One line on the document and the window after the last action.
    std::string describe() const;

private:
    struct State;
    std::unique_ptr<State> m;
};

} // namespace vemurion::monkey
