// Base of every drawable image and the back-end interface of the drawing interface: the drawing
// context clips and translates each request and hands it to these operations of its
// destination image. Coordinates are destination pixels; where a clip rectangle is passed the
// back end applies it itself. The base draws nothing (except DrawRect and FillSpans, which it
// builds from FillRect), so a drawing context without a real destination draws nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/graphics/color.h"
#include "framework/graphics/draw_mode.h"
#include "framework/graphics/matrix.h"
#include "framework/graphics/rect.h"

namespace Tuvo {

// A polygon corner for FillPolygon.
struct PointF {
    float x = 0;
    float y = 0;
};

// A corner of a textured triangle: position, texture coordinates (0..1 across the texture) and
// a colour (0xAARRGGBB) that modulates the texture together with the call's colour.
struct TriVertex {
    float x = 0;
    float y = 0;
    float u = 0;
    float v = 0;
    uint32_t color = 0xFFFFFFFF;
};

// How an image made of several frames is played; the image owns it.
struct ImageAnimation {
    int frameDelayMs = 0;
    int frameCount = 0;
};

class Image {
public:
    Image() = default;
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    const std::string& GetFilePath() const { return filePath_; }
    void SetFilePath(const std::string& path) { filePath_ = path; }
    int GetNumRows() const { return numRows_; }
    int GetNumCols() const { return numCols_; }
    void SetCells(int rows, int columns);
    const ImageAnimation* GetAnimation() const { return animation_.get(); }
    void SetAnimation(std::unique_ptr<ImageAnimation> animation);
    // Set on a source image by every back-end operation that draws it.
    bool HasBeenDrawn() const { return hasBeenDrawn_; }
    void SetHasBeenDrawn(bool drawn) { hasBeenDrawn_ = drawn; }
    // Whether the image lives in an accelerated back end (none exists yet on this platform).
    bool IsAccelerated() const { return isAccelerated_; }

    // Slot 1. Fills a polygon whose corners are moved by (tx, ty); false when the image can't.
    virtual bool FillPolygon(const PointF* vertices, int vertexCount, const Rect* clip,
                             const Color& color, DrawMode mode, float tx, float ty);
    // Slot 2. Normal mode: alpha 255 writes the colour, a lower alpha blends over.
    virtual void FillRect(const Rect& rect, const Color& color, DrawMode mode);
    // Slot 3. A (w + 1) x (h + 1) outline from four FillRect calls.
    virtual void DrawRect(const Rect& rect, const Color& color, DrawMode mode);
    // Slot 4. Sets every pixel of the rectangle to 0 (transparent black).
    virtual void ClearRect(const Rect& rect);
    // Slot 5. Aliased line.
    virtual void DrawLine(double x1, double y1, double x2, double y2, const Color& color,
                          DrawMode mode);
    // Slot 6. Anti-aliased line.
    virtual void DrawSmoothLine(double x1, double y1, double x2, double y2, const Color& color,
                                DrawMode mode);
    // Slot 7. One FillRect (x, y, width, 1) per span.
    virtual void FillSpans(const Span* spans, int spanCount, const Color& color, DrawMode mode);
    // Slot 8. Per pixel alpha = colour alpha x (coverage + 1) / 256, the coverage byte of pixel
    // (x, y) being coverage[(y - coverY) x coverWidth + x - coverX].
    virtual void FillSpansWithCoverage(const Span* spans, int spanCount, const Color& color,
                                       DrawMode mode, const uint8_t* coverage, int coverX,
                                       int coverY, int coverWidth, int coverHeight);
    // Slot 9. Copies source rect with its top-left at (x, y); already clipped by the caller.
    virtual void Blit(Image* source, int x, int y, const Rect& sourceRect, const Color& color,
                      DrawMode mode);
    // Slot 10. Sub-pixel placement of the source rect's top-left at (x, y).
    virtual void BlitAt(Image* source, float x, float y, const Rect& sourceRect, const Rect& clip,
                        const Color& color, DrawMode mode);
    // Slot 11. Rotates the source rect (top-left at the origin) by angle about (cx, cy) and puts
    // it at (x, y): the source point (cx, cy) lands on (x + cx, y + cy).
    virtual void BlitRotated(Image* source, float x, float y, const Rect& sourceRect,
                             const Rect& clip, const Color& color, DrawMode mode, double angle,
                             float cx, float cy);
    // Slot 12. Scales the source rect to the destination rect.
    virtual void StretchBlit(Image* source, const Rect& destRect, const Rect& sourceRect,
                             const Rect& clip, const Color& color, DrawMode mode, bool fastStretch);
    // Slot 13. The source rect centred on the origin, transformed by the matrix, moved by (x, y).
    virtual void BlitWithMatrix(Image* source, float x, float y, const Matrix3x3& matrix,
                                const Rect& clip, const Color& color, DrawMode mode,
                                const Rect& sourceRect, bool linearBlend);
    // Slot 14. Textured triangles (three TriVertex each) moved by (tx, ty).
    virtual void BlitTriangleList(Image* texture, const TriVertex (*triangles)[3],
                                  int triangleCount, const Rect& clip, const Color& color,
                                  DrawMode mode, float tx, float ty, bool blend);
    // Slot 15. As Blit, mirrored left-right inside the same box.
    virtual void BlitFlipped(Image* source, int x, int y, const Rect& sourceRect,
                             const Color& color, DrawMode mode);
    // Slot 16. As StretchBlit, mirrored left-right.
    virtual void StretchBlitFlipped(Image* source, const Rect& destRect, const Rect& sourceRect,
                                    const Rect& clip, const Color& color, DrawMode mode,
                                    bool fastStretch);

protected:
    // Copies for back ends that can duplicate an image (the animation is copied too).
    Image(const Image& other, bool);

    bool hasBeenDrawn_ = false;
    std::string filePath_;
    int width_ = 0;
    int height_ = 0;
    int numRows_ = 1;
    int numCols_ = 1;
    std::unique_ptr<ImageAnimation> animation_;
    bool isAccelerated_ = false;
};

}  // namespace Tuvo
