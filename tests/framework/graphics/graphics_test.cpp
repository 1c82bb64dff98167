#include "framework/graphics/graphics.h"

#include <iterator>
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

    Call& At(float atX, float atY) {
        x = atX;
        y = atY;
        return *this;
    }
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
        Add("FillRect", nullptr, Rect(), color, mode).dest = rect;
    }
    void DrawRect(const Rect& rect, const Color& color, DrawMode mode) override {
        Add("DrawRect", nullptr, Rect(), color, mode).dest = rect;
    }
    void Blit(Image* source, int x, int y, const Rect& sourceRect, const Color& color,
              DrawMode mode) override {
        Add("Blit", source, sourceRect, color, mode).dest =
            Rect(x, y, sourceRect.width, sourceRect.height);
    }
    void BlitFlipped(Image* source, int x, int y, const Rect& sourceRect, const Color& color,
                     DrawMode mode) override {
        Add("BlitFlipped", source, sourceRect, color, mode).dest =
            Rect(x, y, sourceRect.width, sourceRect.height);
    }
    void BlitAt(Image* source, float x, float y, const Rect& sourceRect, const Rect& clip,
                const Color& color, DrawMode mode) override {
        Add("BlitAt", source, sourceRect, color, mode).At(x, y).clip = clip;
    }
    void BlitRotated(Image* source, float x, float y, const Rect& sourceRect, const Rect& clip,
                     const Color& color, DrawMode mode, double angle, float cx, float cy) override {
        Call& call = Add("BlitRotated", source, sourceRect, color, mode).At(x, y);
        call.clip = clip;
        call.angle = angle;
        call.cx = cx;
        call.cy = cy;
    }
    void StretchBlit(Image* source, const Rect& destRect, const Rect& sourceRect, const Rect& clip,
                     const Color& color, DrawMode mode, bool fastStretch) override {
        AddStretch("StretchBlit", source, destRect, sourceRect, clip, color, mode, fastStretch);
    }
    void StretchBlitFlipped(Image* source, const Rect& destRect, const Rect& sourceRect,
                            const Rect& clip, const Color& color, DrawMode mode,
                            bool fastStretch) override {
        AddStretch("StretchBlitFlipped", source, destRect, sourceRect, clip, color, mode,
                   fastStretch);
    }
    void BlitWithMatrix(Image* source, float x, float y, const Matrix3x3& matrix, const Rect& clip,
                        const Color& color, DrawMode mode, const Rect& sourceRect,
                        bool linearBlend) override {
        Call& call = Add("BlitWithMatrix", source, sourceRect, color, mode).At(x, y);
        call.clip = clip;
        call.flag = linearBlend;
        call.matrix = matrix;
    }

    std::vector<Call> calls;

private:
    Call& Add(const char* name, Image* source, const Rect& sourceRect, const Color& color,
              DrawMode mode) {
        calls.push_back({.name = name, .source = source, .sourceRect = sourceRect});
        calls.back().color = color;
        calls.back().mode = mode;
        return calls.back();
    }
    void AddStretch(const char* name, Image* source, const Rect& destRect, const Rect& sourceRect,
                    const Rect& clip, const Color& color, DrawMode mode, bool fastStretch) {
        Call& call = Add(name, source, sourceRect, color, mode);
        call.dest = destRect;
        call.clip = clip;
        call.flag = fastStretch;
    }
};

// A source image of a given size (its pixels never matter here).
class SizedImage : public Image {
public:
    SizedImage(int width, int height) {
        width_ = width;
        height_ = height;
    }
};

TEST(GraphicsTest, FillsAreTranslatedClippedAndSkippedWhenInvisible) {
    Graphics none;  // no destination: draws nothing, safely
    SizedImage image(4, 4);
    none.FillRect(0, 0, 10, 10);
    none.DrawImage(&image, 0, 0);
    EXPECT_EQ(none.GetClipRect(), Rect(0, 0, 0, 0));

    RecordingImage screen(100, 100);
    Graphics g(&screen);
    g.SetColor(Color(255, 255, 255, 0));
    for (DrawMode mode : {kDrawModeNormal, kDrawModeAdditive}) {
        g.SetDrawMode(mode);
        g.FillRect(0, 0, 10, 10);
        g.DrawRect(0, 0, 10, 10);
    }
    EXPECT_TRUE(screen.calls.empty());  // zero alpha draws nothing in any mode

    g.SetColor(Color(1, 2, 3, 200));
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

    // Through a transform (x, y) is where the centre goes, whole or sub-pixel.
    RecordingImage transformed(200, 200);
    Graphics t(&transformed);
    SizedImage wide(20, 10);
    Affine2D moved;
    moved.Translate(3, 4);
    t.DrawImageWithTransform(&wide, moved, Rect(0, 0, 20, 10), 50.25f, 60, true);
    Affine2D turned;
    turned.PreTranslate(2, 1);
    turned.RotateRad(0.5f);
    turned.Translate(5, 6);
    t.DrawImageWithTransform(&wide, turned, Rect(0, 0, 20, 10), 100, 100, true);
    t.DrawImageWithTransform(&wide, turned, Rect(0, 0, 20, 10), 100, 100, false);
    ASSERT_EQ(transformed.calls.size(), 3u);
    EXPECT_FLOAT_EQ(transformed.calls[0].x, 43.75f);
    EXPECT_FLOAT_EQ(transformed.calls[0].y, 59.5f);
    EXPECT_EQ(transformed.calls[1].name, "BlitRotated");
    // cx = 10 - 2, cy = 5 - 1; x = 5 + 100 - 8 + 0.5, y = 6 + 100 - 4 + 0.5
    EXPECT_FLOAT_EQ(transformed.calls[1].cx, 8);
    EXPECT_FLOAT_EQ(transformed.calls[1].cy, 4);
    EXPECT_FLOAT_EQ(transformed.calls[1].x, 97.5f);
    EXPECT_FLOAT_EQ(transformed.calls[1].y, 102.5f);
    EXPECT_DOUBLE_EQ(transformed.calls[1].angle, 0.5f);
    EXPECT_FLOAT_EQ(transformed.calls[2].x, 97);
    EXPECT_FLOAT_EQ(transformed.calls[2].y, 102);
}

TEST(GraphicsTest, StateStackCopiesClipAndTint) {
    RecordingImage screen(100, 100);
    Graphics g(&screen);
    g.RestoreState();  // empty stack: nothing changes
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 100, 100));
    g.SetColor(Color(1, 2, 3));
    g.SaveState();
    g.SetColor(Color(4, 5, 6));
    g.Translate(5, 5);
    g.ClipRect(0, 0, 10, 10);
    g.ClipRect(-50, -50, 100, 100);  // the clip only narrows
    EXPECT_EQ(g.GetClipRect(), Rect(5, 5, 10, 10));
    Graphics copy(g);  // the whole state and an empty stack
    EXPECT_EQ(copy.SavedStateCount(), 0u);
    EXPECT_EQ(copy.GetClipRect(), Rect(5, 5, 10, 10));
    g.RestoreState();
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3));
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 100, 100));
    EXPECT_EQ(g.GetTranslateX(), 0);

    // Images are modulated by the colour only while tinting.
    SizedImage image(4, 4);
    g.SetColor(Color(10, 20, 30, 40));
    g.DrawImage(&image, 0, 0);
    g.SetTintImages(true);
    g.DrawImageAt(&image, 0.25f, 0.75f, Rect(0, 0, 4, 4));
    ASSERT_EQ(screen.calls.size(), 2u);
    EXPECT_EQ(screen.calls[0].color, kColorWhite);
    EXPECT_EQ(screen.calls[1].color, Color(10, 20, 30, 40));
}

// Which back-end call a drawing becomes, and where: the cheapest one that draws it exactly.
TEST(GraphicsTest, EachDrawingTakesTheCheapestRoute) {
    Affine2D moved;
    moved.Translate(3, 4);
    Affine2D mirror;
    mirror.Scale(-1, 1);
    Affine2D doubled;
    doubled.Scale(2, 3);
    Affine2D mirrorDoubled;
    mirrorDoubled.Scale(-1, 1);
    mirrorDoubled.Scale(2, 1);
    const Rect all(0, 0, 20, 10);
    SizedImage image(20, 10);
    RecordingImage screen(200, 200);
    Graphics g(&screen);
    g.SetQuickScaling(true);
    g.DrawImageWithTransform(&image, moved, 50, 60);
    g.DrawImageWithTransform(&image, moved, all, 50.25f, 60, true);
    g.DrawImageWithTransform(&image, mirror, 50, 60);
    g.DrawImageWithTransform(&image, doubled, 50, 60);
    g.DrawImageWithTransform(&image, mirrorDoubled, 50, 60);
    g.DrawImageFlipped(&image, Rect(1, 1, 20, 30), all, true);
    g.DrawImageFlipped(&image, Rect(1, 1, 20, 30), all, false);
    g.Translate(3, 4);
    g.DrawImage(&image, Rect(1, 1, 20, 30), all);
    g.Translate(-3, -4);
    g.SetScale(2, 2, 0, 0);
    g.DrawImage(&image, 5, 7);
    g.SetScale(0.5f, 0.5f, 10, 10);
    g.SetQuickScaling(false);
    g.DrawImage(&image, 5, 7);
    const struct {
        const char* call;
        Rect dest;
    } expected[] = {
        // Through a transform (x, y) is where the centre goes: 50 + 3 - 10 + 0.5 -> 43,
        // 60 + 4 - 5 + 0.5 -> 59.
        {"Blit", Rect(43, 59, 20, 10)},
        {"BlitAt", Rect()},
        {"BlitFlipped", Rect(40, 55, 20, 10)},
        {"StretchBlit", Rect(30, 45, 40, 30)},
        // A mirror with a size change stays mirrored (a negative width would draw nothing).
        {"StretchBlitFlipped", Rect(30, 55, 40, 10)},
        {"StretchBlitFlipped", Rect(1, 1, 20, 30)},
        {"StretchBlit", Rect(1, 1, 20, 30)},
        {"StretchBlit", Rect(4, 5, 20, 30)},
        // Scaled: the ceiling size, the position scaled about the origin and floored.
        {"StretchBlit", Rect(10, 14, 40, 20)},
        {"StretchBlit", Rect(7, 8, 10, 5)},
    };
    ASSERT_EQ(screen.calls.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(screen.calls[i].name, expected[i].call) << i;
        EXPECT_EQ(screen.calls[i].dest, expected[i].dest) << i;
        EXPECT_EQ(screen.calls[i].sourceRect, all) << i;
    }
    EXPECT_EQ(screen.calls[3].clip, Rect(0, 0, 200, 200));
    EXPECT_TRUE(screen.calls[8].flag);  // quick scaling as set for each draw
    EXPECT_FALSE(screen.calls[9].flag);
}

// A rotation, a scale with a rotation or a pre-translation, or sub-pixel drawing on an
// accelerated destination go through the matrix.
TEST(GraphicsTest, ComplexOrAcceleratedSubPixelGoesThroughTheMatrix) {
    RecordingImage screen(200, 200);
    SizedImage image(20, 10);
    Graphics g(&screen);
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
