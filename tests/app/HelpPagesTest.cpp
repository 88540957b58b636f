#include "app/HelpPages.h"

#include "support/ShellFakes.h"

#include <gtest/gtest.h>

namespace vemurion {
namespace {

TEST(HelpPages, ContentsOpensTheIndexBesideTheProgramWhetherOrNotItExists) {
    test::RecordingShell shell;
    Editor e;
    e.shell = &shell;
    e.ProgramFolder = "/nowhere/bin";
    openHelpContents(e);
    openSupportPage(e);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"/nowhere/bin/Help/index.html",
                                                      "https://github.com/vemurion/vemurion"}));
}

} // namespace
} // namespace vemurion
