// The simulator's JSON lines, exactly: field names, order and forms, and the end of a run.
#include "sim/json_events.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>

#include "game/game_records.h"

namespace {

using QuillorySim::JsonEventWriter;

TEST(JsonEventsTest, StringsAndNumbersStayValidJson) {
    EXPECT_EQ(JsonEventWriter::Quote("a\"b\\c\nd"), "\"a\\\"b\\\\c\\u000ad\"");
    // Good UTF-8 passes; stray bytes and encoded surrogates become U+FFFD.
    EXPECT_EQ(JsonEventWriter::Quote("caf\xC3\xA9 \xE9t \xF0\x9F\x90\x9B \xED\xA0\x80"),
              "\"caf\xC3\xA9 \\ufffdt \xF0\x9F\x90\x9B \\ufffd\\ufffd\\ufffd\"");
    EXPECT_EQ(JsonEventWriter::Seconds(1.23456), "1.235");
    EXPECT_EQ(JsonEventWriter::Seconds(-0.0001), "0.000");
    EXPECT_EQ(JsonEventWriter::Seconds(-2.5), "-2.500");
    EXPECT_EQ(JsonEventWriter::Seconds(std::nan("")), "null");
    EXPECT_EQ(JsonEventWriter::Seconds(HUGE_VAL), "null");
}

TEST(JsonEventsTest, EveryEventWritesItsFieldsInOrder) {
    std::ostringstream out;
    JsonEventWriter writer(out, [] { return 12.3456; });
    Quillory::ShapeClassDef classes[2];
    std::strcpy(classes[0].name, "quill");
    std::strcpy(classes[1].name, "odd \"one\"");
    Quillory::LevelStartInfo info{39, 1, false, 72, 12, 2, classes, 235};
    writer.OnLevelStart(info);
    writer.OnIssue(6, 2, 1, 3);
    writer.OnTake(4, 0, 0, 0);
    writer.OnTurn(2);
    writer.OnDrop(17, 1, 2, 0, 150, 2, 1200);
    writer.OnFill(18);
    writer.OnDiscard(2, 1);
    writer.OnLineRemoved(3, 5);
    writer.OnBugArrives(9);
    writer.OnBugEats(9);
    writer.OnBugLeaves();
    writer.OnTimeoutWarning(9.995f);
    writer.OnSaved(2, 5100, 40.5f);
    writer.OnRestored(2, 5100, 40.5f);
    writer.OnWon(3000, 81.53f);
    writer.OnScoreAdded(81, Quillory::ScoreReason::TimeBonus, 3081);
    writer.OnScoreAdded(750, Quillory::ScoreReason::BonusLevel, 3831);
    const char* const expected[] = {
        R"("level_start","level":39,"mode":"transformer","bonus":false,"cells":72,"per_line":12,)"
        R"("classes":["quill","odd \"one\""],"time_limit":235.000})",
        R"("issue","slot":6,"class":2,"variant":1,"bonus":3})",
        R"("take","slot":4,"class":0,"variant":0,"bonus":0})",
        R"("turn","variant":2})",
        R"("drop","cell":17,"class":1,"variant":2,"bonus":0,"points":150,"combo":2,"score":1200})",
        R"("fill","cell":18})",
        R"("discard","class":2,"bonus":1})",
        R"("line_removed","line":3,"lines_left":5})",
        R"("bug_arrives","cell":9})",
        R"("bug_eats","cell":9})",
        R"("bug_leaves"})",
        R"("timeout_warning","time_left":9.995})",
        R"("saved","level":2,"score":5100,"elapsed":40.500})",
        R"("restored","level":2,"score":5100,"elapsed":40.500})",
        R"("won","score":3000,"time_left":81.530})",
        R"("score_added","amount":81,"reason":"time_bonus","score":3081})",
        R"("score_added","amount":750,"reason":"bonus_level","score":3831})"};
    std::string all;
    for (const char* event : expected) {
        all += std::string(R"({"t":12.346,"event":)") + event + "\n";
    }
    EXPECT_EQ(out.str(), all);
    EXPECT_FALSE(writer.Finished());
}

TEST(JsonEventsTest, NothingIsWrittenAfterTheLevelEndsOrIsLost) {
    std::ostringstream out;
    JsonEventWriter writer(out, [] { return 1.0; });
    writer.OnLevelEnd(4581, Quillory::LevelEndNext::StageMap);
    writer.OnLevelStart(Quillory::LevelStartInfo{});  // the next level, started by the same call
    writer.OnIssue(0, 0, 0, 0);
    EXPECT_TRUE(writer.Finished());
    EXPECT_EQ(out.str(),
              "{\"t\":1.000,\"event\":\"level_end\",\"score\":4581,\"next\":\"stage_map\"}\n");

    std::ostringstream lostOut;
    JsonEventWriter lost(lostOut, [] { return 2.0; });
    lost.OnLost(700, -0.0004f);
    lost.OnBugLeaves();
    EXPECT_TRUE(lost.Finished());
    EXPECT_EQ(lostOut.str(),
              "{\"t\":2.000,\"event\":\"lost\",\"score\":700,\"time_left\":0.000}\n");
}

}  // namespace
