// The process entry: one application object, initialised, run and destroyed; then the "play"
// shortcut when the data folder has one.
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/random.h"
#include "platform/system.h"
#include "shell/game_app.h"

int main(int argc, char** argv) {
    // Ctrl+C, a closed terminal and the like end the game as closing its window does.
    Platform::InstallQuitSignalHandlers();
    Platform::StandardRandom().Seed(
        static_cast<uint32_t>(Platform::SystemClock().WallMilliseconds()));
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    auto* application = new Tuvo::GameApp(arguments);
    application->Init();
    application->Run();
    const int code = application->ExitCode();
    delete application;
    Platform::OpenUrlFile("play.url");
    return code;
}
