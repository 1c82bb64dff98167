#include "framework/graphics/color.h"

#include <gtest/gtest.h>

namespace Tuvo {
namespace {

TEST(ColorTest, PackedAlphaZeroMeansOpaque) {
    const Color opaque(0x00112233u);
    EXPECT_EQ(opaque, Color(0x11, 0x22, 0x33, 255));
    EXPECT_EQ(opaque.ToInt(), 0xFF112233u);

    const Color half(0x80A0B0C0u);
    EXPECT_EQ(half, Color(0xA0, 0xB0, 0xC0, 0x80));
    EXPECT_EQ(half.ToInt(), 0x80A0B0C0u);
    EXPECT_EQ(Color(0x01000000u).alpha, 1);
}

}  // namespace
}  // namespace Tuvo
