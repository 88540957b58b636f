// vemurion_monkey: random user actions on the real main window, the window checked after each.
//
//   vemurion_monkey [--seed N] [--actions N] [--keep FOLDER] [--action-seconds N] [--trace]
//       Runs N actions (default 20000) drawn from seed N (default: from the clock), printing the
//       seed first. On a failure it prints the failing action, shrinks the run to the shortest
//       tail that still fails the same way, prints that and keeps it in FOLDER as
//       seed-N.monkey, and exits with 1. An action that takes more than --action-seconds
//       (default 20) is a failure; --trace prints each action and the state after it.
//   vemurion_monkey --replay PATH...
//       Runs each kept sequence (*.monkey, or every one in a folder) from a fresh window; fails
//       when any of them fails.
//
// Every run goes in a child process, so that a sanitizer's report or a crash also counts as a
// failure and the parent can go on shrinking.

#include "MonkeyDriver.h"
#include "Sequence.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace vemurion::monkey;

// What a child tells its parent: the action it is at and, for a broken check, what broke.
struct Shared {
    std::uint64_t index;
    char what[512];
};
Shared* g_shared = nullptr;
bool g_trace = false;
unsigned g_actionSeconds = 20;

// An action that does not come back, a modal loop nobody ends among them, is a failure.
void actionTimedOut(int) {
    static const char text[] = "an action ran too long";
    std::memcpy(g_shared->what, text, sizeof text);
    ::_exit(1);
}

// The offscreen platform's notes on what it cannot do (raise a window, grab the keyboard).
void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg ||
        message.startsWith("This plugin does not support") || message.contains("XDG_RUNTIME_DIR"))
        return;
    std::cerr << message.toStdString() << "\n";
}

struct Outcome {
    bool failed = false;
    std::uint64_t index = 0; // the action running or last run
    std::string what;        // the broken check, or how the process ended
    double seconds = 0;
};

// Runs `next` actions (nullopt ends the run) in a child with a fresh window.
template <class Next> Outcome runInChild(Next next, bool quiet) {
    std::memset(g_shared, 0, sizeof(Shared));
    const auto start = std::chrono::steady_clock::now();
    std::cout.flush();
    std::cerr.flush();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (quiet) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        int code = 0;
        {
            QTemporaryDir config;
            qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
            std::signal(SIGALRM, actionTimedOut);
            qInstallMessageHandler(quietHandler);
            int argc = 1;
            char name[] = "vemurion_monkey";
            char* argv[] = {name, nullptr};
            QApplication app(argc, argv);
            QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
            QTemporaryDir folder;
            Driver driver(folder.path().toStdString());
            for (std::uint64_t i = 0;; ++i) {
                const std::optional<Action> action = next(i);
                if (!action) break;
                g_shared->index = i;
                ::alarm(g_actionSeconds);
                const std::string broken = driver.run(*action);
                ::alarm(0);
                if (g_trace)
                    std::cout << i << " " << formatAction(*action) << " -> " << driver.describe()
                              << "\n";
                if (!broken.empty()) {
                    std::snprintf(g_shared->what, sizeof g_shared->what, "%s", broken.c_str());
                    std::cerr << "action " << i << " (" << formatAction(*action)
                              << ") broke a check: " << broken << "\n";
                    code = 1;
                    break;
                }
            }
        }
        std::exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    Outcome outcome;
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.index = g_shared->index;
    outcome.failed = !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    if (g_shared->what[0] != '\0') {
        outcome.what = g_shared->what;
    } else if (WIFSIGNALED(status)) {
        outcome.what = "crash (signal " + std::to_string(WTERMSIG(status)) + ")";
    } else if (outcome.failed) {
        outcome.what =
            "crash or sanitizer report (exit " + std::to_string(WEXITSTATUS(status)) + ")";
    }
    return outcome;
}

// Failures are the same when they break the same check, whatever frame, slot or pixel.
bool sameFailure(std::string a, std::string b) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    a.erase(std::remove_if(a.begin(), a.end(), digit), a.end());
    b.erase(std::remove_if(b.begin(), b.end(), digit), b.end());
    return a == b;
}

Outcome runSequence(const std::vector<Action>& actions, bool quiet) {
    return runInChild(
        [&](std::uint64_t i) -> std::optional<Action> {
            if (i >= actions.size()) return std::nullopt;
            return actions[i];
        },
        quiet);
}

int replay(const std::vector<std::string>& given) {
    std::vector<fs::path> files;
    for (const std::string& g : given) {
        if (fs::is_directory(g)) {
            for (const auto& entry : fs::directory_iterator(g))
                if (entry.path().extension() == ".monkey") files.push_back(entry.path());
        } else {
            files.emplace_back(g);
        }
    }
    std::sort(files.begin(), files.end());
    int failures = 0;
    for (const fs::path& file : files) {
        std::ifstream in(file);
        std::string error;
        const auto actions = readActions(in, &error);
        if (!in.eof() || !actions) {
            std::cerr << file.string() << ": cannot read " << error << "\n";
            ++failures;
            continue;
        }
        const Outcome outcome = runSequence(*actions, false);
        std::cout << file.string() << ": " << actions->size() << " actions, "
                  << (outcome.failed ? "FAILED: " + outcome.what : "passed") << "\n";
        failures += outcome.failed ? 1 : 0;
    }
    return failures == 0 ? 0 : 1;
}

int randomRun(std::uint64_t seed, std::uint64_t count, const std::string& keep) {
    std::cout << "monkey seed " << seed << ", " << count << " actions" << std::endl;
    ActionStream stream(seed);
    const Outcome outcome = runInChild(
        [&](std::uint64_t i) -> std::optional<Action> {
            if (i >= count) return std::nullopt;
            return stream.next();
        },
        false);
    if (!outcome.failed) {
        std::cout << "monkey seed " << seed << ": " << count << " actions in " << outcome.seconds
                  << " s (" << static_cast<long>(double(count) / outcome.seconds)
                  << " a second), no finding" << std::endl;
        return 0;
    }
    std::cout << "monkey seed " << seed << " FAILED at action " << outcome.index << ": "
              << outcome.what << "\nshrinking..." << std::endl;
    const std::vector<Action> failing = actionsOf(seed, outcome.index + 1);
    const std::string what = outcome.what;
    int runs = 0;
    const std::vector<Action> shortest = shrink(
        failing,
        [&](const std::vector<Action>& candidate) {
            ++runs;
            const Outcome o = runSequence(candidate, true);
            return o.failed && sameFailure(o.what, what);
        },
        400);
    std::cout << "shortest failing tail, " << shortest.size() << " actions (" << runs
              << " runs):\n";
    writeActions(std::cout, shortest);
    if (!keep.empty()) {
        fs::create_directories(keep);
        const fs::path file = fs::path(keep) / ("seed-" + std::to_string(seed) + ".monkey");
        std::ofstream out(file);
        out << "# monkey seed " << seed << ", action " << outcome.index << ": " << what << "\n";
        writeActions(out, shortest);
        std::cout << "kept in " << file.string() << std::endl;
    }
    std::cout << "again, with its report:" << std::endl;
    runSequence(shortest, false);
    std::cout << "monkey seed " << seed << " FAILED: " << what << std::endl;
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    void* memory =
        ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return 2;
    g_shared = static_cast<Shared*>(memory);

    std::uint64_t seed =
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    seed %= 1000000000;
    std::uint64_t count = 20000;
    std::string keep;
    std::vector<std::string> replays;
    bool replaying = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--replay") {
            replaying = true;
        } else if (replaying) {
            replays.push_back(arg);
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = std::stoull(argv[++i]);
        } else if (arg == "--actions" && i + 1 < argc) {
            count = std::stoull(argv[++i]);
        } else if (arg == "--action-seconds" && i + 1 < argc) {
            g_actionSeconds = static_cast<unsigned>(std::stoul(argv[++i]));
        } else if (arg == "--trace") {
            g_trace = true; // each action and the state after it
        } else if (arg == "--keep" && i + 1 < argc) {
            keep = argv[++i];
        } else {
            std::cerr << "usage: vemurion_monkey [--seed N] [--actions N] [--keep FOLDER]\n"
                         "       vemurion_monkey --replay PATH...\n";
            return 2;
        }
    }
    return replaying ? replay(replays) : randomRun(seed, count, keep);
}
