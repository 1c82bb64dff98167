// Dialog button drawing from its component image.
#include "framework/widgets/dialog_button.h"

namespace Tuvo {

DialogButton::DialogButton(Image* componentImage, int id, ButtonListener* listener)
    : ButtonWidget(id, listener), componentImage_(componentImage) {
    showFinger_ = true;
    static const int kColours[6][3] = {{255, 255, 255}, {255, 255, 255}, {0, 0, 0},
                                       {255, 255, 255}, {132, 132, 132}, {212, 212, 212}};
    SetColourTable(kColours, 6);
}

void DialogButton::SetPressedTranslation(int x, int y) {
    translateX_ = x;
    translateY_ = y;
}

void DialogButton::SetTextOffset(int x, int y) {
    textOffsetX_ = x;
    textOffsetY_ = y;
}

void DialogButton::DrawBox(Graphics* g, const Rect& source) {
    g->DrawImageNineSlice(source, Rect(0, 0, width_, height_), componentImage_);
}

void DialogButton::Draw(Graphics* g) {
    if (componentImage_ == nullptr) {
        ButtonWidget::Draw(g);
        return;
    }
    if (noDraw_) {
        return;
    }
    EnsureFont(12);
    const bool pressed = IsButtonDown();
    const int shiftX = pressed ? translateX_ : 0;
    const int shiftY = pressed ? translateY_ : 0;
    if (normalRect_.width == 0) {
        g->DrawImageNineSlice(Rect(shiftX, shiftY, width_, height_), componentImage_);
    } else if (disabled_ && disabledRect_.width > 0 && disabledRect_.height > 0) {
        DrawBox(g, disabledRect_);
    } else if (pressed) {
        DrawBox(g, downRect_);
    } else if (overAlpha_ <= 0) {
        DrawBox(g, isOver_ ? overRect_ : normalRect_);
    } else {
        DrawBox(g, normalRect_);
        const bool savedTint = g->GetTintImages();
        const Color savedColor = g->GetColor();
        g->SetTintImages(true);
        g->SetColor(Color(255, 255, 255, static_cast<int>(overAlpha_ * 255)));
        DrawBox(g, overRect_);
        g->SetTintImages(savedTint);
        g->SetColor(savedColor);
    }
    if (label_.empty()) {
        return;
    }
    const int ascent = font_->GetAscent();
    const int x = textOffsetX_ + (width_ - font_->StringWidth(label_)) / 2;
    const int y = textOffsetY_ + (ascent + height_ - ascent / 6 - font_->GetTopPadding() - 1) / 2;
    DrawLabel(g, x + shiftX, y + shiftY, isOver_ ? kColorLabelHover : kColorLabel);
}

}  // namespace Tuvo
