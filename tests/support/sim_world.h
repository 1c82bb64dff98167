// Data folders of the simulator tests' own (classes and levels written by the test), the game's
// real data folder, and runs of the simulator captured as text.
#pragma once

#include <map>
#include <string>

#include "sim/sim_options.h"
#include "support/temp_folder.h"

namespace TestSupport {

class SimData {
public:
    // "classes.xml" with `classes` classes "c0", "c1", ... of `shapes` shapes each.
    explicit SimData(int classes = 4, int shapes = 3);

    // "Levels/level_N.xml": a calm level of 7 cells a line and three classes, changed by
    // `attributes`.
    void WriteLevel(int number, const std::map<std::string, std::string>& attributes = {});

    // Options for a run of this data folder with this user folder.
    QuillorySim::SimOptions Options(int level = 1) const;

    TempFolder data;
    TempFolder user;
};

// The game's own data folder in the source tree.
std::string GameDataFolder();

// Runs the simulator in this process; `status` gets Run()'s result.
std::string RunSimulator(const QuillorySim::SimOptions& options, int* status = nullptr);

}  // namespace TestSupport
