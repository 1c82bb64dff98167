#include "shell/demo_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Platform::EventKind;
using Platform::InputEvent;
using Tuvo::FormatRecording;
using Tuvo::ParseRecording;
using Tuvo::Recording;

Recording Sample() {
    Recording recording;
    recording.programVersion = "2.1";
    recording.dataFingerprint = 0x0123456789ABCDEFull;
    recording.seeds = {1, 4294967295u, 0, 77};
    recording.windowed = true;
    recording.detail = 5;
    // CR LF lines, a backslash, a byte above 127 and no final newline all come back exactly.
    recording.files = {{"config.ini", true, "[OPTIONS]\r\nbtnFullScreen=0\r\nPath=C:\\x\xe9"},
                       {"saved.ini", false, ""},
                       {"scores.ini", true, ""}};
    recording.events = {{1, {.kind = EventKind::kMouseMove, .x = 400, .y = 300}},
                        {5, {.kind = EventKind::kMouseDown, .x = 400, .y = 301, .clickCount = -1}},
                        {5, {.kind = EventKind::kKeyDown, .keyCode = 13, .altDown = true}},
                        {9, {.kind = EventKind::kKeyChar, .character = 233}},
                        {9, {.kind = EventKind::kMouseWheel, .wheelDelta = -2}},
                        {12, {.kind = EventKind::kFocusLost}},
                        {30, {.kind = EventKind::kCloseRequested}}};
    recording.checks = {{1, 1, 0, 1}, {5, 2, 0, 1}, {20, 6, 50, 1}};
    recording.endTick = 31;
    return recording;
}

std::string Parsed(const std::string& text) {
    Recording recording;
    std::string error;
    EXPECT_FALSE(ParseRecording(text, recording, error)) << text;
    return error;
}

TEST(DemoFileTest, ARecordingReadsBackExactlyAndItsEventsStayInUpdateOrder) {
    const Recording written = Sample();
    const std::string text = FormatRecording(written);
    Recording read;
    std::string error;
    ASSERT_TRUE(ParseRecording(text, read, error)) << error << "\n" << text;
    EXPECT_EQ(read.programVersion, "2.1");
    EXPECT_EQ(read.dataFingerprint, written.dataFingerprint);
    EXPECT_EQ(read.seeds, written.seeds);
    EXPECT_TRUE(read.windowed);
    EXPECT_EQ(read.detail, 5);
    ASSERT_EQ(read.files.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(read.files[i].name, written.files[i].name);
        EXPECT_EQ(read.files[i].present, written.files[i].present);
        EXPECT_EQ(read.files[i].contents, written.files[i].contents);
    }
    ASSERT_EQ(read.events.size(), written.events.size());
    for (size_t i = 0; i < read.events.size(); ++i) {
        std::string a;
        std::string b;
        ASSERT_TRUE(Tuvo::EventToText(read.events[i].event, a));
        ASSERT_TRUE(Tuvo::EventToText(written.events[i].event, b));
        EXPECT_EQ(read.events[i].tick, written.events[i].tick);
        EXPECT_EQ(a, b);
    }
    ASSERT_EQ(read.checks.size(), 3u);
    EXPECT_EQ(read.checks[2].score, 50);
    EXPECT_EQ(read.endTick, 31);
    // A check after update 5 follows the events handed over before it; the file is readable.
    EXPECT_NE(text.find("5 down 400 301 -1\n5 keydown 13 1\n5 check 2 0 1\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("|[OPTIONS]\\x0d\n|btnFullScreen=0\\x0d\n|Path=C:\\x5cx\\xe9\n"),
              std::string::npos)
        << text;
    // Writing what was read gives the same text.
    EXPECT_EQ(FormatRecording(read), text);
}

TEST(DemoFileTest, DamagedOrForeignFilesAreRefusedWithAReason) {
    const std::string good = FormatRecording(Sample());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? std::string() : text.replace(at, from.size(), to);
    };
    EXPECT_NE(Parsed("").find("not a Quillory recording"), std::string::npos);
    EXPECT_NE(Parsed("GIF89a\n").find("not a Quillory recording"), std::string::npos);
    EXPECT_NE(Parsed(replaced("quillory-recording 2", "quillory-recording 1")).find("format 2"),
              std::string::npos);
    EXPECT_NE(Parsed(replaced("data 0123456789abcdef", "data 0123456789abcdeg")).find("16 hex"),
              std::string::npos);
    Parsed(replaced("data 0123456789abcdef", "data 123456789abcdef"));
    // Cut short anywhere: no end line.
    EXPECT_NE(Parsed(good.substr(0, good.size() - 7)).find("cut short"), std::string::npos);
    EXPECT_NE(Parsed(good.substr(0, good.find("events"))).find("before 'events'"),
              std::string::npos);
    Parsed(good.substr(0, 40));
    // Numbers out of range or not numbers.
    Parsed(replaced("seeds 1 4294967295", "seeds 1 4294967296"));
    Parsed(replaced("seeds 1", "seeds -1"));
    Parsed(replaced("detail 5", "detail 11"));
    Parsed(replaced("windowed 1", "windowed 2"));
    Parsed(replaced("1 move 400 300", "1 move 400 3e2"));
    Parsed(replaced("1 move 400 300", "1 move 400 300 7"));
    Parsed(replaced("1 move 400 300", "1 move 400 9999999"));
    Parsed(replaced("5 down 400 301 -1", "5 down 400 301 0"));
    Parsed(replaced("5 keydown 13 1", "5 keydown 256 1"));
    Parsed(replaced("9 char 233", "9 char 0"));
    Parsed(replaced("1 move", "0 move"));
    Parsed(replaced("1 move", "99999999999 move"));
    Parsed(replaced("1 move", "1 teleport"));
    Parsed(replaced("20 check 6 50 1", "20 check 17 50 1"));
    EXPECT_NE(Parsed(replaced("12 focus-lost", "4 focus-lost")).find("go back"), std::string::npos);
    Parsed(good + "40 move 1 1\n");
    // Embedded files: only the three user files, each once, holding exactly their size.
    EXPECT_NE(Parsed(replaced("nofile saved.ini", "nofile ../../.bashrc")).find("not a file"),
              std::string::npos);
    Parsed(replaced("nofile saved.ini", "nofile config.ini"));
    EXPECT_NE(Parsed(replaced("file config.ini 38", "file config.ini 39")).find("bytes"),
              std::string::npos);
    Parsed(replaced("file config.ini 38", "file config.ini 99999999"));
    Parsed(replaced("\\x0d\n|btn", "\\x0\n|btn"));
    Parsed(replaced("\\x0d\n|btn", "\\q0d\n|btn"));
    Parsed(replaced("\\x0d\n|btn", "\\xzz\n|btn"));
    // A line too long to be ours.
    EXPECT_NE(
        Parsed(replaced("version 2.1", "version " + std::string(5u << 20, '2'))).find("longer"),
        std::string::npos);
}

TEST(DemoFileTest, EventsWithoutInputMeaningHaveNoText) {
    std::string text;
    EXPECT_FALSE(Tuvo::EventToText({.kind = EventKind::kRepaint}, text));
    EXPECT_FALSE(Tuvo::EventToText({.kind = EventKind::kMoved, .x = 10, .y = 10}, text));
    InputEvent event;
    EXPECT_FALSE(Tuvo::EventFromText("", event));
    EXPECT_FALSE(Tuvo::EventFromText("close 1", event));
    ASSERT_TRUE(Tuvo::EventFromText("leave -5 700", event));
    EXPECT_EQ(event.kind, EventKind::kMouseLeave);
    EXPECT_EQ(event.x, -5);
    EXPECT_EQ(event.y, 700);
}

}  // namespace
