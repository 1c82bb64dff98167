// The drawing context: holds the drawing state (colour, mode, clip, translation, scale, font),
// turns each request into clipped destination coordinates and hands it to the destination
// image's back-end operations. Positions are translated and truncated toward zero; the common
// unscaled image reaches the back end as a plain Blit of an already clipped rectangle.
#pragma once

#include <vector>

#include "framework/graphics/affine2d.h"
#include "framework/graphics/color.h"
#include "framework/graphics/draw_mode.h"
#include "framework/graphics/font.h"
#include "framework/graphics/image.h"
#include "framework/graphics/matrix.h"
#include "framework/graphics/rect.h"

namespace Tuvo {

struct GraphicsState {
    Image* destination = nullptr;  // not owned
    float translateX = 0;
    float translateY = 0;
    float scaleX = 1;
    float scaleY = 1;
    float scaleOriginX = 0;
    float scaleOriginY = 0;
    Rect clip;
    Color color;
    Font* font = nullptr;  // not owned
    DrawMode drawMode = kDrawModeNormal;
    bool colorizeImages = false;
    bool fastStretch = false;
    bool writeColoredString = true;
    bool linearBlend = false;
    bool destinationIsAccelerated = false;
};

class Graphics {
public:
    // Draws into destination (not owned); without one, into an empty image, so nothing shows.
    explicit Graphics(Image* destination = nullptr);
    // A copy has the whole state and an empty state stack.
    Graphics(const Graphics& other);
    Graphics& operator=(const Graphics& other);
    ~Graphics();

    // A heap copy of this context; the caller deletes it.
    Graphics* Create() const;

    Image* GetDestination() const { return state_.destination; }
    const GraphicsState& GetState() const { return state_; }

    void SetColor(const Color& color) { state_.color = color; }
    const Color& GetColor() const { return state_.color; }
    void SetDrawMode(DrawMode mode) { state_.drawMode = mode; }
    DrawMode GetDrawMode() const { return state_.drawMode; }
    // When on, images are modulated by the current colour.
    void SetTintImages(bool tint) { state_.colorizeImages = tint; }
    bool GetTintImages() const { return state_.colorizeImages; }
    // Nearest-pixel stretching instead of smooth.
    void SetQuickScaling(bool quick) { state_.fastStretch = quick; }
    // Bilinear sampling for matrix drawing.
    void SetSmoothSampling(bool smooth) { state_.linearBlend = smooth; }
    void SetFont(Font* font) { state_.font = font; }
    Font* GetFont() const { return state_.font; }
    void SetColoredText(bool colored) { state_.writeColoredString = colored; }
    // Scale of later image drawing about the origin (destination pixels).
    void SetScale(float scaleX, float scaleY, float originX, float originY);

    void Translate(int dx, int dy);
    // Fractional translation (children placed at sub-pixel positions).
    void TranslateF(float dx, float dy);
    float GetTranslateX() const { return state_.translateX; }
    float GetTranslateY() const { return state_.translateY; }
    // clip = clip ∩ (translated x, y, w, h): the clip only narrows.
    void ClipRect(int x, int y, int width, int height);
    const Rect& GetClipRect() const { return state_.clip; }

    void SaveState();
    // Restores the last saved state; an empty stack leaves the state alone.
    void RestoreState();
    size_t SavedStateCount() const { return stack_.size(); }

    void FillRect(int x, int y, int width, int height);
    void FillRect(const Rect& rect) { FillRect(rect.x, rect.y, rect.width, rect.height); }
    // A (w + 1) x (h + 1) outline.
    void DrawRect(int x, int y, int width, int height);
    void DrawRect(const Rect& rect) { DrawRect(rect.x, rect.y, rect.width, rect.height); }
    void DrawString(const std::string& text, int x, int y);

    void DrawImage(Image* image, int x, int y);
    // Nothing is drawn when source reaches past the image's right or bottom edge.
    void DrawImage(Image* image, int x, int y, const Rect& source);
    // Stretched.
    void DrawImage(Image* image, const Rect& dest, const Rect& source);
    // Sub-pixel placement, no rounding.
    void DrawImageAt(Image* image, float x, float y, const Rect& source);
    void DrawImageFlipped(Image* image, int x, int y, const Rect& source, bool mirror);
    void DrawImageFlipped(Image* image, const Rect& dest, const Rect& source, bool mirror);
    // Angle in radians; source null means the whole image.
    void DrawImageRotatedAt(Image* image, float x, float y, double angle, float centerX,
                            float centerY, const Rect* source = nullptr);
    // Rotates about the centre of the source rect (or image), in integer halves.
    void DrawImageRotated(Image* image, int x, int y, double angle, const Rect* source = nullptr);
    void DrawImageRotated(Image* image, int x, int y, double angle, int centerX, int centerY,
                          const Rect* source = nullptr);
    void DrawImageWithMatrix(Image* image, const Matrix3x3& matrix, const Rect& source, float x,
                             float y);
    // (x, y) is where the centre of the source rect goes; picks the cheapest route.
    void DrawImageWithTransform(Image* image, Affine2D& transform, const Rect& source, float x,
                                float y, bool subpixel);
    void DrawImageWithTransform(Image* image, Affine2D& transform, float x, float y);
    void DrawImageNineSlice(const Rect& dest, Image* image);
    void DrawImageNineSlice(const Rect& source, const Rect& dest, Image* image);

private:
    int TranslatedX(int x) const;
    int TranslatedY(int y) const;
    Color ModulationColor() const;
    static bool SourceFits(const Image* image, const Rect& source);

    GraphicsState state_;
    std::vector<GraphicsState> stack_;
};

}  // namespace Tuvo
