// The main menu of the real game, run headless with SDL's dummy video and audio drivers and the
// game's own data: the frame as the widget manager draws it, the present of the finished back
// buffer, and the CPU share of the idle main-menu loop (the game's own Run, about 100 draws a
// second), windowed and full screen. Each idle run is a child process of its own, so that every
// run starts the game the way a player does.
#include <benchmark/benchmark.h>
#include <pthread.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "shell/game_app.h"

namespace {

constexpr int kIdleSeconds = 10;

// A throw-away user folder whose options pick the window mode and the software renderer.
std::string MakeUserFolder(bool fullScreen) {
    char folder[] = "/tmp/quillory-bench-shell-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        return "";
    }
    std::ofstream config(std::string(folder) + "/config.ini", std::ios::binary);
    config << "[OPTIONS]\r\nbtnFullScreen=" << (fullScreen ? 1 : 0) << "\r\nbtn3DHardware=0\r\n";
    return folder;
}

std::vector<std::string> GameArguments(const std::string& userFolder) {
    return {std::string("-changedir=") + QUILLORY_DATA_DIR, "-userdir=" + userFolder};
}

double Seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// The game started and loaded, showing the main menu, for the frame and present benchmarks.
struct LoadedGame {
    LoadedGame() : userFolder(MakeUserFolder(false)), app(GameArguments(userFolder)) {
        app.Init();
        app.BeginResourceThread();
        app.JoinResourceThread();
        app.TryUpdate();  // takes the loaded resources and enters the main menu
        // A second of the loop's updates, in real time as the effects count it: the fade from
        // black is over and the butterflies fly, as on the menu a player looks at.
        for (int update = 0; update < 100; ++update) {
            app.TryUpdate();
            app.RunFractionalUpdate(1.0f);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        app.PrepareScreenImage();  // where the game's own draws go
        ready =
            app.ScreenState() == 1 && app.Fade() == 1.0f && app.GetWidgetManager()->DrawScreen();
    }

    std::string userFolder;
    Tuvo::GameApp app;
    bool ready = false;
};

LoadedGame* gGame = nullptr;

LoadedGame& Game() {
    static LoadedGame game;
    gGame = &game;
    return game;
}

// One main-menu frame: what the loop's draw does after an update marked the board dirty.
void BM_MainMenuFrame(benchmark::State& state) {
    LoadedGame& game = Game();
    if (!game.ready) {
        state.SkipWithError("the main menu was not reached");
        return;
    }
    Tuvo::WidgetManager& manager = *game.app.GetWidgetManager();
    for (auto _ : state) {
        game.app.Redraw();
        manager.DrawScreen();
        benchmark::DoNotOptimize(game.app.GetScreenImage()->GetBits());
    }
}
BENCHMARK(BM_MainMenuFrame)->Unit(benchmark::kMicrosecond);

// Handing the finished frame to the window (texture upload and render with the dummy driver).
void BM_MainMenuPresent(benchmark::State& state) {
    LoadedGame& game = Game();
    if (!game.ready) {
        state.SkipWithError("the main menu was not reached");
        return;
    }
    Tuvo::MemoryImage& screen = *game.app.GetScreenImage();
    for (auto _ : state) {
        game.app.GetWindow().Present(screen.GetBits(), screen.GetPitch());
    }
}
BENCHMARK(BM_MainMenuPresent)->Unit(benchmark::kMicrosecond);

// The reference: the same frame from memory of its own, copied into the window's pixels, as
// where the window cannot take the frame in place (another pixel format, a whole multiple).
void BM_MainMenuPresentCopied(benchmark::State& state) {
    LoadedGame& game = Game();
    if (!game.ready) {
        state.SkipWithError("the main menu was not reached");
        return;
    }
    const Tuvo::MemoryImage frame(*game.app.GetScreenImage());
    for (auto _ : state) {
        game.app.GetWindow().Present(frame.GetBits(), frame.GetPitch());
    }
}
BENCHMARK(BM_MainMenuPresentCopied)->Unit(benchmark::kMicrosecond);

// Runs the game's own loop on the main menu for kIdleSeconds after loading and a second of
// settling, and prints the CPU share of the main thread and of the whole process (the sound
// mixer's thread included), and the draws per second.
int RunIdle(bool fullScreen) {
    const std::string userFolder = MakeUserFolder(fullScreen);
    Tuvo::GameApp app(GameArguments(userFolder));
    app.Init();
    clockid_t mainClock{};
    pthread_getcpuclockid(pthread_self(), &mainClock);
    std::thread watcher([&] {
        while (!app.loadingThreadCompleted_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const double wallStart = Seconds(CLOCK_MONOTONIC);
        const double mainStart = Seconds(mainClock);
        const double processStart = Seconds(CLOCK_PROCESS_CPUTIME_ID);
        const int drawsStart = app.drawCount_;
        std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds));
        const double wall = Seconds(CLOCK_MONOTONIC) - wallStart;
        const double main = Seconds(mainClock) - mainStart;
        const double process = Seconds(CLOCK_PROCESS_CPUTIME_ID) - processStart;
        const int draws = app.drawCount_ - drawsStart;
        std::printf(
            "idle main menu, %s: main thread %.1f %% of a core, process %.1f %%, "
            "%.0f draws a second, %.3f ms of main-thread CPU a draw\n",
            fullScreen ? "full screen" : "windowed", 100 * main / wall, 100 * process / wall,
            draws / wall, draws > 0 ? 1000 * main / draws : 0.0);
        std::fflush(stdout);
        app.Quit();  // from this thread only asks the loop to stop
    });
    app.Run();
    watcher.join();
    std::error_code ignored;
    std::filesystem::remove_all(userFolder, ignored);
    return 0;
}

// Starts this program again as a child that runs one idle measurement.
void RunIdleChild(const char* self, const char* mode) {
    const pid_t child = fork();
    if (child == 0) {
        execl(self, self, mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (child > 0) {
        waitpid(child, &status, 0);
    }
}

}  // namespace

// "--idle-windowed" or "--idle-fullscreen" runs one idle measurement; "--no-idle", or a
// benchmark filter without "Idle" in it, leaves them out; other options go to Google Benchmark.
int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    bool idle = true;
    bool benchmarks = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--idle-windowed") == 0) {
            return RunIdle(false);
        }
        if (std::strcmp(argv[i], "--idle-fullscreen") == 0) {
            return RunIdle(true);
        }
        if (std::strcmp(argv[i], "--no-idle") == 0) {
            idle = false;
        }
        // A filter leaves the idle runs out unless it names them.
        if (std::strncmp(argv[i], "--benchmark_filter=", 19) == 0 &&
            std::strstr(argv[i], "Idle") == nullptr) {
            idle = false;
        }
        // "Idle" alone names no benchmark: only the idle runs, without the "no match" message.
        if (std::strcmp(argv[i], "--benchmark_filter=Idle") == 0) {
            benchmarks = false;
        }
    }
    if (benchmarks) {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    if (idle) {
        RunIdleChild("/proc/self/exe", "--idle-windowed");
        RunIdleChild("/proc/self/exe", "--idle-fullscreen");
    }
    if (gGame != nullptr) {
        std::error_code ignored;
        std::filesystem::remove_all(gGame->userFolder, ignored);
    }
    std::_Exit(0);  // the loaded game's threads and window are left to the operating system
}
