// The levels of data/ as the game's rules play them: the simulator's good player wins every normal
// level in both modes in every seed, and no normal level of a stage is easier than an earlier one
// beyond the bot's tolerance. One test per stage; the sanitized build (CI) plays 5 seeds, not 20,
// so judges the curve only against gross mistakes (medians of 5 games move by up to 8 %).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sim/level_bot.h"

namespace {

constexpr int kSeeds = QUILLORY_LEVELBOT_SEEDS;
constexpr int kLevelsPerStage = 6;
constexpr double kTolerance = kSeeds >= 20 ? QuillorySim::kDifficultyTolerance : 0.12;

class LevelsPlayableTest : public testing::TestWithParam<int> {};

TEST_P(LevelsPlayableTest, TheGoodPlayerWinsEveryNormalLevelOnARisingCurve) {
    const int stage = GetParam();
    std::string error;
    const int count = QuillorySim::CountLevels(QUILLORY_DATA_FOLDER, error);
    ASSERT_GT(count, 0) << error;
    QuillorySim::BotOptions options;
    options.dataFolder = QUILLORY_DATA_FOLDER;
    options.seeds = kSeeds;
    options.goodPlayerOnly = true;
    options.firstLevel = (stage - 1) * kLevelsPerStage + 1;
    options.lastLevel = std::min(count, stage * kLevelsPerStage);
    if (options.firstLevel > count) {
        GTEST_SKIP() << "the data folder has " << count << " levels";
    }
    std::vector<QuillorySim::BotLevel> levels;
    ASSERT_TRUE(QuillorySim::RunLevelBot(options, levels, error)) << error;
    EXPECT_THAT(QuillorySim::CheckLevels(levels, kTolerance), testing::IsEmpty())
        << "(./dev levels writes the whole table)";
}

INSTANTIATE_TEST_SUITE_P(Stages, LevelsPlayableTest, testing::Range(1, 8));

}  // namespace
