// Whole runs of the simulator on data folders of the test's own: a scripted run, the fields of
// every event of a real game, the same seed giving the same game, the loss with its warnings, a
// save at 40.5 s restored at 40.5 s, and the runs it refuses.
#include "sim/simulator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "support/json_line.h"
#include "support/sim_world.h"

namespace {

using namespace Quillory;
using QuillorySim::PlayerKind;
using QuillorySim::SimOptions;
using QuillorySim::Simulator;
using TestSupport::JsonLine;
using TestSupport::ParseJsonLines;
using TestSupport::RunSimulator;

std::vector<JsonLine> Events(const std::vector<JsonLine>& lines, const std::string& event) {
    std::vector<JsonLine> found;
    for (const JsonLine& line : lines) {
        if (line["event"] == event) {
            found.push_back(line);
        }
    }
    return found;
}

// A still field (no scroll): cell 4 stays at (0.29, 0.634), slot 4 queues at (0.775, 0.915).
TEST(SimulatorTest, AScriptTakesDropsAndDiscardsThroughThePointer) {
    TestSupport::SimData data;
    data.WriteLevel(1, {{"lineSpeed", "0"}});
    data.data.Write("run.txt",
                    "5.5 click 0.1 0.875     # discard: refused while the tutorial is on\n"
                    "6.0 click 0.775 0.915   # slot 4\n"
                    "6.2 click 0.29 0.634    # cell 4\n"
                    "7.0 click 0.1 0.875     # discard the first shape\n");
    SimOptions options = data.Options(1);
    options.scriptFile = data.data.File("run.txt");
    options.maxSeconds = 8;
    int status = -1;
    const std::vector<JsonLine> lines = ParseJsonLines(RunSimulator(options, &status));
    ASSERT_EQ(status, 0);

    std::vector<std::string> moves;
    for (const JsonLine& line : lines) {
        const std::string& event = line["event"];
        if (event == "take" || event == "drop" || event == "discard") {
            moves.push_back(event + " at " + line["t"]);
        }
    }
    EXPECT_EQ(moves, (std::vector<std::string>{"take at 6.000", "drop at 6.200",
                                               "take at 7.000", "discard at 7.000"}));
    const JsonLine drop = Events(lines, "drop").at(0);
    EXPECT_EQ(drop.Int("cell"), 4);
    EXPECT_EQ(drop.Int("class"), 0);
    EXPECT_EQ(drop.Int("points"), 50);
    EXPECT_EQ(drop.Int("score"), 50);
    EXPECT_EQ(Events(lines, "take").at(0).Int("slot"), 4);
    EXPECT_EQ(Events(lines, "take").at(1).Int("slot"), 0);  // the discard takes slot 0 first
    EXPECT_LE(lines.back().Number("t"), 8.0);
}

// A level with every bonus and a frequent bug, played to its end by the good player.
TEST(SimulatorTest, EveryEventOfAWholeLevelHasItsFieldsInOrder) {
    TestSupport::SimData data;
    data.WriteLevel(3, {{"fBonusAnyShapeP", "0.1"},
                        {"fBonusBandP", "0.08"},
                        {"fBonusAreaP", "0.1"},
                        {"fBugAppearanceRange", "1"},
                        {"lineShapeCount", "8"},
                        {"levelTime", "300"},
                        {"shapeClassCount", "4"},
                        {"shapeClassList", "c0,c1,c2,c3"}});
    SimOptions options = data.Options(3);
    options.player = PlayerKind::Good;
    options.mode = MODE_TRANSFORMER;
    const std::vector<JsonLine> lines = ParseJsonLines(RunSimulator(options));
    ASSERT_FALSE(lines.empty());

    const std::map<std::string, std::vector<std::string>> fields = {
        {"level_start", {"level", "mode", "bonus", "cells", "per_line", "classes", "time_limit"}},
        {"issue", {"slot", "class", "variant", "bonus"}},
        {"take", {"slot", "class", "variant", "bonus"}},
        {"turn", {"variant"}},
        {"drop", {"cell", "class", "variant", "bonus", "points", "combo", "score"}},
        {"fill", {"cell"}},
        {"discard", {"class", "bonus"}},
        {"line_removed", {"line", "lines_left"}},
        {"bug_arrives", {"cell"}},
        {"bug_eats", {"cell"}},
        {"bug_leaves", {}},
        {"won", {"score", "time_left"}},
        {"score_added", {"amount", "reason", "score"}},
        {"level_end", {"score", "next"}}};
    std::set<std::string> seen;
    double t = 0;
    int score = 0;
    for (const JsonLine& line : lines) {
        ASSERT_TRUE(line.Has("event"));
        const std::string& event = line["event"];
        ASSERT_EQ(fields.count(event), 1u) << event;
        std::vector<std::string> expected = {"t", "event"};
        expected.insert(expected.end(), fields.at(event).begin(), fields.at(event).end());
        EXPECT_EQ(line.keys, expected) << event;
        EXPECT_GE(line.Number("t"), t) << "the clock runs forwards";
        t = line.Number("t");
        seen.insert(event);
        if (event == "drop") {
            EXPECT_EQ(line.Int("score"), score + line.Int("points"));
        }
        if (event == "drop" || event == "score_added" || event == "won" ||
            event == "level_end") {
            score = line.Int("score");
        }
        if (event == "score_added") {
            EXPECT_TRUE(line["reason"] == "time_bonus" || line["reason"] == "completion");
        }
    }
    for (const char* event : {"level_start", "issue", "take", "turn", "drop", "fill",
                              "line_removed", "bug_arrives", "won", "score_added", "level_end"}) {
        EXPECT_EQ(seen.count(event), 1u) << event;
    }
    EXPECT_EQ(lines.front()["event"], "level_start");
    EXPECT_EQ(lines.front()["classes"], "c0|c1|c2|c3");
    EXPECT_EQ(lines.back()["event"], "level_end");
    EXPECT_EQ(lines.back()["next"], "game_complete");  // the folder has no level 4
    EXPECT_EQ(Events(lines, "line_removed").size(), 6u);
    EXPECT_EQ(Events(lines, "line_removed").back().Int("lines_left"), 0);
}

TEST(SimulatorTest, TheSameSeedPlaysTheSameGame) {
    TestSupport::SimData data;
    data.WriteLevel(2, {{"fBonusAreaP", "0.1"}, {"fBugAppearanceRange", "3"}});
    SimOptions options = data.Options(2);
    options.player = PlayerKind::Good;
    options.seed = 3;
    const std::string first = RunSimulator(options);
    const std::string second = RunSimulator(options);
    options.seed = 4;
    const std::string other = RunSimulator(options);
    EXPECT_GT(first.size(), 1000u);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, other);
}

TEST(SimulatorTest, RunningOutOfTimeWarnsTenTimesAndEndsTheRun) {
    TestSupport::SimData data;
    data.WriteLevel(2, {{"levelTime", "12"}});
    SimOptions options = data.Options(2);
    const std::vector<JsonLine> lines = ParseJsonLines(RunSimulator(options));
    const std::vector<JsonLine> warnings = Events(lines, "timeout_warning");
    ASSERT_EQ(warnings.size(), 10u);
    for (size_t i = 0; i < warnings.size(); ++i) {
        // Below 10, 9, ... 1 seconds: printed with 3 decimals, 4.9999 reads 5.000.
        EXPECT_LE(warnings[i].Number("time_left"), 10.0 - static_cast<double>(i));
        EXPECT_GT(warnings[i].Number("time_left"), 9.0 - static_cast<double>(i));
    }
    ASSERT_EQ(lines.back()["event"], "lost");
    EXPECT_LE(lines.back().Number("time_left"), 0.0);
    EXPECT_EQ(lines.back().Int("score"), 0);
    // Opening (0.5 s fade, 3.5 s announcement), 0.9 s before the clock starts, then 12 s.
    EXPECT_NEAR(lines.back().Number("t"), 16.9, 0.1);
}

struct Snapshot {
    int level = 0;
    int score = 0;
    int conveyorCount = 0;
    int linesLeft = 0;
    std::vector<int> cells;  // class, variant, filled, active of each
    std::vector<int> conveyor;
};

Snapshot Take(const GameModel& model) {
    Snapshot snapshot;
    snapshot.level = model.levelNumber;
    snapshot.score = model.score;
    snapshot.conveyorCount = model.conveyorCount;
    snapshot.linesLeft = model.linesLeft;
    for (int c = 0; c < model.cellCount; ++c) {
        const ShapeItem& cell = model.cells[c];
        snapshot.cells.insert(snapshot.cells.end(),
                              {cell.classIndex, cell.variant, cell.filled, cell.active});
    }
    for (int i = 0; i < model.conveyorCount; ++i) {
        snapshot.conveyor.insert(snapshot.conveyor.end(),
                                 {model.conveyor[i].classIndex, model.conveyor[i].bonusKind});
    }
    return snapshot;
}

TEST(SimulatorTest, AGameSavedAt40And5SecondsIsRestoredAt40And5Seconds) {
    TestSupport::SimData data;
    data.WriteLevel(2, {{"levelTime", "300"}, {"lineShapeCount", "10"}});
    data.WriteLevel(3);  // else winning level 2 completes the game, which clears the save
    SimOptions options = data.Options(2);
    options.mode = MODE_TRANSFORMER;
    options.player = PlayerKind::Good;
    options.saveAt = 40.5;

    std::ostringstream saving;
    Snapshot atSave;
    {
        Simulator simulator(options, saving);
        ASSERT_TRUE(simulator.Start()) << simulator.Error();
        while (simulator.Step() && saving.str().find("\"saved\"") == std::string::npos) {
        }
        atSave = Take(simulator.Game().State());
        EXPECT_NEAR(simulator.Game().State().elapsed, 40.5, 0.001);
        // Saving does not leave the level: play goes on to its end.
        while (simulator.Step()) {
        }
    }
    const std::vector<JsonLine> saved = Events(ParseJsonLines(saving.str()), "saved");
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0]["elapsed"], "40.500");
    EXPECT_EQ(saved[0].Int("level"), 2);
    EXPECT_EQ(saved[0].Int("score"), atSave.score);
    EXPECT_GT(atSave.score, 0);
    EXPECT_TRUE(std::filesystem::exists(data.user.File("saved.ini")));
    EXPECT_FALSE(std::filesystem::exists(data.data.File("saved.ini")));

    options.saveAt = -1;
    options.restore = true;
    std::ostringstream restoring;
    Simulator simulator(options, restoring);
    ASSERT_TRUE(simulator.Start()) << simulator.Error();
    const GameModel& model = simulator.Game().State();
    const Snapshot restored = Take(model);
    EXPECT_EQ(restored.level, atSave.level);
    EXPECT_EQ(restored.score, atSave.score);
    EXPECT_EQ(restored.linesLeft, atSave.linesLeft);
    EXPECT_EQ(restored.cells, atSave.cells);
    EXPECT_EQ(restored.conveyor, atSave.conveyor);
    EXPECT_EQ(model.phase, PHASE_PLAYING);
    EXPECT_NEAR(model.elapsed, 40.5, 0.001);
    simulator.Step();
    EXPECT_NEAR(simulator.Game().State().elapsed, 40.51, 0.001);  // the clock goes on from there
    const std::vector<JsonLine> lines = ParseJsonLines(restoring.str());
    const std::vector<JsonLine> back = Events(lines, "restored");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0]["elapsed"], "40.500");
    EXPECT_EQ(back[0].Int("score"), atSave.score);
    EXPECT_EQ(back[0]["t"], "0.000");
}

TEST(SimulatorTest, RefusesRunsItCannotStart) {
    TestSupport::SimData data;
    data.WriteLevel(1);
    int status = -1;

    SimOptions missingLevel = data.Options(5);
    EXPECT_EQ(RunSimulator(missingLevel, &status), "");
    EXPECT_EQ(status, 1);

    SimOptions noSave = data.Options(1);
    noSave.restore = true;
    Simulator restoring(noSave, std::cout);
    EXPECT_FALSE(restoring.Start());
    EXPECT_NE(restoring.Error().find("no saved classic game"), std::string::npos);

    SimOptions noData = data.Options(1);
    noData.dataFolder = data.data.File("missing");
    RunSimulator(noData, &status);
    EXPECT_EQ(status, 1);

    SimOptions badScript = data.Options(1);
    badScript.scriptFile = data.data.Write("bad.txt", "1 move 2 2\n");
    Simulator scripted(badScript, std::cout);
    EXPECT_FALSE(scripted.Start());
    EXPECT_NE(scripted.Error().find("line 1"), std::string::npos);
}

TEST(SimulatorTest, WithoutAUserFolderItUsesAFreshTemporaryOneAndStopsOnTime) {
    TestSupport::SimData data;
    data.WriteLevel(1);
    SimOptions options = data.Options(1);
    options.userFolder.clear();
    options.maxSeconds = 3;
    std::ostringstream out;
    std::string folder;
    {
        Simulator simulator(options, out);
        EXPECT_EQ(simulator.Run(), 0);
        folder = simulator.UserFolder();
        EXPECT_NE(folder.find("quillory-sim-"), std::string::npos);
        EXPECT_TRUE(std::filesystem::exists(folder + "/applog.htm"));
        EXPECT_DOUBLE_EQ(simulator.Seconds(), 3.0);
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
    const std::vector<JsonLine> lines = ParseJsonLines(out.str());
    ASSERT_FALSE(lines.empty());
    EXPECT_LE(lines.back().Number("t"), 3.0);
}

}  // namespace
