// The quillory-sim program: fixed-seed runs on a data folder of the test's own, each compared
// line by line with its event log stored in expected/ (QUILLORY_UPDATE_EXPECTED=1 ctest -R
// QuillorySimTest stores new ones after a change made on purpose); what it refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/program_run.h"
#include "support/sim_world.h"

namespace {

using TestSupport::TempFolder;

// Runs the simulator with its output in "out.jsonl" and "err.txt" of `out`.
int RunTool(std::vector<std::string> arguments, const TempFolder& out,
            std::vector<std::pair<std::string, std::string>> environment = {}) {
    return TestSupport::RunProgram({.program = QUILLORY_SIM_TOOL,
                                    .arguments = std::move(arguments),
                                    .environment = std::move(environment),
                                    .errorFile = out.File("err.txt"),
                                    .outputFile = out.File("out.jsonl")});
}

// Level 1 (the tutorial); level 2 with every bonus and a frequent bug, long enough to save at
// 40.5 s and play on; level 3 too short to win; a script on level 1 of a still field.
TEST(QuillorySimTest, FixedSeedRunsPlayAsTheStoredEventLogs) {
    TestSupport::SimData data;
    data.WriteLevel(1);
    data.WriteLevel(2, {{"levelTime", "300"},
                        {"fBonusAnyShapeP", "0.1"},
                        {"fBonusBandP", "0.08"},
                        {"fBonusAreaP", "0.1"},
                        {"fBugAppearanceRange", "1"},
                        {"lineShapeCount", "8"},
                        {"shapeClassCount", "4"},
                        {"shapeClassList", "c0,c1,c2,c3"}});
    data.WriteLevel(3, {{"levelTime", "12"}});
    TestSupport::SimData still;
    still.WriteLevel(1, {{"lineSpeed", "0"}});
    // Cell 4 stays at (0.29, 0.634); slot 4 queues at (0.775, 0.915); discard at (0.1, 0.875).
    const std::string script =
        still.data.Write("run.txt",
                         "# the tutorial's move, by hand\n\n"
                         "5.5 click 0.1 0.875   # discard: refused in the tutorial\n"
                         "6.0 click 0.775 0.915 # slot 4\r\n"
                         "6.02 move 0.5 0.5     # before the click's release\n"
                         "6.1 press right\n"
                         "6.15 release right\n"
                         "6.2 click 0.29 0.634  # cell 4\n"
                         "7.0 click 0.1 0.875   # discards the first shape\n");
    const std::vector<std::string> common = {"--data", data.data.Path(), "--userdir",
                                             data.user.Path()};
    const std::pair<const char*, std::vector<std::string>> runs[] = {
        {"script.jsonl",  // the later --data wins
         {"--data", still.data.Path(), "--mode", "transformer", "--script", script, "--max-seconds",
          "8"}},
        {"tutorial.jsonl", {"--player", "good", "--seed", "3"}},
        {"saved.jsonl",
         {"--level", "2", "--mode", "transformer", "--player", "good", "--seed", "2", "--save-at",
          "40.5"}},
        {"restored.jsonl",
         {"--level", "2", "--mode", "transformer", "--player", "good", "--seed", "2", "--restore"}},
        {"lost.jsonl", {"--level", "3", "--player", "casual", "--seed", "4"}}};
    for (const auto& [name, arguments] : runs) {
        TempFolder out;
        std::vector<std::string> all = common;
        all.insert(all.end(), arguments.begin(), arguments.end());
        EXPECT_EQ(RunTool(all, out), 0) << name << ": " << out.Read("err.txt");
        TestSupport::ExpectStoredOutput(name, out.Read("out.jsonl"));
    }
}

TEST(QuillorySimTest, ExplainsWhatItRefusesAndKeepsToATemporaryUserFolder) {
    TempFolder out;
    TestSupport::SimData data;
    data.WriteLevel(1);
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
    const std::string folder = data.data.Path();
    EXPECT_EQ(RunTool({"--data", folder, "--level", "999"}, out), 1);
    EXPECT_NE(out.Read("err.txt").find("no level 999"), std::string::npos);
    EXPECT_EQ(RunTool({"--data", folder, "--userdir", data.user.Path(), "--restore"}, out), 1);
    EXPECT_NE(out.Read("err.txt").find("no saved classic game"), std::string::npos);
    EXPECT_EQ(out.Read("out.jsonl"), "");
    // A script names its first bad line, and only a regular file is one.
    for (const char* text : {"1 move 0.5\n", "1 move 0.5 1.5\n", "-1 move 0.5 0.5\n",
                             "1 press middle\n", "1 release left now\n"}) {
        const std::string script = out.Write("bad.txt", std::string("0 move 0 0\n") + text);
        EXPECT_EQ(RunTool({"--data", folder, "--script", script}, out), 1) << text;
        EXPECT_NE(out.Read("err.txt").find("line 2"), std::string::npos) << text;
    }
    EXPECT_EQ(RunTool({"--data", folder, "--script", folder}, out), 1);
    EXPECT_EQ(RunTool({"--data", folder, "--script", out.File("missing.txt")}, out), 1);
    EXPECT_NE(out.Read("err.txt").find("missing.txt"), std::string::npos);

    // Without --userdir, the user files (here a save) go to a new folder under $TMPDIR, removed
    // at the end; nothing reaches the home folder.
    data.WriteLevel(2);
    TempFolder temporary;
    TempFolder home;
    EXPECT_EQ(
        RunTool(
            {"--data", folder, "--level", "2", "--save-at", "1", "--max-seconds", "6"}, out,
            {{"TMPDIR", temporary.Path()}, {"HOME", home.Path()}, {"XDG_DATA_HOME", home.Path()}}),
        0);
    EXPECT_NE(out.Read("out.jsonl").find("\"saved\""), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(temporary.Path()));
    EXPECT_TRUE(std::filesystem::is_empty(home.Path()));
}

}  // namespace
