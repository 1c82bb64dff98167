// Plays the real program headless on the real data with scripted input in real time (no
// recording), as a player would with the mouse: main menu, Transformer, the stage map, Set Out,
// the first level's tutorial with its turn, the pause menu, ending the game, typing a high-score
// name; then checks the high scores and the saved game that it left in a fresh user folder. The
// Classic course is played by the recordings (recorded_play_test.cpp).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/private_profile.h"
#include "engine/scores.h"
#include "platform/folders.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;

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
    TestSupport::ProgramRun program;
    program.program = QUILLORY_EXECUTABLE;
    program.arguments = {std::string("-changedir=") + QUILLORY_DATA_DIR, "-userdir=" + user.Path()};
    program.environment = {{"SDL_VIDEODRIVER", "dummy"},
                           {"SDL_AUDIODRIVER", "dummy"},
                           {"QUILLORY_INPUT_SCRIPT", script}};
    program.errorFile = user.File("stderr.txt");
    const int status = TestSupport::WaitForExit(TestSupport::StartProgram(program), 240);
    const std::string log = user.Read("applog.htm");
    EXPECT_EQ(status, 0) << user.Read("stderr.txt") << log;
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
