#include "support/AsNobody.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace vemurion::test {

namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string readText(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

NobodyRun rerunAsNobody() {
    NobodyRun run;
    if (::geteuid() != 0) return run;
    run.rerun = true;
    if (std::system("command -v setpriv >/dev/null 2>&1") != 0) {
        run.why = "setpriv is not installed, so this cannot run as an unprivileged user";
        return run;
    }

    // nobody cannot reach the build folder, so the binary runs from a folder it can enter.
    std::string folder = "/tmp/vemurion-nobody-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) {
        run.why = "no temporary folder for the unprivileged run";
        return run;
    }
    std::error_code error;
    fs::permissions(folder, fs::perms(0755), error);
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    const fs::path binary = fs::path(folder) / "tests";
    fs::create_hard_link(self, binary, error);
    if (error) fs::copy_file(self, binary, error);
    fs::permissions(binary, fs::perms(0755), error);

    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + "." + test->name();
    const fs::path log = fs::path(folder) / "log";
    const std::string command =
        "cd / && env -u GTEST_OUTPUT TMPDIR=/tmp setpriv --reuid=nobody --regid=nogroup "
        "--clear-groups " +
        quoted(binary.string()) + " --gtest_filter=" + quoted(name) + " >" + quoted(log.string()) +
        " 2>&1";
    const int status = std::system(command.c_str());
    const std::string output = readText(log);
    fs::remove_all(folder, error);

    if (output.find("[  PASSED  ] 1 test") != std::string::npos) {
        run.ran = true;
    } else if (output.find("[  FAILED  ]") != std::string::npos) {
        run.ran = true;
        ADD_FAILURE() << "as nobody:\n" << output;
    } else {
        run.why =
            "cannot run as the user nobody (status " + std::to_string(status) + "): " + output;
    }
    return run;
}

} // namespace vemurion::test
