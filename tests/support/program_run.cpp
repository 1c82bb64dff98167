// Starting real programs from tests and watching their files.
#include "support/program_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <thread>

namespace TestSupport {

namespace {

// Points the given descriptors at a new file.
bool Redirect(const std::string& file, std::initializer_list<int> descriptors) {
    const int output = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (output < 0) {
        return false;
    }
    for (const int descriptor : descriptors) {
        dup2(output, descriptor);
    }
    close(output);
    return true;
}

}  // namespace

pid_t StartProgram(const ProgramRun& run) {
    // Everything the child needs is prepared before the fork.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(run.program.c_str()));
    for (const std::string& argument : run.arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child != 0) {
        return child;
    }
    for (const std::string& name : run.unsetEnvironment) {
        unsetenv(name.c_str());
    }
    for (const auto& [name, value] : run.environment) {
        setenv(name.c_str(), value.c_str(), 1);
    }
    if (!run.errorFile.empty() && !Redirect(run.errorFile, {STDOUT_FILENO, STDERR_FILENO})) {
        _exit(126);
    }
    if (!run.outputFile.empty() && !Redirect(run.outputFile, {STDOUT_FILENO})) {
        _exit(126);
    }
    if (!run.folder.empty() && chdir(run.folder.c_str()) != 0) {
        _exit(126);
    }
    execv(run.program.c_str(), argv.data());
    _exit(127);
}

int WaitForExit(pid_t process, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    pid_t ended = 0;
    while (process > 0 && (ended = waitpid(process, &status, seconds < 0 ? 0 : WNOHANG)) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(process, SIGKILL);
            waitpid(process, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return ended == process && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunProgram(const ProgramRun& run) {
    return WaitForExit(StartProgram(run));
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

size_t CountOccurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

bool WaitForText(const std::string& file, const std::string& text, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (ReadWholeFile(file).find(text) != std::string::npos) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

}  // namespace TestSupport
