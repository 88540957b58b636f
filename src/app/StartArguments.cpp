#include "app/StartArguments.h"

#include "spine/Editor.h"

namespace vemurion {

std::optional<std::string> startReply(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--") break;
        if (argument == "--help" || argument == "-h") {
            return "usage: vemurion [FILE...]\n"
                   "  Starts the editor. The first FILE, when it names an existing LCD image\n"
                   "  file (.lcd or .txt), is opened in it; further files are ignored.\n"
                   "  --help     print this text and exit\n"
                   "  --version  print the version and exit\n";
        }
        if (argument == "--version") return std::string(kVersionText) + "\n";
    }
    return std::nullopt;
}

} // namespace vemurion
