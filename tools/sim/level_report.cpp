// docs/levels.md from the level bot's results.
#include "sim/level_report.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "game/quillory_game.h"

namespace QuillorySim {

namespace {

std::string WholeSeconds(double seconds) {
    char text[32];
    // Rounds half away from zero, and never prints "-0".
    const long rounded = std::lround(seconds);
    std::snprintf(text, sizeof(text), "%ld", rounded);
    return text;
}

std::string Percent(double share) {
    char text[32];
    const long rounded = std::lround(100 * share);
    std::snprintf(text, sizeof(text), "%ld %%", rounded);
    return text;
}

const char* ModeTitle(int mode) {
    return mode == Quillory::MODE_TRANSFORMER ? "Transformer" : "Classic";
}

// The normal level of the stage with the smallest worst margin for (player, mode); null when
// the stage has none that was played.
const BotLevel* TightestLevel(const std::vector<const BotLevel*>& stage, PlayerKind player,
                              int mode) {
    const BotLevel* tightest = nullptr;
    for (const BotLevel* level : stage) {
        if (level->bonus || level->Of(player, mode).games.empty()) {
            continue;
        }
        if (tightest == nullptr ||
            level->WorstMargin(player, mode) < tightest->WorstMargin(player, mode)) {
            tightest = level;
        }
    }
    return tightest;
}

// GCC 12 warns falsely (-Wrestrict) on "literal" + std::string in Release; rows are built as
// streams instead.
std::string StageRow(const std::vector<const BotLevel*>& stage) {
    std::ostringstream row;
    row << "| " << stage.front()->stage << " | " << stage.front()->level << "–"
        << stage.back()->level << " |";
    int casualWins = 0;
    int casualGames = 0;
    for (const BotSeries& series : kBotSeries) {
        const BotLevel* tightest = TightestLevel(stage, series.player, series.mode);
        if (tightest == nullptr) {
            row << " – |";
        } else {
            row << " " << Percent(tightest->WorstMargin(series.player, series.mode)) << " ("
                << tightest->level << ") |";
        }
        for (const BotLevel* level : stage) {
            if (series.player == PlayerKind::Casual && !level->bonus) {
                const BotSeriesResult& result = level->Of(series.player, series.mode);
                casualWins += result.Wins();
                casualGames += static_cast<int>(result.games.size());
            }
        }
    }
    if (casualGames == 0) {
        row << " – |\n";
    } else {
        row << " " << Percent(static_cast<double>(casualWins) / casualGames) << " |\n";
    }
    return row.str();
}

std::string LevelRow(const BotLevel& level) {
    std::ostringstream row;
    row << "| " << level.level << (level.bonus ? " B" : "") << " | " << level.stage << " | "
        << WholeSeconds(level.clock) << " | " << level.cells << " | " << level.classes << " |";
    for (const BotSeriesResult& result : level.series) {
        row << " " << (result.games.empty() ? std::string("–") : TimesCell(result)) << " |";
    }
    row << "\n";
    return row.str();
}

// The levels split by stage, in order.
std::vector<std::vector<const BotLevel*>> Stages(const std::vector<BotLevel>& levels) {
    std::vector<std::vector<const BotLevel*>> stages;
    for (const BotLevel& level : levels) {
        if (stages.empty() || stages.back().front()->stage != level.stage) {
            stages.emplace_back();
        }
        stages.back().push_back(&level);
    }
    return stages;
}

}  // namespace

std::string TimesCell(const BotSeriesResult& result) {
    const int games = static_cast<int>(result.games.size());
    const int wins = result.Wins();
    std::ostringstream cell;
    cell << WholeSeconds(result.MedianTimeLeft()) << " / ";
    if (wins < games) {
        cell << "lost (" << wins << "/" << games << " won)";
    } else {
        cell << WholeSeconds(result.WorstTimeLeft());
    }
    return cell.str();
}

std::string LevelsMarkdown(const std::vector<BotLevel>& levels,
                           const std::vector<std::string>& problems, const ReportContext& context) {
    std::ostringstream page;
    page << "# The levels as the game plays them\n\n"
         << "Made by the level bot, `quillory-levelbot`: the game's own rules, headless, play "
            "every level of `data/` in Classic and Transformer mode with the simulator's "
            "\"good\" and \"casual\" players, seeds "
         << context.firstSeed << " to " << context.firstSeed + context.seeds - 1 << " ("
         << context.seeds
         << " games per figure). Do not edit this page: regenerate it, and the plot, with\n\n"
         << "```sh\n"
         << context.command << "\n```\n\n"
         << "Times are the seconds left on the level's clock when its last cell was filled: "
            "the median and the worst of the games (\"lost\" when the clock ran out first in "
            "some game). Bonus levels (B) are never lost on time; their clock may run below 0. "
            "Any game can be watched event by event with `quillory-sim --level N --mode M "
            "--seed S --player P`, which plays the very same game.\n\n"
         << "The **margin** of a level is its worst time left as a share of its clock: how "
            "close the good player came to losing. Its **difficulty** is the share of the clock "
            "that the good player needed in its median game (across four sets of 20 seeds a "
            "level's worst game moved by up to 10 % of the clock, its median by up to 6 %). "
            "The bot checks that the good player wins every normal level in every game, and that "
            "within a stage no normal level is easier than an earlier one by more than "
         << Percent(context.tolerance) << " of the clock, in each mode.\n\n";
    if (problems.empty()) {
        page << "**Checks: every level passes.**\n\n";
    } else {
        page << "**Checks: " << problems.size() << (problems.size() == 1 ? " problem" : " problems")
             << ".**\n\n";
        for (const std::string& problem : problems) {
            page << "- " << problem << "\n";
        }
        page << "\n";
    }

    page << "## Worst margins per stage\n\n"
         << "The smallest margin among the stage's normal levels, with its level; the last "
            "column is the share of the stage's normal games that the casual player won.\n\n"
         << "| stage | levels | good Classic | good Transformer | casual Classic | "
            "casual Transformer | casual wins |\n"
         << "|---|---|---|---|---|---|---|\n";
    for (const std::vector<const BotLevel*>& stage : Stages(levels)) {
        page << StageRow(stage);
    }
    page << "\n";

    if (!context.plotFile.empty()) {
        page << "## Margins across the levels\n\n"
             << "![worst margins of every level](" << context.plotFile << ")\n\n"
             << "Worst margin of each level (share of the clock), from level 1 on the left: "
                "good player in dark blue (Classic) and light blue (Transformer), casual player "
                "in dark orange (Classic) and light orange (Transformer). Lines join the normal "
                "levels of a stage; the shaded columns are the bonus levels, whose points stand "
                "alone. The thin grey lines lie at every 10 %, the dark one at 0; the vertical "
                "ones part the stages.\n\n";
    }

    page << "## Per level\n\n"
         << "Median / worst time left in seconds.\n\n"
         << "| level | stage | clock | cells | classes |";
    for (const BotSeries& series : kBotSeries) {
        page << " " << PlayerOptionName(series.player) << " " << ModeTitle(series.mode) << " |";
    }
    page << "\n|---|---|---|---|---|---|---|---|---|\n";
    for (const BotLevel& level : levels) {
        page << LevelRow(level);
    }
    return page.str();
}

}  // namespace QuillorySim
