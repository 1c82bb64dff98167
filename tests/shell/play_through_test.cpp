// Plays the real program headless on the real data with scripted input in real time (no
// recording), as a player would with the mouse: main menu, Transformer, the stage map, Set Out,
// the first level's tutorial with its turn, the pause menu, ending the game, typing a high-score
// name; then checks the high scores and the saved game that it left in a fresh user folder. The
// Classic course is played by the recordings (recorded_play_test.cpp).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "engine/private_profile.h"
#include "engine/scores.h"
#include "platform/folders.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

// Runs the program to its end (or kills it after `seconds`); returns the wait status.
int RunGame(const TempFolder& user, const std::string& script, int seconds) {
    const std::string errors = user.File("stderr.txt");
    const pid_t child = fork();
    if (child == 0) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("QUILLORY_INPUT_SCRIPT", script.c_str(), 1);
        freopen(errors.c_str(), "w", stderr);
        const std::string changeDir = std::string("-changedir=") + QUILLORY_DATA_DIR;
        const std::string userDir = "-userdir=" + user.Path();
        execl(QUILLORY_EXECUTABLE, QUILLORY_EXECUTABLE, changeDir.c_str(), userDir.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return status;
}

// A Transformer game: the tutorial's shape must be turned once with the right button before the
// cell takes it; Escape pauses.
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

// Plays `script` windowed (the window is the picture's own size on any headless display) on a
// fresh user folder and checks the run ended cleanly with every script step done; the log.
std::string PlayScript(const TempFolder& user, const char* scriptText) {
    user.Write("config.ini", "[OPTIONS]\r\nbtnFullScreen=0\r\n");
    const std::string script = user.Write("script.txt", scriptText);
    const int status = RunGame(user, script, 240);
    const std::string log = ReadFile(user.File("applog.htm"));
    EXPECT_NE(status, -1) << "the program did not end\n" << log;
    EXPECT_TRUE(WIFEXITED(status)) << ReadFile(user.File("stderr.txt"));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(log.find("Script FAILED"), std::string::npos) << log;
    EXPECT_NE(log.find("Script: click menu-main.xml btnExit"), std::string::npos);
    return log;
}

TEST(PlayThroughTest, ATransformerTutorialTakesATurnAndItsGameIsSavedUnderRelax) {
    TempFolder user;
    PlayScript(user, kTransformerScript);
    ASSERT_FALSE(::testing::Test::HasFailure());

    Platform::SetUserFolderOverride(user.Path());
    Quillory::ClearProfileCache();
    Quillory::CScores scores;
    ASSERT_EQ(scores.Load(), 1);
    scores.SetTable(1);
    EXPECT_STREQ(scores.Entry(0).name, "Turner");
    EXPECT_EQ(scores.Entry(0).score, 50u);
    // The saved game's sections are swapped: files of the original game rely on it.
    int32_t saved = 0;
    EXPECT_TRUE(Quillory::GetPrivateProfileStruct("Relax", "IsGameSaved", &saved, 4, "saved.ini"));
    EXPECT_EQ(saved, 1);
    EXPECT_FALSE(
        Quillory::GetPrivateProfileStruct("Classic", "IsGameSaved", &saved, 4, "saved.ini"));
    Platform::SetUserFolderOverride("");
    Quillory::ClearProfileCache();
}

}  // namespace
