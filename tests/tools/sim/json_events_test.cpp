// The simulator's JSON lines: strings and numbers kept valid, and nothing after a loss.
#include "sim/json_events.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

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

// Every event's fields are checked by the stored event logs of the program's test; a loss,
// unlike the level's end, leaves nothing in those logs after it when the writer goes on.
TEST(JsonEventsTest, NothingIsWrittenAfterALoss) {
    std::ostringstream out;
    JsonEventWriter writer(out, [] { return 2.0; });
    writer.OnLost(700, -0.0004f);
    writer.OnBugLeaves();
    EXPECT_TRUE(writer.Finished());
    EXPECT_EQ(out.str(), "{\"t\":2.000,\"event\":\"lost\",\"score\":700,\"time_left\":0.000}\n");
}

}  // namespace
