#include "framework/graphics/memory_image.h"

#include <cmath>
#include <functional>
#include <iterator>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace Tuvo {
namespace {

constexpr double kPi = 3.14159265358979323846;
const Rect kEverywhere(0, 0, 1000, 1000);  // a fill of every pixel of a small image

// All pixels, row by row, to compare a whole small image in one assertion.
std::vector<uint32_t> Pixels(const MemoryImage& image) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            pixels.push_back(image.GetPixel(x, y));
        }
    }
    return pixels;
}

// Counts pixels that differ from a colour outside a rectangle.
int ChangedOutside(const MemoryImage& image, const Rect& area, uint32_t background) {
    int changed = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            changed += !area.Contains(x, y) && image.GetPixel(x, y) != background ? 1 : 0;
        }
    }
    return changed;
}

enum class SourceKind { Soft, Opaque, Keyed, Banded };

// A picture from a fixed-seed generator. Soft: any alpha. Opaque: none. Keyed: clear or opaque.
// Banded: clear, translucent and opaque stretches of 1 to 80 pixels in turn, around the lengths
// the visible-run table singles out.
MemoryImage RandomImage(std::mt19937& random, int width, int height, SourceKind kind) {
    MemoryImage image(width, height);
    std::uniform_int_distribution<uint32_t> any;
    std::uniform_int_distribution<int> length(1, 80);
    for (int y = 0; y < height; ++y) {
        int band = y % 3;
        int bandEnd = 0;
        for (int x = 0; x < width; ++x) {
            if (x >= bandEnd) {
                band = (band + 1) % 3;
                bandEnd = x + length(random);
            }
            const int pick = static_cast<int>(any(random) % 10);
            uint32_t alpha = pick < 4 ? 255u : pick < 7 ? 0u : any(random) & 0xFF;
            if (kind == SourceKind::Opaque || (kind == SourceKind::Banded && band == 2)) {
                alpha = 255;
            } else if (kind == SourceKind::Keyed) {
                alpha = pick < 6 ? 255 : 0;
            } else if (kind == SourceKind::Banded) {
                alpha = band == 0 ? 0 : 1 + any(random) % 254;
            }
            image.GetBits()[y * width + x] = (any(random) & 0x00FFFFFFu) | (alpha << 24);
        }
    }
    image.BitsChanged();
    return image;
}

TEST(MemoryImageTest, CreateSetBitsAndLimits) {
    MemoryImage image(3, 2);
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
    MemoryImage screen(1, 1);
    screen.Blit(&image, 0, 0, Rect(0, 0, 1, 1), kColorWhite, kDrawModeNormal);
    EXPECT_TRUE(image.HasBeenDrawn());

    EXPECT_FALSE(image.Create(MemoryImage::kMaxSide + 1, 1));
    EXPECT_EQ(image.GetBits(), nullptr);
    EXPECT_FALSE(image.Create(-1, 5));
    EXPECT_FALSE(image.SetBits(nullptr, 1, 1));
}

TEST(MemoryImageTest, SmoothStretchInterpolatesAndKeepsEdges) {
    // Two pixels stretched smoothly to four onto a clear image.
    auto stretched = [](const uint32_t(&pixels)[2]) {
        MemoryImage source;
        source.SetBits(pixels, 2, 1);
        MemoryImage dest(4, 1);
        dest.StretchBlit(&source, Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), kColorWhite,
                         kDrawModeNormal, false);
        return Pixels(dest);
    };
    // Centres map to -0.25, 0.25, 0.75, 1.25 (clamped to the edge pixels).
    EXPECT_EQ(stretched({0xFF000000u, 0xFFFFFFFFu}),
              (std::vector<uint32_t>{0xFF000000u, 0xFF404040u, 0xFFBFBFBFu, 0xFFFFFFFFu}));
    // A transparent neighbour does not darken a colour: only the alpha fades.
    EXPECT_EQ(stretched({0xFFFF0000u, 0}),
              (std::vector<uint32_t>{0xFFFF0000u, 0xBFFF0000u, 0x40FF0000u, 0}));
}

TEST(MemoryImageTest, RotationSubPixelAndMatrixPlacement) {
    std::mt19937 random(1);
    MemoryImage source = RandomImage(random, 4, 2, SourceKind::Opaque);
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
    MemoryImage clipped(20, 20);
    clipped.BlitRotated(&source, 10, 10, Rect(0, 0, 4, 2), Rect(11, 9, 1, 4), kColorWhite,
                        kDrawModeNormal, kPi / 2, 2, 1);
    EXPECT_EQ(ChangedOutside(clipped, Rect(11, 9, 1, 4), 0u), 0);
    EXPECT_EQ(clipped.GetPixel(11, 12), source.GetPixel(0, 0));

    // Half a pixel to the right: the first and last pixels get half the alpha.
    MemoryImage white(2, 1);
    white.FillRect(kEverywhere, kColorWhite, kDrawModeNormal);
    MemoryImage half(4, 1);
    half.BlitAt(&white, 0.5f, 0, Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), kColorWhite, kDrawModeNormal);
    EXPECT_EQ(Pixels(half), (std::vector<uint32_t>{0x80FFFFFFu, 0xFFFFFFFFu, 0x80FFFFFFu, 0u}));

    // The matrix places the source's centre on the position.
    MemoryImage square = RandomImage(random, 4, 4, SourceKind::Opaque);
    MemoryImage scaled(20, 20);
    scaled.BlitWithMatrix(&square, 10, 10, Matrix3x3::Scaling(2, 2), clip, kColorWhite,
                          kDrawModeNormal, Rect(0, 0, 4, 4), false);
    EXPECT_EQ(scaled.GetPixel(6, 6), square.GetPixel(0, 0));
    EXPECT_EQ(scaled.GetPixel(13, 13), square.GetPixel(3, 3));
    EXPECT_EQ(ChangedOutside(scaled, Rect(6, 6, 8, 8), 0u), 0);
}

// Singular matrices, and positions and scales far beyond any int (which once became garbage
// bounds: a loop over two billion columns), draw nothing.
TEST(MemoryImageTest, AbsurdTransformsAndCoordinatesDrawNothing) {
    std::mt19937 random(2);
    MemoryImage source = RandomImage(random, 4, 4, SourceKind::Opaque);
    MemoryImage flat(20, 20);
    const Rect clip(0, 0, 20, 20);
    const Rect all(0, 0, 4, 4);
    flat.BlitWithMatrix(&source, 10, 10, Matrix3x3::Scaling(0, 1), clip, kColorWhite,
                        kDrawModeNormal, all, true);
    for (const float far : {1e30f, -1e30f, 3e9f}) {
        flat.BlitRotated(&source, far, 5, all, clip, kColorWhite, kDrawModeNormal, 0.5, 2, 2);
        flat.BlitRotated(&source, 5, far, all, clip, kColorWhite, kDrawModeNormal, 0.5, 2, 2);
        flat.BlitWithMatrix(&source, far, far, Matrix3x3::Identity(), clip, kColorWhite,
                            kDrawModeNormal, all, true);
    }
    flat.BlitWithMatrix(&source, 10, 10, Matrix3x3::Scaling(1e30f, 1e-30f), clip, kColorWhite,
                        kDrawModeNormal, all, false);
    flat.DrawLine(NAN, 0, 3, 3, Color(255, 255, 255), kDrawModeNormal);
    flat.DrawSmoothLine(-1e300, 0, 1e300, 3, Color(255, 255, 255), kDrawModeNormal);
    EXPECT_EQ(ChangedOutside(flat, Rect(), 0u), 0);
}

TEST(MemoryImageTest, TrianglesCoverSharedEdgesOnce) {
    std::mt19937 random(3);
    MemoryImage texture = RandomImage(random, 4, 4, SourceKind::Opaque);
    MemoryImage dest(8, 8);
    dest.FillRect(kEverywhere, kColorBlack, kDrawModeNormal);
    MemoryImage expected(dest);
    expected.Blit(&texture, 2, 3, Rect(0, 0, 4, 4), kColorWhite, kDrawModeNormal);
    const TriVertex quad[2][3] = {
        {{0, 0, 0, 0}, {4, 0, 1, 0}, {4, 4, 1, 1}},
        {{0, 0, 0, 0}, {4, 4, 1, 1}, {0, 4, 0, 1}},
    };
    dest.BlitTriangleList(&texture, quad, 2, Rect(0, 0, 8, 8), kColorWhite, kDrawModeNormal, 2, 3,
                          false);
    EXPECT_EQ(Pixels(dest), Pixels(expected));

    // Additively, a pixel drawn twice on the shared diagonal would show twice the colour.
    MemoryImage grey(1, 1);
    grey.FillRect(kEverywhere, Color(0xFF101010u), kDrawModeNormal);
    MemoryImage sum(4, 4);
    sum.FillRect(kEverywhere, kColorBlack, kDrawModeNormal);
    sum.BlitTriangleList(&grey, quad, 2, Rect(0, 0, 4, 4), kColorWhite, kDrawModeAdditive, 0, 0,
                         true);
    EXPECT_EQ(ChangedOutside(sum, Rect(), 0xFF101010u), 0);
}

TEST(MemoryImageTest, LinesAndSmoothLines) {
    MemoryImage image(10, 10);
    image.DrawLine(-5, 2, 20, 2, Color(255, 255, 255), kDrawModeNormal);
    EXPECT_EQ(ChangedOutside(image, Rect(0, 2, 10, 1), 0u), 0);
    EXPECT_EQ(ChangedOutside(image, Rect(), 0u), 10);

    MemoryImage diagonal(10, 10);
    diagonal.DrawLine(1, 1, 5, 5, Color(255, 0, 0), kDrawModeNormal);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(diagonal.GetPixel(i, i), 0xFFFF0000u);
    }
    EXPECT_EQ(ChangedOutside(diagonal, Rect(), 0u), 5);

    MemoryImage smooth(10, 10);
    smooth.FillRect(kEverywhere, kColorBlack, kDrawModeNormal);
    smooth.DrawSmoothLine(0, 4.5, 9, 4.5, Color(255, 255, 255), kDrawModeNormal);
    // Halfway between two rows: both get half the colour (alpha 255 * 128 / 256).
    EXPECT_EQ(smooth.GetPixel(3, 4), 0xFF7F7F7Fu);
    EXPECT_EQ(smooth.GetPixel(3, 5), 0xFF7F7F7Fu);
    EXPECT_EQ(ChangedOutside(smooth, Rect(0, 4, 10, 2), 0xFF000000u), 0);
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
    const uint32_t g = 0xFF00FF00u;  // the green drawn
    EXPECT_EQ(Pixels(spans),
              (std::vector<uint32_t>{0, g, g, g, 0, 0, 0, 0, g, g, 0, 0, 0, 0, 0, 0}));

    MemoryImage covered(4, 1);
    covered.FillRect(kEverywhere, kColorBlack, kDrawModeNormal);
    const uint8_t coverage[3] = {255, 127, 0};
    const Span run[1] = {{0, 0, 4}};
    covered.FillSpansWithCoverage(run, 1, Color(255, 255, 255), kDrawModeNormal, coverage, 0, 0, 3,
                                  1);
    // Alpha 255 * (coverage + 1) / 256: 255, 127 and 0; past the coverage bytes, left alone.
    EXPECT_EQ(Pixels(covered),
              (std::vector<uint32_t>{0xFFFFFFFFu, 0xFF7F7F7Fu, 0xFF000000u, 0xFF000000u}));
}

// A plain per-pixel model of copies, fills and clears, over random parts, places, clips, colours
// and modes, past every edge and onto the image itself.
TEST(MemoryImageTest, CopiesFillsAndClearsMatchAPlainModel) {
    std::mt19937 random(8);
    auto any = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < 3000; ++round) {
        const int kind = round % 7;
        MemoryImage dest = RandomImage(random, 13, 11, SourceKind::Soft);
        MemoryImage other =
            RandomImage(random, 9, 7, round % 3 == 0 ? SourceKind::Opaque : SourceKind::Soft);
        MemoryImage& source = round % 5 == 0 ? dest : other;
        const MemoryImage original(source);  // an image drawn onto itself reads these
        const Rect part(any(-2, 8), any(-2, 6), any(0, 10), any(0, 8));
        const Rect box(any(-4, 12), any(-4, 10), any(1, 16), any(1, 14));
        const Rect clip(any(-2, 10), any(-2, 8), any(0, 15), any(0, 13));
        const Color color = round % 2 == 0
                                ? kColorWhite
                                : Color(any(0, 255), any(0, 255), any(0, 255), any(0, 255));
        const DrawMode mode = any(0, 1) == 0 ? kDrawModeNormal : kDrawModeAdditive;
        const PixelBlend::Modulation mod(color);
        const bool stretchable =
            Rect(0, 0, original.GetWidth(), original.GetHeight()).ContainsRect(part) &&
            !part.IsEmpty();
        MemoryImage expected(dest);
        for (int y = 0; y < 11; ++y) {
            for (int x = 0; x < 13; ++x) {
                const int c = x - box.x;
                const int r = y - box.y;
                int sx = -1;
                int sy = -1;
                if (kind <= 1 && c >= 0 && r >= 0 && c < part.width && r < part.height) {
                    sx = kind == 0 ? part.x + c : part.x + part.width - 1 - c;
                    sy = part.y + r;
                } else if ((kind == 2 || kind == 3) && stretchable && box.Contains(x, y) &&
                           clip.Contains(x, y)) {
                    // Centre c + 0.5 samples column floor((c + 0.5) * part.width / box.width).
                    const int i = (2 * c + 1) * part.width / (2 * box.width);
                    sx = part.x + (kind == 2 ? i : part.width - 1 - i);
                    sy = part.y + (2 * r + 1) * part.height / (2 * box.height);
                }
                uint32_t& pixel = expected.GetBits()[y * 13 + x];
                // An outline covers width + 1 by height + 1 pixels.
                const bool outline =
                    Rect(box.x, box.y, box.width + 1, box.height + 1).Contains(x, y) &&
                    (c == 0 || r == 0 || c == box.width || r == box.height);
                if (sx >= 0 && sy >= 0 && sx < original.GetWidth() && sy < original.GetHeight()) {
                    pixel = PixelBlend::BlendPixel(pixel, original.GetPixel(sx, sy),
                                                   original.HasAlpha(), mod, mode);
                } else if ((kind == 4 && box.Contains(x, y)) || (kind == 6 && outline)) {
                    pixel = PixelBlend::FillPixel(pixel, PixelBlend::PackColor(color), mode);
                } else if (kind == 5 && box.Contains(x, y)) {
                    pixel = 0;
                }
            }
        }
        const std::function<void()> draws[7] = {
            [&] { dest.Blit(&source, box.x, box.y, part, color, mode); },
            [&] { dest.BlitFlipped(&source, box.x, box.y, part, color, mode); },
            [&] { dest.StretchBlit(&source, box, part, clip, color, mode, true); },
            [&] { dest.StretchBlitFlipped(&source, box, part, clip, color, mode, true); },
            [&] { dest.FillRect(box, color, mode); },
            [&] { dest.ClearRect(box); },
            [&] { dest.DrawRect(box, color, mode); },
        };
        draws[kind]();
        ASSERT_EQ(Pixels(dest), Pixels(expected)) << "round " << round << ", kind " << kind;
    }
}

constexpr int kWidth = 101;
constexpr int kHeight = 61;
constexpr int kPitch = kWidth + 13;
constexpr uint32_t kMark = 0x12345678u;

// Draws with the fast paths and with the reference paths, at every vector width, onto a picture
// opaque in its upper half (a screen): the pictures must be identical. One of the two draws into
// memory it does not own, rows kPitch apart (a window's pixels, the picture centred), and must
// leave the pixels between the rows alone.
void ExpectSamePictures(const std::function<void(MemoryImage&)>& draw) {
    std::mt19937 random(4242);
    MemoryImage start = RandomImage(random, kWidth, kHeight, SourceKind::Soft);
    for (int i = 0; i < kWidth * kHeight / 2; ++i) {
        start.GetBits()[i] |= 0xFF000000u;
    }
    start.BitsChanged();
    for (int bits : {512, 256, 128}) {
        MemoryImage fast(start);
        MemoryImage reference(start);
        MemoryImage& external = bits == 256 ? reference : fast;
        std::vector<uint32_t> memory(size_t{kPitch} * kHeight, kMark);
        for (int y = 0; y < kHeight; ++y) {
            std::copy_n(start.GetBits() + y * kWidth, kWidth, memory.data() + y * kPitch);
        }
        ASSERT_TRUE(external.UseExternalPixels(memory.data(), kWidth, kHeight, kPitch));
        const bool wasFast = MemoryImage::FastPathsEnabled();
        BlitRows::LimitVectorWidth(bits);
        MemoryImage::SetFastPathsEnabled(true);
        draw(fast);
        MemoryImage::SetFastPathsEnabled(false);
        draw(reference);
        MemoryImage::SetFastPathsEnabled(wasFast);
        BlitRows::LimitVectorWidth(512);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kPitch; ++x) {
                ASSERT_EQ(x < kWidth ? fast.GetPixel(x, y) : memory[y * kPitch + x],
                          x < kWidth ? reference.GetPixel(x, y) : kMark)
                    << x << ", " << y << " at vector width " << bits;
            }
        }
    }
}

using Operation =
    std::pair<const char*,
              std::function<void(MemoryImage& dest, MemoryImage& source, const Color&, DrawMode)>>;

// Each source is 83 x 29: odd, several sixteen-pixel groups and a tail, and room for the long
// stretches the visible-run table singles out.
const Operation kOperations[] = {
    {"blit past each edge",
     [](MemoryImage& d, MemoryImage& s, const Color& c, DrawMode m) {
         d.Blit(&s, -20, 10, Rect(0, 0, 83, 29), c, m);
         d.Blit(&s, 30, -15, Rect(0, 0, 83, 29), c, m);
         d.Blit(&s, 80, 20, Rect(0, 0, 83, 29), c, m);
         d.Blit(&s, 40, 50, Rect(0, 0, 83, 29), c, m);
     }},
    {"flipped",
     [](MemoryImage& d, MemoryImage& s, const Color& c, DrawMode m) {
         d.BlitFlipped(&s, 30, -4, Rect(1, 1, 30, 25), c, m);
         d.BlitFlipped(&s, 80, 40, Rect(0, 0, 83, 29), c, m);
     }},
    {"whole and fractional positions",
     [](MemoryImage& d, MemoryImage& s, const Color& c, DrawMode m) {
         d.BlitAt(&s, -4, 6, Rect(0, 0, 83, 29), Rect(2, 2, 60, 40), c, m);
         d.BlitAt(&s, 50.5f, 20.25f, Rect(0, 0, 83, 29), Rect(0, 0, 101, 61), c, m);
     }},
    {"nearest stretch up, down and mirrored",
     [](MemoryImage& d, MemoryImage& s, const Color& c, DrawMode m) {
         const Rect all(0, 0, 101, 61);
         d.StretchBlit(&s, Rect(-3, 2, 91, 53), Rect(0, 0, 83, 29), all, c, m, true);
         d.StretchBlit(&s, Rect(5, 5, 11, 9), Rect(2, 2, 33, 25), Rect(6, 0, 90, 61), c, m, true);
         d.StretchBlitFlipped(&s, Rect(40, -5, 70, 50), Rect(0, 0, 83, 29), all, c, m, true);
     }},
    {"smooth stretch up, down, one axis each way and mirrored",
     [](MemoryImage& d, MemoryImage& s, const Color& c, DrawMode m) {
         const Rect all(0, 0, 101, 61);
         d.StretchBlit(&s, Rect(-3, 2, 91, 53), Rect(0, 0, 83, 29), all, c, m, false);
         d.StretchBlit(&s, Rect(5, 5, 11, 9), Rect(2, 2, 33, 25), Rect(6, 0, 90, 61), c, m, false);
         d.StretchBlit(&s, Rect(1, 40, 60, 8), Rect(3, 1, 30, 26), all, c, m, false);
         d.StretchBlitFlipped(&s, Rect(70, 10, 7, 45), Rect(1, 0, 36, 29), Rect(72, 12, 20, 40), c,
                              m, false);
     }},
    {"stretch at 1:1, nearest and smooth, mirrored and not",
     [](MemoryImage& d, MemoryImage& s, const Color& c, DrawMode m) {
         for (bool nearest : {true, false}) {
             d.StretchBlit(&s, Rect(-4, 3, 30, 25), Rect(2, 1, 30, 25), Rect(0, 5, 101, 61), c, m,
                           nearest);
             d.StretchBlitFlipped(&s, Rect(80, 40, 30, 25), Rect(2, 1, 30, 25), Rect(0, 0, 99, 60),
                                  c, m, nearest);
         }
     }},
    {"stretched again, from a source changed in between",
     [](MemoryImage& d, MemoryImage& s, const Color& c, DrawMode m) {
         MemoryImage changed(s);  // a stretch asked for again is a blit of a kept copy
         for (int round = 0; round < 3; ++round) {
             for (bool nearest : {true, false}) {
                 d.StretchBlit(&changed, Rect(-3, 2 + round, 41, 33), Rect(3, 1, 30, 26),
                               Rect(0, 0, 101, 61), c, m, nearest);
                 d.StretchBlitFlipped(&changed, Rect(50, 20, 23, 13), Rect(0, 0, 83, 29),
                                      Rect(55, 0, 40, 61), c, m, nearest);
             }
             if (round == 1) {
                 changed.GetBits()[2 * 83 + 5] ^= 0x80FF00FFu;
                 changed.BitsChanged();
             }
         }
     }},
    {"rotated, textured, mirrored and stretched, from the picture itself too; smooth lines",
     [](MemoryImage& d, MemoryImage& s, const Color& c, DrawMode m) {
         const Rect all(0, 0, 101, 61);
         const TriVertex quad[1][3] = {{{3, 3, 0, 0}, {60, 5, 1, 0}, {8, 50, 0, 1}}};
         d.BlitRotated(&s, 50, 30, Rect(0, 0, 83, 29), all, c, m, 0.7, 40, 14);
         d.BlitRotated(&d, 20, 10, Rect(5, 5, 40, 30), all, c, m, -0.4, 20, 15);
         d.BlitTriangleList(&s, quad, 1, all, c, m, 1, 2, true);
         d.BlitTriangleList(&d, quad, 1, all, c, m, 20, 0, false);
         d.DrawSmoothLine(-5, 3, 120, 70, c, m);
         d.BlitFlipped(&d, 60, 35, Rect(10, 5, 40, 20), c, m);
         d.StretchBlit(&d, Rect(0, 30, 50, 31), Rect(40, 2, 37, 25), all, c, m, false);
         d.StretchBlitFlipped(&d, Rect(55, 0, 30, 20), Rect(3, 30, 45, 28), all, c, m, true);
     }},
    {"onto itself and fills",
     [](MemoryImage& d, MemoryImage& s, const Color& c, DrawMode m) {
         d.Blit(&s, 10, 10, Rect(0, 0, 83, 29), c, m);
         d.Blit(&d, 31, 12, Rect(10, 10, 60, 40), c, m);
         d.FillRect(Rect(40, 5, 47, 30), c, m);
     }},
};

TEST(FastPathTest, EveryOperationOnEverySourceMatchesTheReference) {
    const Color modulations[] = {kColorWhite, Color(0xFFFFD040u), Color(255, 255, 255, 128),
                                 Color(30, 140, 250, 200)};
    for (SourceKind kind :
         {SourceKind::Soft, SourceKind::Opaque, SourceKind::Keyed, SourceKind::Banded}) {
        std::mt19937 random(11 + static_cast<int>(kind));
        MemoryImage source = RandomImage(random, 83, 29, kind);
        for (const auto& [name, draw] : kOperations) {
            for (const Color& mod : modulations) {
                for (DrawMode mode : {kDrawModeNormal, kDrawModeAdditive}) {
                    SCOPED_TRACE(testing::Message()
                                 << name << ", source kind " << static_cast<int>(kind)
                                 << ", colour " << std::hex << mod.ToInt() << ", mode " << mode);
                    ExpectSamePictures([&](MemoryImage& dest) { draw(dest, source, mod, mode); });
                }
            }
        }
    }
}

// Sequences whose pixels depend on what was drawn before, as the plain order of drawing gives.
TEST(FastPathTest, DrawingSequencesMatchTheReference) {
    std::mt19937 random(16);
    const MemoryImage banded = RandomImage(random, 90, 29, SourceKind::Banded);
    MemoryImage soft = RandomImage(random, 23, 17, SourceKind::Soft);
    MemoryImage opaque = RandomImage(random, 23, 17, SourceKind::Opaque);
    MemoryImage big = RandomImage(random, 83, 29, SourceKind::Soft);
    const Color black(0, 0, 0);
    const Color blue(10, 20, 200);
    const std::function<void(MemoryImage&)> sequences[] = {
        [&](MemoryImage& dest) {
            // A source changed after its run table was built, opening and filling clear stretches.
            MemoryImage source(banded);
            dest.Blit(&source, -5, 3, Rect(0, 0, 90, 29), kColorWhite, kDrawModeNormal);
            for (int i = 0; i < 90 * 29; i += 7) {
                source.GetBits()[i] = (i / 7) % 2 == 0 ? 0u : 0xFF102030u;
            }
            for (int i = 200; i < 400; ++i) {
                source.GetBits()[i] = i < 300 ? 0xFF405060u : 0x00405060u;
            }
            source.BitsChanged();
            dest.Blit(&source, 20, 30, Rect(0, 0, 90, 29), kColorWhite, kDrawModeNormal);
            dest.Blit(&source, 7, 11, Rect(3, 2, 80, 25), Color(0xFFFFD040u), kDrawModeAdditive);
        },
        [&](MemoryImage& dest) {
            // Opaque fills written late, in parts, around the opaque copies drawn over them.
            dest.FillRect(Rect(2, 3, 40, 30), black, kDrawModeNormal);
            dest.Blit(&opaque, 10, 8, Rect(0, 0, 23, 17), kColorWhite, kDrawModeNormal);
            dest.FillRect(Rect(-5, -5, 70, 60), blue, kDrawModeNormal);
            dest.StretchBlit(&soft, Rect(30, 25, 40, 30), Rect(0, 0, 23, 17), Rect(0, 0, 101, 61),
                             kColorWhite, kDrawModeNormal, false);
            dest.StretchBlit(&opaque, Rect(5, 4, 30, 20), Rect(1, 1, 20, 15), Rect(0, 0, 33, 41),
                             kColorWhite, kDrawModeNormal, true);
            dest.Blit(&soft, 20, 20, Rect(0, 0, 23, 17), kColorWhite, kDrawModeNormal);
        },
        [&](MemoryImage& dest) {
            // Carved by many copies into more parts than are kept, drawn over and cleared in part.
            dest.FillRect(Rect(0, 0, 101, 61), blue, kDrawModeNormal);
            for (int i = 0; i < 12; ++i) {
                dest.Blit(&opaque, 7 * i - 5, (i * 13) % 50 - 4, Rect(0, 0, 23, 17), kColorWhite,
                          kDrawModeNormal);
                if (i % 4 == 3) {
                    dest.Blit(&soft, 9 * i, 40 - 3 * i, Rect(0, 0, 23, 17), kColorWhite,
                              kDrawModeNormal);
                }
            }
            dest.FillRect(Rect(60, 30, 50, 20), Color(200, 100, 0, 90), kDrawModeNormal);
            dest.ClearRect(Rect(80, 0, 10, 61));
            dest.StretchBlit(&opaque, Rect(50, 2, 40, 30), Rect(0, 0, 23, 17), Rect(0, 0, 101, 61),
                             kColorWhite, kDrawModeNormal, true);
            dest.DrawLine(0, 60, 100, 0, Color(255, 255, 255), kDrawModeNormal);
        },
        [&](MemoryImage& dest) {
            // Looked at, drawn onto itself, tinted over, copied.
            dest.FillRect(Rect(4, 4, 30, 30), blue, kDrawModeNormal);
            EXPECT_EQ(dest.GetPixel(5, 5), 0xFF0A14C8u);
            dest.FillRect(Rect(0, 0, 20, 20), black, kDrawModeNormal);
            dest.Blit(&dest, 15, 15, Rect(0, 0, 20, 20), kColorWhite, kDrawModeNormal);
            dest.FillRect(Rect(0, 10, 53, 10), black, kDrawModeNormal);
            dest.Blit(&opaque, 0, 0, Rect(0, 0, 23, 17), Color(0xFFFFD040u), kDrawModeNormal);
            dest.FillRect(Rect(0, 0, 53, 41), black, kDrawModeNormal);
            MemoryImage copy(dest);
            dest.FillRect(Rect(0, 0, 53, 41), blue, kDrawModeNormal);
            dest.Blit(&copy, 6, 6, Rect(0, 0, 40, 30), kColorWhite, kDrawModeNormal);
        },
        [&](MemoryImage& d) {
            // More stretch sizes than are kept, each asked for twice.
            for (int size = 20; size < 120; ++size) {
                for (int round = 0; round < 2; ++round) {
                    d.StretchBlit(&big, Rect(size % 40, 3, size, 120 - size), Rect(0, 0, 83, 29),
                                  Rect(0, 0, 101, 61), kColorWhite, kDrawModeNormal, size % 2 == 0);
                }
            }
        },
    };
    for (size_t i = 0; i < std::size(sequences); ++i) {
        SCOPED_TRACE(testing::Message() << "sequence " << i);
        ExpectSamePictures(sequences[i]);
    }
}

// A screen redrawn frame after frame over the same opaque background: the fast paths copy only
// what was drawn over it since. Whatever is drawn, changed or replaced in between, the frames
// must be those of the plain order of drawing; a last bare frame shows any pixel left stale.
TEST(FastPathTest, RepeatedBackgroundRestoresExactlyWhatWasDrawnOver) {
    std::mt19937 random(17);
    const MemoryImage background = RandomImage(random, kWidth, kHeight, SourceKind::Opaque);
    MemoryImage soft = RandomImage(random, 23, 17, SourceKind::Soft);
    MemoryImage opaque = RandomImage(random, 23, 17, SourceKind::Opaque);
    const Color white = kColorWhite;
    using Draw = std::function<void(MemoryImage & dest, MemoryImage & back, int frame)>;
    const std::pair<const char*, Draw> steps[] = {
        {"blits, fills and clears",
         [&](MemoryImage& d, MemoryImage&, int frame) {
             d.Blit(&soft, 10 * frame, 5, Rect(0, 0, 23, 17), white, kDrawModeNormal);
             d.Blit(&opaque, 60, 3 * frame, Rect(0, 0, 23, 17), white, kDrawModeNormal);
             d.Blit(&soft, 40, 30, Rect(2, 2, 20, 12), Color(0xFFFFD040u), kDrawModeAdditive);
             d.FillRect(Rect(5, 40 - frame, 30, 9), Color(200, 100, 0, 90), kDrawModeNormal);
             d.FillRect(Rect(70, 40, 9, 9), Color(0, 200, 0), kDrawModeNormal);
             d.ClearRect(Rect(90, frame, 5, 20));
         }},
        {"lines",
         [&](MemoryImage& d, MemoryImage&, int frame) {
             d.DrawLine(2, 50, 30, 40 + frame, Color(255, 255, 255), kDrawModeNormal);
             d.DrawLine(95, 2 * frame, 85, 20, Color(255, 255, 255, 90), kDrawModeNormal);
             d.DrawSmoothLine(3, 3.5, 30, 3.5 + frame, Color(255, 0, 0, 200), kDrawModeNormal);
             d.DrawSmoothLine(60, 58, 55 + frame, 30, Color(255, 0, 0), kDrawModeNormal);
         }},
        {"polygons, spans and triangles",
         [&](MemoryImage& d, MemoryImage&, int frame) {
             const PointF corners[3] = {{10, 10}, {30, 20}, {20, 35}};
             const Rect left(0, 0, 50, 61);
             d.FillPolygon(corners, 3, &left, Color(0, 0, 255, 150), kDrawModeNormal, frame, 0);
             const Span spans[3] = {{45, 5, 30}, {46, 6, 30}, {55, 10, 9}};
             d.FillSpans(spans, 2, Color(9, 9, 9), kDrawModeNormal);
             const uint8_t coverage[4] = {255, 128, 64, 0};
             d.FillSpansWithCoverage(spans + 2, 1, Color(255, 255, 0), kDrawModeNormal, coverage,
                                     10 + frame, 55, 4, 1);
             const TriVertex triangle[1][3] = {{{60, 5, 0, 0}, {95, 10, 1, 0}, {70, 40, 0, 1}}};
             d.BlitTriangleList(&soft, triangle, 1, Rect(55, 0, 46, 61), white, kDrawModeNormal, 0,
                                frame, true);
         }},
        {"stretched, rotated, flipped and drawn onto itself",
         [&](MemoryImage& d, MemoryImage&, int frame) {
             const Rect all(0, 0, 101, 61);
             d.StretchBlit(&soft, Rect(5, 5, 40, 30), Rect(0, 0, 23, 17), all, white,
                           kDrawModeNormal, frame % 2 == 0);
             d.BlitRotated(&opaque, 50, 20, Rect(0, 0, 23, 17), all, white, kDrawModeNormal,
                           0.3 * frame, 11, 8);
             d.BlitFlipped(&soft, 70, 40, Rect(0, 0, 23, 17), white, kDrawModeNormal);
             d.Blit(&d, 3, 30, Rect(60, 10, 30, 20), white, kDrawModeNormal);
         }},
        {"more parts than are kept",
         [&](MemoryImage& d, MemoryImage&, int frame) {
             for (int i = 0; i < 40; ++i) {
                 d.FillRect(Rect((i * 37 + frame) % 99, (i * 23) % 59, 2, 2),
                            Color(i * 6, 255, 0, 200), kDrawModeNormal);
             }
         }},
        {"written through GetBits",
         [&](MemoryImage& d, MemoryImage&, int frame) {
             for (int i = frame; i < kWidth * kHeight; i += 97) {
                 d.GetBits()[i / kWidth * d.GetPitch() + i % kWidth] = 0xFF123456u;
             }
             d.BitsChanged();
         }},
        {"background changed",
         [&](MemoryImage& d, MemoryImage& back, int frame) {
             d.Blit(&soft, 20, 20, Rect(0, 0, 23, 17), white, kDrawModeNormal);
             back.GetBits()[(5 + frame) * kWidth + 7] ^= 0x00FFFFFFu;
             back.BitsChanged();
         }},
        {"background drawn again in part: elsewhere, from elsewhere or as a copy",
         [&](MemoryImage& d, MemoryImage& back, int frame) {
             d.Blit(&opaque, 0, 0, Rect(0, 0, 23, 17), white, kDrawModeNormal);
             d.Blit(&back, 0, 0, Rect(0, 0, 60, 40), white, kDrawModeNormal);
             if (frame == 0) {
                 d.Blit(&back, 0, 0, Rect(2, 0, 99, 60), white, kDrawModeNormal);
             } else if (frame == 1) {
                 d.Blit(&back, 0, 1, Rect(2, 1, 99, 60), white, kDrawModeNormal);
             } else if (frame == 2) {
                 MemoryImage other(back);
                 d.Blit(&other, -2, 1, Rect(0, 0, kWidth, kHeight), white, kDrawModeNormal);
             }
             d.Blit(&soft, 50, 20, Rect(0, 0, 23, 17), white, kDrawModeNormal);
         }},
    };
    for (const auto& [name, draw] : steps) {
        SCOPED_TRACE(name);
        ExpectSamePictures([&](MemoryImage& dest) {
            MemoryImage back(background);
            // Every frame is compared: each one's checksum goes into the last one's first pixels.
            uint32_t checksums[4] = {};
            for (int frame = 0; frame <= 3; ++frame) {
                dest.FillRect(Rect(0, 0, kWidth, kHeight), Color(0, 0, 0), kDrawModeNormal);
                dest.Blit(&back, -2, 1, Rect(0, 0, kWidth, kHeight), white, kDrawModeNormal);
                if (frame < 3) {
                    draw(dest, back, frame);
                }
                for (int i = 0; i < kWidth * kHeight; ++i) {
                    checksums[frame] =
                        checksums[frame] * 16777619u ^ dest.GetPixel(i % kWidth, i / kWidth);
                }
            }
            std::copy_n(checksums, 4, dest.GetBits());
            dest.BitsChanged();
        });
    }
}

// A background copied again with nothing drawn over it since writes no pixel. The image draws
// into our memory, so a pixel changed behind its back shows whether a copy wrote it.
TEST(MemoryImageTest, ANewBackgroundForgetsWhatWasDrawnOverTheOldOne) {
    const bool wasFast = MemoryImage::FastPathsEnabled();
    MemoryImage::SetFastPathsEnabled(true);
    std::mt19937 random(3);
    MemoryImage old = RandomImage(random, 8, 8, SourceKind::Opaque);
    MemoryImage background = RandomImage(random, 8, 8, SourceKind::Opaque);
    MemoryImage sprite = RandomImage(random, 2, 2, SourceKind::Opaque);
    std::vector<uint32_t> memory(64);
    MemoryImage screen;
    ASSERT_TRUE(screen.UseExternalPixels(memory.data(), 8, 8, 8));
    const Rect all(0, 0, 8, 8);
    screen.Blit(&old, 0, 0, all, kColorWhite, kDrawModeNormal);
    screen.Blit(&sprite, 1, 1, Rect(0, 0, 2, 2), kColorWhite, kDrawModeNormal);
    screen.Blit(&background, 0, 0, all, kColorWhite, kDrawModeNormal);
    memory[9] = 0x12345678u;  // (1, 1), under the sprite drawn over the old background
    screen.Blit(&background, 0, 0, all, kColorWhite, kDrawModeNormal);
    EXPECT_EQ(memory[9], 0x12345678u);
    MemoryImage::SetFastPathsEnabled(wasFast);
}

TEST(MemoryImageTest, ExternalPixelsAreCheckedAndLeftAlone) {
    std::vector<uint32_t> memory(40, 0xFF0000FFu);
    MemoryImage image(2, 2);
    EXPECT_FALSE(image.UseExternalPixels(nullptr, 4, 4, 4));
    EXPECT_FALSE(image.UseExternalPixels(memory.data(), 5, 4, 4));  // pitch below the width
    EXPECT_FALSE(image.HasExternalPixels());
    memory[10] = 0xFF00FF00u;  // row 1
    memory[5] = 0;             // between rows 0 and 1: not the image's
    // A fill perhaps kept back before the image takes the memory must not reach it.
    image.FillRect(Rect(0, 0, 2, 2), Color(255, 0, 0), kDrawModeNormal);
    ASSERT_TRUE(image.UseExternalPixels(memory.data(), 4, 4, 10));
    EXPECT_FALSE(image.HasAlpha());  // the memory is taken as it is
    EXPECT_EQ(memory[0], 0xFF0000FFu);
    const MemoryImage copy(image);
    EXPECT_EQ(copy.GetPitch(), 4);
    EXPECT_EQ(copy.GetPixel(0, 1), 0xFF00FF00u);
    // A fill kept back is not written into the memory once the image has left it (the
    // reference path keeps nothing back: it has written the fill at once).
    image.FillRect(Rect(0, 0, 4, 4), Color(255, 0, 0), kDrawModeNormal);
    ASSERT_TRUE(image.Create(3, 3));
    EXPECT_EQ(image.GetPitch(), 3);
    EXPECT_EQ(memory[0], MemoryImage::FastPathsEnabled() ? 0xFF0000FFu : 0xFFFF0000u);
}

}  // namespace
}  // namespace Tuvo
