// The base image: draws nothing, except the outline and spans it builds from FillRect.
#include "framework/graphics/image.h"

#include <utility>

namespace Tuvo {

Image::~Image() = default;

Image::Image(const Image& other, bool)
    : hasBeenDrawn_(false),
      filePath_(other.filePath_),
      width_(other.width_),
      height_(other.height_),
      numRows_(other.numRows_),
      numCols_(other.numCols_),
      animation_(other.animation_ ? std::make_unique<ImageAnimation>(*other.animation_) : nullptr),
      isAccelerated_(other.isAccelerated_) {}

void Image::SetCells(int rows, int columns) {
    numRows_ = rows < 1 ? 1 : rows;
    numCols_ = columns < 1 ? 1 : columns;
}

void Image::SetAnimation(std::unique_ptr<ImageAnimation> animation) {
    animation_ = std::move(animation);
}

bool Image::FillPolygon(const PointF*, int, const Rect*, const Color&, DrawMode, float, float) {
    return false;
}

void Image::FillRect(const Rect&, const Color&, DrawMode) {}

void Image::DrawRect(const Rect& rect, const Color& color, DrawMode mode) {
    FillRect(Rect(rect.x, rect.y, rect.width + 1, 1), color, mode);
    FillRect(Rect(rect.x, rect.y + rect.height, rect.width + 1, 1), color, mode);
    FillRect(Rect(rect.x, rect.y + 1, 1, rect.height - 1), color, mode);
    FillRect(Rect(rect.x + rect.width, rect.y + 1, 1, rect.height - 1), color, mode);
}

void Image::ClearRect(const Rect&) {}

void Image::DrawLine(double, double, double, double, const Color&, DrawMode) {}

void Image::DrawSmoothLine(double, double, double, double, const Color&, DrawMode) {}

void Image::FillSpans(const Span* spans, int spanCount, const Color& color, DrawMode mode) {
    if (spans == nullptr) {
        return;
    }
    for (int i = 0; i < spanCount; ++i) {
        FillRect(Rect(spans[i].x, spans[i].y, spans[i].width, 1), color, mode);
    }
}

void Image::FillSpansWithCoverage(const Span*, int, const Color&, DrawMode, const uint8_t*, int,
                                  int, int, int) {}

void Image::Blit(Image*, int, int, const Rect&, const Color&, DrawMode) {}

void Image::BlitAt(Image*, float, float, const Rect&, const Rect&, const Color&, DrawMode) {}

void Image::BlitRotated(Image*, float, float, const Rect&, const Rect&, const Color&, DrawMode,
                        double, float, float) {}

void Image::StretchBlit(Image*, const Rect&, const Rect&, const Rect&, const Color&, DrawMode,
                        bool) {}

void Image::BlitWithMatrix(Image*, float, float, const Matrix3x3&, const Rect&, const Color&,
                           DrawMode, const Rect&, bool) {}

void Image::BlitTriangleList(Image*, const TriVertex (*)[3], int, const Rect&, const Color&,
                             DrawMode, float, float, bool) {}

void Image::BlitFlipped(Image*, int, int, const Rect&, const Color&, DrawMode) {}

void Image::StretchBlitFlipped(Image*, const Rect&, const Rect&, const Rect&, const Color&,
                               DrawMode, bool) {}

}  // namespace Tuvo
