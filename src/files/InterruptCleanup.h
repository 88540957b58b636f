#pragma once

#include <string>

#include <signal.h>

namespace vemurion {

// Holds SIGINT and SIGTERM back in the calling thread while it lives; one that came meanwhile
// arrives when it ends. Lets a file get its name and its cleanup in one step.
class InterruptsHeld {
public:
    InterruptsHeld();
    ~InterruptsHeld();
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;

private:
    sigset_t m_previous;
};

// While it lives, SIGINT and SIGTERM first remove the file named `path` (relative to the working
// folder of that moment), then take the course they had before: by default the process ends, as
// the signal asked. A signal that was ignored stays ignored and removes nothing. One path at a
// time in a process: one made while another lives does nothing. For the editor and the batch tool
// alike, so that Ctrl-C or a kill during a save leaves no hidden temporary file behind.
class RemovedOnInterrupt {
public:
    explicit RemovedOnInterrupt(const std::string& path);
    ~RemovedOnInterrupt();
    RemovedOnInterrupt(const RemovedOnInterrupt&) = delete;
    RemovedOnInterrupt& operator=(const RemovedOnInterrupt&) = delete;

private:
    bool m_armed = false;
};

} // namespace vemurion
