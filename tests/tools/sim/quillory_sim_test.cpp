// The quillory-sim program: levels 1 and 39 of the game's data won by the good player in Classic
// and Transformer with seed 1, a save and restore through the command line, and its refusals.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/json_line.h"
#include "support/sim_world.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::JsonLine;

int RunTool(const std::string& arguments, const TestSupport::TempFolder& out) {
    const std::string command = std::string(QUILLORY_SIM_TOOL) + " " + arguments + " > " +
                                out.File("out.jsonl") + " 2> " + out.File("err.txt");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Data() {
    return "--data '" + TestSupport::GameDataFolder() + "'";
}

TEST(QuillorySimTest, TheGoodPlayerWinsLevelsOneAnd39InClassicAndTransformer) {
    for (const char* mode : {"classic", "transformer"}) {
        for (int level : {1, 39}) {
            TestSupport::TempFolder out;
            ASSERT_EQ(RunTool(Data() + " --mode " + mode + " --level " + std::to_string(level) +
                                  " --seed 1 --player good",
                              out),
                      0)
                << out.Read("err.txt");
            const std::vector<JsonLine> lines =
                TestSupport::ParseJsonLines(out.Read("out.jsonl"));
            ASSERT_GE(lines.size(), 3u);
            EXPECT_EQ(lines.front()["event"], "level_start");
            EXPECT_EQ(lines.front().Int("level"), level);
            EXPECT_EQ(lines.front()["mode"], mode);
            EXPECT_EQ(lines.back()["event"], "level_end") << mode << " " << level;
            bool won = false;
            for (const JsonLine& line : lines) {
                won = won || line["event"] == "won";
                EXPECT_NE(line["event"], "lost");
            }
            EXPECT_TRUE(won) << mode << " " << level;
            EXPECT_EQ(out.Read("err.txt"), "");
        }
    }
}

TEST(QuillorySimTest, SavesAndRestoresThroughTheCommandLine) {
    TestSupport::TempFolder user;
    TestSupport::TempFolder out;
    const std::string common = Data() + " --userdir '" + user.Path() + "' --level 2";
    ASSERT_EQ(RunTool(common + " --player good --save-at 40.5 --max-seconds 50", out), 0);
    EXPECT_NE(out.Read("out.jsonl").find("\"event\":\"saved\",\"level\":2"), std::string::npos);
    ASSERT_EQ(RunTool(common + " --player good --restore --max-seconds 1", out), 0)
        << out.Read("err.txt");
    const std::vector<JsonLine> lines = TestSupport::ParseJsonLines(out.Read("out.jsonl"));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1]["event"], "restored");
    EXPECT_EQ(lines[1]["elapsed"], "40.500");
}

TEST(QuillorySimTest, ExplainsWhatItRefuses) {
    TestSupport::TempFolder out;
    EXPECT_EQ(RunTool("--mode arcade", out), 2);
    EXPECT_NE(out.Read("err.txt").find("usage: quillory-sim"), std::string::npos);
    EXPECT_EQ(RunTool(Data() + " --level 999", out), 1);
    EXPECT_NE(out.Read("err.txt").find("no level 999"), std::string::npos);
    EXPECT_EQ(out.Read("out.jsonl"), "");
}

}  // namespace
