// The quillory-levelbot program on a data folder of the test's own: a level the good player
// cannot win makes exit status 1 and is named on the report page and its plot; passing levels
// make 0; bad arguments, missing levels or folders and an unwritable plot make 2.
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

// A normal level, one too short to win (42 cells in 20 s), a bonus level played past its clock
// and a level that the casual player wins once in two: the page and the plot are compared with
// those stored in expected/ (QUILLORY_UPDATE_EXPECTED=1 ctest -R QuilloryLevelbotTest stores new
// ones).
TEST(QuilloryLevelbotTest, ALevelTooShortToWinFailsAndTheReportIsAsStored) {
    TestSupport::SimData data;
    data.WriteLevel(1, {{"levelTime", "300"}});
    data.WriteLevel(2, {{"levelTime", "20"}});
    data.WriteLevel(3, {{"levelTime", "40"}, {"bonusLevel", "true"}});
    data.WriteLevel(4, {{"levelTime", "106"}});
    TestSupport::TempFolder out;
    ASSERT_EQ(RunTool({"--data", data.data.Path(), "--seeds", "2", "--first-seed", "3", "--quiet",
                       "--markdown", out.File("levels.md"), "--plot", out.File("levels.png")},
                      out),
              1)
        << out.Read("err.txt");
    EXPECT_EQ(out.Read("err.txt"), "");
    const std::string printed = out.Read("out.txt");
    EXPECT_EQ(printed.substr(0, printed.find(" played in")),
              "level 2, classic: the good player won 0 of 2 games (not won: seeds 3, 4)\n"
              "level 2, transformer: the good player won 0 of 2 games (not won: seeds 3, 4)\n"
              "stage 1, classic: level 4 takes the good player 47% of its clock in the median "
              "game, level 2 100% (an easier level later by more than 5%)\n"
              "stage 1, transformer: level 4 takes the good player 49% of its clock in the median "
              "game, level 2 100% (an easier level later by more than 5%)\n"
              "4 levels");
    TestSupport::ExpectStoredOutput("levels.md", out.Read("levels.md"));
    const std::string plot = out.Read("levels.png");
    EXPECT_TRUE(TestSupport::StoredOutput("levels.png", plot) == plot)
        << "the plot differs from expected/levels.png";

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
    TestSupport::SimData data;
    data.WriteLevel(1);
    data.WriteLevel(2);
    EXPECT_EQ(RunTool({"--data", data.data.Path(), "--levels", "1-3"}, out), 2);
    EXPECT_NE(
        out.Read("err.txt").find("levels 1 to 3 asked for; the data folder has levels 1 to 2"),
        std::string::npos);
    const std::string plot = out.File("no/levels.png");
    EXPECT_EQ(RunTool({"--data", data.data.Path(), "--seeds", "1", "--plot", plot}, out), 2);
    EXPECT_NE(out.Read("err.txt").find("cannot write the plot '" + plot + "'"), std::string::npos);
}

}  // namespace
