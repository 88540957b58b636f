#include "app/HelpPages.h"

#include "files/FileIo.h"

// The installed pages' folder relative to the installed program's, set by the build from the
// install folders.
#ifndef VEMURION_HELP_FROM_BINDIR
#define VEMURION_HELP_FROM_BINDIR "../share/vemurion/Help"
#endif

namespace vemurion {

std::string helpIndexPath(std::string_view programFolder) {
    const std::string beside = std::string(programFolder) + "/Help/index.html";
    const std::string installed =
        std::string(programFolder) + "/" VEMURION_HELP_FROM_BINDIR "/index.html";
    return !fileExists(beside) && fileExists(installed) ? installed : beside;
}

void openHelpContents(Editor& e) {
    if (e.shell != nullptr) e.shell->openTarget(helpIndexPath(e.ProgramFolder));
}

void openSupportPage(Editor& e) {
    if (e.shell != nullptr) e.shell->openTarget(kSupportAddress);
}

std::string openFailedMessage(std::string_view target) {
    return std::string(target) + " を開けませんでした.表示できるプログラムが見つかりません.";
}

} // namespace vemurion
