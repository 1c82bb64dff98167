// Whole runs on data folders of the test's own: a scripted run, the events of a whole level,
// the same seed giving the same game, a loss ending the run, a save at 40.5 s restored at 40.5 s,
// and the runs it refuses.
#include "sim/simulator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/sim_world.h"

namespace {

using namespace Quillory;
using QuillorySim::PlayerKind;
using QuillorySim::SimOptions;
using QuillorySim::Simulator;
using TestSupport::EventLine;
using TestSupport::OfKind;
using TestSupport::ReadEvents;
using TestSupport::RunSimulator;

// A still field: cell 4 stays at (0.29, 0.634); slot 4 queues at (0.775, 0.915).
TEST(SimulatorTest, AScriptTakesDropsAndDiscardsThroughThePointer) {
    TestSupport::SimData data;
    data.WriteLevel(1, {{"lineSpeed", "0"}});
    SimOptions options = data.Options(1);
    options.scriptFile =
        data.data.Write("run.txt",
                        "5.5 click 0.1 0.875   # discard: refused in the tutorial\n"
                        "6.0 click 0.775 0.915 # slot 4\n"
                        "6.2 click 0.29 0.634  # cell 4\n"
                        "7.0 click 0.1 0.875   # discards the first shape\n");
    options.maxSeconds = 8;
    std::string moves;
    for (const EventLine& line : ReadEvents(RunSimulator(options))) {
        if (line["event"] == "take" || line["event"] == "drop" || line["event"] == "discard") {
            moves += line["event"] + " " + line["slot"] + line["cell"] + " " + line["points"] +
                     " at " + line["t"] + "; ";
        }
    }
    EXPECT_EQ(moves,
              "take 4  at 6.000; drop 4 50 at 6.200; take 0  at 7.000; discard  "
              " at 7.000; ");
}

// A level with every bonus and a frequent bug, played to its end by the good player.
TEST(SimulatorTest, AWholeLevelReportsEveryKindOfEventWithConsistentScores) {
    TestSupport::SimData data;
    data.WriteLevel(3, {{"fBonusAnyShapeP", "0.1"},
                        {"fBonusBandP", "0.08"},
                        {"fBonusAreaP", "0.1"},
                        {"fBugAppearanceRange", "1"},
                        {"lineShapeCount", "8"},
                        {"shapeClassCount", "4"},
                        {"shapeClassList", "c0,c1,c2,c3"}});
    SimOptions options = data.Options(3);
    options.player = PlayerKind::Good;
    options.mode = MODE_TRANSFORMER;
    const std::vector<EventLine> lines = ReadEvents(RunSimulator(options));
    ASSERT_GT(lines.size(), 100u);
    double t = 0;
    int score = 0;
    for (const EventLine& line : lines) {
        EXPECT_GE(line.Number("t"), t) << "the clock runs forwards";
        t = line.Number("t");
        if (line["event"] == "drop") {
            EXPECT_EQ(line.Number("score"), score + line.Number("points"));
        }
        if (!line["score"].empty()) {
            score = static_cast<int>(line.Number("score"));
        }
    }
    for (const char* event : {"issue", "take", "turn", "drop", "fill", "bug_arrives", "won"}) {
        EXPECT_FALSE(OfKind(lines, event).empty()) << event;
    }
    EXPECT_EQ(lines.front()["classes"], "[\"c0\",\"c1\",\"c2\",\"c3\"]");
    const std::vector<EventLine> removed = OfKind(lines, "line_removed");
    ASSERT_EQ(removed.size(), 6u);
    EXPECT_EQ(removed.back()["lines_left"], "0");
    const std::vector<EventLine> added = OfKind(lines, "score_added");
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0]["reason"] + added[1]["reason"], "time_bonuscompletion");
    EXPECT_EQ(lines.back()["event"], "level_end");
    EXPECT_EQ(lines.back()["next"], "game_complete");  // the folder has no level 4
}

TEST(SimulatorTest, TheSameSeedPlaysTheSameGame) {
    TestSupport::SimData data;
    data.WriteLevel(2, {{"fBonusAreaP", "0.1"}, {"fBugAppearanceRange", "3"}});
    SimOptions options = data.Options(2);
    options.player = PlayerKind::Casual;
    options.seed = 3;
    const std::string first = RunSimulator(options);
    EXPECT_GT(first.size(), 1000u);
    EXPECT_EQ(RunSimulator(options), first);
    options.seed = 4;
    EXPECT_NE(RunSimulator(options), first);
}

// The warnings themselves are the rules' (and their form the writer's): here the run ends with
// the loss, not at its time limit.
TEST(SimulatorTest, RunningOutOfTimeWarnsAndEndsTheRun) {
    TestSupport::SimData data;
    data.WriteLevel(2, {{"levelTime", "12"}});
    std::ostringstream out;
    Simulator simulator(data.Options(2), out);
    EXPECT_EQ(simulator.Run(), 0);
    const std::vector<EventLine> lines = ReadEvents(out.str());
    EXPECT_EQ(OfKind(lines, "timeout_warning").size(), 10u);
    ASSERT_EQ(lines.back()["event"], "lost");
    // The opening (0.5 s fade, 3.5 s announcement), 0.9 s before the clock starts, then 12 s.
    EXPECT_NEAR(lines.back().Number("t"), 16.9, 0.05);
    EXPECT_NEAR(simulator.Seconds(), 16.9, 0.05);
}

// What a restore brings back is the rules' own test; here the save comes at 40.5 s without
// leaving the level, and the restored game plays on from 40.5 s.
TEST(SimulatorTest, AGameSavedAt40And5SecondsIsRestoredAt40And5Seconds) {
    TestSupport::SimData data;
    data.WriteLevel(2, {{"levelTime", "300"}, {"lineShapeCount", "10"}});
    data.WriteLevel(3);  // else winning level 2 completes the game, which clears the save
    SimOptions options = data.Options(2);
    options.mode = MODE_TRANSFORMER;
    options.player = PlayerKind::Good;
    options.saveAt = 40.5;
    const std::vector<EventLine> lines = ReadEvents(RunSimulator(options));
    ASSERT_EQ(OfKind(lines, "saved").size(), 1u);
    EXPECT_EQ(OfKind(lines, "saved")[0]["elapsed"], "40.500");
    EXPECT_EQ(lines.back()["event"], "level_end");

    options.saveAt = -1;
    options.restore = true;
    std::ostringstream restoring;
    Simulator simulator(options, restoring);
    ASSERT_TRUE(simulator.Start()) << simulator.Error();
    EXPECT_EQ(simulator.Game().State().phase, PHASE_PLAYING);
    simulator.Step();
    EXPECT_NEAR(simulator.Game().State().elapsed, 40.51, 0.001);
    const std::vector<EventLine> back = OfKind(ReadEvents(restoring.str()), "restored");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0]["t"] + " " + back[0]["elapsed"], "0.000 40.500");
}

TEST(SimulatorTest, RestoresOnlyASavedGameAndKeepsToATemporaryUserFolder) {
    TestSupport::SimData data;
    data.WriteLevel(1);
    SimOptions noSave = data.Options(1);
    noSave.restore = true;
    std::ostringstream out;
    Simulator restoring(noSave, out);
    EXPECT_FALSE(restoring.Start());
    EXPECT_NE(restoring.Error().find("no saved classic game"), std::string::npos);

    SimOptions temporary = data.Options(1);
    temporary.userFolder.clear();
    temporary.maxSeconds = 3;
    std::string folder;
    {
        Simulator simulator(temporary, out);
        EXPECT_EQ(simulator.Run(), 0);
        folder = simulator.UserFolder();
        EXPECT_NE(folder.find("quillory-sim-"), std::string::npos);
        EXPECT_TRUE(std::filesystem::exists(folder + "/applog.htm"));
        EXPECT_DOUBLE_EQ(simulator.Seconds(), 3.0);
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
}

}  // namespace
