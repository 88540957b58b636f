#include "app/HelpPages.h"
#include "app/StartArguments.h"

#include "support/ShellFakes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace vemurion {
namespace {

namespace fs = std::filesystem;

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

// The build tree keeps the pages in bin/Help; an installed program finds them in share.
TEST(HelpPages, TheBuildTreesPagesComeFirstThenTheInstalledOnes) {
    std::string pattern = (fs::temp_directory_path() / "vemurion-help-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path prefix = pattern;
    const std::string bin = (prefix / "bin").string();
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share/vemurion/Help");
    std::ofstream(prefix / "share/vemurion/Help/index.html") << "<html></html>";
    EXPECT_EQ(fs::canonical(helpIndexPath(bin)),
              fs::canonical(prefix / "share/vemurion/Help/index.html"));

    fs::create_directories(prefix / "bin/Help");
    std::ofstream(prefix / "bin/Help/index.html") << "<html></html>";
    EXPECT_EQ(helpIndexPath(bin), bin + "/Help/index.html");
    fs::remove_all(prefix);
}

TEST(StartArguments, HelpAndVersionAnswerAndFilesStartTheEditor) {
    EXPECT_EQ(startReply({"--version"}), "Vemurion ver.1.12\n");
    EXPECT_EQ(startReply({"anim.lcd", "--version"}), "Vemurion ver.1.12\n");
    for (const auto& help : {std::vector<std::string>{"--help"}, {"-h", "anim.lcd"}}) {
        const auto reply = startReply(help);
        ASSERT_TRUE(reply.has_value());
        EXPECT_TRUE(reply->starts_with("usage: vemurion [FILE...]\n"));
    }
    EXPECT_EQ(startReply({}), std::nullopt);
    EXPECT_EQ(startReply({"a.lcd", "b.lcd"}), std::nullopt);
    EXPECT_EQ(startReply({"--", "--help"}), std::nullopt);
}

} // namespace
} // namespace vemurion
