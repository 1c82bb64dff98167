#include "shell/demo_file.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using Platform::EventKind;
using Tuvo::FormatRecording;
using Tuvo::ParseRecording;
using Tuvo::Recording;

// A recording as the game writes it: CR LF lines, a backslash, a byte above 127 and no final
// newline in an embedded file; a check after update 5 follows the events handed over before it.
const std::string kSample = R"(quillory-recording 2
version 2.1
data 0123456789abcdef
seeds 1 4294967295 0 77
windowed 1
detail 5
file config.ini 38
|[OPTIONS]\x0d
|btnFullScreen=0\x0d
|Path=C:\x5cx\xe9
nofile saved.ini
file scores.ini 0
|
events
1 move 400 300
1 check 1 0 1
5 down 400 301 -1
5 keydown 13 1
5 check 2 0 1
9 char 233
9 wheel -2
12 focus-lost
13 leave -5 700
20 check 6 50 1
30 close
31 end
)";

// Read and written again, every field comes back in its place.
TEST(DemoFileTest, ARecordingReadsBackExactlyAndItsEventsStayInUpdateOrder) {
    Recording read;
    std::string error;
    ASSERT_TRUE(ParseRecording(kSample, read, error)) << error;
    EXPECT_EQ(FormatRecording(read), kSample);
    EXPECT_EQ(read.dataFingerprint, 0x0123456789ABCDEFull);
    EXPECT_EQ(read.seeds, (std::array<uint32_t, 4>{1, 4294967295u, 0, 77}));
    EXPECT_EQ(read.files[0].contents, "[OPTIONS]\r\nbtnFullScreen=0\r\nPath=C:\\x\xe9");
    ASSERT_EQ(read.events.size(), 8u);
    EXPECT_EQ(read.events[1].event.clickCount, -1);
    EXPECT_EQ(read.events[3].event.character, 233);
    EXPECT_EQ(read.checks[2].score, 50);
    // Events without input meaning have no text.
    std::string text;
    EXPECT_FALSE(Tuvo::EventToText({.kind = EventKind::kRepaint}, text));
    EXPECT_FALSE(Tuvo::EventToText({.kind = EventKind::kMoved, .x = 10, .y = 10}, text));
}

TEST(DemoFileTest, DamagedOrForeignFilesAreRefusedWithAReason) {
    auto refused = [](const std::string& text, const char* reason) {
        Recording recording;
        std::string error;
        EXPECT_FALSE(ParseRecording(text, recording, error)) << text.substr(0, 200);
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    };
    refused("", "not a Quillory recording");
    refused("GIF89a\n", "not a Quillory recording");
    // Cut short anywhere: no end line.
    refused(kSample.substr(0, kSample.size() - 7), "cut short");
    refused(kSample.substr(0, kSample.find("events")), "before 'events'");
    refused(kSample.substr(0, 40), "");
    refused(kSample + "40 move 1 1\n", "");
    // One damage of the good file each, with the reason given ("": any).
    struct Damage {
        const char* from;
        std::string to;
        const char* reason;
    };
    const Damage damages[] = {
        {"quillory-recording 2", "quillory-recording 1", "format 2"},
        {"data 0123456789abcdef", "data 0123456789abcdeg", "16 hex"},
        {"data 0123456789abcdef", "data 123456789abcdef", ""},
        // Numbers out of range or not numbers.
        {"seeds 1 4294967295", "seeds 1 4294967296", ""},
        {"seeds 1", "seeds -1", ""},
        {"detail 5", "detail 11", ""},
        {"windowed 1", "windowed 2", ""},
        {"1 move 400 300", "1 move 400 3e2", ""},
        {"1 move 400 300", "1 move 400 300 7", ""},
        {"1 move 400 300", "1 move 400 9999999", ""},
        {"5 down 400 301 -1", "5 down 400 301 0", ""},
        {"5 keydown 13 1", "5 keydown 256 1", ""},
        {"9 char 233", "9 char 0", ""},
        {"30 close", "30 close 1", ""},
        {"1 move", "0 move", ""},
        {"1 move", "99999999999 move", ""},
        {"1 move", "1 teleport", ""},
        {"20 check 6 50 1", "20 check 17 50 1", ""},
        {"12 focus-lost", "4 focus-lost", "go back"},
        // Embedded files: only the three user files, each once, holding exactly their size.
        {"nofile saved.ini", "nofile ../../.bashrc", "not a file"},
        {"nofile saved.ini", "nofile config.ini", ""},
        {"file config.ini 38", "file config.ini 39", "bytes"},
        {"file config.ini 38", "file config.ini 99999999", ""},
        {"\\x0d\n|btn", "\\x0\n|btn", ""},
        {"\\x0d\n|btn", "\\q0d\n|btn", ""},
        {"\\x0d\n|btn", "\\xzz\n|btn", ""},
        // A line too long to be ours.
        {"version 2.1", "version " + std::string(5u << 20, '2'), "longer"},
    };
    for (const Damage& damage : damages) {
        std::string text = kSample;
        const size_t at = text.find(damage.from);
        ASSERT_NE(at, std::string::npos) << damage.from;
        refused(text.replace(at, std::string(damage.from).size(), damage.to), damage.reason);
    }
}

}  // namespace
