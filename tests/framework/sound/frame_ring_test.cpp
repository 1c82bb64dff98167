// The music ring: capacity, wrap-around, partial reads.
#include "framework/sound/frame_ring.h"

#include <gtest/gtest.h>

namespace Tuvo {
namespace {

TEST(FrameRing, WrapsAroundAndReportsSpace) {
    FrameRing ring(5);
    EXPECT_EQ(ring.Capacity(), 8u);
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(ring.Push(static_cast<int16_t>(i), static_cast<int16_t>(-i)));
    }
    EXPECT_FALSE(ring.Push(9, 9));
    EXPECT_EQ(ring.Space(), 0u);

    int32_t accumulator[12] = {};
    EXPECT_EQ(ring.MixInto(accumulator, 6, 65536), 6u);
    EXPECT_EQ(accumulator[10], 5);
    EXPECT_EQ(accumulator[11], -5);
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(ring.Push(100, 200));
    }
    EXPECT_EQ(ring.Available(), 6u);

    int32_t more[12] = {};
    EXPECT_EQ(ring.MixInto(more, 6, 32768), 6u);  // half gain, across the wrap
    EXPECT_EQ(more[0], 3);
    EXPECT_EQ(more[4], 50);
    EXPECT_EQ(more[11], 100);
    EXPECT_EQ(ring.MixInto(more, 6, 65536), 0u);

    ring.Push(1, 1);
    ring.Clear();
    EXPECT_EQ(ring.Available(), 0u);
    EXPECT_EQ(ring.Space(), 8u);
}

}  // namespace
}  // namespace Tuvo
