// The music ring: capacity, wrap-around, partial reads.
#include "framework/sound/frame_ring.h"

#include <gtest/gtest.h>

#include <vector>

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

    std::vector<int32_t> mixed(12);
    EXPECT_EQ(ring.MixInto(mixed.data(), 6, 65536), 6u);
    EXPECT_EQ(mixed, (std::vector<int32_t>{0, 0, 1, -1, 2, -2, 3, -3, 4, -4, 5, -5}));
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(ring.Push(100, 200));
    }
    EXPECT_EQ(ring.Available(), 6u);

    mixed.assign(12, 0);
    EXPECT_EQ(ring.MixInto(mixed.data(), 6, 32768), 6u);  // half gain, across the wrap
    EXPECT_EQ(mixed, (std::vector<int32_t>{3, -3, 3, -4, 50, 100, 50, 100, 50, 100, 50, 100}));
    EXPECT_EQ(ring.MixInto(mixed.data(), 6, 65536), 0u);

    ring.Push(1, 1);
    ring.Clear();
    EXPECT_EQ(ring.Available(), 0u);
    EXPECT_EQ(ring.Space(), 8u);
}

}  // namespace
}  // namespace Tuvo
