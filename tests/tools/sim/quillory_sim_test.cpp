// The quillory-sim program on the game's own data: the good player with seed 1 passes level 1's
// tutorial as a person must and wins levels 1 and 39 in Classic and Transformer at about one
// pick-up every 1.2 s; a save and restore through the command line; what it refuses.
#include <gtest/gtest.h>

#include <string>

#include "support/program_run.h"
#include "support/sim_world.h"

namespace {

using TestSupport::EventLine;

// Runs the simulator on the game's data with its output in "out.jsonl" and "err.txt" of `out`.
int RunTool(std::vector<std::string> arguments, const TestSupport::TempFolder& out) {
    arguments.insert(arguments.begin(), {"--data", TestSupport::GameDataFolder()});
    return TestSupport::RunProgram({.program = QUILLORY_SIM_TOOL,
                                    .arguments = std::move(arguments),
                                    .errorFile = out.File("err.txt"),
                                    .outputFile = out.File("out.jsonl")});
}

TEST(QuillorySimTest, TheGoodPlayerWinsLevelsOneAnd39InClassicAndTransformer) {
    for (const std::string mode : {"classic", "transformer"}) {
        for (const std::string level : {"1", "39"}) {
            TestSupport::TempFolder out;
            ASSERT_EQ(
                RunTool({"--mode", mode, "--level", level, "--seed", "1", "--player", "good"}, out),
                0);
            EXPECT_EQ(out.Read("err.txt"), "");
            const std::vector<EventLine> lines = TestSupport::ReadEvents(out.Read("out.jsonl"));
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines.front()["level"] + lines.front()["mode"], level + mode);
            EXPECT_EQ(TestSupport::OfKind(lines, "won").size(), 1u) << mode << level;
            EXPECT_EQ(lines.back()["event"], "level_end");
            std::string moves;
            std::vector<double> takes;
            for (const EventLine& line : lines) {
                const std::string& event = line["event"];
                if (event == "take" || event == "turn" || event == "drop") {
                    moves += event + line["slot"] + line["cell"] + " ";
                }
                if (event == "take") {
                    takes.push_back(line.Number("t"));
                }
            }
            if (level == "1") {
                EXPECT_EQ(moves.substr(0, mode == "classic" ? 12 : 17),
                          mode == "classic" ? "take4 drop4 " : "take4 turn drop4 ");
            }
            const double pace = (takes.back() - takes.front()) / (takes.size() - 1.0);
            EXPECT_GT(pace, 1.0);
            EXPECT_LT(pace, 1.6);
        }
    }
}

TEST(QuillorySimTest, SavesAndRestoresThroughTheCommandLine) {
    TestSupport::TempFolder user;
    TestSupport::TempFolder out;
    const std::string folder = user.Path();
    ASSERT_EQ(RunTool({"--userdir", folder, "--level", "2", "--player", "good", "--save-at", "40.5",
                       "--max-seconds", "50"},
                      out),
              0);
    EXPECT_NE(out.Read("out.jsonl").find("\"event\":\"saved\",\"level\":2"), std::string::npos);
    ASSERT_EQ(RunTool({"--userdir", folder, "--level", "2", "--player", "good", "--restore",
                       "--max-seconds", "1"},
                      out),
              0)
        << out.Read("err.txt");
    const std::vector<EventLine> lines = TestSupport::ReadEvents(out.Read("out.jsonl"));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1]["event"] + " " + lines[1]["elapsed"], "restored 40.500");
}

TEST(QuillorySimTest, ExplainsWhatItRefuses) {
    TestSupport::TempFolder out;
    const std::vector<std::vector<std::string>> refused = {
        {"--mode", "arcade"},
        {"--level", "0"},
        {"--seed", "-1"},
        {"--max-seconds", "nan"},
        {"--save-at", "-1"},
        {"--speed", "2"},
        {"--script", "s", "--player", "good"},
        {"--restore"}};  // a restore needs the user folder of the save
    for (const std::vector<std::string>& bad : refused) {
        EXPECT_EQ(RunTool(bad, out), 2) << bad[0];
        EXPECT_NE(out.Read("err.txt").find("usage: quillory-sim"), std::string::npos);
    }
    EXPECT_EQ(RunTool({"--level", "999"}, out), 1);
    EXPECT_NE(out.Read("err.txt").find("no level 999"), std::string::npos);
    EXPECT_EQ(out.Read("out.jsonl"), "");
}

}  // namespace
