// The drawing context: state, state stack, and the translation, clipping and route choice of
// every drawing request before it reaches the destination image.
#include "framework/graphics/graphics.h"

#include <cmath>

namespace Tuvo {

namespace {

// Destination of contexts made without an image: it draws nothing.
Image* EmptyImage() {
    static Image empty;
    return &empty;
}

}  // namespace

Graphics::Graphics(Image* destination) {
    state_.destination = destination != nullptr ? destination : EmptyImage();
    state_.clip = Rect(0, 0, state_.destination->GetWidth(), state_.destination->GetHeight());
    state_.destinationIsAccelerated = state_.destination->IsAccelerated();
}

Graphics::Graphics(const Graphics& other) : state_(other.state_) {}

Graphics& Graphics::operator=(const Graphics& other) {
    if (this != &other) {
        state_ = other.state_;
        stack_.clear();
    }
    return *this;
}

Graphics::~Graphics() = default;

Graphics* Graphics::Create() const {
    return new Graphics(*this);
}

void Graphics::SetScale(float scaleX, float scaleY, float originX, float originY) {
    state_.scaleX = scaleX;
    state_.scaleY = scaleY;
    state_.scaleOriginX = originX;
    state_.scaleOriginY = originY;
}

void Graphics::Translate(int dx, int dy) {
    state_.translateX += static_cast<float>(dx);
    state_.translateY += static_cast<float>(dy);
}

void Graphics::TranslateF(float dx, float dy) {
    state_.translateX += dx;
    state_.translateY += dy;
}

int Graphics::TranslatedX(int x) const {
    return static_cast<int>(static_cast<float>(x) + state_.translateX);
}

int Graphics::TranslatedY(int y) const {
    return static_cast<int>(static_cast<float>(y) + state_.translateY);
}

Color Graphics::ModulationColor() const {
    return state_.colorizeImages ? state_.color : kColorWhite;
}

bool Graphics::SourceFits(const Image* image, const Rect& source) {
    // Negative corners are refused too: they would read before the image's first pixel.
    return source.x >= 0 && source.y >= 0 && source.width >= 0 && source.height >= 0 &&
           int64_t{source.x} + source.width <= image->GetWidth() &&
           int64_t{source.y} + source.height <= image->GetHeight();
}

void Graphics::ClipRect(int x, int y, int width, int height) {
    state_.clip = state_.clip.Intersection(Rect(TranslatedX(x), TranslatedY(y), width, height));
}

void Graphics::SaveState() {
    stack_.push_back(state_);
}

void Graphics::RestoreState() {
    if (stack_.empty()) {
        return;
    }
    state_ = stack_.back();
    stack_.pop_back();
}

void Graphics::FillRect(int x, int y, int width, int height) {
    if (state_.color.alpha == 0) {
        return;
    }
    const Rect rect = Rect(TranslatedX(x), TranslatedY(y), width, height).Intersection(state_.clip);
    if (rect.IsEmpty()) {
        return;
    }
    state_.destination->FillRect(rect, state_.color, state_.drawMode);
}

void Graphics::DrawRect(int x, int y, int width, int height) {
    if (state_.color.alpha == 0) {
        return;
    }
    const int tx = TranslatedX(x);
    const int ty = TranslatedY(y);
    if (state_.clip.ContainsRect(Rect(tx, ty, width + 1, height + 1))) {
        state_.destination->DrawRect(Rect(tx, ty, width, height), state_.color, state_.drawMode);
        return;
    }
    FillRect(x, y, width + 1, 1);
    FillRect(x, y + height, width + 1, 1);
    FillRect(x, y + 1, 1, height - 1);
    FillRect(x + width, y + 1, 1, height - 1);
}

void Graphics::DrawString(const std::string& text, int x, int y) {
    if (state_.font == nullptr) {
        return;
    }
    state_.font->DrawString(this, x, y, text, state_.color, state_.clip);
}

void Graphics::DrawImage(Image* image, int x, int y) {
    if (image == nullptr) {
        return;
    }
    if (state_.scaleX != 1 || state_.scaleY != 1) {
        DrawImage(image, x, y, Rect(0, 0, image->GetWidth(), image->GetHeight()));
        return;
    }
    const int tx = TranslatedX(x);
    const int ty = TranslatedY(y);
    const Rect dest = Rect(tx, ty, image->GetWidth(), image->GetHeight()).Intersection(state_.clip);
    if (dest.width < 1 || dest.height < 1) {
        return;
    }
    state_.destination->Blit(image, dest.x, dest.y,
                             Rect(dest.x - tx, dest.y - ty, dest.width, dest.height),
                             ModulationColor(), state_.drawMode);
}

void Graphics::DrawImage(Image* image, int x, int y, const Rect& source) {
    if (image == nullptr || !SourceFits(image, source)) {
        return;
    }
    const int tx = TranslatedX(x);
    const int ty = TranslatedY(y);
    if (state_.scaleX == 1 && state_.scaleY == 1) {
        const Rect dest = Rect(tx, ty, source.width, source.height).Intersection(state_.clip);
        if (dest.width < 1 || dest.height < 1) {
            return;
        }
        state_.destination->Blit(
            image, dest.x, dest.y,
            Rect(source.x + dest.x - tx, source.y + dest.y - ty, dest.width, dest.height),
            ModulationColor(), state_.drawMode);
        return;
    }
    const Rect dest(static_cast<int>(
                        std::floor((static_cast<float>(tx) - state_.scaleOriginX) * state_.scaleX) +
                        state_.scaleOriginX),
                    static_cast<int>(
                        std::floor((static_cast<float>(ty) - state_.scaleOriginY) * state_.scaleY) +
                        state_.scaleOriginY),
                    static_cast<int>(std::ceil(static_cast<float>(source.width) * state_.scaleX)),
                    static_cast<int>(std::ceil(static_cast<float>(source.height) * state_.scaleY)));
    state_.destination->StretchBlit(image, dest, source, state_.clip, ModulationColor(),
                                    state_.drawMode, state_.fastStretch);
}

void Graphics::DrawImage(Image* image, const Rect& dest, const Rect& source) {
    if (image == nullptr) {
        return;
    }
    const Rect moved(TranslatedX(dest.x), TranslatedY(dest.y), dest.width, dest.height);
    state_.destination->StretchBlit(image, moved, source, state_.clip, ModulationColor(),
                                    state_.drawMode, state_.fastStretch);
}

void Graphics::DrawImageAt(Image* image, float x, float y, const Rect& source) {
    if (image == nullptr) {
        return;
    }
    state_.destination->BlitAt(image, x + state_.translateX, y + state_.translateY, source,
                               state_.clip, ModulationColor(), state_.drawMode);
}

void Graphics::DrawImageFlipped(Image* image, int x, int y, const Rect& source, bool mirror) {
    if (!mirror) {
        DrawImage(image, x, y, source);
        return;
    }
    if (image == nullptr || !SourceFits(image, source)) {
        return;
    }
    const int tx = TranslatedX(x);
    const int ty = TranslatedY(y);
    const Rect dest = Rect(tx, ty, source.width, source.height).Intersection(state_.clip);
    if (dest.width < 1 || dest.height < 1) {
        return;
    }
    // The part cut off on the left of the box is the source's right end, and the other way round.
    const Rect cut(source.x + source.width - (dest.x - tx) - dest.width, source.y + (dest.y - ty),
                   dest.width, dest.height);
    state_.destination->BlitFlipped(image, dest.x, dest.y, cut, ModulationColor(), state_.drawMode);
}

void Graphics::DrawImageFlipped(Image* image, const Rect& dest, const Rect& source, bool mirror) {
    if (!mirror) {
        DrawImage(image, dest, source);
        return;
    }
    if (image == nullptr) {
        return;
    }
    const Rect moved(TranslatedX(dest.x), TranslatedY(dest.y), dest.width, dest.height);
    state_.destination->StretchBlitFlipped(image, moved, source, state_.clip, ModulationColor(),
                                           state_.drawMode, state_.fastStretch);
}

void Graphics::DrawImageRotatedAt(Image* image, float x, float y, double angle, float centerX,
                                  float centerY, const Rect* source) {
    if (image == nullptr) {
        return;
    }
    const Rect whole(0, 0, image->GetWidth(), image->GetHeight());
    state_.destination->BlitRotated(image, x + state_.translateX, y + state_.translateY,
                                    source != nullptr ? *source : whole, state_.clip,
                                    ModulationColor(), state_.drawMode, angle, centerX, centerY);
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double angle, const Rect* source) {
    if (image == nullptr) {
        return;
    }
    const int centerX = source != nullptr ? source->width / 2 : image->GetWidth() / 2;
    const int centerY = source != nullptr ? source->height / 2 : image->GetHeight() / 2;
    DrawImageRotated(image, x, y, angle, centerX, centerY, source);
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double angle, int centerX, int centerY,
                                const Rect* source) {
    DrawImageRotatedAt(image, static_cast<float>(x), static_cast<float>(y), angle,
                       static_cast<float>(centerX), static_cast<float>(centerY), source);
}

void Graphics::DrawImageWithMatrix(Image* image, const Matrix3x3& matrix, const Rect& source,
                                   float x, float y) {
    if (image == nullptr) {
        return;
    }
    state_.destination->BlitWithMatrix(image, x + state_.translateX, y + state_.translateY, matrix,
                                       state_.clip, ModulationColor(), state_.drawMode, source,
                                       state_.linearBlend);
}

void Graphics::DrawImageWithTransform(Image* image, Affine2D& transform, float x, float y) {
    if (image == nullptr) {
        return;
    }
    DrawImageWithTransform(image, transform, Rect(0, 0, image->GetWidth(), image->GetHeight()), x,
                           y, false);
}

void Graphics::DrawImageWithTransform(Image* image, Affine2D& transform, const Rect& source,
                                      float x, float y, bool subpixel) {
    if (image == nullptr) {
        return;
    }
    const float halfWidth = static_cast<float>(source.width) * 0.5f;
    const float halfHeight = static_cast<float>(source.height) * 0.5f;

    if (transform.IsComplex() || (state_.destinationIsAccelerated && subpixel)) {
        DrawImageWithMatrix(image, transform.GetMatrix(), source, x, y);
        return;
    }
    if (transform.HasRotation()) {
        const float centerX = halfWidth - transform.PreTranslationX();
        const float centerY = halfHeight - transform.PreTranslationY();
        const float px = transform.PostTranslationX() + x - centerX + 0.5f;
        const float py = transform.PostTranslationY() + y - centerY + 0.5f;
        if (subpixel) {
            DrawImageRotatedAt(image, px, py, transform.Rotation(), centerX, centerY, &source);
        } else {
            DrawImageRotated(image, static_cast<int>(px), static_cast<int>(py),
                             transform.Rotation(), static_cast<int>(centerX),
                             static_cast<int>(centerY), &source);
        }
        return;
    }
    const float px =
        transform.PreTranslationX() + x + transform.PostTranslationX() - halfWidth + 0.5f;
    const float py =
        transform.PreTranslationY() + y + transform.PostTranslationY() - halfHeight + 0.5f;
    if (!transform.HasScale()) {
        if (subpixel) {
            DrawImageAt(image, px, py, source);
        } else {
            DrawImage(image, static_cast<int>(px), static_cast<int>(py), source);
        }
        return;
    }
    if (transform.ScaleX() == -1 && transform.ScaleY() == 1) {
        DrawImageFlipped(image, static_cast<int>(px), static_cast<int>(py), source, true);
        return;
    }
    // A mirror combined with a size change keeps its mirror: the box is built from the size
    // and the mirror passed on, instead of a negative width that would draw nothing.
    const bool mirror = transform.ScaleX() < 0;
    const float halfDrawnWidth = std::fabs(transform.ScaleX()) * halfWidth;
    const float halfDrawnHeight = transform.ScaleY() * halfHeight;
    const Rect dest(static_cast<int>(transform.PostTranslationX() + x - halfDrawnWidth),
                    static_cast<int>(transform.PostTranslationY() + y - halfDrawnHeight),
                    static_cast<int>(2 * halfDrawnWidth), static_cast<int>(2 * halfDrawnHeight));
    DrawImageFlipped(image, dest, source, mirror);
}

void Graphics::DrawImageNineSlice(const Rect& dest, Image* image) {
    if (image == nullptr) {
        return;
    }
    DrawImageNineSlice(Rect(0, 0, image->GetWidth(), image->GetHeight()), dest, image);
}

void Graphics::DrawImageNineSlice(const Rect& source, const Rect& dest, Image* image) {
    if (image == nullptr || source.width < 1 || source.height < 1) {
        return;
    }
    const int cornerWidth = source.width / 3;
    const int cornerHeight = source.height / 3;
    const int middleWidth = source.width - 2 * cornerWidth;
    const int middleHeight = source.height - 2 * cornerHeight;
    const int rightSource = source.x + source.width - cornerWidth;
    const int bottomSource = source.y + source.height - cornerHeight;
    const int rightDest = dest.x + dest.width - cornerWidth;
    const int bottomDest = dest.y + dest.height - cornerHeight;
    const int across = (dest.width - 2 * cornerWidth + middleWidth - 1) / middleWidth;
    const int down = (dest.height - 2 * cornerHeight + middleHeight - 1) / middleHeight;

    DrawImage(image, dest.x, dest.y, Rect(source.x, source.y, cornerWidth, cornerHeight));
    DrawImage(image, rightDest, dest.y, Rect(rightSource, source.y, cornerWidth, cornerHeight));
    DrawImage(image, dest.x, bottomDest, Rect(source.x, bottomSource, cornerWidth, cornerHeight));
    DrawImage(image, rightDest, bottomDest,
              Rect(rightSource, bottomSource, cornerWidth, cornerHeight));

    Graphics edges(*this);
    edges.ClipRect(dest.x + cornerWidth, dest.y, dest.width - 2 * cornerWidth, dest.height);
    for (int i = 0; i < across; ++i) {
        const int x = dest.x + cornerWidth + i * middleWidth;
        edges.DrawImage(image, x, dest.y,
                        Rect(source.x + cornerWidth, source.y, middleWidth, cornerHeight));
        edges.DrawImage(image, x, bottomDest,
                        Rect(source.x + cornerWidth, bottomSource, middleWidth, cornerHeight));
    }

    Graphics sides(*this);
    sides.ClipRect(dest.x, dest.y + cornerHeight, dest.width, dest.height - 2 * cornerHeight);
    for (int j = 0; j < down; ++j) {
        const int y = dest.y + cornerHeight + j * middleHeight;
        sides.DrawImage(image, dest.x, y,
                        Rect(source.x, source.y + cornerHeight, cornerWidth, middleHeight));
        sides.DrawImage(image, rightDest, y,
                        Rect(rightSource, source.y + cornerHeight, cornerWidth, middleHeight));
    }

    Graphics centre(*this);
    centre.ClipRect(dest.x + cornerWidth, dest.y + cornerHeight, dest.width - 2 * cornerWidth,
                    dest.height - 2 * cornerHeight);
    const Rect middle(source.x + cornerWidth, source.y + cornerHeight, middleWidth, middleHeight);
    for (int i = 0; i < across; ++i) {
        for (int j = 0; j < down; ++j) {
            centre.DrawImage(image, dest.x + cornerWidth + i * middleWidth,
                             dest.y + cornerHeight + j * middleHeight, middle);
        }
    }
}

}  // namespace Tuvo
