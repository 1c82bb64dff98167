// The process entry: one application object, initialised, run and destroyed; then the "play"
// shortcut when the data folder has one.
#include <ctime>
#include <string>
#include <vector>

#include "platform/random.h"
#include "platform/system.h"
#include "shell/game_app.h"

int main(int argc, char** argv) {
    Platform::StandardRandom().Seed(static_cast<uint32_t>(std::time(nullptr)));
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    auto* application = new Tuvo::GameApp(arguments);
    application->Init();
    application->Run();
    const int code = application->ExitCode();
    delete application;
    Platform::OpenUrlFile("play.url");
    return code;
}
