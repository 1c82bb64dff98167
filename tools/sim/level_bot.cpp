// The level bot's games and its two rules for the levels.
#include "sim/level_bot.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <sstream>

#include "game/quillory_game.h"
#include "sim/simulator.h"

namespace QuillorySim {

const std::array<BotSeries, kBotSeriesCount> kBotSeries = {{
    {PlayerKind::Good, Quillory::MODE_CLASSIC},
    {PlayerKind::Good, Quillory::MODE_TRANSFORMER},
    {PlayerKind::Casual, Quillory::MODE_CLASSIC},
    {PlayerKind::Casual, Quillory::MODE_TRANSFORMER},
}};

namespace {

// More levels than any data folder holds; the count stops here.
constexpr int kMaxLevels = 1000;
constexpr int kMaxSeeds = 10000;
constexpr int kLevelsPerStage = 6;

std::vector<double> SortedTimesLeft(const std::vector<BotGame>& games) {
    std::vector<double> times;
    times.reserve(games.size());
    for (const BotGame& game : games) {
        times.push_back(game.finished ? game.timeLeft : 0.0);
    }
    std::sort(times.begin(), times.end());
    return times;
}

std::string Percent(double share) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.0f%%", 100 * share);
    return text;
}

std::string SeedList(const std::vector<BotGame>& games) {
    std::string seeds;
    for (const BotGame& game : games) {
        if (!game.won) {
            seeds += (seeds.empty() ? "" : ", ") + std::to_string(game.seed);
        }
    }
    return seeds;
}

void CheckWins(const BotLevel& level, std::vector<std::string>& problems) {
    for (int mode : {Quillory::MODE_CLASSIC, Quillory::MODE_TRANSFORMER}) {
        const BotSeriesResult& good = level.Of(PlayerKind::Good, mode);
        const int games = static_cast<int>(good.games.size());
        if (good.Wins() < games) {
            problems.push_back("level " + std::to_string(level.level) + ", " +
                               ModeOptionName(mode) + ": the good player won " +
                               std::to_string(good.Wins()) + " of " + std::to_string(games) +
                               " games (not won: seeds " + SeedList(good.games) + ")");
        }
    }
}

// Within one stage: no normal level easier than the hardest before it by more than tolerance.
void CheckStageCurve(const std::vector<const BotLevel*>& stage, int mode, double tolerance,
                     std::vector<std::string>& problems) {
    const BotLevel* hardest = nullptr;
    for (const BotLevel* level : stage) {
        if (level->Of(PlayerKind::Good, mode).games.empty()) {
            continue;
        }
        const double difficulty = level->Difficulty(mode);
        if (hardest != nullptr && difficulty < hardest->Difficulty(mode) - tolerance) {
            std::ostringstream problem;
            problem << "stage " << level->stage << ", " << ModeOptionName(mode) << ": level "
                    << level->level << " takes the good player " << Percent(difficulty)
                    << " of its clock in the median game, level " << hardest->level << " "
                    << Percent(hardest->Difficulty(mode)) << " (an easier level later by more than "
                    << Percent(tolerance) << ")";
            problems.push_back(problem.str());
        }
        if (hardest == nullptr || difficulty > hardest->Difficulty(mode)) {
            hardest = level;
        }
    }
}

}  // namespace

int BotSeriesIndex(PlayerKind player, int mode) {
    for (int i = 0; i < kBotSeriesCount; ++i) {
        if (kBotSeries[i].player == player && kBotSeries[i].mode == mode) {
            return i;
        }
    }
    return -1;
}

int StageOfLevel(int level) {
    return level < 1 ? 0 : (level - 1) / kLevelsPerStage + 1;
}

int BotSeriesResult::Wins() const {
    return static_cast<int>(
        std::count_if(games.begin(), games.end(), [](const BotGame& game) { return game.won; }));
}

double BotSeriesResult::MedianTimeLeft() const {
    const std::vector<double> times = SortedTimesLeft(games);
    if (times.empty()) {
        return 0;
    }
    const size_t middle = times.size() / 2;
    return times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

double BotSeriesResult::WorstTimeLeft() const {
    const std::vector<double> times = SortedTimesLeft(games);
    return times.empty() ? 0 : times.front();
}

const BotSeriesResult& BotLevel::Of(PlayerKind player, int mode) const {
    const int index = BotSeriesIndex(player, mode);
    static const BotSeriesResult kNone;
    return index >= 0 ? series[index] : kNone;
}

double BotLevel::WorstMargin(PlayerKind player, int mode) const {
    return clock > 0 ? Of(player, mode).WorstTimeLeft() / clock : 0;
}

double BotLevel::Difficulty(int mode) const {
    return clock > 0 ? 1 - Of(PlayerKind::Good, mode).MedianTimeLeft() / clock : 0;
}

bool PlayBotGame(const SimOptions& options, BotGame& game, RunOutcome& outcome,
                 std::string& error) {
    // The JSON lines go nowhere: a stream without a buffer drops what it is given.
    std::ostream quiet(nullptr);
    Simulator simulator(options, quiet);
    if (!simulator.Start()) {
        error = simulator.Error();
        return false;
    }
    // The effects after the win change nothing that the bot measures.
    while (simulator.Step()) {
        const RunOutcome now = simulator.Outcome();
        if (now.won || now.lost) {
            break;
        }
    }
    outcome = simulator.Outcome();
    game.seed = options.seed;
    game.finished = outcome.won || outcome.lost;
    game.won = outcome.won;
    game.timeLeft = game.finished ? outcome.timeLeft : 0;
    return true;
}

int CountLevels(const std::string& dataFolder, std::string& error) {
    SimOptions options;
    options.dataFolder = dataFolder;
    std::ostream quiet(nullptr);
    Simulator simulator(options, quiet);
    if (!simulator.Start()) {
        error = simulator.Error();
        return 0;
    }
    // The simulator stays in the data folder while it lives, as the game does.
    int count = 0;
    while (count < kMaxLevels && simulator.Game().LevelExists(count + 1)) {
        ++count;
    }
    return count;
}

bool RunLevelBot(const BotOptions& options, std::vector<BotLevel>& levels, std::string& error) {
    levels.clear();
    if (options.seeds < 1 || options.seeds > kMaxSeeds ||
        options.firstSeed > UINT32_MAX - static_cast<uint32_t>(options.seeds)) {
        error = "the seed count must lie from 1 to " + std::to_string(kMaxSeeds) +
                ", and the seeds within 32 bits";
        return false;
    }
    const int count = CountLevels(options.dataFolder, error);
    if (count == 0) {
        return false;
    }
    const int last = options.lastLevel > 0 ? options.lastLevel : count;
    if (options.firstLevel < 1 || options.firstLevel > last || last > count) {
        error = "levels " + std::to_string(options.firstLevel) + " to " + std::to_string(last) +
                " asked for; the data folder has levels 1 to " + std::to_string(count);
        return false;
    }
    for (int number = options.firstLevel; number <= last; ++number) {
        BotLevel level;
        level.level = number;
        level.stage = StageOfLevel(number);
        for (int s = 0; s < kBotSeriesCount; ++s) {
            if (options.goodPlayerOnly && kBotSeries[s].player != PlayerKind::Good) {
                continue;
            }
            for (int i = 0; i < options.seeds; ++i) {
                SimOptions game;
                game.dataFolder = options.dataFolder;
                game.mode = kBotSeries[s].mode;
                game.player = kBotSeries[s].player;
                game.level = number;
                game.seed = options.firstSeed + static_cast<uint32_t>(i);
                game.maxSeconds = options.maxSeconds;
                BotGame result;
                RunOutcome outcome;
                if (!PlayBotGame(game, result, outcome, error)) {
                    error = "level " + std::to_string(number) + ": " + error;
                    return false;
                }
                level.bonus = outcome.bonus;
                level.clock = outcome.timeLimit;
                level.cells = outcome.cells;
                level.classes = outcome.classes;
                level.series[s].games.push_back(result);
            }
        }
        levels.push_back(level);
        if (options.progress) {
            options.progress(levels.back());
        }
    }
    return true;
}

std::vector<std::string> CheckLevels(const std::vector<BotLevel>& levels, double tolerance) {
    std::vector<std::string> problems;
    for (const BotLevel& level : levels) {
        if (!level.bonus) {
            CheckWins(level, problems);
        }
    }
    size_t first = 0;
    while (first < levels.size()) {
        std::vector<const BotLevel*> stage;
        size_t next = first;
        for (; next < levels.size() && levels[next].stage == levels[first].stage; ++next) {
            if (!levels[next].bonus) {
                stage.push_back(&levels[next]);
            }
        }
        for (int mode : {Quillory::MODE_CLASSIC, Quillory::MODE_TRANSFORMER}) {
            CheckStageCurve(stage, mode, tolerance, problems);
        }
        first = next;
    }
    return problems;
}

}  // namespace QuillorySim
