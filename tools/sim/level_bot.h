// The level bot: plays every level of a data folder with the simulator's built-in players, in
// Classic and Transformer mode over a range of seeds, in this process, and judges the results:
// the good player must win every normal level in every game, and within a stage a later level
// must not be easier than an earlier one beyond a tolerance.
//
// Difficulty of a level in one mode: the share of its clock that the good player needed in its
// median game, 1 - (median time left / clock). The median, not the worst game: across four sets
// of 20 seeds a level's worst game moved by up to 10 % of the clock, its median by up to 6 %.
// The margin shown in the table and the plot is the worst game's, worst time left / clock: how
// close the good player came to losing.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sim/json_events.h"
#include "sim/sim_options.h"

namespace QuillorySim {

// The four series the bot plays: good and casual player, in Classic and Transformer mode.
struct BotSeries {
    PlayerKind player;
    int mode;
};
constexpr int kBotSeriesCount = 4;
extern const std::array<BotSeries, kBotSeriesCount> kBotSeries;
// Index of (player, mode) in kBotSeries; -1 when the bot does not play it.
int BotSeriesIndex(PlayerKind player, int mode);

// One game: its time left when it was won or lost (negative on a bonus level that ran past its
// clock), or not finished within the simulator's time limit.
struct BotGame {
    uint32_t seed = 0;
    bool finished = false;
    bool won = false;
    double timeLeft = 0;
};

struct BotSeriesResult {
    std::vector<BotGame> games;

    int Wins() const;
    // Of the time left over every game (an unfinished game counts as 0 s); 0 with no games.
    double MedianTimeLeft() const;
    double WorstTimeLeft() const;
};

struct BotLevel {
    int level = 0;
    int stage = 0;
    bool bonus = false;
    double clock = 0;  // the level's time limit, seconds
    int cells = 0;
    int classes = 0;
    std::array<BotSeriesResult, kBotSeriesCount> series;

    const BotSeriesResult& Of(PlayerKind player, int mode) const;
    // Worst time left as a share of the clock; 0 without a clock.
    double WorstMargin(PlayerKind player, int mode) const;
    // The good player's difficulty in `mode`: 1 - its median time left / clock.
    double Difficulty(int mode) const;
};

// Six levels to a stage, as the stage map counts them.
int StageOfLevel(int level);

struct BotOptions {
    std::string dataFolder = "data";
    int seeds = 20;  // seeds firstSeed .. firstSeed + seeds - 1
    uint32_t firstSeed = 1;
    int firstLevel = 1;
    int lastLevel = 0;  // 0: up to the last level the data folder has
    bool goodPlayerOnly = false;
    double maxSeconds = 1800;  // of the simulator's clock, per game
    // Called after each level has been played.
    std::function<void(const BotLevel&)> progress;
};

// Plays the levels; false with `error` set when a level cannot be played at all (no data
// folder, a damaged level file). Every game is exactly the one that quillory-sim plays with
// the same level, mode, seed and player, on a fresh temporary user folder. Single-threaded: the
// simulator moves into the data folder while it runs.
bool RunLevelBot(const BotOptions& options, std::vector<BotLevel>& levels, std::string& error);

// One game of one level, played until it is won or lost; false with `error` set when the level
// cannot start.
bool PlayBotGame(const SimOptions& options, BotGame& game, RunOutcome& outcome, std::string& error);

// How many levels the data folder has: level 1 on, up to the first that the game could not
// play (as the game decides that it is complete); 0 with `error` set when the folder has no
// classes.
int CountLevels(const std::string& dataFolder, std::string& error);

// The largest amount, as a share of the clock, by which a later normal level of a stage may be
// easier for the good player than an earlier one, with 20 seeds: on levels whose curve over 80
// seeds falls by 2 % at most, sets of 20 seeds showed dips of up to 3.9 %.
constexpr double kDifficultyTolerance = 0.05;

// Every rule the levels break, one sentence each; empty when they keep them all. Bonus levels
// are left out of both rules: their clock never ends them.
std::vector<std::string> CheckLevels(const std::vector<BotLevel>& levels,
                                     double tolerance = kDifficultyTolerance);

}  // namespace QuillorySim
