// The simulator's JSON lines: field names and order, number and string forms, the end of a run.
#include "sim/json_events.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>

#include "game/game_records.h"
#include "support/json_line.h"

namespace {

using QuillorySim::JsonEventWriter;
using TestSupport::JsonLine;

std::vector<std::string> Keys(const JsonLine& line) {
    return line.keys;
}

class JsonEventsTest : public ::testing::Test {
protected:
    JsonEventsTest() : writer_(out_, [this] { return now_; }) {}

    std::vector<JsonLine> Lines() const { return TestSupport::ParseJsonLines(out_.str()); }

    std::ostringstream out_;
    double now_ = 0;
    JsonEventWriter writer_;
};

TEST_F(JsonEventsTest, StringsAndNumbersAreValidJson) {
    EXPECT_EQ(JsonEventWriter::Quote("a\"b\\c\nd"), "\"a\\\"b\\\\c\\u000ad\"");
    EXPECT_EQ(JsonEventWriter::Quote("caf\xC3\xA9 \xE9t\xE9 \xF0\x9F\x90\x9B \xED\xA0\x80"),
              "\"caf\xC3\xA9 \\ufffdt\\ufffd \xF0\x9F\x90\x9B \\ufffd\\ufffd\\ufffd\"");
    EXPECT_EQ(JsonEventWriter::Seconds(1.23456), "1.235");
    EXPECT_EQ(JsonEventWriter::Seconds(-0.0001), "0.000");
    EXPECT_EQ(JsonEventWriter::Seconds(-2.5), "-2.500");
    EXPECT_EQ(JsonEventWriter::Seconds(std::nan("")), "null");
    EXPECT_EQ(JsonEventWriter::Seconds(HUGE_VAL), "null");
}

TEST_F(JsonEventsTest, LevelStartListsTheClassNamesAndTheLevel) {
    Quillory::ShapeClassDef classes[2];
    std::strcpy(classes[0].name, "quill");
    std::strcpy(classes[1].name, "odd \"one\"");
    Quillory::LevelStartInfo info;
    info.level = 39;
    info.mode = 1;
    info.bonus = false;
    info.cells = 72;
    info.perLine = 12;
    info.classCount = 2;
    info.classes = classes;
    info.timeLimit = 235;
    now_ = 0.0004;
    writer_.OnLevelStart(info);

    const std::vector<JsonLine> lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    const JsonLine& line = lines[0];
    EXPECT_EQ(Keys(line), (std::vector<std::string>{"t", "event", "level", "mode", "bonus",
                                                     "cells", "per_line", "classes",
                                                     "time_limit"}));
    EXPECT_EQ(line["t"], "0.000");
    EXPECT_EQ(line["event"], "level_start");
    EXPECT_EQ(line["mode"], "transformer");
    EXPECT_EQ(line["bonus"], "false");
    EXPECT_EQ(line.Int("cells"), 72);
    EXPECT_EQ(line["classes"], "quill|odd \"one\"");
    EXPECT_EQ(line["time_limit"], "235.000");
}

TEST_F(JsonEventsTest, EveryEventCarriesItsFields) {
    now_ = 12.3456;
    writer_.OnIssue(6, 2, 1, 3);
    writer_.OnTake(4, 0, 0, 0);
    writer_.OnTurn(2);
    writer_.OnDrop(17, 1, 2, 0, 150, 2, 1200);
    writer_.OnFill(18);
    writer_.OnDiscard(2, 1);
    writer_.OnLineRemoved(3, 5);
    writer_.OnBugArrives(9);
    writer_.OnBugEats(9);
    writer_.OnBugLeaves();
    writer_.OnTimeoutWarning(9.995f);
    writer_.OnSaved(2, 5100, 40.5f);
    writer_.OnRestored(2, 5100, 40.5f);
    writer_.OnWon(3000, 81.53f);
    writer_.OnScoreAdded(81, Quillory::ScoreReason::TimeBonus, 3081);
    writer_.OnScoreAdded(1500, Quillory::ScoreReason::Completion, 4581);

    const std::vector<JsonLine> lines = Lines();
    ASSERT_EQ(lines.size(), 16u);
    const std::vector<std::vector<std::string>> fields = {
        {"slot", "class", "variant", "bonus"},
        {"slot", "class", "variant", "bonus"},
        {"variant"},
        {"cell", "class", "variant", "bonus", "points", "combo", "score"},
        {"cell"},
        {"class", "bonus"},
        {"line", "lines_left"},
        {"cell"},
        {"cell"},
        {},
        {"time_left"},
        {"level", "score", "elapsed"},
        {"level", "score", "elapsed"},
        {"score", "time_left"},
        {"amount", "reason", "score"},
        {"amount", "reason", "score"}};
    for (size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> expected = {"t", "event"};
        expected.insert(expected.end(), fields[i].begin(), fields[i].end());
        EXPECT_EQ(Keys(lines[i]), expected) << "line " << i;
        EXPECT_EQ(lines[i]["t"], "12.346");
    }
    EXPECT_EQ(lines[0]["event"], "issue");
    EXPECT_EQ(lines[0].Int("bonus"), 3);
    EXPECT_EQ(lines[3]["event"], "drop");
    EXPECT_EQ(lines[3].Int("points"), 150);
    EXPECT_EQ(lines[3].Int("score"), 1200);
    EXPECT_EQ(lines[9]["event"], "bug_leaves");
    EXPECT_EQ(lines[10]["time_left"], "9.995");
    EXPECT_EQ(lines[11]["elapsed"], "40.500");
    EXPECT_EQ(lines[14]["reason"], "time_bonus");
    EXPECT_EQ(lines[15]["reason"], "completion");
    EXPECT_FALSE(writer_.Finished());
}

TEST_F(JsonEventsTest, NothingIsWrittenAfterTheLevelEndsOrIsLost) {
    writer_.OnLevelEnd(4581, Quillory::LevelEndNext::StageMap);
    EXPECT_TRUE(writer_.Finished());
    Quillory::LevelStartInfo next;
    writer_.OnLevelStart(next);  // the next level, started by the same call
    writer_.OnIssue(0, 0, 0, 0);
    std::vector<JsonLine> lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["next"], "stage_map");

    std::ostringstream other;
    JsonEventWriter lost(other, [] { return 1.0; });
    lost.OnLost(700, -0.0004f);
    lost.OnBugLeaves();
    EXPECT_TRUE(lost.Finished());
    EXPECT_EQ(lost.LinesWritten(), 1);
    EXPECT_NE(other.str().find("\"time_left\":0.000"), std::string::npos);
}

}  // namespace
