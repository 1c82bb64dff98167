#include "framework/graphics/graphics.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/graphics/memory_image.h"

namespace Tuvo {
namespace {

// One back-end call as the drawing context made it.
struct Call {
    std::string name;
    Image* source = nullptr;
    Rect dest;
    Rect sourceRect;
    Rect clip;
    Color color;
    DrawMode mode = kDrawModeNormal;
    float x = 0;
    float y = 0;
    double angle = 0;
    float cx = 0;
    float cy = 0;
    bool flag = false;
    Matrix3x3 matrix;
};

// A destination that records the back-end calls instead of drawing.
class RecordingImage : public Image {
public:
    RecordingImage(int width, int height, bool accelerated = false) {
        width_ = width;
        height_ = height;
        isAccelerated_ = accelerated;
    }

    void FillRect(const Rect& rect, const Color& color, DrawMode mode) override {
        calls.push_back({.name = "FillRect", .dest = rect, .color = color, .mode = mode});
    }
    void DrawRect(const Rect& rect, const Color& color, DrawMode mode) override {
        calls.push_back({.name = "DrawRect", .dest = rect, .color = color, .mode = mode});
    }
    void Blit(Image* source, int x, int y, const Rect& sourceRect, const Color& color,
              DrawMode mode) override {
        calls.push_back({.name = "Blit",
                         .source = source,
                         .dest = Rect(x, y, sourceRect.width, sourceRect.height),
                         .sourceRect = sourceRect,
                         .color = color,
                         .mode = mode});
    }
    void BlitFlipped(Image* source, int x, int y, const Rect& sourceRect, const Color& color,
                     DrawMode mode) override {
        calls.push_back({.name = "BlitFlipped",
                         .source = source,
                         .dest = Rect(x, y, sourceRect.width, sourceRect.height),
                         .sourceRect = sourceRect,
                         .color = color,
                         .mode = mode});
    }
    void BlitAt(Image* source, float x, float y, const Rect& sourceRect, const Rect& clip,
                const Color& color, DrawMode mode) override {
        calls.push_back({.name = "BlitAt",
                         .source = source,
                         .sourceRect = sourceRect,
                         .clip = clip,
                         .color = color,
                         .mode = mode,
                         .x = x,
                         .y = y});
    }
    void BlitRotated(Image* source, float x, float y, const Rect& sourceRect, const Rect& clip,
                     const Color& color, DrawMode mode, double angle, float cx, float cy) override {
        calls.push_back({.name = "BlitRotated",
                         .source = source,
                         .sourceRect = sourceRect,
                         .clip = clip,
                         .color = color,
                         .mode = mode,
                         .x = x,
                         .y = y,
                         .angle = angle,
                         .cx = cx,
                         .cy = cy});
    }
    void StretchBlit(Image* source, const Rect& destRect, const Rect& sourceRect, const Rect& clip,
                     const Color& color, DrawMode mode, bool fastStretch) override {
        calls.push_back({.name = "StretchBlit",
                         .source = source,
                         .dest = destRect,
                         .sourceRect = sourceRect,
                         .clip = clip,
                         .color = color,
                         .mode = mode,
                         .flag = fastStretch});
    }
    void StretchBlitFlipped(Image* source, const Rect& destRect, const Rect& sourceRect,
                            const Rect& clip, const Color& color, DrawMode mode,
                            bool fastStretch) override {
        calls.push_back({.name = "StretchBlitFlipped",
                         .source = source,
                         .dest = destRect,
                         .sourceRect = sourceRect,
                         .clip = clip,
                         .color = color,
                         .mode = mode,
                         .flag = fastStretch});
    }
    void BlitWithMatrix(Image* source, float x, float y, const Matrix3x3& matrix, const Rect& clip,
                        const Color& color, DrawMode mode, const Rect& sourceRect,
                        bool linearBlend) override {
        calls.push_back({.name = "BlitWithMatrix",
                         .source = source,
                         .sourceRect = sourceRect,
                         .clip = clip,
                         .color = color,
                         .mode = mode,
                         .x = x,
                         .y = y,
                         .flag = linearBlend,
                         .matrix = matrix});
    }

    std::vector<Call> calls;
};

// A source image of a given size (its pixels never matter here).
class SizedImage : public Image {
public:
    SizedImage(int width, int height) {
        width_ = width;
        height_ = height;
    }
};

class RecordingFont : public Font {
public:
    void DrawString(Graphics* graphics, int x, int y, const std::string& text, const Color& color,
                    const Rect& clip) override {
        drawnBy = graphics;
        drawnAt = Rect(x, y, 0, 0);
        drawnText = text;
        drawnColor = color;
        drawnClip = clip;
    }
    Font* Duplicate() override { return new RecordingFont(*this); }

    Graphics* drawnBy = nullptr;
    Rect drawnAt;
    std::string drawnText;
    Color drawnColor;
    Rect drawnClip;
};

TEST(GraphicsTest, ContextWithoutDestinationDrawsNothingSafely) {
    Graphics g;
    SizedImage image(4, 4);
    g.SetColor(Color(255, 0, 0));
    g.FillRect(0, 0, 10, 10);
    g.DrawImage(&image, 0, 0);
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 0, 0));
    // With one, the clip starts as the whole destination.
    RecordingImage screen(800, 600);
    EXPECT_EQ(Graphics(&screen).GetClipRect(), Rect(0, 0, 800, 600));
}

TEST(GraphicsTest, FillAndOutlineWithZeroAlphaDrawNothingInAnyMode) {
    RecordingImage screen(100, 100);
    Graphics g(&screen);
    g.SetColor(Color(255, 255, 255, 0));
    for (DrawMode mode : {kDrawModeNormal, kDrawModeAdditive}) {
        g.SetDrawMode(mode);
        g.FillRect(0, 0, 10, 10);
        g.DrawRect(0, 0, 10, 10);
    }
    EXPECT_TRUE(screen.calls.empty());
}

TEST(GraphicsTest, FillRectIsTranslatedAndClipped) {
    RecordingImage screen(100, 100);
    Graphics g(&screen);
    g.SetColor(Color(1, 2, 3, 200));
    g.SetDrawMode(kDrawModeAdditive);
    g.Translate(10, 20);
    g.ClipRect(0, 0, 50, 50);  // (10, 20, 50, 50)
    g.FillRect(-20, 40, 100, 100);
    ASSERT_EQ(screen.calls.size(), 1u);
    EXPECT_EQ(screen.calls[0].dest, Rect(10, 60, 50, 10));
    EXPECT_EQ(screen.calls[0].color, Color(1, 2, 3, 200));
    EXPECT_EQ(screen.calls[0].mode, kDrawModeAdditive);
}

TEST(GraphicsTest, DrawRectInsideTheClipIsOneCallAndPartlyClippedIsFourStrips) {
    RecordingImage screen(100, 100);
    Graphics g(&screen);
    g.DrawRect(0, 0, 10, 10);
    ASSERT_EQ(screen.calls.size(), 1u);
    EXPECT_EQ(screen.calls[0].name, "DrawRect");
    EXPECT_EQ(screen.calls[0].dest, Rect(0, 0, 10, 10));

    screen.calls.clear();
    g.ClipRect(0, 0, 10, 100);  // cuts the right column of the 11-wide outline
    g.DrawRect(0, 0, 10, 10);
    ASSERT_EQ(screen.calls.size(), 3u);  // the right strip is clipped away entirely
    EXPECT_EQ(screen.calls[0].dest, Rect(0, 0, 10, 1));
    EXPECT_EQ(screen.calls[1].dest, Rect(0, 10, 10, 1));
    EXPECT_EQ(screen.calls[2].dest, Rect(0, 1, 1, 9));
}

// One image drawn at a position, with a translation, a clip and mirroring: the back end gets
// the visible part only, the source cut on the matching (for a mirrored image, the opposite)
// side, and fractional translations truncated toward zero.
TEST(GraphicsTest, DrawImageClipsTheSourceWithTheDestination) {
    struct Case {
        float translate;
        Rect clip;
        int x, y;
        int mirrored;  // -1: plain DrawImage, 0/1: DrawImageFlipped
        const char* call;
        Rect dest, source;
    };
    const Case cases[] = {
        {0, Rect(0, 0, 100, 100), -3, -2, -1, "Blit", Rect(0, 0, 7, 8), Rect(3, 2, 7, 8)},
        {0, Rect(20, 20, 5, 5), 18, 22, -1, "Blit", Rect(20, 22, 5, 3), Rect(2, 0, 5, 3)},
        // -1 + 0.5 = -0.5 truncates to 0, not -1: the whole image shows.
        {0.5f, Rect(0, 0, 100, 100), -1, -1, -1, "Blit", Rect(0, 0, 10, 10), Rect(0, 0, 10, 10)},
        // The three columns cut off on the left are the mirrored source's rightmost three.
        {0, Rect(0, 0, 20, 20), -3, 0, 1, "BlitFlipped", Rect(0, 0, 7, 10), Rect(0, 0, 7, 10)},
        {0, Rect(0, 0, 20, 20), 15, 2, 1, "BlitFlipped", Rect(15, 2, 5, 10), Rect(5, 0, 5, 10)},
        {0, Rect(0, 0, 20, 20), 0, 0, 0, "Blit", Rect(0, 0, 10, 10), Rect(0, 0, 10, 10)},
    };
    SizedImage image(10, 10);
    for (const Case& c : cases) {
        RecordingImage screen(100, 100);
        Graphics g(&screen);
        g.TranslateF(c.translate, c.translate);
        g.ClipRect(c.clip.x, c.clip.y, c.clip.width, c.clip.height);
        if (c.mirrored < 0) {
            g.DrawImage(&image, c.x, c.y);
        } else {
            g.DrawImageFlipped(&image, c.x, c.y, Rect(0, 0, 10, 10), c.mirrored == 1);
        }
        ASSERT_EQ(screen.calls.size(), 1u) << c.x << "," << c.y;
        EXPECT_EQ(screen.calls[0].name, c.call);
        EXPECT_EQ(screen.calls[0].dest, c.dest) << c.x << "," << c.y;
        EXPECT_EQ(screen.calls[0].sourceRect, c.source) << c.x << "," << c.y;
        EXPECT_EQ(screen.calls[0].color, kColorWhite);
    }
    RecordingImage screen(100, 100);
    Graphics g(&screen);
    g.ClipRect(20, 20, 5, 5);
    g.DrawImage(&image, 50, 50);  // wholly outside the clip
    EXPECT_TRUE(screen.calls.empty());
}

TEST(GraphicsTest, SourceRectPastTheImageEdgeDrawsNothing) {
    RecordingImage screen(100, 100);
    SizedImage image(10, 10);
    Graphics g(&screen);
    g.DrawImage(&image, 0, 0, Rect(1, 0, 10, 10));
    g.DrawImage(&image, 0, 0, Rect(0, 5, 10, 6));
    g.DrawImage(&image, 0, 0, Rect(-1, 0, 5, 5));
    g.DrawImageFlipped(&image, 0, 0, Rect(1, 0, 10, 10), true);
    g.SetScale(2, 2, 0, 0);
    g.DrawImage(&image, 0, 0, Rect(1, 0, 10, 10));
    EXPECT_TRUE(screen.calls.empty());
    g.DrawImage(&image, 0, 0, Rect(0, 0, 10, 10));
    EXPECT_EQ(screen.calls.size(), 1u);
}

TEST(GraphicsTest, ScaledDrawingStretchesToTheCeilingSize) {
    RecordingImage screen(100, 100);
    SizedImage image(3, 3);
    Graphics g(&screen);
    g.SetQuickScaling(true);
    g.SetScale(2, 2, 0, 0);
    g.DrawImage(&image, 5, 7);
    ASSERT_EQ(screen.calls.size(), 1u);
    EXPECT_EQ(screen.calls[0].name, "StretchBlit");
    EXPECT_EQ(screen.calls[0].dest, Rect(10, 14, 6, 6));
    EXPECT_EQ(screen.calls[0].sourceRect, Rect(0, 0, 3, 3));
    EXPECT_TRUE(screen.calls[0].flag);

    screen.calls.clear();
    g.SetScale(0.5f, 0.5f, 10, 10);
    g.DrawImage(&image, 5, 7);
    ASSERT_EQ(screen.calls.size(), 1u);
    // x = floor((5 - 10) * 0.5) + 10 = 7, y = floor((7 - 10) * 0.5) + 10 = 8; 3 * 0.5 -> 2.
    EXPECT_EQ(screen.calls[0].dest, Rect(7, 8, 2, 2));
}

TEST(GraphicsTest, StretchedAndFlippedStretchedMoveTheDestination) {
    RecordingImage screen(100, 100);
    SizedImage image(10, 10);
    Graphics g(&screen);
    g.Translate(3, 4);
    g.DrawImage(&image, Rect(1, 1, 20, 30), Rect(0, 0, 10, 10));
    g.DrawImageFlipped(&image, Rect(1, 1, 20, 30), Rect(0, 0, 10, 10), true);
    g.DrawImageFlipped(&image, Rect(1, 1, 20, 30), Rect(0, 0, 10, 10), false);
    ASSERT_EQ(screen.calls.size(), 3u);
    EXPECT_EQ(screen.calls[0].name, "StretchBlit");
    EXPECT_EQ(screen.calls[0].dest, Rect(4, 5, 20, 30));
    EXPECT_EQ(screen.calls[0].clip, Rect(0, 0, 100, 100));
    EXPECT_EQ(screen.calls[1].name, "StretchBlitFlipped");
    EXPECT_EQ(screen.calls[1].dest, Rect(4, 5, 20, 30));
    EXPECT_EQ(screen.calls[2].name, "StretchBlit");
}

TEST(GraphicsTest, ModulationColourFollowsTintImages) {
    RecordingImage screen(100, 100);
    SizedImage image(4, 4);
    Graphics g(&screen);
    g.SetColor(Color(10, 20, 30, 40));
    g.DrawImage(&image, 0, 0);
    g.SetTintImages(true);
    EXPECT_TRUE(g.GetTintImages());
    g.DrawImage(&image, 0, 0);
    g.DrawImageAt(&image, 0.25f, 0.75f, Rect(0, 0, 4, 4));
    ASSERT_EQ(screen.calls.size(), 3u);
    EXPECT_EQ(screen.calls[0].color, kColorWhite);
    EXPECT_EQ(screen.calls[1].color, Color(10, 20, 30, 40));
    EXPECT_EQ(screen.calls[2].color, Color(10, 20, 30, 40));
}

TEST(GraphicsTest, SubPixelAndRotatedDrawingKeepFractions) {
    RecordingImage screen(100, 100);
    SizedImage image(9, 6);
    Graphics g(&screen);
    g.TranslateF(0.5f, 1.25f);
    g.DrawImageAt(&image, 2.25f, 3.5f, Rect(1, 1, 4, 4));
    g.DrawImageRotatedAt(&image, 1.5f, 2.5f, 0.3, 4.5f, 3.5f);
    const Rect part(0, 0, 5, 3);
    g.DrawImageRotated(&image, 10, 20, 1.0, &part);
    g.DrawImageRotated(&image, 10, 20, 1.0);
    ASSERT_EQ(screen.calls.size(), 4u);
    EXPECT_EQ(screen.calls[0].name, "BlitAt");
    EXPECT_FLOAT_EQ(screen.calls[0].x, 2.75f);
    EXPECT_FLOAT_EQ(screen.calls[0].y, 4.75f);
    EXPECT_EQ(screen.calls[1].name, "BlitRotated");
    EXPECT_FLOAT_EQ(screen.calls[1].x, 2.0f);
    EXPECT_EQ(screen.calls[1].sourceRect, Rect(0, 0, 9, 6));
    EXPECT_FLOAT_EQ(screen.calls[1].cx, 4.5f);
    // Integer halves of the source rect, or of the image without one.
    EXPECT_EQ(screen.calls[2].sourceRect, part);
    EXPECT_FLOAT_EQ(screen.calls[2].cx, 2);
    EXPECT_FLOAT_EQ(screen.calls[2].cy, 1);
    EXPECT_FLOAT_EQ(screen.calls[2].x, 10.5f);
    EXPECT_FLOAT_EQ(screen.calls[3].cx, 4);
    EXPECT_FLOAT_EQ(screen.calls[3].cy, 3);
}

TEST(GraphicsTest, StateStackAndCopies) {
    RecordingImage screen(100, 100);
    Graphics g(&screen);
    g.RestoreState();  // empty stack: nothing changes
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 100, 100));

    g.SetColor(Color(1, 2, 3));
    g.SaveState();
    g.SetColor(Color(4, 5, 6));
    g.Translate(5, 5);
    g.ClipRect(0, 0, 10, 10);
    g.SetDrawMode(kDrawModeAdditive);

    Graphics copy(g);
    EXPECT_EQ(copy.SavedStateCount(), 0u);
    EXPECT_EQ(copy.GetColor(), Color(4, 5, 6));
    EXPECT_EQ(copy.GetClipRect(), Rect(5, 5, 10, 10));
    std::unique_ptr<Graphics> created(g.Create());
    EXPECT_EQ(created->GetDrawMode(), kDrawModeAdditive);
    EXPECT_EQ(created->SavedStateCount(), 0u);

    g.RestoreState();
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3));
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 100, 100));
    EXPECT_EQ(g.GetTranslateX(), 0);
    EXPECT_EQ(g.GetDrawMode(), kDrawModeNormal);
    EXPECT_EQ(g.SavedStateCount(), 0u);
}

TEST(GraphicsTest, ClipOnlyNarrows) {
    RecordingImage screen(100, 100);
    Graphics g(&screen);
    g.ClipRect(10, 10, 20, 20);
    g.ClipRect(0, 0, 100, 100);
    EXPECT_EQ(g.GetClipRect(), Rect(10, 10, 20, 20));
    g.ClipRect(50, 50, 5, 5);
    EXPECT_TRUE(g.GetClipRect().IsEmpty());
}

TEST(GraphicsTest, DrawStringGoesThroughTheFont) {
    RecordingImage screen(100, 100);
    Graphics g(&screen);
    g.DrawString("nothing", 1, 2);  // no font: nothing happens
    RecordingFont font;
    g.SetFont(&font);
    g.SetColor(Color(9, 8, 7));
    g.ClipRect(1, 1, 50, 50);
    g.DrawString("Score", 3, 4);
    EXPECT_EQ(font.drawnBy, &g);
    EXPECT_EQ(font.drawnAt, Rect(3, 4, 0, 0));
    EXPECT_EQ(font.drawnText, "Score");
    EXPECT_EQ(font.drawnColor, Color(9, 8, 7));
    EXPECT_EQ(font.drawnClip, Rect(1, 1, 50, 50));
}

class TransformRouteTest : public ::testing::Test {
protected:
    RecordingImage screen{200, 200};
    SizedImage image{20, 10};
    Graphics g{&screen};
};

TEST_F(TransformRouteTest, PlainTransformIsAPlainBlitAroundTheCentre) {
    Affine2D transform;
    transform.Translate(3, 4);
    g.DrawImageWithTransform(&image, transform, 50, 60);
    ASSERT_EQ(screen.calls.size(), 1u);
    EXPECT_EQ(screen.calls[0].name, "Blit");
    // 50 + 3 - 10 + 0.5 -> 43; 60 + 4 - 5 + 0.5 -> 59
    EXPECT_EQ(screen.calls[0].dest, Rect(43, 59, 20, 10));

    screen.calls.clear();
    g.DrawImageWithTransform(&image, transform, Rect(0, 0, 20, 10), 50.25f, 60, true);
    ASSERT_EQ(screen.calls.size(), 1u);
    EXPECT_EQ(screen.calls[0].name, "BlitAt");
    EXPECT_FLOAT_EQ(screen.calls[0].x, 43.75f);
    EXPECT_FLOAT_EQ(screen.calls[0].y, 59.5f);
}

TEST_F(TransformRouteTest, RotationRoute) {
    Affine2D transform;
    transform.PreTranslate(2, 1);
    transform.RotateRad(0.5f);
    transform.Translate(5, 6);
    g.DrawImageWithTransform(&image, transform, Rect(0, 0, 20, 10), 100, 100, true);
    g.DrawImageWithTransform(&image, transform, Rect(0, 0, 20, 10), 100, 100, false);
    ASSERT_EQ(screen.calls.size(), 2u);
    EXPECT_EQ(screen.calls[0].name, "BlitRotated");
    // cx = 10 - 2, cy = 5 - 1; px = 5 + 100 - 8 + 0.5, py = 6 + 100 - 4 + 0.5
    EXPECT_FLOAT_EQ(screen.calls[0].cx, 8);
    EXPECT_FLOAT_EQ(screen.calls[0].cy, 4);
    EXPECT_FLOAT_EQ(screen.calls[0].x, 97.5f);
    EXPECT_FLOAT_EQ(screen.calls[0].y, 102.5f);
    EXPECT_DOUBLE_EQ(screen.calls[0].angle, 0.5f);
    EXPECT_FLOAT_EQ(screen.calls[1].x, 97);
    EXPECT_FLOAT_EQ(screen.calls[1].y, 102);
}

TEST_F(TransformRouteTest, ScaleRoutes) {
    Affine2D mirror;
    mirror.Scale(-1, 1);
    g.DrawImageWithTransform(&image, mirror, 50, 60);
    Affine2D doubled;
    doubled.Scale(2, 3);
    g.DrawImageWithTransform(&image, doubled, 50, 60);
    Affine2D mirrorDoubled;
    mirrorDoubled.Scale(-1, 1);
    mirrorDoubled.Scale(2, 1);
    EXPECT_FALSE(mirrorDoubled.IsComplex());
    g.DrawImageWithTransform(&image, mirrorDoubled, 50, 60);
    ASSERT_EQ(screen.calls.size(), 3u);
    EXPECT_EQ(screen.calls[0].name, "BlitFlipped");
    EXPECT_EQ(screen.calls[0].dest, Rect(40, 55, 20, 10));
    EXPECT_EQ(screen.calls[1].name, "StretchBlit");
    EXPECT_EQ(screen.calls[1].dest, Rect(30, 45, 40, 30));
    // A mirror with a size change stays mirrored (a negative width would draw nothing).
    EXPECT_EQ(screen.calls[2].name, "StretchBlitFlipped");
    EXPECT_EQ(screen.calls[2].dest, Rect(30, 55, 40, 10));
}

TEST_F(TransformRouteTest, ComplexOrAcceleratedSubPixelGoesThroughTheMatrix) {
    Affine2D transform;
    transform.RotateDeg(45);
    transform.Scale(2, 2);
    g.SetSmoothSampling(true);
    g.DrawImageWithTransform(&image, transform, 70, 80);
    ASSERT_EQ(screen.calls.size(), 1u);
    EXPECT_EQ(screen.calls[0].name, "BlitWithMatrix");
    EXPECT_EQ(screen.calls[0].matrix, transform.GetMatrix());
    EXPECT_FLOAT_EQ(screen.calls[0].x, 70);
    EXPECT_TRUE(screen.calls[0].flag);

    RecordingImage accelerated(100, 100, true);
    Graphics onCard(&accelerated);
    Affine2D plain;
    onCard.DrawImageWithTransform(&image, plain, Rect(0, 0, 20, 10), 5, 5, true);
    onCard.DrawImageWithTransform(&image, plain, Rect(0, 0, 20, 10), 5, 5, false);
    ASSERT_EQ(accelerated.calls.size(), 2u);
    EXPECT_EQ(accelerated.calls[0].name, "BlitWithMatrix");
    EXPECT_EQ(accelerated.calls[1].name, "Blit");
}

// A 6 x 6 picture whose nine 2 x 2 parts have the colours 0xFF000001 .. 0xFF000009, row by row.
void MakeNinePartPicture(MemoryImage& picture) {
    picture.Create(6, 6);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            picture.GetBits()[y * 6 + x] =
                0xFF000000u | static_cast<uint32_t>((y / 2) * 3 + x / 2 + 1);
        }
    }
    picture.BitsChanged();
}

TEST(NineSliceTest, CornersStayEdgesRepeatAndCentreTiles) {
    MemoryImage picture;
    MakeNinePartPicture(picture);
    MemoryImage screen(32, 24);
    Graphics g(&screen);
    const Rect dest(10, 10, 11, 7);
    g.DrawImageNineSlice(dest, &picture);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 32; ++x) {
            uint32_t expected = 0;
            if (dest.Contains(x, y)) {
                const int column = x < 12 ? 0 : x >= 19 ? 2 : 1;
                const int row = y < 12 ? 0 : y >= 15 ? 2 : 1;
                expected = 0xFF000000u | static_cast<uint32_t>(row * 3 + column + 1);
            }
            ASSERT_EQ(screen.GetPixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(NineSliceTest, NarrowDestinationStillDrawsTheCornersAndNoEdges) {
    MemoryImage picture;
    MakeNinePartPicture(picture);
    MemoryImage screen(20, 20);
    Graphics g(&screen);
    g.DrawImageNineSlice(Rect(0, 0, 6, 6), Rect(10, 10, 3, 3), &picture);
    // Top-left corner at 10..11, top-right at 11..12 drawn after it; bottom ones at row 11..12.
    EXPECT_EQ(screen.GetPixel(10, 10), 0xFF000001u);
    EXPECT_EQ(screen.GetPixel(11, 10), 0xFF000003u);
    EXPECT_EQ(screen.GetPixel(12, 10), 0xFF000003u);
    EXPECT_EQ(screen.GetPixel(10, 12), 0xFF000007u);
    EXPECT_EQ(screen.GetPixel(12, 12), 0xFF000009u);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const uint32_t part = screen.GetPixel(x, y) & 0xFF;
            EXPECT_TRUE(part == 0 || part == 1 || part == 3 || part == 7 || part == 9)
                << x << "," << y << " shows part " << part;
        }
    }
    // An empty source rect draws nothing.
    MemoryImage empty(20, 20);
    Graphics nothing(&empty);
    nothing.DrawImageNineSlice(Rect(0, 0, 0, 6), Rect(0, 0, 10, 10), &picture);
    EXPECT_EQ(empty.GetPixel(0, 0), 0u);
}

}  // namespace
}  // namespace Tuvo
