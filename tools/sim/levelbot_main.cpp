// quillory-levelbot: plays every level with the simulator's players, checks the levels and
// writes the report page and its plot. See the README's developer section.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "sim/level_bot.h"
#include "sim/level_plot.h"
#include "sim/level_report.h"

namespace {

const char* const kUsage =
    "usage: quillory-levelbot [--data DIR] [--seeds N] [--first-seed S] [--levels FIRST-LAST]\n"
    "                         [--good-only] [--markdown FILE] [--plot FILE] [--quiet]\n"
    "Plays the levels in Classic and Transformer mode with the good and casual players\n"
    "(N seeds from S: 20 from 1 by default), prints what breaks the levels' rules, and writes the\n"
    "report page and the plot when asked. Exit status: 0 when every level passes, 1 when\n"
    "some does not, 2 when the levels cannot be played or written.\n";

// The command that regenerates docs/levels.md and docs/levels.png.
const char* const kRegenerateCommand = "./dev levels";

struct Arguments {
    QuillorySim::BotOptions bot;
    std::string markdownFile;
    std::string plotFile;
    bool quiet = false;
};

bool ReadInt(const std::string& text, int lo, int hi, int& value) {
    char* end = nullptr;
    const long read = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || read < lo || read > hi) {
        return false;
    }
    value = static_cast<int>(read);
    return true;
}

// "FIRST-LAST" or one level "N".
bool ReadLevels(const std::string& text, int& first, int& last) {
    const size_t dash = text.find('-');
    if (dash == std::string::npos) {
        return ReadInt(text, 1, 100000, first) && ReadInt(text, 1, 100000, last);
    }
    return ReadInt(text.substr(0, dash), 1, 100000, first) &&
           ReadInt(text.substr(dash + 1), 1, 100000, last) && first <= last;
}

bool ParseArguments(const std::vector<std::string>& list, Arguments& arguments,
                    std::string& error) {
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string& name = list[i];
        if (name == "--good-only") {
            arguments.bot.goodPlayerOnly = true;
            continue;
        }
        if (name == "--quiet") {
            arguments.quiet = true;
            continue;
        }
        if (i + 1 >= list.size()) {
            error = name.starts_with("--") ? name + " needs a value" : "unknown argument " + name;
            return false;
        }
        const std::string& value = list[++i];
        bool ok = true;
        if (name == "--data") {
            arguments.bot.dataFolder = value;
        } else if (name == "--seeds") {
            ok = ReadInt(value, 1, 10000, arguments.bot.seeds);
        } else if (name == "--first-seed") {
            int seed = 0;
            ok = ReadInt(value, 0, 1000000000, seed);
            arguments.bot.firstSeed = static_cast<uint32_t>(seed);
        } else if (name == "--levels") {
            ok = ReadLevels(value, arguments.bot.firstLevel, arguments.bot.lastLevel);
        } else if (name == "--markdown") {
            arguments.markdownFile = value;
        } else if (name == "--plot") {
            arguments.plotFile = value;
        } else {
            error = "unknown argument " + name;
            return false;
        }
        if (!ok) {
            error = "bad value '" + value + "' for " + name;
            return false;
        }
    }
    return true;
}

void PrintProgress(const QuillorySim::BotLevel& level) {
    std::fprintf(stderr, "level %2d%s:", level.level, level.bonus ? " (bonus)" : "");
    for (const QuillorySim::BotSeries& series : QuillorySim::kBotSeries) {
        const QuillorySim::BotSeriesResult& result = level.Of(series.player, series.mode);
        if (!result.games.empty()) {
            std::fprintf(stderr, "  %s %s %s", QuillorySim::PlayerOptionName(series.player),
                         QuillorySim::ModeOptionName(series.mode),
                         QuillorySim::TimesCell(result).c_str());
        }
    }
    std::fprintf(stderr, "\n");
}

// The plot's file name as the page links it: the same folder is assumed when both are given.
std::string PlotLink(const std::string& plotFile) {
    const size_t slash = plotFile.find_last_of('/');
    return slash == std::string::npos ? plotFile : plotFile.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    std::string error;
    if (!ParseArguments(std::vector<std::string>(argv + 1, argv + argc), arguments, error)) {
        std::fprintf(stderr, "quillory-levelbot: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (!arguments.quiet) {
        arguments.bot.progress = PrintProgress;
    }
    const auto start = std::chrono::steady_clock::now();
    std::vector<QuillorySim::BotLevel> levels;
    if (!QuillorySim::RunLevelBot(arguments.bot, levels, error)) {
        std::fprintf(stderr, "quillory-levelbot: %s\n", error.c_str());
        return 2;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::vector<std::string> problems = QuillorySim::CheckLevels(levels);
    for (const std::string& problem : problems) {
        std::printf("%s\n", problem.c_str());
    }
    std::printf("%zu levels played in %.1f s: %s\n", levels.size(), seconds,
                problems.empty() ? "every level passes" : "some levels break the rules");

    if (!arguments.markdownFile.empty()) {
        QuillorySim::ReportContext context;
        context.seeds = arguments.bot.seeds;
        context.firstSeed = arguments.bot.firstSeed;
        context.command = kRegenerateCommand;
        context.plotFile = arguments.plotFile.empty() ? "" : PlotLink(arguments.plotFile);
        const std::string page = QuillorySim::LevelsMarkdown(levels, problems, context);
        if (!Platform::WriteFileAtomically(arguments.markdownFile, page,
                                           Platform::Durability::kNoFlush)) {
            std::fprintf(stderr, "quillory-levelbot: cannot write '%s'\n",
                         arguments.markdownFile.c_str());
            return 2;
        }
    }
    if (!arguments.plotFile.empty() &&
        !QuillorySim::WriteMarginPlot(levels, arguments.plotFile, error)) {
        std::fprintf(stderr, "quillory-levelbot: %s\n", error.c_str());
        return 2;
    }
    return problems.empty() ? 0 : 1;
}
