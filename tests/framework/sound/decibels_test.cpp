// The volume-to-decibel table and the pan law.
#include "framework/sound/decibels.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Tuvo {
namespace {

TEST(Decibels, VolumeTableMatchesTheGameAndClamps) {
    // 0.04 computes to -2021, below -2000: silence.
    const std::pair<double, int> table[] = {{1.0, 0},
                                            {0.5, -605},
                                            {0.1, -1682},
                                            {0.05, -1956},
                                            {2.5, 0},
                                            {0.04, kSilenceDecibels},
                                            {0.0, kSilenceDecibels},
                                            {-0.3, kSilenceDecibels},
                                            {std::nan(""), kSilenceDecibels}};
    for (const auto& [volume, decibels] : table) {
        EXPECT_EQ(VolumeToDecibels(volume), decibels) << volume;
    }
}

TEST(Decibels, GainIsLinear) {
    EXPECT_FLOAT_EQ(DecibelsToGain(0), 1.0f);
    EXPECT_NEAR(DecibelsToGain(-600), 0.5012f, 1e-4);  // -6 dB
    EXPECT_NEAR(DecibelsToGain(-2000), 0.1f, 1e-6);
    EXPECT_EQ(DecibelsToGain(kSilenceDecibels), 0.0f);
}

TEST(Decibels, PanAttenuatesTheOppositeChannel) {
    const StereoGain centre = VolumeAndPanToGain(0, 0);
    EXPECT_FLOAT_EQ(centre.left, 1.0f);
    EXPECT_FLOAT_EQ(centre.right, 1.0f);

    const StereoGain left = VolumeAndPanToGain(0, -2000);
    EXPECT_FLOAT_EQ(left.left, 1.0f);
    EXPECT_NEAR(left.right, 0.1f, 1e-6);

    const StereoGain right = VolumeAndPanToGain(-600, 600);
    EXPECT_NEAR(right.left, 0.5012f * 0.5012f, 1e-4);
    EXPECT_NEAR(right.right, 0.5012f, 1e-4);

    const StereoGain hardLeft = VolumeAndPanToGain(0, -25000);  // clamped to -10000
    EXPECT_EQ(hardLeft.right, 0.0f);
    EXPECT_EQ(VolumeAndPanToGain(kSilenceDecibels, 0).left, 0.0f);
}

}  // namespace
}  // namespace Tuvo
