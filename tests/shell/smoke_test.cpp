// Runs the real program headless on the real data with a fresh user folder: it must load, reach
// the main menu, quit cleanly on SIGTERM, and leave its log and settings behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/archive/pak_format.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::TempFolder;

using TestSupport::CountOccurrences;
using TestSupport::ProgramRun;
using TestSupport::WaitForText;

std::string ReadFile(const std::string& path) {
    return TestSupport::ReadWholeFile(path);
}

// Starts the program headless with its output in `errorFile`; returns its process id. `options`
// replace the usual data and user folder options; `headless` false leaves the video driver and
// the display unset, as on a machine with no display.
pid_t StartProgram(const std::vector<std::string>& options, const std::string& errorFile,
                   bool headless = true) {
    ProgramRun run;
    run.program = QUILLORY_EXECUTABLE;
    run.arguments = options;
    run.environment = {{"SDL_AUDIODRIVER", "dummy"}, {"QUILLORY_DEBUG", "1"}};
    if (headless) {
        run.environment.push_back({"SDL_VIDEODRIVER", "dummy"});
    } else {
        run.unsetEnvironment = {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"};
    }
    run.errorFile = errorFile;
    return TestSupport::StartProgram(run);
}

pid_t StartGame(const TempFolder& user, const std::string& errorFile,
                const std::string& dataFolder = QUILLORY_DATA_DIR) {
    return StartProgram({"-changedir=" + dataFolder, "-userdir=" + user.Path()}, errorFile);
}

// Waits for the program to end; its exit code, or -1 when it did not exit normally.
int ExitCode(pid_t program) {
    return TestSupport::WaitForExit(program);
}

TEST(SmokeTest, StartsLoadsReachesTheMainMenuAndQuitsOnSigterm) {
    TempFolder user;
    user.Write("registry.ini.tmp-Ab12Cd", "left by a write that was killed");
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
    // The volume saved is the one heard: the options slider's (0.75 by default).
    EXPECT_NE(registry.find("MusicVolume=75"), std::string::npos) << registry;
    const std::string config = ReadFile(user.File("config.ini"));
    EXPECT_NE(config.find("Name=ENGLISH"), std::string::npos) << config;
    EXPECT_FALSE(std::filesystem::exists(user.File("registry.ini.tmp-Ab12Cd")));
}

TEST(SmokeTest, AnArchiveAloneIsAWholeDataFolder) {
    // Everything the game reads comes out of main.pak when no loose file is there.
    std::vector<Tuvo::PakSourceFile> files;
    const std::filesystem::path root = QUILLORY_DATA_DIR;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const std::string bytes = ReadFile(entry.path().string());
        std::string name = std::filesystem::relative(entry.path(), root).string();
        std::replace(name.begin(), name.end(), '/', '\\');
        files.push_back({name, 1, std::vector<uint8_t>(bytes.begin(), bytes.end())});
    }
    std::vector<uint8_t> archive;
    ASSERT_TRUE(Tuvo::BuildPak(files, archive));
    TempFolder data;
    data.Write("main.pak", std::string(archive.begin(), archive.end()));
    TempFolder user;
    const std::string errors = user.File("stderr.txt");
    const pid_t game = StartGame(user, errors, data.Path());
    const bool reachedMenu = WaitForText(errors, "Main menu reached", 120);
    kill(game, SIGTERM);
    EXPECT_EQ(ExitCode(game), 0);
    ASSERT_TRUE(reachedMenu) << ReadFile(errors);
    const std::string log = ReadFile(user.File("applog.htm"));
    EXPECT_EQ(log.find("FAILED"), std::string::npos) << "a resource failed to load";
    EXPECT_GT(CountOccurrences(log, "Loading image"), 50u);
}

TEST(SmokeTest, QuittingSignalsEndTheGameAsClosingItDoes) {
    for (const int signal : {SIGINT, SIGHUP}) {
        TempFolder user;
        const pid_t game = StartGame(user, user.File("stderr.txt"));
        ASSERT_TRUE(WaitForText(user.File("applog.htm"), "Init()", 60));
        kill(game, signal);
        EXPECT_EQ(ExitCode(game), 0) << signal;
        EXPECT_NE(ReadFile(user.File("registry.ini")).find("InProgress=0"), std::string::npos)
            << signal;
        EXPECT_NE(ReadFile(user.File("applog.htm")).find("*** Session finished ***"),
                  std::string::npos);
    }
}

TEST(SmokeTest, AWrongDataFolderOrNoDisplayIsSaidPlainly) {
    TempFolder user;
    const std::string errors = user.File("stderr.txt");
    for (const std::string& folder :
         {user.File("missing"), user.Write("plain.txt", "x"), user.Path()}) {
        const pid_t game =
            StartProgram({"-changedir=" + folder, "-userdir=" + user.Path()}, errors);
        EXPECT_NE(ExitCode(game), 0) << folder;
        EXPECT_NE(ReadFile(errors).find(folder), std::string::npos) << ReadFile(errors);
    }
    const pid_t game = StartProgram(
        {std::string("-changedir=") + QUILLORY_DATA_DIR, "-userdir=" + user.Path()}, errors, false);
    EXPECT_EQ(ExitCode(game), 1);
    EXPECT_NE(ReadFile(errors).find("No display"), std::string::npos) << ReadFile(errors);
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
