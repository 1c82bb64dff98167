// The volume-to-decibel table and the pan law.
#include "framework/sound/decibels.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Tuvo {
namespace {

TEST(Decibels, VolumeTableMatchesTheGameAndClampsAndPanAttenuatesTheOppositeChannel) {
    // 0.04 computes to -2021, below -2000: silence.
    const std::pair<double, int> volumes[] = {{1.0, 0},
                                              {0.5, -605},
                                              {0.1, -1682},
                                              {0.05, -1956},
                                              {2.5, 0},
                                              {0.04, kSilenceDecibels},
                                              {0.0, kSilenceDecibels},
                                              {-0.3, kSilenceDecibels},
                                              {std::nan(""), kSilenceDecibels}};
    for (const auto& [volume, decibels] : volumes) {
        EXPECT_EQ(VolumeToDecibels(volume), decibels) << volume;
    }

    // Gains are 10^(dB / 20), volume and pan in hundredths of a decibel; -10000 is silence.
    const float minus6 = std::pow(10.0f, -0.3f);
    const struct {
        int volume, pan;
        float left, right;
    } gains[] = {{0, 0, 1.0f, 1.0f},
                 {0, -2000, 1.0f, 0.1f},
                 {-600, 600, minus6 * minus6, minus6},
                 {0, -25000, 1.0f, 0.0f},  // clamped to -10000
                 {kSilenceDecibels, 0, 0.0f, 0.0f}};
    for (const auto& row : gains) {
        // Silence is exactly zero: the attenuation is clamped, not merely small.
        const StereoGain gain = VolumeAndPanToGain(row.volume, row.pan);
        SCOPED_TRACE(testing::Message() << row.volume << " " << row.pan);
        EXPECT_NEAR(gain.left, row.left, row.left == 0 ? 0 : 1e-6);
        EXPECT_NEAR(gain.right, row.right, row.right == 0 ? 0 : 1e-6);
    }
}

}  // namespace
}  // namespace Tuvo
