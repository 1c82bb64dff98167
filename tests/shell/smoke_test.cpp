// Runs the real program headless on the real data with a fresh user folder: it must load, reach
// the main menu, leave a second copy's start without harm, quit cleanly on SIGTERM, and leave its
// log and settings behind; a scripted player plays a Transformer tutorial through the menus.
// (A data folder holding only main.pak is the install check's.)
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/scores.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/user_folder.h"

namespace {

using TestSupport::CountOccurrences;
using TestSupport::ReadWholeFile;
using TestSupport::TempFolder;
using TestSupport::WaitForExit;
using TestSupport::WaitForText;

// Starts the game on `data` with the user folder `user` and its output in `errorFile`, headless
// unless `run` takes variables away (as on a machine with no display); `run` may add some.
pid_t StartGame(const TempFolder& user, const std::string& errorFile,
                const std::string& data = QUILLORY_DATA_DIR, TestSupport::ProgramRun run = {}) {
    run.program = QUILLORY_EXECUTABLE;
    run.arguments = {"-changedir=" + data, "-userdir=" + user.Path()};
    run.environment.insert(run.environment.end(),
                           {{"SDL_AUDIODRIVER", "dummy"}, {"QUILLORY_DEBUG", "1"}});
    if (run.unsetEnvironment.empty()) {
        run.environment.emplace_back("SDL_VIDEODRIVER", "dummy");
    }
    run.errorFile = errorFile;
    return TestSupport::StartProgram(run);
}

TEST(SmokeTest, StartsLoadsReachesTheMainMenuLeavesASecondCopyOutAndQuitsOnSigterm) {
    TempFolder user;
    user.Write("registry.ini.tmp-Ab12Cd", "left by a write that was killed");
    const std::string errors = user.File("stderr.txt");
    const pid_t game = StartGame(user, errors);
    ASSERT_GT(game, 0);
    const bool reachedMenu = WaitForText(errors, "Main menu reached", 120);
    // A second copy ends at once and leaves the first one's files alone.
    const std::string logBefore = ReadWholeFile(user.File("applog.htm"));
    EXPECT_EQ(WaitForExit(StartGame(user, user.File("second.txt"))), 0);
    EXPECT_EQ(ReadWholeFile(user.File("applog.htm")).rfind(logBefore, 0), 0u);
    kill(game, SIGTERM);
    EXPECT_EQ(WaitForExit(game), 0) << ReadWholeFile(errors);
    ASSERT_TRUE(reachedMenu) << ReadWholeFile(errors);

    const std::string log = ReadWholeFile(user.File("applog.htm"));
    const std::string separator(74, '*');
    EXPECT_EQ(log.rfind(separator + "<BR>", 0), 0u) << log.substr(0, 200);
    EXPECT_NE(log.find("*** SESSION STARTED ***"), std::string::npos);
    EXPECT_NE(log.find("Init()"), std::string::npos);
    const std::string last = "*** Session finished ***<BR>" + separator + "<BR>";
    EXPECT_EQ(log.rfind(last), log.size() - last.size());
    EXPECT_GT(CountOccurrences(log, "Loading image"), 50u);
    EXPECT_GT(CountOccurrences(log, "Loading sound"), 20u);

    const std::string registry = ReadWholeFile(user.File("registry.ini"));
    EXPECT_NE(registry.find("InProgress=0"), std::string::npos) << registry;
    EXPECT_NE(registry.find("ScreenMode=1"), std::string::npos) << registry;  // first run: full
    // The volume saved is the one heard: the options slider's (0.75 by default).
    EXPECT_NE(registry.find("MusicVolume=75"), std::string::npos) << registry;
    EXPECT_FALSE(std::filesystem::exists(user.File("registry.ini.tmp-Ab12Cd")));
}

TEST(SmokeTest, AWrongDataFolderOrNoDisplayIsSaidPlainly) {
    TempFolder user;
    const std::string errors = user.File("stderr.txt");
    for (const std::string& folder :
         {user.File("missing"), user.Write("plain.txt", "x"), user.Path()}) {
        EXPECT_NE(WaitForExit(StartGame(user, errors, folder)), 0) << folder;
        EXPECT_NE(ReadWholeFile(errors).find(folder), std::string::npos) << ReadWholeFile(errors);
    }
    const pid_t game =
        StartGame(user, errors, QUILLORY_DATA_DIR,
                  {.unsetEnvironment = {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"}});
    EXPECT_EQ(WaitForExit(game), 1);
    EXPECT_NE(ReadWholeFile(errors).find("No display"), std::string::npos) << ReadWholeFile(errors);
}

// A Transformer game, windowed (the window is the picture's own size on any headless display):
// the tutorial's shape must be turned once with the right button before the cell takes it; Escape
// pauses, End saves and offers the high score. The Classic course is played by the recordings.
const char* const kTransformerScript = R"(wait-state 1
wait-updates 60
click menu-main.xml btnTransformerGame
wait-state 2
wait-updates 120
click menu-map.xml btnStart
wait-tutorial 1
wait-slot 4
click-slot 4
wait-tutorial 2
click-cell 4
wait-updates 20
wait-tutorial 2
right-click
wait-tutorial 3
click-cell 4
wait-tutorial 0
key 27
wait-state 7
click menu-pause.xml btnEnd
wait-state 8
type Turner
key 13
click menu-highscores.xml btnClose
wait-state 1
click menu-main.xml btnExit
)";

TEST(PlayThroughTest, ATransformerTutorialTakesATurnAndItsScoreIsEntered) {
    TestSupport::TestUserFolder user;  // the game's, and the test's to read back
    user.Write("config.ini", "[OPTIONS]\r\nbtnFullScreen=0\r\n");
    const std::string errors = user.File("stderr.txt");
    const pid_t game = StartGame(
        user, errors, QUILLORY_DATA_DIR,
        {.environment = {{"QUILLORY_INPUT_SCRIPT", user.Write("script.txt", kTransformerScript)}}});
    EXPECT_EQ(WaitForExit(game, 240), 0) << ReadWholeFile(errors);
    const std::string log = user.Read("applog.htm");
    EXPECT_EQ(log.find("Script FAILED"), std::string::npos) << log;
    ASSERT_NE(log.find("Script: click menu-main.xml btnExit"), std::string::npos) << log;

    Quillory::CScores scores;
    ASSERT_EQ(scores.Load(), 1);
    scores.SetTable(1);
    EXPECT_STREQ(scores.Entry(0).name, "Turner");
    EXPECT_EQ(scores.Entry(0).score, 50u);
}

}  // namespace
