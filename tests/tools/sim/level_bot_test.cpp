// The level bot: its figures per series, its two rules for the levels (bonus levels exempt,
// stages judged apart), whole runs on a data folder of the test's own, the report page and the
// plot.
#include "sim/level_bot.h"

#include <gtest/gtest.h>

#include <cmath>

#include "game/quillory_game.h"
#include "sim/level_plot.h"
#include "sim/level_report.h"
#include "support/sim_world.h"

namespace {

using Quillory::MODE_CLASSIC;
using Quillory::MODE_TRANSFORMER;
using QuillorySim::BotGame;
using QuillorySim::BotLevel;
using QuillorySim::BotSeriesResult;
using QuillorySim::PlayerKind;

BotGame Won(double timeLeft, uint32_t seed = 1) {
    return BotGame{seed, true, true, timeLeft};
}

// A level whose good player games, in both modes, leave these times on a clock of 100 s.
BotLevel LevelWithGoodTimes(int number, const std::vector<double>& timesLeft, bool bonus = false) {
    BotLevel level;
    level.level = number;
    level.stage = QuillorySim::StageOfLevel(number);
    level.bonus = bonus;
    level.clock = 100;
    for (int mode : {MODE_CLASSIC, MODE_TRANSFORMER}) {
        BotSeriesResult& good = level.series[QuillorySim::BotSeriesIndex(PlayerKind::Good, mode)];
        uint32_t seed = 1;
        for (double timeLeft : timesLeft) {
            good.games.push_back(Won(timeLeft, seed++));
        }
    }
    return level;
}

TEST(LevelBotTest, SeriesFiguresCountUnfinishedGamesAsNoTimeLeft) {
    BotSeriesResult result;
    EXPECT_EQ(result.MedianTimeLeft(), 0);
    result.games = {Won(30), Won(10), Won(20)};
    EXPECT_EQ(result.MedianTimeLeft(), 20);
    EXPECT_EQ(result.WorstTimeLeft(), 10);
    // Even counts take the mean of the middle two; a lost game counts at its time left, an
    // unfinished one at 0, a bonus level past its clock below 0.
    result.games = {Won(30), Won(-5), BotGame{4, true, false, -0.01}, BotGame{5, false, false, 77}};
    EXPECT_EQ(result.Wins(), 2);
    EXPECT_DOUBLE_EQ(result.MedianTimeLeft(), -0.005);
    EXPECT_EQ(result.WorstTimeLeft(), -5);

    EXPECT_EQ(QuillorySim::StageOfLevel(1), 1);
    EXPECT_EQ(QuillorySim::StageOfLevel(6), 1);
    EXPECT_EQ(QuillorySim::StageOfLevel(7), 2);
    EXPECT_EQ(QuillorySim::StageOfLevel(40), 7);
    EXPECT_EQ(QuillorySim::BotSeriesIndex(PlayerKind::None, MODE_CLASSIC), -1);
}

TEST(LevelBotTest, AGoodPlayerLossFailsANormalLevelButNotABonusLevel) {
    std::vector<BotLevel> levels = {LevelWithGoodTimes(1, {50, 50, 50}),
                                    LevelWithGoodTimes(6, {50, -3, 50}, true)};
    EXPECT_TRUE(QuillorySim::CheckLevels(levels).empty());

    levels[0].series[QuillorySim::BotSeriesIndex(PlayerKind::Good, MODE_TRANSFORMER)].games[1] =
        BotGame{2, true, false, 0};
    levels[1].series[0].games[0] = BotGame{1, true, false, 0};
    // The casual player may lose anywhere.
    levels[0].series[QuillorySim::BotSeriesIndex(PlayerKind::Casual, MODE_CLASSIC)].games = {
        BotGame{1, true, false, 0}};
    const std::vector<std::string> problems = QuillorySim::CheckLevels(levels);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0],
              "level 1, transformer: the good player won 2 of 3 games (not won: seeds 2)");
}

TEST(LevelBotTest, DifficultyMayNotFallWithinAStageBeyondTheTolerance) {
    // Median time left 70, 66, 69 s of 100: difficulty 30 %, 34 %, 31 %; level 6 (bonus) and
    // level 7 (the next stage) may be much easier.
    std::vector<BotLevel> levels = {
        LevelWithGoodTimes(3, {90, 70, 60}), LevelWithGoodTimes(4, {66, 66, 0.5}),
        LevelWithGoodTimes(5, {69, 69, 69}), LevelWithGoodTimes(6, {95, 95, 95}, true),
        LevelWithGoodTimes(7, {90, 90, 90})};
    EXPECT_TRUE(QuillorySim::CheckLevels(levels).empty());
    EXPECT_NEAR(levels[1].Difficulty(MODE_CLASSIC), 0.34, 1e-9);
    EXPECT_NEAR(levels[1].WorstMargin(PlayerKind::Good, MODE_CLASSIC), 0.005, 1e-9);

    // 28 % after 34 %: more than 5 % easier than the hardest level before it.
    levels[2] = LevelWithGoodTimes(5, {72, 72, 72});
    const std::vector<std::string> problems = QuillorySim::CheckLevels(levels);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0],
              "stage 1, classic: level 5 takes the good player 28% of its clock in the median "
              "game, level 4 34% (an easier level later by more than 5%)");
    EXPECT_NE(problems[1].find("stage 1, transformer: level 5"), std::string::npos);
    EXPECT_TRUE(QuillorySim::CheckLevels(levels, 0.07).empty());
}

TEST(LevelBotTest, TheBotPlaysEveryLevelAsTheSimulatorDoes) {
    TestSupport::SimData data;
    data.WriteLevel(1, {{"levelTime", "300"}});
    data.WriteLevel(2, {{"levelTime", "150"}, {"bonusLevel", "true"}});
    // A level without classes counts as missing: the game would end before it.
    data.WriteLevel(4, {});
    data.WriteLevel(3, {{"shapeClassCount", "0"}});

    QuillorySim::BotOptions options;
    options.dataFolder = data.data.Path();
    options.seeds = 2;
    options.firstSeed = 5;
    std::vector<BotLevel> levels;
    std::string error;
    ASSERT_TRUE(QuillorySim::RunLevelBot(options, levels, error)) << error;
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_FALSE(levels[0].bonus);
    EXPECT_TRUE(levels[1].bonus);
    EXPECT_EQ(levels[1].clock, 150);
    EXPECT_EQ(levels[1].cells, 42);
    EXPECT_EQ(levels[1].classes, 3);
    for (const BotLevel& level : levels) {
        for (const BotSeriesResult& series : level.series) {
            ASSERT_EQ(series.games.size(), 2u);
            EXPECT_EQ(series.games[1].seed, 6u);
            EXPECT_TRUE(series.games[0].won);
        }
    }

    // The casual player's game on seed 6 is the simulator's, to the millisecond.
    QuillorySim::SimOptions single = data.Options(1);
    single.player = PlayerKind::Casual;
    single.mode = MODE_TRANSFORMER;
    single.seed = 6;
    const auto won =
        TestSupport::OfKind(TestSupport::ReadEvents(TestSupport::RunSimulator(single)), "won");
    ASSERT_EQ(won.size(), 1u);
    EXPECT_NEAR(levels[0].Of(PlayerKind::Casual, MODE_TRANSFORMER).games[1].timeLeft,
                won[0].Number("time_left"), 0.0005);

    options.lastLevel = 3;
    EXPECT_FALSE(QuillorySim::RunLevelBot(options, levels, error));
    EXPECT_EQ(error, "levels 1 to 3 asked for; the data folder has levels 1 to 2");
}

TEST(LevelBotTest, TheReportGivesTheTightestLevelOfEachStageAndEveryProblem) {
    std::vector<BotLevel> levels = {
        LevelWithGoodTimes(1, {50, 40}), LevelWithGoodTimes(2, {30, 31}),
        LevelWithGoodTimes(6, {-12, 3}, true), LevelWithGoodTimes(7, {80, 80})};
    levels[1].series[QuillorySim::BotSeriesIndex(PlayerKind::Casual, MODE_CLASSIC)].games = {
        Won(12), BotGame{2, true, false, 0}};
    const std::string page = QuillorySim::LevelsMarkdown(
        levels, {"level 9: trouble"},
        {.seeds = 2, .firstSeed = 1, .command = "./dev levels", .plotFile = "levels.png"});
    // Stage 1: level 2 is the tightest normal level (30 s of 100); the bonus level is left out.
    for (const char* part :
         {"seeds 1 to 2 (2 games per figure)", "```sh\n./dev levels\n```",
          "**Checks: 1 problem.**\n\n- level 9: trouble\n",
          "![worst margins of every level](levels.png)",
          "| 1 | 1–6 | 30 % (2) | 30 % (2) | 0 % (2) | – | 50 % |\n",
          "| 6 B | 1 | 100 | 0 | 0 | -5 / -12 | -5 / -12 | – | – |\n",
          "| 2 | 1 | 100 | 0 | 0 | 31 / 30 | 31 / 30 | 6 / lost (1/2 won) | – |"}) {
        EXPECT_NE(page.find(part), std::string::npos) << part << "\n" << page;
    }
}

TEST(LevelBotTest, ThePlotPutsEachMarginWhereTheLayoutSays) {
    std::vector<BotLevel> levels = {LevelWithGoodTimes(1, {50}), LevelWithGoodTimes(2, {20}),
                                    LevelWithGoodTimes(3, {-25}, true)};
    const QuillorySim::PlotLayout layout = QuillorySim::PlotLayout::For(levels);
    // Whole tenths around every margin, 0 included.
    EXPECT_DOUBLE_EQ(layout.lowest, -0.3);
    EXPECT_DOUBLE_EQ(layout.highest, 0.5);
    EXPECT_DOUBLE_EQ(layout.Y(0.5), QuillorySim::PlotLayout::kTop);
    EXPECT_DOUBLE_EQ(layout.Y(-0.3), QuillorySim::PlotLayout::kBottom);
    EXPECT_DOUBLE_EQ(layout.Y(-7), QuillorySim::PlotLayout::kBottom);

    Tuvo::MemoryImage image;
    QuillorySim::DrawMarginPlot(levels, image);
    ASSERT_EQ(image.GetWidth(), QuillorySim::PlotLayout::kWidth);
    const auto pixel = [&](int level, double margin) {
        return image.GetPixel(static_cast<int>(std::lround(layout.X(level))),
                              static_cast<int>(std::lround(layout.Y(margin))));
    };
    // The good Classic player is drawn last, so its colour shows at its points; a bonus
    // level's point is hollow.
    EXPECT_EQ(pixel(1, 0.5), QuillorySim::kSeriesColours[0]);
    EXPECT_EQ(pixel(2, 0.2), QuillorySim::kSeriesColours[0]);
    EXPECT_EQ(pixel(3, -0.25), 0xFFFFFFFFu);
    EXPECT_EQ(image.GetPixel(static_cast<int>(std::lround(layout.X(3))) + 3,
                             static_cast<int>(std::lround(layout.Y(-0.25)))),
              QuillorySim::kSeriesColours[0]);
    // Halfway between the two normal levels lies the line that joins them.
    const int middleX = static_cast<int>(std::lround((layout.X(1) + layout.X(2)) / 2));
    const int middleY = static_cast<int>(std::lround(layout.Y(0.35)));
    bool lineFound = false;
    for (int dy = -1; dy <= 1; ++dy) {
        lineFound |= image.GetPixel(middleX, middleY + dy) != 0xFFFFFFFFu;
    }
    EXPECT_TRUE(lineFound);

    const TestSupport::TempFolder folder;
    std::string error;
    EXPECT_TRUE(QuillorySim::WriteMarginPlot(levels, folder.Path() + "/levels.png", error));
    EXPECT_FALSE(QuillorySim::WriteMarginPlot(levels, folder.Path() + "/no/levels.png", error));
    EXPECT_EQ(error, "cannot write the plot '" + folder.Path() + "/no/levels.png'");
}

}  // namespace
