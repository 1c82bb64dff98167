// The level bot: its figures per series and its two rules for the levels (bonus levels exempt,
// stages judged apart), and the plot's scale. Whole runs, the report page and the plot itself are
// the program's test.
#include "sim/level_bot.h"

#include <gtest/gtest.h>

#include "game/quillory_game.h"
#include "sim/level_plot.h"

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

// Whole tenths around every margin, 0 included; a margin beyond them is drawn on the edge.
TEST(LevelBotTest, ThePlotSpansWholeTenthsAroundTheMargins) {
    const std::vector<BotLevel> levels = {LevelWithGoodTimes(1, {50}), LevelWithGoodTimes(2, {20}),
                                          LevelWithGoodTimes(3, {-25}, true)};
    const QuillorySim::PlotLayout layout = QuillorySim::PlotLayout::For(levels);
    EXPECT_DOUBLE_EQ(layout.lowest, -0.3);
    EXPECT_DOUBLE_EQ(layout.highest, 0.5);
    EXPECT_DOUBLE_EQ(layout.Y(0.5), QuillorySim::PlotLayout::kTop);
    EXPECT_DOUBLE_EQ(layout.Y(-7), QuillorySim::PlotLayout::kBottom);
}

}  // namespace
