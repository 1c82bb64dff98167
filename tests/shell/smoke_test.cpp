// Runs the real program headless on the real data with a fresh user folder: it must load, reach
// the main menu, quit cleanly on SIGTERM, and leave its log and settings behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

size_t CountOccurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Starts the program with its output in `errorFile`; returns its process id.
pid_t StartGame(const TempFolder& user, const std::string& errorFile) {
    const pid_t child = fork();
    if (child == 0) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("QUILLORY_DEBUG", "1", 1);
        freopen(errorFile.c_str(), "w", stderr);
        const std::string changeDir = std::string("-changedir=") + QUILLORY_DATA_DIR;
        const std::string userDir = "-userdir=" + user.Path();
        execl(QUILLORY_EXECUTABLE, QUILLORY_EXECUTABLE, changeDir.c_str(), userDir.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

// Waits until `file` contains `text`, or the time is up.
bool WaitForText(const std::string& file, const std::string& text, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (ReadFile(file).find(text) != std::string::npos) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
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
    ASSERT_TRUE(reachedMenu) << ReadFile(errors);
    std::printf("main menu reached after %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    ASSERT_TRUE(WIFEXITED(status)) << ReadFile(errors);
    EXPECT_EQ(WEXITSTATUS(status), 0);

    const std::string log = ReadFile(user.File("applog.htm"));
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

    const std::string registry = ReadFile(user.File("registry.ini"));
    EXPECT_NE(registry.find("InProgress=0"), std::string::npos) << registry;
    EXPECT_NE(registry.find("ScreenMode=1"), std::string::npos) << registry;  // first run: full
    EXPECT_NE(registry.find("MusicVolume=85"), std::string::npos) << registry;
    const std::string config = ReadFile(user.File("config.ini"));
    EXPECT_NE(config.find("Name=ENGLISH"), std::string::npos) << config;
}

TEST(SmokeTest, ASecondCopyLeavesTheFirstOnesFilesAlone) {
    TempFolder user;
    const pid_t first = StartGame(user, user.File("first.txt"));
    ASSERT_TRUE(WaitForText(user.File("applog.htm"), "Init()", 60));
    const std::string logBefore = ReadFile(user.File("applog.htm"));
    const pid_t second = StartGame(user, user.File("second.txt"));
    int status = 0;
    ASSERT_EQ(waitpid(second, &status, 0), second);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadFile(user.File("applog.htm")).rfind(logBefore, 0), 0u);
    kill(first, SIGTERM);
    ASSERT_EQ(waitpid(first, &status, 0), first);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
