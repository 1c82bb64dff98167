// Push button drawing (colours or images), hover fading and input events.
#include "framework/widgets/button_widget.h"

#include "framework/widgets/sys_font.h"
#include "framework/widgets/widget_manager.h"

namespace Tuvo {

namespace {

// Fades accumulate in steps like 0.1 that binary fractions cannot hold exactly; within this of
// an end the fade has reached it (ten steps of 0.1 are a full fade).
constexpr double kFadeEpsilon = 1e-9;

}  // namespace

ButtonWidget::ButtonWidget(int id, ButtonListener* listener) : id_(id), listener_(listener) {
    hasAlpha_ = true;
    static const int kColours[6][3] = {{0, 0, 0},       {0, 0, 0},       {0, 0, 0},
                                       {255, 255, 255}, {132, 132, 132}, {212, 212, 212}};
    SetColourTable(kColours, 6);
}

ButtonWidget::~ButtonWidget() = default;

void ButtonWidget::SetLabel(const std::string& label) {
    label_ = label;
    MarkDirty();
}

void ButtonWidget::SetOverAlphaSpeeds(double fadeIn, double fadeOut) {
    overAlphaFadeInSpeed_ = fadeIn;
    overAlphaFadeOutSpeed_ = fadeOut;
}

void ButtonWidget::SetFont(Font* font) {
    font_.reset(font != nullptr ? font->Duplicate() : nullptr);
    MarkDirty();
}

bool ButtonWidget::IsButtonDown() {
    return isDown_ && isOver_ && !disabled_;
}

void ButtonWidget::EnsureFont(int pointSize) {
    if (font_ == nullptr) {
        font_ = std::make_unique<SysFont>("Arial Unicode MS", pointSize);
    }
}

int ButtonWidget::LabelX() const {
    if (font_ == nullptr) {
        return 0;
    }
    const int labelWidth = font_->StringWidth(label_);
    if (labelJustification_ == kJustifyCentre) {
        return (width_ - labelWidth) / 2;
    }
    if (labelJustification_ == kJustifyRight) {
        return width_ - labelWidth;
    }
    return 0;
}

void ButtonWidget::DrawLabel(Graphics* g, int x, int y, int colorIndex) {
    if (font_ == nullptr || label_.empty()) {
        return;
    }
    g->SetFont(font_.get());
    g->SetColor(GetColor(colorIndex));
    g->DrawString(label_, x, y);
}

void ButtonWidget::DrawFaceImage(Graphics* g, Image* image, const Rect& rect, int x, int y) {
    if (rect.width == 0) {
        if (image != nullptr) {
            g->DrawImage(image, x, y);
        }
        return;
    }
    if (buttonImage_ != nullptr) {
        g->DrawImage(buttonImage_, x, y, rect);
    }
}

void ButtonWidget::Draw(Graphics* g) {
    if (noDraw_) {
        return;
    }
    if (font_ == nullptr && !label_.empty()) {
        EnsureFont(10);
    }
    const bool sunken = IsButtonDown() != inverted_;
    const int labelX = LabelX();
    const int ascent = font_ != nullptr ? font_->GetAscent() : 0;
    const int labelY = (ascent + height_ - ascent / 6 - 1) / 2;
    if (buttonImage_ == nullptr && downImage_ == nullptr) {
        DrawColored(g, sunken, labelX, labelY);
    } else {
        DrawFromImages(g, sunken, labelX, labelY);
    }
}

void ButtonWidget::DrawColored(Graphics* g, bool sunken, int labelX, int labelY) {
    const int w = width_;
    const int h = height_;
    if (!noFrame_) {
        g->SetColor(GetColor(kColorBackground));
        g->FillRect(0, 0, w, h);
    }
    const int labelColor = isOver_ ? kColorLabelHover : kColorLabel;
    if (!sunken) {
        if (!noFrame_) {
            g->SetColor(GetColor(kColorLightOutline));
            g->FillRect(0, 0, w - 1, 1);
            g->FillRect(0, 0, 1, h - 1);
            g->SetColor(GetColor(kColorDarkOutline));
            g->FillRect(0, h - 1, w, 1);
            g->FillRect(w - 1, 0, 1, h);
            g->SetColor(GetColor(kColorMediumOutline));
            g->FillRect(1, h - 2, w - 2, 1);
            g->FillRect(w - 2, 1, 1, h - 2);
        }
        DrawLabel(g, labelX, labelY, labelColor);
        return;
    }
    g->SetColor(GetColor(kColorDarkOutline));
    g->FillRect(0, 0, w - 1, 1);
    g->FillRect(0, 0, 1, h - 1);
    g->SetColor(GetColor(kColorLightOutline));
    g->FillRect(0, h - 1, w, 1);
    g->FillRect(w - 1, 0, 1, h);
    g->SetColor(GetColor(kColorMediumOutline));
    g->FillRect(1, 1, w - 3, 1);
    g->FillRect(1, 1, 1, h - 3);
    DrawLabel(g, labelX + 1, labelY + 1, labelColor);
}

void ButtonWidget::DrawFromImages(Graphics* g, bool sunken, int labelX, int labelY) {
    if (sunken) {
        if (HasDownState()) {
            DrawFaceImage(g, downImage_, downRect_, 0, 0);
        } else if (HasOverState()) {
            DrawFaceImage(g, overImage_, overRect_, 1, 1);
        } else {
            DrawFaceImage(g, buttonImage_, normalRect_, 1, 1);
        }
        DrawLabel(g, labelX + 1, labelY + 1, kColorLabelHover);
        return;
    }
    if (disabled_ && HasDisabledState()) {
        DrawFaceImage(g, disabledImage_, disabledRect_, 0, 0);
    } else if (overAlpha_ > 0 && HasOverState()) {
        if (overAlpha_ < 1 && HasNormalState()) {
            DrawFaceImage(g, buttonImage_, normalRect_, 0, 0);
        }
        const bool savedTint = g->GetTintImages();
        const Color savedColor = g->GetColor();
        g->SetTintImages(true);
        g->SetColor(Color(255, 255, 255, static_cast<int>(overAlpha_ * 255)));
        DrawFaceImage(g, overImage_, overRect_, 0, 0);
        g->SetTintImages(savedTint);
        g->SetColor(savedColor);
    } else if ((isOver_ || isDown_) && HasOverState()) {
        DrawFaceImage(g, overImage_, overRect_, 0, 0);
    } else {
        DrawFaceImage(g, buttonImage_, normalRect_, 0, 0);
    }
    DrawLabel(g, labelX, labelY, isOver_ ? kColorLabelHover : kColorLabel);
}

bool ButtonWidget::HoverChangeShows() {
    return isDown_ || HasOverState() || GetColor(kColorLabel) != GetColor(kColorLabelHover);
}

void ButtonWidget::MouseEnter() {
    if (overAlphaFadeInSpeed_ == 0 && overAlpha_ > 0) {
        overAlpha_ = 0;
    }
    if (HoverChangeShows()) {
        MarkDirty();
    }
    if (listener_ != nullptr) {
        listener_->OnButtonHoverIn(id_);
    }
}

void ButtonWidget::MouseLeave() {
    if (overAlphaFadeOutSpeed_ == 0 && overAlpha_ > 0) {
        overAlpha_ = 0;
    } else if (overAlphaFadeOutSpeed_ > 0 && overAlpha_ == 0) {
        // The hover image fades out from full.
        overAlpha_ = 1.0;
    }
    if (HoverChangeShows()) {
        MarkDirty();
    }
    if (listener_ != nullptr) {
        listener_->OnButtonHoverOut(id_);
    }
}

void ButtonWidget::MouseMove(int x, int y) {
    if (listener_ != nullptr) {
        listener_->OnButtonHoverMove(id_, x, y);
    }
}

void ButtonWidget::MouseDown(int, int, int, int clickCount) {
    // Marked first: the listener may remove (and retire) the button.
    MarkDirty();
    if (listener_ != nullptr) {
        listener_->OnButtonPressed(id_, clickCount);
    }
}

void ButtonWidget::MouseUp(int, int, int, int) {
    // A release away from the button never counts as a press.
    const bool released = isOver_ && widgetManager_ != nullptr && widgetManager_->HasFocus();
    MarkDirty();
    if (released && listener_ != nullptr) {
        listener_->OnButtonReleased(id_);
    }
}

void ButtonWidget::SetDisabled(bool disabled) {
    const bool changed = disabled != disabled_;
    Widget::SetDisabled(disabled);
    if (changed && HasDisabledState()) {
        MarkDirty();
    }
}

void ButtonWidget::Update() {
    Widget::Update();
    if (isOver_ && overAlphaFadeInSpeed_ > 0 && overAlpha_ < 1) {
        overAlpha_ += overAlphaFadeInSpeed_;
        if (overAlpha_ > 1 - kFadeEpsilon) {
            overAlpha_ = 1;
        }
        MarkDirty();
    } else if (!isDown_ && !isOver_ && overAlpha_ > 0) {
        overAlpha_ -= overAlphaFadeOutSpeed_;
        if (overAlphaFadeOutSpeed_ <= 0 || overAlpha_ < kFadeEpsilon) {
            overAlpha_ = 0;
        }
        MarkDirty();
    }
    // Last: the listener may remove (and retire) the button.
    if (isDown_ && isOver_ && listener_ != nullptr) {
        listener_->OnButtonHeld(id_);
    }
}

}  // namespace Tuvo
