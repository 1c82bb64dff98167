// The level bot's report: docs/levels.md, a Markdown page of the results per level, the worst
// margins per stage and the checks' findings. It holds no date, so the same levels give the
// same page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/level_bot.h"

namespace QuillorySim {

struct ReportContext {
    int seeds = 0;
    uint32_t firstSeed = 1;
    std::string command;   // the command that regenerates the page
    std::string plotFile;  // the plot's file name, relative to the page; empty: none
    double tolerance = kDifficultyTolerance;
};

std::string LevelsMarkdown(const std::vector<BotLevel>& levels,
                           const std::vector<std::string>& problems, const ReportContext& context);

// "81 / 75": median and worst time left, whole seconds; "lost" stands for a worst game that
// was not won, and "(17/20 won)" follows when some game was not won.
std::string TimesCell(const BotSeriesResult& result);

}  // namespace QuillorySim
