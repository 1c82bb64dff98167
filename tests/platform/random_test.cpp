#include "platform/random.h"

#include <gtest/gtest.h>

namespace {

using Platform::RandomGenerator;

// The classic C library sequence, in two instances that do not share their state. (The
// recorded plays and the simulator's event logs pin what the ranges draw.)
TEST(RandomTest, TwoInstancesFollowTheLinearCongruentialSequenceAndShortRangesEnd) {
    RandomGenerator& standard = Platform::StandardRandom();
    standard.Seed(1);
    Platform::FrameworkRandom().Seed(99);
    // state 1 -> 2745024 -> output 41; then 1210316419 -> 18467.
    EXPECT_EQ(standard.Next(), 41);
    EXPECT_EQ(standard.Next(), 18467);
    standard.Seed(0);
    EXPECT_EQ(standard.Next(), 38);

    // One-value and empty ranges end at once (an empty one would draw forever).
    RandomGenerator generator(12345);
    EXPECT_EQ(generator.RandInt(4, 4), 4);
    EXPECT_EQ(generator.RandInt(5, 2), 5);

    // R01 divides by the largest output, so 1 itself can be drawn.
    RandomGenerator unit(1);
    EXPECT_DOUBLE_EQ(unit.R01(), 41.0 / 32767.0);
}

}  // namespace
