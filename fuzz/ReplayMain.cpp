// Runs a fuzz target over the given files, and over every file in the given folders, once each
// and in name order; used where libFuzzer is not linked. A broken check aborts, and an input
// that runs longer than VEMURION_REPLAY_SECONDS (default 10, room for a sanitizer build on a
// busy machine) ends the run as a failure.

#include "FuzzSupport.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const char* g_current = "";

void timedOut(int) {
    const char text[] = "input ran too long: ";
    [[maybe_unused]] auto a = ::write(2, text, sizeof text - 1);
    [[maybe_unused]] auto b = ::write(2, g_current, std::char_traits<char>::length(g_current));
    [[maybe_unused]] auto c = ::write(2, "\n", 1);
    ::_exit(1);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path given(argv[i]);
        if (fs::is_directory(given)) {
            for (const auto& entry : fs::directory_iterator(given)) {
                if (entry.is_regular_file()) inputs.push_back(entry.path());
            }
        } else if (fs::is_regular_file(given)) {
            inputs.push_back(given);
        } else {
            std::cerr << "no such input: " << given << "\n";
            return 1;
        }
    }
    std::sort(inputs.begin(), inputs.end());

    const char* limit = std::getenv("VEMURION_REPLAY_SECONDS");
    const unsigned seconds = limit != nullptr ? static_cast<unsigned>(std::atoi(limit)) : 10u;
    std::signal(SIGALRM, timedOut);
    LLVMFuzzerInitialize(&argc, &argv);
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        const std::string name = input.string();
        g_current = name.c_str();
        ::alarm(seconds);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ::alarm(0);
    }
    std::cout << inputs.size() << " inputs replayed\n";
    return 0;
}
