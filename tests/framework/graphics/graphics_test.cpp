// The drawing context: its state, and the back-end calls each drawing comes to, checked by
// drawing the expected calls straight onto a second image and comparing the pictures.
#include "framework/graphics/graphics.h"

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

const Rect kAll(0, 0, 200, 200);
const Color kHalfGrey(9, 9, 9, 128);  // a pixel drawn twice shows

// Start() gives a numbered picture, a context `g` on a numbered screen and a second screen,
// `expected`, for the back-end calls the drawing must come to; Check() compares the screens.
class GraphicsTest : public ::testing::Test {
protected:
    void Start(int width, int height) {
        picture.SetBits(Numbered(width, height).GetBits(), width, height);
        drawn_.SetBits(bare_.GetBits(), 200, 200);
        expected.SetBits(bare_.GetBits(), 200, 200);
        g = Graphics(&drawn_);
    }

    void Check(const char* what, bool drawsSomething = true) {
        int changed = 0;
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 200; ++x) {
                ASSERT_EQ(drawn_.GetPixel(x, y), expected.GetPixel(x, y))
                    << what << " at " << x << ", " << y;
                changed += drawn_.GetPixel(x, y) != bare_.GetPixel(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(changed > 0, drawsSomething) << what;
    }

    MemoryImage picture;
    MemoryImage expected;
    Graphics g;

private:
    const MemoryImage bare_ = Numbered(200, 200);
    MemoryImage drawn_;
};

TEST_F(GraphicsTest, FillsAndImagesAreTranslatedAndClipped) {
    Start(1, 1);
    g.SetColor(Color(1, 2, 3, 200));
    g.SetDrawMode(kDrawModeAdditive);
    g.Translate(10, 20);
    g.ClipRect(0, 0, 50, 50);
    g.FillRect(-20, 40, 100, 100);
    expected.FillRect(Rect(10, 60, 50, 10), Color(1, 2, 3, 200), kDrawModeAdditive);
    Check("a fill translated and clipped, in its colour and mode");

    Start(1, 1);
    g.SetColor(kHalfGrey);
    g.ClipRect(0, 0, 10, 100);
    g.DrawRect(0, 0, 10, 10);
    expected.FillRect(Rect(0, 0, 10, 1), kHalfGrey, kDrawModeNormal);
    expected.FillRect(Rect(0, 10, 10, 1), kHalfGrey, kDrawModeNormal);
    expected.FillRect(Rect(0, 1, 1, 9), kHalfGrey, kDrawModeNormal);
    Check("a translucent outline cut by the clip");

    Start(10, 10);
    g.ClipRect(20, 20, 5, 5);
    g.DrawImage(&picture, 18, 22);
    g.DrawImage(&picture, 50, 50);  // wholly outside
    expected.Blit(&picture, 20, 22, Rect(2, 0, 5, 3), kColorWhite, kDrawModeNormal);
    Check("an image cut by the clip");

    Start(10, 10);
    g.ClipRect(0, 0, 20, 20);
    g.DrawImageFlipped(&picture, -3, 0, Rect(0, 0, 10, 10), true);
    g.DrawImageFlipped(&picture, 15, 5, Rect(0, 0, 10, 10), true);
    g.DrawImageFlipped(&picture, 5, 30, Rect(0, 0, 10, 10), true);  // wholly outside
    expected.BlitFlipped(&picture, 0, 0, Rect(0, 0, 7, 10), kColorWhite, kDrawModeNormal);
    expected.BlitFlipped(&picture, 15, 5, Rect(5, 0, 5, 10), kColorWhite, kDrawModeNormal);
    Check("mirrored, cut on the left: the source's right end goes");

    Start(10, 10);
    g.DrawImage(&picture, 0, 0, Rect(1, 0, 10, 10));
    g.DrawImage(&picture, 0, 0, Rect(0, 5, 10, 6));
    g.DrawImage(&picture, 0, 0, Rect(-1, 0, 5, 5));
    g.DrawImageFlipped(&picture, 0, 0, Rect(1, 0, 10, 10), true);
    Check("a source part past the image draws nothing", false);

    Start(9, 6);
    g.SetColor(Color(10, 20, 30, 40));
    g.DrawImage(&picture, 0, 0);
    g.SetTintImages(true);
    g.DrawImageAt(&picture, 20.25f, 0.75f, Rect(0, 0, 4, 4));
    expected.Blit(&picture, 0, 0, Rect(0, 0, 9, 6), kColorWhite, kDrawModeNormal);
    expected.BlitAt(&picture, 20.25f, 0.75f, Rect(0, 0, 4, 4), kAll, Color(10, 20, 30, 40),
                    kDrawModeNormal);
    Check("images are tinted only while tinting");

    Start(6, 6);
    g.DrawImageNineSlice(Rect(0, 0, 6, 6), Rect(10, 10, 3, 3), &picture);
    g.DrawImageNineSlice(Rect(0, 0, 0, 6), Rect(50, 50, 10, 10), &picture);  // an empty part
    expected.Blit(&picture, 10, 10, Rect(0, 0, 2, 2), kColorWhite, kDrawModeNormal);
    expected.Blit(&picture, 11, 10, Rect(4, 0, 2, 2), kColorWhite, kDrawModeNormal);
    expected.Blit(&picture, 10, 11, Rect(0, 4, 2, 2), kColorWhite, kDrawModeNormal);
    expected.Blit(&picture, 11, 11, Rect(4, 4, 2, 2), kColorWhite, kDrawModeNormal);
    Check("a narrow nine-slice draws its corners, later ones over earlier ones, and no edges");
}

TEST_F(GraphicsTest, SubPixelAndRotatedDrawing) {
    Start(9, 6);
    g.Translate(1, 2);
    g.DrawImageAt(&picture, 2.25f, 3.5f, Rect(1, 1, 4, 4));
    g.DrawImageRotatedAt(&picture, 21.5f, 2.5f, 0.3, 4.5f, 3.5f);
    const Rect part(0, 0, 5, 3);
    g.DrawImageRotated(&picture, 10, 20, 1.0, &part);
    g.DrawImageRotated(&picture, 40, 20, 1.0);
    expected.BlitAt(&picture, 3.25f, 5.5f, Rect(1, 1, 4, 4), kAll, kColorWhite, kDrawModeNormal);
    expected.BlitRotated(&picture, 22.5f, 4.5f, Rect(0, 0, 9, 6), kAll, kColorWhite,
                         kDrawModeNormal, 0.3, 4.5f, 3.5f);
    // Rotated about the integer half of the part, or of the image.
    expected.BlitRotated(&picture, 11, 22, part, kAll, kColorWhite, kDrawModeNormal, 1.0, 2, 1);
    expected.BlitRotated(&picture, 41, 22, Rect(0, 0, 9, 6), kAll, kColorWhite, kDrawModeNormal,
                         1.0, 4, 3);
    Check("sub-pixel and rotated drawing keep the fractions");
}

// Through a transform (x, y) is where the centre goes, by the cheapest route that draws it.
TEST_F(GraphicsTest, TransformedDrawingTakesTheCheapestExactRoute) {
    const Rect all(0, 0, 20, 10);
    Start(20, 10);
    Affine2D mirror;
    mirror.Scale(-1, 1);
    Affine2D doubled;
    doubled.Scale(2, 3);
    Affine2D mirrorDoubled = mirror;
    mirrorDoubled.Scale(2, 1);
    g.DrawImageWithTransform(&picture, mirror, 50, 60);
    g.DrawImageWithTransform(&picture, doubled, 50, 100);
    g.DrawImageWithTransform(&picture, mirrorDoubled, 150, 60);
    expected.BlitFlipped(&picture, 40, 55, all, kColorWhite, kDrawModeNormal);
    expected.StretchBlit(&picture, Rect(30, 85, 40, 30), all, kAll, kColorWhite, kDrawModeNormal,
                         false);
    expected.StretchBlitFlipped(&picture, Rect(130, 55, 40, 10), all, kAll, kColorWhite,
                                kDrawModeNormal, false);
    Check("mirrored, scaled, and mirrored with a size change (which stays mirrored)");

    Start(20, 10);
    g.Translate(3, 4);
    g.DrawImageFlipped(&picture, Rect(1, 1, 20, 30), all, true);
    g.DrawImageFlipped(&picture, Rect(31, 1, 20, 30), all, false);
    expected.StretchBlitFlipped(&picture, Rect(4, 5, 20, 30), all, kAll, kColorWhite,
                                kDrawModeNormal, false);
    expected.StretchBlit(&picture, Rect(34, 5, 20, 30), all, kAll, kColorWhite, kDrawModeNormal,
                         false);
    Check("stretched into a translated box, mirrored and not");

    Start(20, 10);
    Affine2D transform;
    transform.RotateDeg(45);
    transform.Scale(2, 2);
    g.SetSmoothSampling(true);
    g.DrawImageWithTransform(&picture, transform, 70, 80);
    expected.BlitWithMatrix(&picture, 70, 80, transform.GetMatrix(), kAll, kColorWhite,
                            kDrawModeNormal, all, true);
    Check("a rotation with a scale goes through the matrix");
}

TEST_F(GraphicsTest, StateStackAndNoDestination) {
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
    g.RestoreState();
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3));
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 4, 4));
    EXPECT_EQ(g.GetTranslateX(), 0);
}

TEST_F(GraphicsTest, NineSliceCornersStayEdgesRepeatAndCentreTiles) {
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
