// Runs the real program headless on the real data with a fresh user folder: it must load, reach
// the main menu, quit cleanly on SIGTERM, and leave its log and settings behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "support/program_run.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::CountOccurrences;
using TestSupport::ReadWholeFile;
using TestSupport::TempFolder;
using TestSupport::WaitForText;

// Starts the program with its output in `errorFile`; returns its process id.
pid_t StartGame(const TempFolder& user, const std::string& errorFile) {
    TestSupport::ProgramRun run;
    run.program = QUILLORY_EXECUTABLE;
    run.arguments = {std::string("-changedir=") + QUILLORY_DATA_DIR, "-userdir=" + user.Path()};
    run.environment = {
        {"SDL_VIDEODRIVER", "dummy"}, {"SDL_AUDIODRIVER", "dummy"}, {"QUILLORY_DEBUG", "1"}};
    run.errorFile = errorFile;
    return TestSupport::StartProgram(run);
}

TEST(SmokeTest, StartsLoadsReachesTheMainMenuAndQuitsOnSigterm) {
    TempFolder user;
    const std::string errors = user.File("stderr.txt");
    const auto start = std::chrono::steady_clock::now();
    const pid_t game = StartGame(user, errors);
    ASSERT_GT(game, 0);
    const bool reachedMenu = WaitForText(errors, "Main menu reached", 120);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    kill(game, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(game, &status, 0), game);
    ASSERT_TRUE(reachedMenu) << ReadWholeFile(errors);
    std::printf("main menu reached after %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    ASSERT_TRUE(WIFEXITED(status)) << ReadWholeFile(errors);
    EXPECT_EQ(WEXITSTATUS(status), 0);

    const std::string log = ReadWholeFile(user.File("applog.htm"));
    const std::string separator(74, '*');
    EXPECT_EQ(log.rfind(separator + "<BR>", 0), 0u) << log.substr(0, 200);
    EXPECT_NE(log.find("*** SESSION STARTED ***"), std::string::npos);
    EXPECT_NE(log.find("Init()"), std::string::npos);
    const size_t finished = log.rfind("*** Session finished ***<BR>" + separator + "<BR>");
    ASSERT_NE(finished, std::string::npos);
    EXPECT_EQ(finished + 28 + separator.size() + 4, log.size());
    EXPECT_EQ(log.find("FAILED"), std::string::npos) << "a resource failed to load";
    EXPECT_GT(CountOccurrences(log, "Loading image"), 50u);
    EXPECT_GT(CountOccurrences(log, "Loading sound"), 20u);

    const std::string registry = ReadWholeFile(user.File("registry.ini"));
    EXPECT_NE(registry.find("InProgress=0"), std::string::npos) << registry;
    EXPECT_NE(registry.find("ScreenMode=1"), std::string::npos) << registry;  // first run: full
    EXPECT_NE(registry.find("MusicVolume=85"), std::string::npos) << registry;
    const std::string config = ReadWholeFile(user.File("config.ini"));
    EXPECT_NE(config.find("Name=ENGLISH"), std::string::npos) << config;
}

TEST(SmokeTest, ASecondCopyLeavesTheFirstOnesFilesAlone) {
    TempFolder user;
    const pid_t first = StartGame(user, user.File("first.txt"));
    ASSERT_TRUE(WaitForText(user.File("applog.htm"), "Init()", 60));
    const std::string logBefore = ReadWholeFile(user.File("applog.htm"));
    const pid_t second = StartGame(user, user.File("second.txt"));
    int status = 0;
    ASSERT_EQ(waitpid(second, &status, 0), second);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadWholeFile(user.File("applog.htm")).rfind(logBefore, 0), 0u);
    kill(first, SIGTERM);
    ASSERT_EQ(waitpid(first, &status, 0), first);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
