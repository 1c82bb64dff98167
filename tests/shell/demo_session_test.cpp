// Demo sessions: the options that name a recording, the fingerprint of the data it was made on,
// recording and playing one back, and the user folder a recording plays in.
#include "shell/demo_session.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <utility>
#include <vector>

#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;
using Tuvo::DemoOptions;
using Tuvo::DemoSession;

DemoOptions Options(const std::vector<std::string>& arguments, bool ok = true) {
    DemoOptions options;
    std::string error;
    EXPECT_EQ(Tuvo::ParseDemoOptions(arguments, options, error), ok) << error;
    EXPECT_EQ(error.empty(), ok) << error;
    return options;
}

TEST(DemoSessionTest, OptionsNameOneFileToRecordOrPlay) {
    EXPECT_EQ(Options({"-changedir=data"}).mode, DemoOptions::Mode::kNone);
    EXPECT_EQ(Options({"-record"}).mode, DemoOptions::Mode::kRecord);
    const DemoOptions numbered = Options({"-playnum=7"});
    EXPECT_EQ(numbered.mode, DemoOptions::Mode::kPlay);
    EXPECT_EQ(Tuvo::DemoFilePath(numbered, "/start", "/home/u/Q"), "/home/u/Q/demos/demo7.txt");
    EXPECT_EQ(Tuvo::DemoFilePath(Options({"-record"}), "/start", "/u"), "/u/demos/demo.txt");
    EXPECT_EQ(Tuvo::DemoFilePath(Options({"-play", "-demofile=a/b.txt"}), "/start", "/u"),
              "/start/a/b.txt");
    EXPECT_EQ(Tuvo::DemoFilePath(Options({"-record", "-demofile=/x.txt"}), "/start", "/u"),
              "/x.txt");
    Options({"-record", "-play"}, false);
    Options({"-recnum=1", "-playnum=1"}, false);
    Options({"-recnum=10000"}, false);
    Options({"-recnum=-1"}, false);
    Options({"-playnum="}, false);
    Options({"-playnum"}, false);
    Options({"-demofile=x.txt"}, false);
    Options({"-play", "-demofile="}, false);
    Options({"-recnum=3", "-demofile=x.txt"}, false);
}

constexpr uint64_t kData = 0xDA7A;  // the fingerprint of the data the tests "play on"

TEST(DemoSessionTest, TheDataFingerprintFollowsLevelsMenusAndClassesOnly) {
    TempFolder data;
    data.Write("classes.xml", "<Classes/>");
    data.Write("Menu/menu-main.xml", "<Screen/>");
    data.Write("Levels/level_1.xml", "<LevelMap levelTime=\"60\"/>");
    data.Write("Levels/level_3.xml", "<LevelMap/>");  // after a gap: not a level of the game
    TestSupport::ScopedCurrentDirectory inData(data.Path());
    const std::vector<std::string> menus = {"menu-main.xml"};
    auto fingerprint = [&] { return Tuvo::DataFingerprint(menus); };
    const uint64_t first = fingerprint();
    data.Write("language.ini", "[x]\r\n");  // texts, art and sounds do not count
    data.Write("Levels/level_3.xml", "<LevelMap levelTime=\"5\"/>");
    EXPECT_EQ(fingerprint(), first);
    std::vector<uint64_t> seen = {first};
    const std::vector<std::pair<const char*, const char*>> changes = {
        {"Levels/level_1.xml", "<LevelMap levelTime=\"61\"/>"},
        {"Levels/level_2.xml", "<LevelMap/>"},  // a level more
        {"Menu/menu-main.xml", "<Screen />"},
        {"classes.xml", ""},
    };
    for (const auto& [file, contents] : changes) {
        data.Write(file, contents);
        const uint64_t now = fingerprint();
        for (const uint64_t before : seen) {
            EXPECT_NE(now, before) << file;
        }
        seen.push_back(now);
    }
}

// The visible state after update `tick` of a session whose second change (50 points) comes after
// update `second` - 1; it stays hidden (-1) for the first two updates.
void TickDone(Tuvo::DemoSession& session, int tick, int second) {
    session.TickDone(tick < 3 ? -1 : (tick < second ? 1 : 6), tick < second ? 0 : 50,
                     tick < 3 ? -1 : 1);
}

// A session's life: recorded with its user files, input and visible states and written
// atomically; played back, each change of the visible state must come as recorded; a missing,
// damaged or foreign file is refused with the reason.
TEST(DemoSessionTest, ARecordingPlaysBackOnlyTheSameWayOnTheSameProgramAndData) {
    TempFolder folder;
    folder.Write("user/config.ini", "[OPTIONS]\r\nbtnFullScreen=0\r\n");
    const std::string path = folder.File("demos/new/demo.txt");
    auto session = DemoSession::ForRecording(path, kData);
    session->CaptureUserFiles(folder.File("user"));
    session->Data().programVersion = "2.1";
    const Platform::InputEvent down = {
        .kind = Platform::EventKind::kMouseDown, .x = 120, .y = 90, .clickCount = 1};
    session->HandOver(down);
    // The press is seen at the next sample even when released before it.
    Platform::InputEvent up = down;
    up.kind = Platform::EventKind::kMouseUp;
    session->HandOver(up);
    EXPECT_EQ(session->SampleButtons(), Platform::kLeftButton);
    EXPECT_EQ(session->SampleButtons(), 0);
    for (int tick = 1; tick <= 11; ++tick) {
        TickDone(*session, tick, 9);
    }
    session->HandOver({.kind = Platform::EventKind::kRepaint});
    std::string error;
    ASSERT_TRUE(session->Finish(error)) << error;
    Tuvo::Recording read;
    ASSERT_TRUE(Tuvo::ParseRecording(folder.Read("demos/new/demo.txt"), read, error)) << error;
    ASSERT_EQ(read.events.size(), 2u);  // no repaint
    EXPECT_EQ(read.events[0].tick, 1);
    EXPECT_EQ(read.endTick, 12);
    EXPECT_EQ(read.checks.size(), 2u);
    ASSERT_EQ(read.files.size(), 3u);
    EXPECT_EQ(read.files[0].contents, "[OPTIONS]\r\nbtnFullScreen=0\r\n");
    EXPECT_FALSE(read.files[1].present);

    // Played `ticks` updates with the second change after update `second` - 1.
    auto play = [&](int ticks, int second) {
        auto playback = DemoSession::ForPlayback(path, "2.1", kData, error);
        for (int tick = 1; tick <= ticks; ++tick) {
            TickDone(*playback, tick, second);
        }
        return playback->Finish(error);
    };
    EXPECT_TRUE(play(11, 9)) << error;
    // Fifty points one update early is another session.
    EXPECT_FALSE(play(11, 8));
    EXPECT_NE(error.find("after update 8"), std::string::npos) << error;
    // Ending before the recorded changes were seen is another session too.
    EXPECT_FALSE(play(1, 9));

    const std::pair<std::string, const char*> refused[] = {
        {folder.File("none.txt"), "does not exist"},
        {folder.Path(), "not a regular file"},
        {folder.Write("bad.txt", "quillory-recording 1\nversion 2.1\n"), "damaged"},
        {path, "version 2.1"},  // played by 2.2
    };
    for (const auto& [file, reason] : refused) {
        EXPECT_EQ(DemoSession::ForPlayback(file, file == path ? "2.2" : "2.1", kData, error),
                  nullptr)
            << file;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
    EXPECT_EQ(DemoSession::ForPlayback(path, "2.1", kData + 1, error), nullptr);
    EXPECT_NE(error.find("other game data"), std::string::npos) << error;
}

TEST(DemoSessionTest, AFolderThePlayerNamedKeepsItsFilesAndIsWarnedAbout) {
    TempFolder folder;
    Tuvo::Recording recording;
    recording.files = {{"config.ini", true, "recorded"},
                       {"saved.ini", true, "recorded save"},
                       {"scores.ini", false, ""}};
    folder.Write("named/config.ini", "the player's own");
    folder.Write("named/scores.ini", "scores");
    std::vector<std::string> warnings;
    std::string error;
    ASSERT_TRUE(Tuvo::PrepareUserFolder(recording, folder.File("named"), false, warnings, error));
    EXPECT_EQ(folder.Read("named/config.ini"), "the player's own");
    EXPECT_EQ(folder.Read("named/saved.ini"), "recorded save");
    EXPECT_EQ(folder.Read("named/scores.ini"), "scores");
    EXPECT_EQ(warnings.size(), 2u);

    warnings.clear();
    ::mkdir(folder.File("fresh").c_str(), 0700);
    ASSERT_TRUE(Tuvo::PrepareUserFolder(recording, folder.File("fresh"), true, warnings, error));
    EXPECT_EQ(folder.Read("fresh/config.ini"), "recorded");
    EXPECT_TRUE(warnings.empty());
    EXPECT_FALSE(
        Tuvo::PrepareUserFolder(recording, folder.File("missing/deeper"), true, warnings, error));
}

}  // namespace
