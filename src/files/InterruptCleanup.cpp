#include "files/InterruptCleanup.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iterator>

#include <limits.h>
#include <unistd.h>

namespace vemurion {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM};
constexpr std::size_t kSignalCount = std::size(kSignals);

// Read by the handler at any moment: the path is complete before g_armed is set, and each
// previous disposition is stored before the handler is installed in its place.
char g_path[PATH_MAX];
volatile std::sig_atomic_t g_armed = 0;
struct sigaction g_previous[kSignalCount];
volatile std::sig_atomic_t g_installed[kSignalCount] = {};

sigset_t interruptSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : kSignals)
        sigaddset(&signals, signal);
    return signals;
}

void restorePrevious() {
    for (std::size_t i = 0; i < kSignalCount; ++i) {
        if (g_installed[i]) ::sigaction(kSignals[i], &g_previous[i], nullptr);
    }
}

// Async-signal-safe calls only. The signal stays blocked until the handler returns, so the one
// raised again reaches the previous disposition then: the default one ends the process with the
// signal, as a shell expects.
void removeThenResignal(int signal) {
    const int savedErrno = errno;
    if (g_armed) ::unlink(g_path);
    restorePrevious();
    ::raise(signal);
    errno = savedErrno;
}

} // namespace

InterruptsHeld::InterruptsHeld() {
    const sigset_t signals = interruptSignals();
    ::pthread_sigmask(SIG_BLOCK, &signals, &m_previous);
}

InterruptsHeld::~InterruptsHeld() {
    ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

RemovedOnInterrupt::RemovedOnInterrupt(const std::string& path) {
    if (g_armed || path.empty() || path.size() >= sizeof g_path) return;
    std::memcpy(g_path, path.c_str(), path.size() + 1);
    g_armed = 1;
    m_armed = true;

    struct sigaction action {};
    action.sa_handler = removeThenResignal;
    action.sa_mask = interruptSignals();
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignalCount; ++i) {
        struct sigaction previous {};
        if (::sigaction(kSignals[i], nullptr, &previous) != 0) continue;
        if ((previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler == SIG_IGN) continue;
        g_previous[i] = previous;
        g_installed[i] = ::sigaction(kSignals[i], &action, nullptr) == 0 ? 1 : 0;
    }
}

RemovedOnInterrupt::~RemovedOnInterrupt() {
    if (!m_armed) return;
    g_armed = 0;
    restorePrevious();
    for (std::size_t i = 0; i < kSignalCount; ++i)
        g_installed[i] = 0;
}

} // namespace vemurion
