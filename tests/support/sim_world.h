// For the simulator's tests: data folders of the test's own (classes and levels written by the
// test), the game's real data folder, runs of the simulator captured as text, and its JSON lines
// read back.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sim/sim_options.h"
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

    // Options for a run of this data folder with this user folder.
    QuillorySim::SimOptions Options(int level) const;

    TempFolder data;
    TempFolder user;
};

// Runs the simulator in this process; its output.
std::string RunSimulator(const QuillorySim::SimOptions& options);

// One line of the simulator's output, with its values looked up by key as text (strings
// without their quotes, arrays as written; "" when the key is absent). The lines' exact form is
// the JSON writer's own test.
struct EventLine {
    std::string text;
    std::string operator[](const std::string& key) const;
    double Number(const std::string& key) const;
};

// Every line of an output.
std::vector<EventLine> ReadEvents(const std::string& output);
// The lines of one event.
std::vector<EventLine> OfKind(const std::vector<EventLine>& lines, const std::string& event);

}  // namespace TestSupport
