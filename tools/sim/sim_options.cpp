// Parsing of quillory-sim's command line.
#include "sim/sim_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "game/quillory_game.h"

namespace QuillorySim {

const char* const kSimUsage =
    "usage: quillory-sim [--data DIR] [--userdir DIR] [--mode classic|transformer|relax]\n"
    "                    [--level N] [--seed S] [--player none|good|casual] [--script FILE]\n"
    "                    [--max-seconds T] [--save-at E] [--restore]\n";

namespace {

constexpr int kMaxLevel = 100000;
constexpr double kMaxSeconds = 1.0e6;

bool ReadInteger(const std::string& text, long long lo, long long hi, long long& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long read = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || read < lo || read > hi) {
        return false;
    }
    value = read;
    return true;
}

bool ReadSeconds(const std::string& text, double lo, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    const double read = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(read) || read < lo || read > kMaxSeconds) {
        return false;
    }
    value = read;
    return true;
}

bool ReadMode(const std::string& text, int& mode) {
    for (int candidate :
         {Quillory::MODE_CLASSIC, Quillory::MODE_TRANSFORMER, Quillory::MODE_RELAX}) {
        if (text == ModeOptionName(candidate)) {
            mode = candidate;
            return true;
        }
    }
    return false;
}

bool ReadPlayer(const std::string& text, PlayerKind& player) {
    for (PlayerKind candidate : {PlayerKind::None, PlayerKind::Good, PlayerKind::Casual}) {
        if (text == PlayerOptionName(candidate)) {
            player = candidate;
            return true;
        }
    }
    return false;
}

}  // namespace

const char* ModeOptionName(int mode) {
    switch (mode) {
        case Quillory::MODE_TRANSFORMER:
            return "transformer";
        case Quillory::MODE_RELAX:
            return "relax";
        default:
            return "classic";
    }
}

const char* PlayerOptionName(PlayerKind player) {
    switch (player) {
        case PlayerKind::Good:
            return "good";
        case PlayerKind::Casual:
            return "casual";
        case PlayerKind::None:
            break;
    }
    return "none";
}

bool ParseSimOptions(const std::vector<std::string>& arguments, SimOptions& options,
                     std::string& error) {
    bool playerGiven = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--restore") {
            options.restore = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = name.starts_with("--") ? name + " needs a value" : "unknown argument " + name;
            return false;
        }
        const std::string& value = arguments[++i];
        long long number = 0;
        bool ok = true;
        if (name == "--data") {
            options.dataFolder = value;
        } else if (name == "--userdir") {
            options.userFolder = value;
        } else if (name == "--mode") {
            ok = ReadMode(value, options.mode);
        } else if (name == "--level") {
            ok = ReadInteger(value, 1, kMaxLevel, number);
            options.level = static_cast<int>(number);
        } else if (name == "--seed") {
            ok = ReadInteger(value, 0, UINT32_MAX, number);
            options.seed = static_cast<uint32_t>(number);
        } else if (name == "--player") {
            ok = ReadPlayer(value, options.player);
            playerGiven = true;
        } else if (name == "--script") {
            options.scriptFile = value;
        } else if (name == "--max-seconds") {
            ok = ReadSeconds(value, 0.01, options.maxSeconds);
        } else if (name == "--save-at") {
            ok = ReadSeconds(value, 0, options.saveAt);
        } else {
            error = "unknown argument " + name;
            return false;
        }
        if (!ok) {
            error = "bad value '" + value + "' for " + name;
            return false;
        }
    }
    if (!options.scriptFile.empty() && playerGiven && options.player != PlayerKind::None) {
        error = "--script and --player " + std::string(PlayerOptionName(options.player)) +
                " both want the pointer; choose one";
        return false;
    }
    if (options.restore && options.userFolder.empty()) {
        error = "--restore needs the --userdir that holds the saved game";
        return false;
    }
    return true;
}

}  // namespace QuillorySim
