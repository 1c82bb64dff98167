// The drawing context: its state, and the back-end calls each drawing comes to, checked by
// drawing the expected calls straight onto a second image and comparing the pictures.
#include "framework/graphics/graphics.h"

#include <functional>

#include <gtest/gtest.h>

#include "framework/graphics/memory_image.h"

namespace Tuvo {
namespace {

// Every pixel differs (an odd step runs through all 2^24 colours), so a wrong part, place,
// mirror, scale, tint or sampling shows.
MemoryImage Numbered(int width, int height) {
    MemoryImage image(width, height);
    for (int i = 0; i < width * height; ++i) {
        image.GetBits()[i] = 0xFF000000u | ((static_cast<uint32_t>(i) * 0x010305u) & 0xFFFFFFu);
    }
    image.BitsChanged();
    return image;
}

// A 200 x 200 numbered screen, in an accelerated back end or not.
class Screen : public MemoryImage {
public:
    explicit Screen(bool accelerated) : MemoryImage(Numbered(200, 200)) {
        isAccelerated_ = accelerated;
    }
};

struct Case {
    const char* name;
    int width, height;  // of the numbered source
    std::function<void(Graphics&, Image*)> draw;
    // The back-end calls the drawing must come to; null: it draws nothing.
    std::function<void(MemoryImage&, Image*)> expected;
    bool accelerated = false;
};

const Rect kAll(0, 0, 200, 200);
const Color kHalfGrey(9, 9, 9, 128);  // a pixel drawn twice shows

Affine2D Turned() {
    Affine2D turned;
    turned.PreTranslate(2, 1);
    turned.RotateRad(0.5f);
    turned.Translate(5, 6);
    return turned;
}

Affine2D Scaled(float firstX, float secondX, float y) {
    Affine2D scaled;
    scaled.Scale(firstX, y);
    scaled.Scale(secondX, 1);
    return scaled;
}

Affine2D TurnedAndScaled() {
    Affine2D transform;
    transform.RotateDeg(45);
    transform.Scale(2, 2);
    return transform;
}

const Case kCases[] = {
    {"a fill translated and clipped, in its colour and mode", 1, 1,
     [](Graphics& g, Image*) {
         g.SetColor(Color(1, 2, 3, 200));
         g.SetDrawMode(kDrawModeAdditive);
         g.Translate(10, 20);
         g.ClipRect(0, 0, 50, 50);
         g.FillRect(-20, 40, 100, 100);
     },
     [](MemoryImage& d, Image*) {
         d.FillRect(Rect(10, 60, 50, 10), Color(1, 2, 3, 200), kDrawModeAdditive);
     }},
    {"a translucent outline cut by the clip", 1, 1,
     [](Graphics& g, Image*) {
         g.SetColor(kHalfGrey);
         g.ClipRect(0, 0, 10, 100);
         g.DrawRect(0, 0, 10, 10);
     },
     [](MemoryImage& d, Image*) {
         d.FillRect(Rect(0, 0, 10, 1), kHalfGrey, kDrawModeNormal);
         d.FillRect(Rect(0, 10, 10, 1), kHalfGrey, kDrawModeNormal);
         d.FillRect(Rect(0, 1, 1, 9), kHalfGrey, kDrawModeNormal);
     }},
    {"an image cut by the clip", 10, 10,
     [](Graphics& g, Image* s) {
         g.ClipRect(20, 20, 5, 5);
         g.DrawImage(s, 18, 22);
         g.DrawImage(s, 50, 50);  // wholly outside
     },
     [](MemoryImage& d, Image* s) {
         d.Blit(s, 20, 22, Rect(2, 0, 5, 3), kColorWhite, kDrawModeNormal);
     }},
    {"-1 + 0.5 truncates to 0, not -1", 10, 10,
     [](Graphics& g, Image* s) {
         g.TranslateF(0.5f, 0.5f);
         g.DrawImage(s, -1, -1);
     },
     [](MemoryImage& d, Image* s) {
         d.Blit(s, 0, 0, Rect(0, 0, 10, 10), kColorWhite, kDrawModeNormal);
     }},
    {"mirrored, cut on the left: the source's right end goes", 10, 10,
     [](Graphics& g, Image* s) {
         g.ClipRect(0, 0, 20, 20);
         g.DrawImageFlipped(s, -3, 0, Rect(0, 0, 10, 10), true);
         g.DrawImageFlipped(s, 15, 5, Rect(0, 0, 10, 10), true);
         g.DrawImageFlipped(s, 5, 30, Rect(0, 0, 10, 10), true);  // wholly outside
     },
     [](MemoryImage& d, Image* s) {
         d.BlitFlipped(s, 0, 0, Rect(0, 0, 7, 10), kColorWhite, kDrawModeNormal);
         d.BlitFlipped(s, 15, 5, Rect(5, 0, 5, 10), kColorWhite, kDrawModeNormal);
     }},
    {"a source part past the image draws nothing", 10, 10,
     [](Graphics& g, Image* s) {
         g.DrawImage(s, 0, 0, Rect(1, 0, 10, 10));
         g.DrawImage(s, 0, 0, Rect(0, 5, 10, 6));
         g.DrawImage(s, 0, 0, Rect(-1, 0, 5, 5));
         g.DrawImageFlipped(s, 0, 0, Rect(1, 0, 10, 10), true);
     },
     nullptr},
    {"sub-pixel and rotated drawing keep the fractions", 9, 6,
     [](Graphics& g, Image* s) {
         g.TranslateF(0.5f, 1.25f);
         g.DrawImageAt(s, 2.25f, 3.5f, Rect(1, 1, 4, 4));
         g.DrawImageRotatedAt(s, 21.5f, 2.5f, 0.3, 4.5f, 3.5f);
     },
     [](MemoryImage& d, Image* s) {
         d.BlitAt(s, 2.75f, 4.75f, Rect(1, 1, 4, 4), kAll, kColorWhite, kDrawModeNormal);
         d.BlitRotated(s, 22, 3.75f, Rect(0, 0, 9, 6), kAll, kColorWhite, kDrawModeNormal, 0.3,
                       4.5f, 3.5f);
     }},
    {"rotated about the integer half of the part or of the image", 9, 6,
     [](Graphics& g, Image* s) {
         g.TranslateF(0.5f, 1.25f);
         const Rect part(0, 0, 5, 3);
         g.DrawImageRotated(s, 10, 20, 1.0, &part);
         g.DrawImageRotated(s, 40, 20, 1.0);
     },
     [](MemoryImage& d, Image* s) {
         d.BlitRotated(s, 10.5f, 21.25f, Rect(0, 0, 5, 3), kAll, kColorWhite, kDrawModeNormal, 1.0,
                       2, 1);
         d.BlitRotated(s, 40.5f, 21.25f, Rect(0, 0, 9, 6), kAll, kColorWhite, kDrawModeNormal, 1.0,
                       4, 3);
     }},
    // Through a transform (x, y) is where the centre goes: 50 + 3 - 10 + 0.5, 60 + 4 - 5 + 0.5.
    {"moved, sub-pixel and whole", 20, 10,
     [](Graphics& g, Image* s) {
         Affine2D moved;
         moved.Translate(3, 4);
         g.DrawImageWithTransform(s, moved, Rect(0, 0, 20, 10), 50.25f, 60, true);
         g.DrawImageWithTransform(s, moved, 100, 60);
     },
     [](MemoryImage& d, Image* s) {
         d.BlitAt(s, 43.75f, 59.5f, Rect(0, 0, 20, 10), kAll, kColorWhite, kDrawModeNormal);
         d.Blit(s, 93, 59, Rect(0, 0, 20, 10), kColorWhite, kDrawModeNormal);
     }},
    // cx = 10 - 2, cy = 5 - 1; x = 5 + 100 - 8 + 0.5, y = 6 + 100 - 4 + 0.5
    {"turned, sub-pixel and whole", 20, 10,
     [](Graphics& g, Image* s) {
         Affine2D turned = Turned();
         g.DrawImageWithTransform(s, turned, Rect(0, 0, 20, 10), 100, 100, true);
         g.DrawImageWithTransform(s, turned, Rect(0, 0, 20, 10), 150, 150, false);
     },
     [](MemoryImage& d, Image* s) {
         d.BlitRotated(s, 97.5f, 102.5f, Rect(0, 0, 20, 10), kAll, kColorWhite, kDrawModeNormal,
                       0.5, 8, 4);
         d.BlitRotated(s, 147, 152, Rect(0, 0, 20, 10), kAll, kColorWhite, kDrawModeNormal, 0.5, 8,
                       4);
     }},
    {"mirrored, scaled, and mirrored with a size change (which stays mirrored)", 20, 10,
     [](Graphics& g, Image* s) {
         Affine2D mirror = Scaled(-1, 1, 1);
         Affine2D doubled = Scaled(2, 1, 3);
         Affine2D mirrorDoubled = Scaled(-1, 2, 1);
         g.DrawImageWithTransform(s, mirror, 50, 60);
         g.DrawImageWithTransform(s, doubled, 50, 100);
         g.DrawImageWithTransform(s, mirrorDoubled, 150, 60);
     },
     [](MemoryImage& d, Image* s) {
         const Rect all(0, 0, 20, 10);
         d.BlitFlipped(s, 40, 55, all, kColorWhite, kDrawModeNormal);
         d.StretchBlit(s, Rect(30, 85, 40, 30), all, kAll, kColorWhite, kDrawModeNormal, false);
         d.StretchBlitFlipped(s, Rect(130, 55, 40, 10), all, kAll, kColorWhite, kDrawModeNormal,
                              false);
     }},
    {"stretched into a translated box, mirrored and not", 20, 10,
     [](Graphics& g, Image* s) {
         g.Translate(3, 4);
         g.DrawImageFlipped(s, Rect(1, 1, 20, 30), Rect(0, 0, 20, 10), true);
         g.DrawImageFlipped(s, Rect(31, 1, 20, 30), Rect(0, 0, 20, 10), false);
     },
     [](MemoryImage& d, Image* s) {
         d.StretchBlitFlipped(s, Rect(4, 5, 20, 30), Rect(0, 0, 20, 10), kAll, kColorWhite,
                              kDrawModeNormal, false);
         d.StretchBlit(s, Rect(34, 5, 20, 30), Rect(0, 0, 20, 10), kAll, kColorWhite,
                       kDrawModeNormal, false);
     }},
    // Scaled: the ceiling size, the position scaled about the origin and floored.
    {"a scaled context, quick and smooth", 9, 6,
     [](Graphics& g, Image* s) {
         g.SetQuickScaling(true);
         g.SetScale(2, 2, 0, 0);
         g.DrawImage(s, 5, 7);
         g.DrawImage(s, 50, 7, Rect(0, 0, 10, 6));  // past the image's edge
         g.SetQuickScaling(false);
         g.SetScale(0.5f, 0.5f, 2, 2);
         g.DrawImage(s, -3, 7);
     },
     [](MemoryImage& d, Image* s) {
         d.StretchBlit(s, Rect(10, 14, 18, 12), Rect(0, 0, 9, 6), kAll, kColorWhite,
                       kDrawModeNormal, true);
         d.StretchBlit(s, Rect(-1, 4, 5, 3), Rect(0, 0, 9, 6), kAll, kColorWhite, kDrawModeNormal,
                       false);
     }},
    {"a rotation with a scale goes through the matrix", 20, 10,
     [](Graphics& g, Image* s) {
         Affine2D transform = TurnedAndScaled();
         g.SetSmoothSampling(true);
         g.DrawImageWithTransform(s, transform, 70, 80);
     },
     [](MemoryImage& d, Image* s) {
         d.BlitWithMatrix(s, 70, 80, TurnedAndScaled().GetMatrix(), kAll, kColorWhite,
                          kDrawModeNormal, Rect(0, 0, 20, 10), true);
     }},
    {"a narrow nine-slice draws its corners, later ones over earlier ones, and no edges", 6, 6,
     [](Graphics& g, Image* s) {
         g.DrawImageNineSlice(Rect(0, 0, 6, 6), Rect(10, 10, 3, 3), s);
         g.DrawImageNineSlice(Rect(0, 0, 0, 6), Rect(50, 50, 10, 10), s);  // an empty part
     },
     [](MemoryImage& d, Image* s) {
         d.Blit(s, 10, 10, Rect(0, 0, 2, 2), kColorWhite, kDrawModeNormal);
         d.Blit(s, 11, 10, Rect(4, 0, 2, 2), kColorWhite, kDrawModeNormal);
         d.Blit(s, 10, 11, Rect(0, 4, 2, 2), kColorWhite, kDrawModeNormal);
         d.Blit(s, 11, 11, Rect(4, 4, 2, 2), kColorWhite, kDrawModeNormal);
     }},
    {"images are tinted only while tinting", 9, 6,
     [](Graphics& g, Image* s) {
         g.SetColor(Color(10, 20, 30, 40));
         g.DrawImage(s, 0, 0);
         g.SetTintImages(true);
         g.DrawImageAt(s, 20.25f, 0.75f, Rect(0, 0, 4, 4));
     },
     [](MemoryImage& d, Image* s) {
         d.Blit(s, 0, 0, Rect(0, 0, 9, 6), kColorWhite, kDrawModeNormal);
         d.BlitAt(s, 20.25f, 0.75f, Rect(0, 0, 4, 4), kAll, Color(10, 20, 30, 40), kDrawModeNormal);
     }},
    {"on an accelerated screen sub-pixel drawing goes through the matrix", 20, 10,
     [](Graphics& g, Image* s) {
         Affine2D plain;
         g.DrawImageWithTransform(s, plain, Rect(0, 0, 20, 10), 15, 5, true);
         g.DrawImageWithTransform(s, plain, Rect(0, 0, 20, 10), 65, 5, false);
     },
     [](MemoryImage& d, Image* s) {
         d.BlitWithMatrix(s, 15, 5, Matrix3x3::Identity(), kAll, kColorWhite, kDrawModeNormal,
                          Rect(0, 0, 20, 10), false);
         d.Blit(s, 55, 0, Rect(0, 0, 20, 10), kColorWhite, kDrawModeNormal);
     },
     true},
};

TEST(GraphicsTest, EachDrawingComesToTheExpectedBackEndCalls) {
    const MemoryImage background = Numbered(200, 200);
    for (const Case& c : kCases) {
        MemoryImage source = Numbered(c.width, c.height);
        Screen drawn(c.accelerated);
        Graphics g(&drawn);
        c.draw(g, &source);
        MemoryImage expected(background);
        if (c.expected) {
            c.expected(expected, &source);
        }
        int changed = 0;
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 200; ++x) {
                ASSERT_EQ(drawn.GetPixel(x, y), expected.GetPixel(x, y))
                    << c.name << " at " << x << ", " << y;
                changed += drawn.GetPixel(x, y) != background.GetPixel(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(changed > 0, c.expected != nullptr) << c.name;
    }
}

TEST(GraphicsTest, StateStackCopiesAndNoDestination) {
    Graphics none;  // no destination: draws nothing, safely
    MemoryImage image(4, 4);
    none.FillRect(0, 0, 10, 10);
    none.DrawImage(&image, 0, 0);
    EXPECT_EQ(none.GetClipRect(), Rect(0, 0, 0, 0));

    Graphics g(&image);
    g.RestoreState();  // empty stack: nothing changes
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 4, 4));
    g.SetColor(Color(1, 2, 3));
    g.SaveState();
    g.SetColor(Color(4, 5, 6));
    g.Translate(1, 1);
    g.ClipRect(0, 0, 2, 2);
    g.ClipRect(-50, -50, 100, 100);  // the clip only narrows
    EXPECT_EQ(g.GetClipRect(), Rect(1, 1, 2, 2));
    Graphics copy(g);  // the whole state and an empty stack
    EXPECT_EQ(copy.SavedStateCount(), 0u);
    EXPECT_EQ(copy.GetClipRect(), Rect(1, 1, 2, 2));
    g.RestoreState();
    EXPECT_EQ(g.SavedStateCount(), 0u);
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3));
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 4, 4));
    EXPECT_EQ(g.GetTranslateX(), 0);
}

TEST(GraphicsTest, NineSliceCornersStayEdgesRepeatAndCentreTiles) {
    MemoryImage picture = Numbered(6, 6);
    MemoryImage screen(32, 24);
    Graphics g(&screen);
    const Rect dest(10, 10, 11, 7);
    g.DrawImageNineSlice(dest, &picture);
    // The source column (or row) shown at d in [start, end): corners straight, middles repeated.
    auto shown = [](int d, int start, int end) {
        return d < start + 2 ? d - start : d >= end - 2 ? d - end + 6 : 2 + (d - start) % 2;
    };
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 32; ++x) {
            const uint32_t expected =
                dest.Contains(x, y) ? picture.GetPixel(shown(x, 10, 21), shown(y, 10, 17)) : 0;
            ASSERT_EQ(screen.GetPixel(x, y), expected) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace Tuvo
