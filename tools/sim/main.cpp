// quillory-sim: plays one level of the game rules headless and prints its events as JSON lines.
// See the README's developer section, and sim_script.h for the script format.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "sim/simulator.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    QuillorySim::SimOptions options;
    std::string error;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!QuillorySim::ParseSimOptions(arguments, options, error)) {
        std::fprintf(stderr, "quillory-sim: %s\n%s", error.c_str(), QuillorySim::kSimUsage);
        return 2;
    }
    QuillorySim::Simulator simulator(options, std::cout);
    const int status = simulator.Run();
    std::cout.flush();
    if (status != 0) {
        std::fprintf(stderr, "quillory-sim: %s\n", simulator.Error().c_str());
    }
    if (!simulator.UserFolder().empty()) {
        const std::string problems =
            QuillorySim::LogProblems(simulator.UserFolder() + "/applog.htm");
        std::fputs(problems.c_str(), stderr);
    }
    return status;
}
