// The quillory-levelbot program on a data folder of the test's own: a level the good player
// cannot win makes exit status 1 and is named on the report page, which links its plot; passing
// levels make 0; bad arguments and a missing folder make 2 and write nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/program_run.h"
#include "support/sim_world.h"

namespace {

// Runs the bot with its output in "out.txt" and "err.txt" of `out`.
int RunTool(std::vector<std::string> arguments, const TestSupport::TempFolder& out) {
    return TestSupport::RunProgram({.program = QUILLORY_LEVELBOT_TOOL,
                                    .arguments = std::move(arguments),
                                    .errorFile = out.File("err.txt"),
                                    .outputFile = out.File("out.txt")});
}

TEST(QuilloryLevelbotTest, ALevelTooShortToWinFailsAndIsReported) {
    TestSupport::SimData data;
    data.WriteLevel(1, {{"levelTime", "300"}});
    // 42 cells in 20 s: no player fills them.
    data.WriteLevel(2, {{"levelTime", "20"}});
    TestSupport::TempFolder out;
    ASSERT_EQ(RunTool({"--data", data.data.Path(), "--seeds", "2", "--quiet", "--markdown",
                       out.File("levels.md"), "--plot", out.File("levels.png")},
                      out),
              1)
        << out.Read("err.txt");
    EXPECT_EQ(out.Read("err.txt"), "");
    const std::string printed = out.Read("out.txt");
    EXPECT_NE(printed.find("level 2, classic: the good player won 0 of 2 games (not won: seeds "
                           "1, 2)\nlevel 2, transformer: the good player won 0 of 2 games"),
              std::string::npos)
        << printed;
    EXPECT_NE(printed.find("2 levels played in"), std::string::npos);
    const std::string page = out.Read("levels.md");
    EXPECT_NE(page.find("**Checks: 2 problems.**"), std::string::npos);
    EXPECT_NE(page.find("](levels.png)"), std::string::npos);
    EXPECT_EQ(out.Read("levels.png").substr(1, 3), "PNG");

    // Level 1 alone passes, with its progress line on stderr.
    EXPECT_EQ(
        RunTool({"--data", data.data.Path(), "--seeds", "1", "--levels", "1", "--good-only"}, out),
        0);
    EXPECT_EQ(out.Read("err.txt").substr(0, 10), "level  1: ");
}

TEST(QuilloryLevelbotTest, BadArgumentsAndMissingDataWriteNothing) {
    TestSupport::TempFolder out;
    const std::string page = out.File("levels.md");
    EXPECT_EQ(RunTool({"--seeds", "0", "--markdown", page}, out), 2);
    EXPECT_NE(out.Read("err.txt").find("bad value '0' for --seeds"), std::string::npos);
    EXPECT_EQ(RunTool({"--levels", "9-3", "--markdown", page}, out), 2);
    EXPECT_EQ(RunTool({"--wobble", "--markdown", page}, out), 2);
    EXPECT_EQ(RunTool({"--data", out.File("none"), "--markdown", page}, out), 2);
    EXPECT_NE(out.Read("err.txt").find("cannot open the data folder"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out.File("levels.md")));
}

}  // namespace
