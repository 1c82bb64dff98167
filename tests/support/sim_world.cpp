// The simulator tests' data folders and stored outputs.
#include "support/sim_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace TestSupport {

SimData::SimData() {
    data.Write("classes.xml", ClassesXml(4, 3));
}

void SimData::WriteLevel(int number, const std::map<std::string, std::string>& attributes) {
    data.Write("Levels/level_" + std::to_string(number) + ".xml",
               LevelXml({{"levelTime", "200"}, {"lineSpeed", "0.02"}}, attributes));
}

std::string StoredOutput(const std::string& name, const std::string& actual) {
    const char* source = std::getenv("QUILLORY_SOURCE_DIR");
    const std::string path =
        std::string(source != nullptr ? source : ".") + "/tests/tools/sim/expected/" + name;
    if (std::getenv("QUILLORY_UPDATE_EXPECTED") != nullptr) {
        std::ofstream(path, std::ios::binary) << actual;
    }
    return ReadWholeFile(path);
}

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

void ExpectStoredOutput(const std::string& name, const std::string& actual) {
    const std::vector<std::string> stored = Lines(StoredOutput(name, actual));
    const std::vector<std::string> now = Lines(actual);
    const auto [old, fresh] = std::mismatch(stored.begin(), stored.end(), now.begin(), now.end());
    if (old != stored.end() || fresh != now.end()) {
        ADD_FAILURE() << name << ", line " << old - stored.begin() + 1
                      << "\n  stored: " << (old != stored.end() ? *old : "(the end)")
                      << "\n  now:    " << (fresh != now.end() ? *fresh : "(the end)")
                      << "\nQUILLORY_UPDATE_EXPECTED=1 stores the new output when it is right.";
    }
}

}  // namespace TestSupport
