#include "app/HelpPages.h"

namespace vemurion {

std::string helpIndexPath(std::string_view programFolder) {
    return std::string(programFolder) + "/Help/index.html";
}

void openHelpContents(Editor& e) {
    if (e.shell != nullptr) e.shell->openTarget(helpIndexPath(e.ProgramFolder));
}

void openSupportPage(Editor& e) {
    if (e.shell != nullptr) e.shell->openTarget(kSupportAddress);
}

} // namespace vemurion
