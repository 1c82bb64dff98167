#include "platform/random.h"

#include <gtest/gtest.h>

namespace {

using Platform::RandomGenerator;

TEST(RandomTest, FollowsTheLinearCongruentialSequence) {
    RandomGenerator generator(1);
    // state 1 -> 2745024 -> output 41; then 1210316419 -> 18467; the classic sequence.
    EXPECT_EQ(generator.Next(), 41);
    EXPECT_EQ(generator.Next(), 18467);
    EXPECT_EQ(generator.Next(), 6334);
    generator.Seed(0);
    EXPECT_EQ(generator.Next(), 38);
}

TEST(RandomTest, RandIntStaysInRangeAndReachesBothEnds) {
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
}

TEST(RandomTest, R01CoversZeroToOneInclusive) {
    RandomGenerator generator(7);
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

TEST(RandomTest, SharedInstancesAreDistinct) {
    EXPECT_NE(&Platform::StandardRandom(), &Platform::FrameworkRandom());
    Platform::StandardRandom().Seed(99);
    Platform::FrameworkRandom().Seed(1);
    EXPECT_EQ(Platform::StandardRandom().State(), 99u);
}

}  // namespace
