// The command line of quillory-sim: which level, mode, seed and player, where the data and the
// user files are, when to stop and when to save.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace QuillorySim {

enum class PlayerKind { None, Good, Casual };

struct SimOptions {
    std::string dataFolder;  // empty: the current folder when it holds "classes.xml", else "data"
    std::string userFolder;  // empty: a new temporary folder, removed at the end
    int mode = 0;            // MODE_CLASSIC, MODE_TRANSFORMER or MODE_RELAX
    int level = 1;
    uint32_t seed = 1;
    PlayerKind player = PlayerKind::None;
    std::string scriptFile;
    double maxSeconds = 1800;  // of the simulator's clock
    double saveAt = -1;        // level-clock seconds at which to save; negative: never
    bool restore = false;
};

extern const char* const kSimUsage;

// Reads the arguments after the program name; false with `error` set when one is unknown,
// lacks its value or has a value out of range.
bool ParseSimOptions(const std::vector<std::string>& arguments, SimOptions& options,
                     std::string& error);

const char* ModeOptionName(int mode);
const char* PlayerOptionName(PlayerKind player);

}  // namespace QuillorySim
