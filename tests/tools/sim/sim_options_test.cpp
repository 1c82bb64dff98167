// quillory-sim's command line: every option, and the refusals.
#include "sim/sim_options.h"

#include <gtest/gtest.h>

namespace {

using QuillorySim::PlayerKind;
using QuillorySim::SimOptions;

bool Parse(const std::vector<std::string>& arguments, SimOptions& options, std::string& error) {
    return QuillorySim::ParseSimOptions(arguments, options, error);
}

TEST(SimOptionsTest, ReadsEveryOption) {
    SimOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--data", "d", "--userdir", "u", "--mode", "transformer", "--level", "39",
                       "--seed", "4294967295", "--player", "casual", "--max-seconds", "12.5",
                       "--save-at", "40.5", "--restore"},
                      options, error))
        << error;
    EXPECT_EQ(options.dataFolder, "d");
    EXPECT_EQ(options.userFolder, "u");
    EXPECT_EQ(options.mode, 1);
    EXPECT_EQ(options.level, 39);
    EXPECT_EQ(options.seed, 4294967295u);
    EXPECT_EQ(options.player, PlayerKind::Casual);
    EXPECT_DOUBLE_EQ(options.maxSeconds, 12.5);
    EXPECT_DOUBLE_EQ(options.saveAt, 40.5);
    EXPECT_TRUE(options.restore);

    SimOptions defaults;
    ASSERT_TRUE(Parse({"--mode", "relax", "--script", "s.txt"}, defaults, error));
    EXPECT_EQ(defaults.mode, 2);
    EXPECT_EQ(defaults.level, 1);
    EXPECT_EQ(defaults.seed, 1u);
    EXPECT_EQ(defaults.player, PlayerKind::None);
    EXPECT_LT(defaults.saveAt, 0);
    EXPECT_TRUE(defaults.userFolder.empty());  // a temporary folder, never the player's own
}

TEST(SimOptionsTest, RefusesWhatItCannotUse) {
    const std::vector<std::vector<std::string>> bad = {
        {"--level"},
        {"--level", "0"},
        {"--level", "3x"},
        {"--seed", "-1"},
        {"--seed", "4294967296"},
        {"--mode", "Classic"},
        {"--player", "perfect"},
        {"--max-seconds", "0"},
        {"--max-seconds", "nan"},
        {"--save-at", "-1"},
        {"--save-at", "inf"},
        {"--speed", "2"},
        {"level"},
        {"--script", "s.txt", "--player", "good"},
        {"--restore"},  // without the user folder that holds the game
    };
    for (const std::vector<std::string>& arguments : bad) {
        SimOptions options;
        std::string error;
        EXPECT_FALSE(Parse(arguments, options, error)) << arguments[0];
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
