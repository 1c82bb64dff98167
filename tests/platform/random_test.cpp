#include "platform/random.h"

#include <gtest/gtest.h>

namespace {

using Platform::RandomGenerator;

// The classic C library sequence, in two instances that do not share their state.
TEST(RandomTest, TwoInstancesFollowTheLinearCongruentialSequenceAndRangesAreReachedAtBothEnds) {
    RandomGenerator& standard = Platform::StandardRandom();
    standard.Seed(1);
    Platform::FrameworkRandom().Seed(99);
    // state 1 -> 2745024 -> output 41; then 1210316419 -> 18467.
    EXPECT_EQ(standard.Next(), 41);
    EXPECT_EQ(standard.Next(), 18467);
    EXPECT_EQ(standard.Next(), 6334);
    standard.Seed(0);
    EXPECT_EQ(standard.Next(), 38);

    // Ranges are reached at both ends and never left.
    RandomGenerator generator(12345);
    bool sawLow = false;
    bool sawHigh = false;
    for (int i = 0; i < 20000; ++i) {
        const int value = generator.RandInt(1, 9);
        ASSERT_GE(value, 1);
        ASSERT_LE(value, 9);
        sawLow |= value == 1;
        sawHigh |= value == 9;
    }
    EXPECT_TRUE(sawLow);
    EXPECT_TRUE(sawHigh);
    EXPECT_EQ(generator.RandInt(4, 4), 4);
    EXPECT_EQ(generator.RandInt(5, 2), 5);  // an empty range never loops forever
    // R01 covers zero to one inclusive.
    double lowest = 1;
    double highest = 0;
    for (int i = 0; i < (1 << 20); ++i) {
        const double value = generator.R01();
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_EQ(lowest, 0.0);
    EXPECT_EQ(highest, 1.0);
}

}  // namespace
