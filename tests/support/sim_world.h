// For the simulator's tests: data folders of the test's own (classes and levels written by the
// test) and the expected outputs stored beside the tests.
#pragma once

#include <map>
#include <string>

#include "support/game_world.h"
#include "support/temp_folder.h"

namespace TestSupport {

class SimData {
public:
    // "classes.xml" with four classes "c0" to "c3" of three shapes each.
    SimData();

    // "Levels/level_N.xml": a calm level of 7 cells a line and classes c0 to c2, changed by
    // `attributes`.
    void WriteLevel(int number, const std::map<std::string, std::string>& attributes = {});

    TempFolder data;
    TempFolder user;
};

// The expected output `name` stored in tests/tools/sim/expected. With QUILLORY_UPDATE_EXPECTED=1
// in the environment, `actual` is stored there first (after a change made on purpose: rerun the
// test so, then review the difference with git diff).
std::string StoredOutput(const std::string& name, const std::string& actual);
// Fails, naming the first line that differs, unless `actual` is the stored output `name`.
void ExpectStoredOutput(const std::string& name, const std::string& actual);

}  // namespace TestSupport
