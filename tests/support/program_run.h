// Running the project's real programs from tests: start one in a folder of the test's choosing,
// with extra environment variables and its error output in a file, then wait for text to appear
// in a file or for the program to end.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace TestSupport {

struct ProgramRun {
    std::string program;
    std::vector<std::string> arguments;                            // without the program name
    std::vector<std::pair<std::string, std::string>> environment;  // set on top of the test's
    std::vector<std::string> unsetEnvironment;                     // taken out of the test's
    std::string folder;      // the current folder for the program; empty: the test's own
    std::string errorFile;   // receives stderr (and stdout); empty: the test's own
    std::string outputFile;  // receives stdout instead, when given
};

// Starts the program and returns its process id (-1 when it could not be started).
pid_t StartProgram(const ProgramRun& run);

// Waits for the process to end; returns its exit code, or -1 when it did not exit normally. Given
// `seconds`, a process still running after them is killed: -1.
int WaitForExit(pid_t process, int seconds = -1);

// Starts the program and waits for it to end; returns its exit code (-1 on a signal).
int RunProgram(const ProgramRun& run);

// The whole contents of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

size_t CountOccurrences(const std::string& text, const std::string& part);

// Waits until `file` contains `text`, or `seconds` have passed; true when it appeared.
bool WaitForText(const std::string& file, const std::string& text, int seconds);

}  // namespace TestSupport
