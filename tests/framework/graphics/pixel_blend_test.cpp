#include "framework/graphics/pixel_blend.h"

#include <cmath>
#include <random>

#include <gtest/gtest.h>

namespace Tuvo::PixelBlend {
namespace {

// Random channels against the real-valued formulas: every result within 1 of them.
TEST(PixelBlendTest, BlendsStayWithinOneOfTheRealFormulas) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<uint32_t> byte(0, 255);
    for (int i = 0; i < 200000; ++i) {
        const uint32_t s = byte(random), sa = byte(random), d = byte(random), da = byte(random);
        const uint32_t m = i % 2 == 0 ? 255 : byte(random);
        const uint32_t ma = i % 3 == 0 ? 255 : byte(random);
        const Modulation modulation(Color(static_cast<int>(m), 255, 255, static_cast<int>(ma)));
        // Normal over an opaque destination, modulated.
        const uint32_t opaque = BlendNormal(Pack(255, d, 0, 0), Pack(sa, s, 0, 0), modulation);
        const double a = sa * ma / (255.0 * 255.0);
        ASSERT_EQ(Alpha(opaque), 255u);
        ASSERT_LE(std::fabs(Red(opaque) - (s * m / 255.0 * a + d * (1 - a))), 1.0)
            << "s " << s << " sa " << sa << " m " << m << " ma " << ma << " d " << d;
        // Additive from a source with an alpha channel, modulated.
        const uint32_t sum = BlendAdditive(Pack(255, d, 0, 0), Pack(sa, s, 0, 0), true, modulation);
        ASSERT_LE(
            std::fabs(Red(sum) - std::min(255.0, d + s * sa / 256.0 * (m * ma / 255.0) / 256.0)),
            1.0);
        // Normal over a translucent destination: the alpha, and the colour as seen (premultiplied
        // by its alpha), which is what the eye gets over black.
        const uint32_t out = BlendNormal(Pack(da, d, 0, 0), Pack(sa, s, 0, 0), Modulation());
        const double sourceA = sa / 255.0;
        ASSERT_LE(std::fabs(Alpha(out) - (sourceA + da / 255.0 * (1 - sourceA)) * 255), 1.0);
        const double realVisible = s * sourceA + d * da / 255.0 * (1 - sourceA);
        ASSERT_LE(std::fabs(Red(out) * Alpha(out) / 255.0 - realVisible), 1.0)
            << "s " << s << " sa " << sa << " d " << d << " da " << da;
    }
}

// The rounded output alpha can fall short of the weights in the colour sum; a full channel must
// stay full and not carry into its neighbour: 0x02F60000 over 0xC0FF0000 once gave
// 0xC1000000.
TEST(PixelBlendTest, AFullChannelOverATranslucentDestinationNeverCarries) {
    for (uint32_t sa = 1; sa <= 255; ++sa) {
        for (uint32_t da = 0; da <= 255; ++da) {
            const uint32_t out =
                BlendNormal(Pack(da, 255, 0, 255), Pack(sa, 255, 0, 255), Modulation());
            const double realAlpha = sa + da * (255 - sa) / 255.0;
            ASSERT_EQ(Green(out), 0u) << "sa " << sa << " da " << da;
            ASSERT_LE(std::fabs(Alpha(out) - realAlpha), 1.0) << "sa " << sa << " da " << da;
            // Seen over black, full red over full red is as red as the pixel is opaque.
            ASSERT_LE(std::fabs(Red(out) * Alpha(out) / 255.0 - realAlpha), 1.0)
                << "sa " << sa << " da " << da;
        }
    }
    EXPECT_EQ(Red(BlendNormal(0xC0FF0000u, 0x02F60000u, Modulation())), 255u);
}

TEST(PixelBlendTest, PinnedValues) {
    // Opaque source without modulation copies; transparent source leaves the destination.
    EXPECT_EQ(BlendNormal(0xFF102030u, 0xFFA0B0C0u, Modulation()), 0xFFA0B0C0u);
    EXPECT_EQ(BlendNormal(0x40102030u, 0x00A0B0C0u, Modulation()), 0x40102030u);
    // Onto a fully transparent destination the source arrives unchanged.
    EXPECT_EQ(BlendNormal(0x00000000u, 0x80A0B0C0u, Modulation()), 0x80A0B0C0u);
    // Half red over opaque blue.
    EXPECT_EQ(BlendNormal(0xFF0000FFu, 0x80FF0000u, Modulation()), 0xFF80007Fu);
    // Modulation alpha halves the source alpha.
    EXPECT_EQ(BlendNormal(0xFF0000FFu, 0xFFFF0000u, Modulation(Color(255, 255, 255, 128))),
              0xFF80007Fu);

    const Modulation white;
    // Without an alpha channel the channels are added as they are; alpha is kept.
    EXPECT_EQ(BlendAdditive(0x40101010u, 0xFF804020u, false, white), 0x40905030u);
    EXPECT_EQ(BlendAdditive(0xFFF0F0F0u, 0xFF202020u, false, white), 0xFFFFFFFFu);
    // With one, each is weighted by the source alpha / 256.
    EXPECT_EQ(BlendAdditive(0xFF000000u, 0x80FF8040u, true, white), 0xFF7F4020u);
    // A modulation multiplies by (m.c * m.a / 255) / 256.
    const Modulation halfRed(Color(255, 0, 255, 128));
    EXPECT_EQ(BlendAdditive(0xFF000000u, 0xFFFF80FFu, false, halfRed), 0xFF7F007Fu);
    // Fills: an opaque colour is written, a translucent one blends, additive keeps the alpha.
    EXPECT_EQ(FillPixel(0xFF000000u, 0xFF123456u, kDrawModeNormal), 0xFF123456u);
    EXPECT_EQ(FillPixel(0xFF102030u, 0x00FFFFFFu, kDrawModeNormal), 0xFF102030u);
    EXPECT_EQ(FillPixel(0x80102030u, 0xFF102030u, kDrawModeAdditive), 0x80204060u);
    EXPECT_EQ(FillPixel(0x80102030u, 0x00FFFFFFu, kDrawModeAdditive), 0x80102030u);
}

}  // namespace
}  // namespace Tuvo::PixelBlend
