#include "framework/graphics/memory_image.h"

#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace Tuvo {
namespace {

constexpr double kPi = 3.14159265358979323846;

// An image filled with one colour.
void Fill(MemoryImage& image, uint32_t color) {
    std::fill_n(image.GetBits(), image.GetWidth() * image.GetHeight(), color);
    image.BitsChanged();
}

// An image whose every pixel is different and opaque: 0xFF00yyxx plus a red marker.
MemoryImage Numbered(int width, int height, uint32_t alpha = 0xFF) {
    MemoryImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.GetBits()[y * width + x] = (alpha << 24) | 0x800000u | (y << 8) | x;
        }
    }
    image.BitsChanged();
    return image;
}

// Counts pixels that differ from a colour outside a rectangle.
int ChangedOutside(const MemoryImage& image, const Rect& area, uint32_t background) {
    int changed = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (!area.Contains(x, y) && image.GetPixel(x, y) != background) {
                ++changed;
            }
        }
    }
    return changed;
}

// Runs a drawing with the fast paths forced on or off, restoring the setting afterwards.
class PathSetting {
public:
    explicit PathSetting(bool fast) : previous_(MemoryImage::FastPathsEnabled()) {
        MemoryImage::SetFastPathsEnabled(fast);
    }
    ~PathSetting() { MemoryImage::SetFastPathsEnabled(previous_); }

private:
    bool previous_;
};

TEST(MemoryImageTest, CreateSetBitsAndLimits) {
    MemoryImage image(3, 2);
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(image.GetPixel(2, 1), 0u);
    EXPECT_EQ(image.GetPixel(3, 0), 0u);  // outside reads as transparent
    EXPECT_TRUE(image.HasAlpha());

    const uint32_t bits[4] = {0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u};
    ASSERT_TRUE(image.SetBits(bits, 2, 2));
    EXPECT_EQ(image.GetPixel(1, 1), 0xFF000004u);
    EXPECT_FALSE(image.HasAlpha());
    image.GetBits()[0] = 0x7F000001u;
    image.BitsChanged();
    EXPECT_TRUE(image.HasAlpha());

    EXPECT_FALSE(image.Create(MemoryImage::kMaxSide + 1, 1));
    EXPECT_EQ(image.GetBits(), nullptr);
    EXPECT_FALSE(image.Create(-1, 5));
    EXPECT_FALSE(image.SetBits(nullptr, 1, 1));
}

TEST(MemoryImageTest, FillClearAndOutline) {
    MemoryImage image(20, 20);
    image.FillRect(Rect(-5, -5, 100, 100), Color(0, 0, 255), kDrawModeNormal);
    EXPECT_EQ(image.GetPixel(19, 19), 0xFF0000FFu);
    image.FillRect(Rect(2, 2, 3, 3), Color(255, 0, 0, 128), kDrawModeNormal);
    EXPECT_EQ(image.GetPixel(2, 2), 0xFF80007Fu);
    EXPECT_EQ(image.GetPixel(5, 2), 0xFF0000FFu);
    image.FillRect(Rect(6, 6, 1, 1), Color(16, 32, 48, 255), kDrawModeAdditive);
    EXPECT_EQ(image.GetPixel(6, 6), 0xFF1020FFu);
    image.ClearRect(Rect(18, 18, 5, 5));
    EXPECT_EQ(image.GetPixel(18, 18), 0u);
    EXPECT_EQ(image.GetPixel(17, 18), 0xFF0000FFu);

    // DrawRect(0, 0, 10, 10) covers an 11 x 11 outline.
    MemoryImage outline(14, 14);
    outline.DrawRect(Rect(1, 1, 10, 10), Color(255, 255, 255), kDrawModeNormal);
    int lit = 0;
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 14; ++x) {
            const bool onEdge =
                (x == 1 || x == 11 || y == 1 || y == 11) && x >= 1 && x <= 11 && y >= 1 && y <= 11;
            EXPECT_EQ(outline.GetPixel(x, y), onEdge ? 0xFFFFFFFFu : 0u) << x << "," << y;
            lit += onEdge ? 1 : 0;
        }
    }
    EXPECT_EQ(lit, 40);
}

TEST(MemoryImageTest, BlitBlendsWithAndWithoutModulation) {
    MemoryImage source(2, 1);
    source.GetBits()[0] = 0x80FF0000u;
    source.GetBits()[1] = 0xFF00FF00u;
    source.BitsChanged();
    MemoryImage dest(4, 1);
    Fill(dest, 0xFF0000FFu);

    dest.Blit(&source, 1, 0, Rect(0, 0, 2, 1), kColorWhite, kDrawModeNormal);
    EXPECT_TRUE(source.HasBeenDrawn());
    EXPECT_EQ(dest.GetPixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(dest.GetPixel(1, 0), 0xFF80007Fu);
    EXPECT_EQ(dest.GetPixel(2, 0), 0xFF00FF00u);

    Fill(dest, 0xFF0000FFu);
    dest.Blit(&source, 0, 0, Rect(1, 0, 1, 1), Color(255, 128, 255, 128), kDrawModeNormal);
    // green 255 * 128 / 255 at alpha 128 over blue: green 64, blue 127
    EXPECT_EQ(dest.GetPixel(0, 0), 0xFF00407Fu);

    Fill(dest, 0x40101010u);
    dest.Blit(&source, 0, 0, Rect(0, 0, 2, 1), kColorWhite, kDrawModeAdditive);
    // The source has an alpha channel: each channel adds channel * alpha / 256.
    EXPECT_EQ(dest.GetPixel(0, 0), 0x408F1010u);
    EXPECT_EQ(dest.GetPixel(1, 0), 0x4010FF10u);

    Fill(dest, 0xFF000000u);
    dest.Blit(&source, 0, 0, Rect(1, 0, 1, 1), Color(255, 255, 255, 128), kDrawModeAdditive);
    // 255 * 255 * (255 * 128 / 255) / (256 * 256) -> 127
    EXPECT_EQ(dest.GetPixel(0, 0), 0xFF007F00u);

    MemoryImage opaque(1, 1);
    Fill(opaque, 0xFF204060u);
    Fill(dest, 0xFF102030u);
    dest.Blit(&opaque, 0, 0, Rect(0, 0, 1, 1), kColorWhite, kDrawModeAdditive);
    EXPECT_EQ(dest.GetPixel(0, 0), 0xFF306090u);
}

TEST(MemoryImageTest, BlitNeverLeavesEitherImage) {
    MemoryImage source = Numbered(8, 8);
    MemoryImage dest(10, 10);
    dest.Blit(&source, 6, -3, Rect(-2, 0, 20, 20), kColorWhite, kDrawModeNormal);
    // Source column 0 lands at 6 + 2, row 0 at -3: only rows 0..4 of dest get rows 3..7.
    EXPECT_EQ(dest.GetPixel(8, 0), source.GetPixel(0, 3));
    EXPECT_EQ(dest.GetPixel(9, 4), source.GetPixel(1, 7));
    EXPECT_EQ(dest.GetPixel(7, 0), 0u);
    EXPECT_EQ(ChangedOutside(dest, Rect(8, 0, 2, 5), 0u), 0);

    // An image drawn onto itself reads the pixels as they were.
    MemoryImage self = Numbered(4, 1);
    self.Blit(&self, 1, 0, Rect(0, 0, 3, 1), kColorWhite, kDrawModeNormal);
    EXPECT_EQ(self.GetPixel(3, 0), 0xFF800002u);
}

TEST(MemoryImageTest, FlippedBlitMirrorsInsideTheBox) {
    MemoryImage source = Numbered(4, 2);
    MemoryImage dest(6, 3);
    dest.BlitFlipped(&source, 1, 1, Rect(0, 0, 4, 2), kColorWhite, kDrawModeNormal);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dest.GetPixel(1 + i, 1), source.GetPixel(3 - i, 0));
        EXPECT_EQ(dest.GetPixel(1 + i, 2), source.GetPixel(3 - i, 1));
    }
    EXPECT_EQ(ChangedOutside(dest, Rect(1, 1, 4, 2), 0u), 0);

    // Past the right edge the box keeps its left part, which shows the source's right end.
    MemoryImage edge(3, 1);
    edge.BlitFlipped(&source, 1, 0, Rect(0, 0, 4, 1), kColorWhite, kDrawModeNormal);
    EXPECT_EQ(edge.GetPixel(1, 0), source.GetPixel(3, 0));
    EXPECT_EQ(edge.GetPixel(2, 0), source.GetPixel(2, 0));
}

TEST(MemoryImageTest, NearestStretchSizesAndMirror) {
    MemoryImage source = Numbered(3, 3);
    MemoryImage dest(8, 8);
    const Rect clip(0, 0, 8, 8);
    dest.StretchBlit(&source, Rect(1, 1, 6, 6), Rect(0, 0, 3, 3), clip, kColorWhite,
                     kDrawModeNormal, true);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            ASSERT_EQ(dest.GetPixel(1 + x, 1 + y), source.GetPixel(x / 2, y / 2)) << x << "," << y;
        }
    }
    EXPECT_EQ(ChangedOutside(dest, Rect(1, 1, 6, 6), 0u), 0);

    MemoryImage half(2, 2);
    half.StretchBlit(&source, Rect(0, 0, 2, 2), Rect(0, 0, 3, 3), Rect(0, 0, 2, 2), kColorWhite,
                     kDrawModeNormal, true);
    // Centres 0.5 and 1.5 of 2 map to 0.75 and 2.25 of 3.
    EXPECT_EQ(half.GetPixel(0, 0), source.GetPixel(0, 0));
    EXPECT_EQ(half.GetPixel(1, 1), source.GetPixel(2, 2));

    MemoryImage mirrored(6, 3);
    mirrored.StretchBlitFlipped(&source, Rect(0, 0, 6, 3), Rect(0, 0, 3, 3), Rect(0, 0, 6, 3),
                                kColorWhite, kDrawModeNormal, true);
    EXPECT_EQ(mirrored.GetPixel(0, 0), source.GetPixel(2, 0));
    EXPECT_EQ(mirrored.GetPixel(5, 2), source.GetPixel(0, 2));

    // The clip rect passed in is honoured.
    MemoryImage clipped(8, 8);
    clipped.StretchBlit(&source, Rect(0, 0, 8, 8), Rect(0, 0, 3, 3), Rect(2, 3, 2, 2), kColorWhite,
                        kDrawModeNormal, true);
    EXPECT_EQ(ChangedOutside(clipped, Rect(2, 3, 2, 2), 0u), 0);
    EXPECT_NE(clipped.GetPixel(2, 3), 0u);
}

TEST(MemoryImageTest, SmoothStretchInterpolatesAndKeepsEdges) {
    MemoryImage source(2, 1);
    source.GetBits()[0] = 0xFF000000u;
    source.GetBits()[1] = 0xFFFFFFFFu;
    source.BitsChanged();
    MemoryImage dest(4, 1);
    dest.StretchBlit(&source, Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), kColorWhite,
                     kDrawModeNormal, false);
    // Centres map to -0.25, 0.25, 0.75, 1.25 (clamped to the edge pixels).
    EXPECT_EQ(dest.GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(dest.GetPixel(1, 0), 0xFF404040u);
    EXPECT_EQ(dest.GetPixel(2, 0), 0xFFBFBFBFu);
    EXPECT_EQ(dest.GetPixel(3, 0), 0xFFFFFFFFu);

    // A transparent neighbour does not darken a colour: only the alpha fades.
    MemoryImage soft(2, 1);
    soft.GetBits()[0] = 0xFFFF0000u;
    soft.GetBits()[1] = 0x00000000u;
    soft.BitsChanged();
    MemoryImage out(4, 1);
    out.StretchBlit(&soft, Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), kColorWhite,
                    kDrawModeNormal, false);
    EXPECT_EQ(out.GetPixel(1, 0) & 0x00FFFFFFu, 0xFF0000u);
    EXPECT_EQ(out.GetPixel(1, 0) >> 24, 0xBFu);

    // A source rect reaching past the source draws nothing.
    MemoryImage none(4, 1);
    none.StretchBlit(&source, Rect(0, 0, 4, 1), Rect(0, 0, 3, 1), Rect(0, 0, 4, 1), kColorWhite,
                     kDrawModeNormal, true);
    EXPECT_EQ(ChangedOutside(none, Rect(0, 0, 0, 0), 0u), 0);
}

TEST(MemoryImageTest, RotationTurnsAboutTheGivenCentre) {
    MemoryImage source = Numbered(4, 2);
    MemoryImage dest(20, 20);
    const Rect clip(0, 0, 20, 20);
    // A quarter turn about (2, 1), placed at (10, 10): source pixel (i, j) lands on
    // (j + 11, 12 - i).
    dest.BlitRotated(&source, 10, 10, Rect(0, 0, 4, 2), clip, kColorWhite, kDrawModeNormal, kPi / 2,
                     2, 1);
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(dest.GetPixel(j + 11, 12 - i), source.GetPixel(i, j)) << i << "," << j;
        }
    }
    EXPECT_EQ(ChangedOutside(dest, Rect(11, 9, 2, 4), 0u), 0);

    // Half a turn about the centre keeps the box in place, upside down.
    MemoryImage turned(4, 2);
    turned.BlitRotated(&source, 0, 0, Rect(0, 0, 4, 2), Rect(0, 0, 4, 2), kColorWhite,
                       kDrawModeNormal, kPi, 2, 1);
    EXPECT_EQ(turned.GetPixel(0, 0), source.GetPixel(3, 1));
    EXPECT_EQ(turned.GetPixel(3, 1), source.GetPixel(0, 0));

    // The clip passed in is honoured.
    MemoryImage clipped(20, 20);
    clipped.BlitRotated(&source, 10, 10, Rect(0, 0, 4, 2), Rect(11, 9, 1, 4), kColorWhite,
                        kDrawModeNormal, kPi / 2, 2, 1);
    EXPECT_EQ(ChangedOutside(clipped, Rect(11, 9, 1, 4), 0u), 0);
    EXPECT_EQ(clipped.GetPixel(11, 12), source.GetPixel(0, 0));
}

TEST(MemoryImageTest, SubPixelPlacement) {
    MemoryImage source(2, 1);
    Fill(source, 0xFFFFFFFFu);
    MemoryImage whole(4, 1);
    whole.BlitAt(&source, 1, 0, Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), kColorWhite, kDrawModeNormal);
    EXPECT_EQ(whole.GetPixel(0, 0), 0u);
    EXPECT_EQ(whole.GetPixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(whole.GetPixel(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(whole.GetPixel(3, 0), 0u);

    MemoryImage half(4, 1);
    half.BlitAt(&source, 0.5f, 0, Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), kColorWhite, kDrawModeNormal);
    // Half a pixel to the right: the first and last pixels get half the alpha.
    EXPECT_EQ(half.GetPixel(0, 0), 0x80FFFFFFu);
    EXPECT_EQ(half.GetPixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(half.GetPixel(2, 0), 0x80FFFFFFu);
    EXPECT_EQ(half.GetPixel(3, 0), 0u);
}

TEST(MemoryImageTest, MatrixBlitCentresTheSourceOnThePosition) {
    MemoryImage source = Numbered(4, 4);
    MemoryImage dest(20, 20);
    const Rect clip(0, 0, 20, 20);
    dest.BlitWithMatrix(&source, 10, 10, Matrix3x3::Identity(), clip, kColorWhite, kDrawModeNormal,
                        Rect(0, 0, 4, 4), false);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(dest.GetPixel(8 + x, 8 + y), source.GetPixel(x, y));
        }
    }
    EXPECT_EQ(ChangedOutside(dest, Rect(8, 8, 4, 4), 0u), 0);

    MemoryImage scaled(20, 20);
    scaled.BlitWithMatrix(&source, 10, 10, Matrix3x3::Scaling(2, 2), clip, kColorWhite,
                          kDrawModeNormal, Rect(0, 0, 4, 4), false);
    EXPECT_EQ(scaled.GetPixel(6, 6), source.GetPixel(0, 0));
    EXPECT_EQ(scaled.GetPixel(13, 13), source.GetPixel(3, 3));
    EXPECT_EQ(ChangedOutside(scaled, Rect(6, 6, 8, 8), 0u), 0);

    // A singular matrix draws nothing.
    MemoryImage flat(20, 20);
    flat.BlitWithMatrix(&source, 10, 10, Matrix3x3::Scaling(0, 1), clip, kColorWhite,
                        kDrawModeNormal, Rect(0, 0, 4, 4), true);
    EXPECT_EQ(ChangedOutside(flat, Rect(0, 0, 0, 0), 0u), 0);
}

TEST(MemoryImageTest, TrianglesCoverSharedEdgesOnce) {
    MemoryImage texture = Numbered(4, 4);
    MemoryImage dest(8, 8);
    Fill(dest, 0xFF000000u);
    const TriVertex quad[2][3] = {
        {{0, 0, 0, 0}, {4, 0, 1, 0}, {4, 4, 1, 1}},
        {{0, 0, 0, 0}, {4, 4, 1, 1}, {0, 4, 0, 1}},
    };
    dest.BlitTriangleList(&texture, quad, 2, Rect(0, 0, 8, 8), kColorWhite, kDrawModeNormal, 2, 3,
                          false);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(dest.GetPixel(2 + x, 3 + y), texture.GetPixel(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(ChangedOutside(dest, Rect(2, 3, 4, 4), 0xFF000000u), 0);

    // Additively, a pixel drawn twice on the shared diagonal would show twice the colour.
    MemoryImage grey(1, 1);
    Fill(grey, 0xFF101010u);
    MemoryImage sum(4, 4);
    Fill(sum, 0xFF000000u);
    sum.BlitTriangleList(&grey, quad, 2, Rect(0, 0, 4, 4), kColorWhite, kDrawModeAdditive, 0, 0,
                         true);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(sum.GetPixel(x, y), 0xFF101010u) << x << "," << y;
        }
    }
}

TEST(MemoryImageTest, LinesAndSmoothLines) {
    MemoryImage image(10, 10);
    image.DrawLine(-5, 2, 20, 2, Color(255, 255, 255), kDrawModeNormal);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(image.GetPixel(x, 2), 0xFFFFFFFFu);
    }
    EXPECT_EQ(ChangedOutside(image, Rect(0, 2, 10, 1), 0u), 0);

    MemoryImage diagonal(10, 10);
    diagonal.DrawLine(1, 1, 5, 5, Color(255, 0, 0), kDrawModeNormal);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(diagonal.GetPixel(i, i), 0xFFFF0000u);
    }
    EXPECT_EQ(diagonal.GetPixel(2, 1), 0u);

    MemoryImage smooth(10, 10);
    Fill(smooth, 0xFF000000u);
    smooth.DrawSmoothLine(0, 4.5, 9, 4.5, Color(255, 255, 255), kDrawModeNormal);
    // Halfway between two rows: both get half the colour (alpha 255 * 128 / 256).
    EXPECT_EQ(smooth.GetPixel(3, 4), 0xFF7F7F7Fu);
    EXPECT_EQ(smooth.GetPixel(3, 5), 0xFF7F7F7Fu);
    EXPECT_EQ(smooth.GetPixel(3, 3), 0xFF000000u);

    // Absurd coordinates draw nothing rather than looping forever.
    MemoryImage safe(4, 4);
    safe.DrawLine(NAN, 0, 3, 3, Color(255, 255, 255), kDrawModeNormal);
    safe.DrawSmoothLine(-1e300, 0, 1e300, 3, Color(255, 255, 255), kDrawModeNormal);
    EXPECT_EQ(ChangedOutside(safe, Rect(0, 0, 0, 0), 0u), 0);
}

TEST(MemoryImageTest, PolygonsSpansAndCoverage) {
    MemoryImage image(8, 8);
    const PointF square[4] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
    EXPECT_TRUE(image.FillPolygon(square, 4, nullptr, Color(255, 255, 255), kDrawModeNormal, 1, 0));
    EXPECT_EQ(image.GetPixel(2, 1), 0xFFFFFFFFu);
    EXPECT_EQ(image.GetPixel(5, 4), 0xFFFFFFFFu);
    EXPECT_EQ(ChangedOutside(image, Rect(2, 1, 4, 4), 0u), 0);

    MemoryImage clipped(8, 8);
    const Rect clip(0, 0, 3, 3);
    clipped.FillPolygon(square, 4, &clip, Color(255, 255, 255), kDrawModeNormal, 0, 0);
    EXPECT_EQ(ChangedOutside(clipped, Rect(1, 1, 2, 2), 0u), 0);
    EXPECT_EQ(clipped.GetPixel(2, 2), 0xFFFFFFFFu);

    // The base image cannot fill polygons.
    Image base;
    EXPECT_FALSE(base.FillPolygon(square, 4, nullptr, Color(), kDrawModeNormal, 0, 0));

    MemoryImage spans(8, 2);
    const Span runs[2] = {{0, 1, 3}, {1, -2, 4}};
    spans.FillSpans(runs, 2, Color(0, 255, 0), kDrawModeNormal);
    EXPECT_EQ(spans.GetPixel(0, 0), 0u);
    EXPECT_EQ(spans.GetPixel(3, 0), 0xFF00FF00u);
    EXPECT_EQ(spans.GetPixel(4, 0), 0u);
    EXPECT_EQ(spans.GetPixel(1, 1), 0xFF00FF00u);
    EXPECT_EQ(spans.GetPixel(2, 1), 0u);

    MemoryImage covered(4, 1);
    Fill(covered, 0xFF000000u);
    const uint8_t coverage[3] = {255, 127, 0};
    const Span run[1] = {{0, 0, 4}};
    covered.FillSpansWithCoverage(run, 1, Color(255, 255, 255), kDrawModeNormal, coverage, 0, 0, 3,
                                  1);
    EXPECT_EQ(covered.GetPixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(covered.GetPixel(1, 0), 0xFF7F7F7Fu);  // alpha 255 * 128 / 256 = 127
    EXPECT_EQ(covered.GetPixel(2, 0), 0xFF000000u);  // 255 * 1 / 256 = 0
    EXPECT_EQ(covered.GetPixel(3, 0), 0xFF000000u);  // no coverage byte: left alone
}

// Random soft-edged images with a fixed seed, drawn once through the fast paths and once
// through the reference paths: the pictures must be identical.
class FastPathTest : public ::testing::Test {
protected:
    static MemoryImage RandomImage(std::mt19937& random, int width, int height, bool opaque) {
        MemoryImage image(width, height);
        std::uniform_int_distribution<uint32_t> any;
        std::uniform_int_distribution<int> pick(0, 9);
        for (int i = 0; i < width * height; ++i) {
            const int kind = pick(random);
            const uint32_t alpha = opaque || kind < 4 ? 255u : kind < 7 ? 0u : (any(random) & 0xFF);
            image.GetBits()[i] = (any(random) & 0x00FFFFFFu) | (alpha << 24);
        }
        image.BitsChanged();
        return image;
    }

    void ExpectSamePictures(const std::function<void(MemoryImage&)>& draw) {
        std::mt19937 random(4242);
        MemoryImage fast = RandomImage(random, 53, 41, false);
        for (int i = 0; i < 53 * 41; i += 3) {
            fast.GetBits()[i] |= 0xFF000000u;  // mostly opaque, like a screen
        }
        fast.BitsChanged();
        MemoryImage reference(53, 41);
        reference.SetBits(fast.GetBits(), 53, 41);
        {
            PathSetting setting(true);
            draw(fast);
        }
        {
            PathSetting setting(false);
            draw(reference);
        }
        for (int y = 0; y < 41; ++y) {
            for (int x = 0; x < 53; ++x) {
                ASSERT_EQ(fast.GetPixel(x, y), reference.GetPixel(x, y)) << x << "," << y;
            }
        }
    }
};

TEST_F(FastPathTest, BlitsFlipsAndFillsMatchTheReference) {
    std::mt19937 random(11);
    MemoryImage soft = RandomImage(random, 37, 29, false);
    MemoryImage opaque = RandomImage(random, 37, 29, true);
    const Color modulations[] = {kColorWhite, Color(0xFFFFD040u), Color(255, 255, 255, 128),
                                 Color(30, 140, 250, 200)};
    for (const Color& mod : modulations) {
        for (DrawMode mode : {kDrawModeNormal, kDrawModeAdditive}) {
            ExpectSamePictures([&](MemoryImage& dest) {
                dest.Blit(&soft, -5, 3, Rect(0, 0, 37, 29), mod, mode);
                dest.Blit(&opaque, 20, 20, Rect(3, 2, 30, 25), mod, mode);
                dest.BlitFlipped(&soft, 30, -4, Rect(1, 1, 30, 25), mod, mode);
                dest.BlitFlipped(&opaque, -7, 15, Rect(0, 0, 37, 29), mod, mode);
                dest.BlitAt(&soft, 4, 6, Rect(0, 0, 37, 29), Rect(2, 2, 40, 30), mod, mode);
                dest.FillRect(Rect(10, 5, 30, 20), mod, mode);
            });
        }
    }
}

TEST_F(FastPathTest, NearestStretchMatchesTheReference) {
    std::mt19937 random(12);
    MemoryImage soft = RandomImage(random, 23, 17, false);
    MemoryImage opaque = RandomImage(random, 23, 17, true);
    for (const Color& mod : {kColorWhite, Color(0xFFFFD040u)}) {
        for (DrawMode mode : {kDrawModeNormal, kDrawModeAdditive}) {
            ExpectSamePictures([&](MemoryImage& dest) {
                dest.StretchBlit(&soft, Rect(-3, 2, 61, 33), Rect(0, 0, 23, 17), Rect(0, 0, 53, 41),
                                 mod, mode, true);
                dest.StretchBlit(&opaque, Rect(5, 5, 11, 9), Rect(2, 2, 20, 15), Rect(6, 0, 53, 41),
                                 mod, mode, true);
                dest.StretchBlitFlipped(&soft, Rect(10, -5, 40, 50), Rect(0, 0, 23, 17),
                                        Rect(0, 0, 53, 41), mod, mode, true);
            });
        }
    }
}

TEST_F(FastPathTest, SmoothStretchMatchesTheReference) {
    std::mt19937 random(13);
    MemoryImage soft = RandomImage(random, 23, 17, false);
    MemoryImage opaque = RandomImage(random, 23, 17, true);
    const Color modulations[] = {kColorWhite, Color(0xFFFFD040u), Color(30, 140, 250, 200)};
    for (const Color& mod : modulations) {
        for (DrawMode mode : {kDrawModeNormal, kDrawModeAdditive}) {
            ExpectSamePictures([&](MemoryImage& dest) {
                // Up, down, one axis each way, mirrored, clipped and from a part of the source.
                dest.StretchBlit(&soft, Rect(-3, 2, 61, 33), Rect(0, 0, 23, 17), Rect(0, 0, 53, 41),
                                 mod, mode, false);
                dest.StretchBlit(&opaque, Rect(5, 5, 11, 9), Rect(2, 2, 20, 15), Rect(6, 0, 53, 41),
                                 mod, mode, false);
                dest.StretchBlit(&soft, Rect(1, 20, 40, 8), Rect(3, 1, 17, 16), Rect(0, 0, 53, 41),
                                 mod, mode, false);
                dest.StretchBlitFlipped(&soft, Rect(10, -5, 40, 50), Rect(0, 0, 23, 17),
                                        Rect(0, 0, 53, 41), mod, mode, false);
                dest.StretchBlitFlipped(&opaque, Rect(30, 10, 7, 30), Rect(1, 0, 22, 17),
                                        Rect(32, 12, 20, 20), mod, mode, false);
            });
        }
    }
}

// Images with clear and opaque stretches of every length around those the run table singles
// out, drawn clipped
// through every mode; then changed, so a table kept from before the change would show.
TEST_F(FastPathTest, ClearStretchesAreSkippedExactly) {
    std::mt19937 random(15);
    MemoryImage banded = RandomImage(random, 40, 30, false);
    // Rows of clear, random and opaque stretches in turn, of 1 to 24 pixels.
    std::uniform_int_distribution<int> length(1, 24);
    for (int y = 0; y < 30; ++y) {
        int kind = y % 3;
        for (int x = 0; x < 40; kind = (kind + 1) % 3) {
            const int end = std::min(40, x + length(random));
            for (; x < end; ++x) {
                uint32_t& pixel = banded.GetBits()[y * 40 + x];
                pixel = kind == 0 ? pixel & 0x00FFFFFFu : kind == 1 ? pixel : pixel | 0xFF000000u;
            }
        }
    }
    banded.BitsChanged();
    const Color modulations[] = {kColorWhite, Color(0xFFFFD040u), Color(255, 255, 255, 128)};
    for (int pass = 0; pass < 2; ++pass) {
        for (const Color& mod : modulations) {
            for (DrawMode mode : {kDrawModeNormal, kDrawModeAdditive}) {
                ExpectSamePictures([&](MemoryImage& dest) {
                    dest.Blit(&banded, -5, 3, Rect(0, 0, 40, 30), mod, mode);
                    dest.Blit(&banded, 20, 11, Rect(3, 2, 30, 25), mod, mode);
                    dest.Blit(&banded, 30, 0, Rect(9, 4, 7, 20), mod, mode);
                    dest.Blit(&dest, 1, 2, Rect(10, 10, 30, 20), mod, mode);
                });
            }
        }
        // Opens clear stretches where there were none and fills some that were clear.
        for (int i = 0; i < 40 * 30; i += 7) {
            banded.GetBits()[i] = (i / 7) % 2 == 0 ? 0u : 0xFF102030u;
        }
        banded.BitsChanged();
    }
}

// An opaque fill is written late, around the opaque copy drawn over it next; whatever comes next,
// the pixels are those of the plain order of drawing.
TEST_F(FastPathTest, OpaqueFillsCoveredByTheNextCopyMatchTheReference) {
    std::mt19937 random(16);
    MemoryImage soft = RandomImage(random, 23, 17, false);
    MemoryImage opaque = RandomImage(random, 23, 17, true);
    const Color black(0, 0, 0);
    const Color blue(10, 20, 200);
    ExpectSamePictures([&](MemoryImage& dest) {
        dest.FillRect(Rect(2, 3, 40, 30), black, kDrawModeNormal);
        dest.Blit(&opaque, 10, 8, Rect(0, 0, 23, 17), kColorWhite, kDrawModeNormal);
        dest.FillRect(Rect(-5, -5, 70, 60), blue, kDrawModeNormal);
        dest.StretchBlit(&opaque, Rect(5, 4, 30, 20), Rect(1, 1, 20, 15), Rect(0, 0, 33, 41),
                         kColorWhite, kDrawModeNormal, true);
        dest.Blit(&soft, 20, 20, Rect(0, 0, 23, 17), kColorWhite, kDrawModeNormal);
    });
    ExpectSamePictures([&](MemoryImage& dest) {
        // Looked at, drawn onto itself, tinted over, faded, drawn from another filled image.
        dest.FillRect(Rect(4, 4, 30, 30), blue, kDrawModeNormal);
        EXPECT_EQ(dest.GetPixel(5, 5), 0xFF0A14C8u);
        dest.FillRect(Rect(0, 0, 20, 20), black, kDrawModeNormal);
        dest.Blit(&dest, 15, 15, Rect(0, 0, 20, 20), kColorWhite, kDrawModeNormal);
        dest.FillRect(Rect(0, 10, 53, 10), black, kDrawModeNormal);
        dest.Blit(&opaque, 0, 0, Rect(0, 0, 23, 17), Color(0xFFFFD040u), kDrawModeNormal);
        dest.FillRect(Rect(30, 0, 23, 41), blue, kDrawModeNormal);
        dest.FillRect(Rect(0, 0, 53, 41), Color(0, 0, 0, 128), kDrawModeNormal);
        MemoryImage other(20, 20);
        other.FillRect(Rect(0, 0, 20, 20), blue, kDrawModeNormal);
        other.Blit(&opaque, 5, 5, Rect(0, 0, 23, 17), kColorWhite, kDrawModeNormal);
        dest.FillRect(Rect(0, 0, 53, 41), black, kDrawModeNormal);
        dest.Blit(&other, 3, 3, Rect(0, 0, 20, 20), kColorWhite, kDrawModeAdditive);
        MemoryImage copy(dest);
        dest.FillRect(Rect(0, 0, 53, 41), blue, kDrawModeNormal);
        dest.Blit(&copy, 6, 6, Rect(0, 0, 40, 30), kColorWhite, kDrawModeNormal);
    });
}

// At 1:1 a stretch, nearest or smooth, mirrored or not, is the plain copy.
TEST_F(FastPathTest, SameSizeStretchIsThePlainBlit) {
    std::mt19937 random(14);
    MemoryImage soft = RandomImage(random, 23, 17, false);
    const Color modulations[] = {kColorWhite, Color(0xFFFFD040u)};
    for (const Color& mod : modulations) {
        for (DrawMode mode : {kDrawModeNormal, kDrawModeAdditive}) {
            for (bool nearest : {true, false}) {
                ExpectSamePictures([&](MemoryImage& dest) {
                    dest.StretchBlit(&soft, Rect(-4, 3, 20, 15), Rect(2, 1, 20, 15),
                                     Rect(0, 5, 53, 41), mod, mode, nearest);
                    dest.StretchBlitFlipped(&soft, Rect(40, 30, 20, 15), Rect(2, 1, 20, 15),
                                            Rect(0, 0, 50, 40), mod, mode, nearest);
                });
                MemoryImage stretched(53, 41);
                MemoryImage copied(53, 41);
                stretched.StretchBlit(&soft, Rect(-4, 3, 20, 15), Rect(2, 1, 20, 15),
                                      Rect(0, 5, 53, 41), mod, mode, nearest);
                copied.Blit(&soft, 0, 5, Rect(6, 3, 16, 13), mod, mode);
                stretched.StretchBlitFlipped(&soft, Rect(40, 30, 20, 15), Rect(2, 1, 20, 15),
                                             Rect(0, 0, 50, 40), mod, mode, nearest);
                copied.BlitFlipped(&soft, 40, 30, Rect(12, 1, 10, 10), mod, mode);
                ASSERT_EQ(std::vector<uint32_t>(stretched.GetBits(), stretched.GetBits() + 53 * 41),
                          std::vector<uint32_t>(copied.GetBits(), copied.GetBits() + 53 * 41));
            }
        }
    }
}

}  // namespace
}  // namespace Tuvo
