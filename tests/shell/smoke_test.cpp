// Runs the real program headless on the real data with a fresh user folder: it must load, reach
// the main menu, quit cleanly on SIGTERM, and leave its log and settings behind. (A data folder
// holding only main.pak is the install check's.)
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::CountOccurrences;
using TestSupport::ReadWholeFile;
using TestSupport::TempFolder;
using TestSupport::WaitForExit;
using TestSupport::WaitForText;

// Starts the program with its output in `errorFile`; `headless` false leaves the video driver
// and the display unset, as on a machine with no display.
pid_t StartProgram(const std::vector<std::string>& options, const std::string& errorFile,
                   bool headless = true) {
    TestSupport::ProgramRun run{.program = QUILLORY_EXECUTABLE,
                                .arguments = options,
                                .environment = {{"SDL_AUDIODRIVER", "dummy"},
                                                {"QUILLORY_DEBUG", "1"},
                                                {"SDL_VIDEODRIVER", "dummy"}},
                                .errorFile = errorFile};
    if (!headless) {
        run.environment.pop_back();
        run.unsetEnvironment = {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"};
    }
    return TestSupport::StartProgram(run);
}

pid_t StartGame(const TempFolder& user, const std::string& errorFile) {
    return StartProgram({std::string("-changedir=") + QUILLORY_DATA_DIR, "-userdir=" + user.Path()},
                        errorFile);
}

TEST(SmokeTest, StartsLoadsReachesTheMainMenuAndQuitsOnSigterm) {
    TempFolder user;
    user.Write("registry.ini.tmp-Ab12Cd", "left by a write that was killed");
    const std::string errors = user.File("stderr.txt");
    const pid_t game = StartGame(user, errors);
    ASSERT_GT(game, 0);
    const bool reachedMenu = WaitForText(errors, "Main menu reached", 120);
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
    EXPECT_EQ(log.find("FAILED"), std::string::npos) << "a resource failed to load";
    EXPECT_GT(CountOccurrences(log, "Loading image"), 50u);
    EXPECT_GT(CountOccurrences(log, "Loading sound"), 20u);

    const std::string registry = ReadWholeFile(user.File("registry.ini"));
    EXPECT_NE(registry.find("InProgress=0"), std::string::npos) << registry;
    EXPECT_NE(registry.find("ScreenMode=1"), std::string::npos) << registry;  // first run: full
    // The volume saved is the one heard: the options slider's (0.75 by default).
    EXPECT_NE(registry.find("MusicVolume=75"), std::string::npos) << registry;
    EXPECT_NE(ReadWholeFile(user.File("config.ini")).find("Name=ENGLISH"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(user.File("registry.ini.tmp-Ab12Cd")));
}

TEST(SmokeTest, AWrongDataFolderOrNoDisplayIsSaidPlainly) {
    TempFolder user;
    const std::string errors = user.File("stderr.txt");
    for (const std::string& folder :
         {user.File("missing"), user.Write("plain.txt", "x"), user.Path()}) {
        EXPECT_NE(
            WaitForExit(StartProgram({"-changedir=" + folder, "-userdir=" + user.Path()}, errors)),
            0)
            << folder;
        EXPECT_NE(ReadWholeFile(errors).find(folder), std::string::npos) << ReadWholeFile(errors);
    }
    const pid_t game = StartProgram(
        {std::string("-changedir=") + QUILLORY_DATA_DIR, "-userdir=" + user.Path()}, errors, false);
    EXPECT_EQ(WaitForExit(game), 1);
    EXPECT_NE(ReadWholeFile(errors).find("No display"), std::string::npos) << ReadWholeFile(errors);
}

TEST(SmokeTest, ASecondCopyLeavesTheFirstOnesFilesAlone) {
    TempFolder user;
    const pid_t first = StartGame(user, user.File("first.txt"));
    ASSERT_TRUE(WaitForText(user.File("applog.htm"), "Init()", 60));
    const std::string logBefore = ReadWholeFile(user.File("applog.htm"));
    EXPECT_EQ(WaitForExit(StartGame(user, user.File("second.txt"))), 0);
    EXPECT_EQ(ReadWholeFile(user.File("applog.htm")).rfind(logBefore, 0), 0u);
    kill(first, SIGTERM);
    EXPECT_EQ(WaitForExit(first), 0);
}

}  // namespace
