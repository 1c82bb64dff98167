// A menu screen at run time: drawing, pointer and keyboard input, persistence of check boxes and
// sliders, and the queries by name.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/ini_access.h"
#include "engine/menu.h"
#include "engine/sprite_manager.h"

namespace Quillory {
namespace {

bool Equal(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

// Float to int, truncating toward zero, saturating at the int range.
int ToPixel(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value < -2.0e9f) {
        return -2000000000;
    }
    if (value > 2.0e9f) {
        return 2000000000;
    }
    return static_cast<int>(value);
}

int ClampToInt(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

template <size_t N>
void CopyText(char (&field)[N], const char* text) {
    std::snprintf(field, N, "%s", text == nullptr ? "" : text);
}

}  // namespace

int CMenu::ScreenWidth() const {
    return sprites_ != nullptr ? sprites_->ScreenWidth() : 800;
}

int CMenu::ScreenHeight() const {
    return sprites_ != nullptr ? sprites_->ScreenHeight() : 600;
}

void CMenu::Play(const char* sound) {
    if (host_ != nullptr && sound[0] != '\0') {
        host_->PlaySound(sound);
    }
}

uint32_t CMenu::DrawingColour() const {
    float alpha = alpha_;
    alpha = alpha < 0 ? 0 : (alpha > 1 ? 1 : alpha);
    const uint32_t colourAlpha = colour_ >> 24;
    // trunc(A * alpha) + 1 modulo 256: alpha 1.0 wraps to 0, which the drawing colour reads as
    // opaque.
    const uint32_t drawAlpha = (static_cast<uint32_t>(colourAlpha * alpha) + 1) & 0xFF;
    return (drawAlpha << 24) | (colour_ & 0x00FFFFFF);
}

int CMenu::AlignFlags(const char* align, const char* stretch) const {
    int flags = kTextCenter;
    if (Equal(align, "left")) {
        flags = kTextLeft;
    } else if (Equal(align, "right")) {
        flags = kTextRight;
    }
    if (flags_ & kFlagPassText) {
        flags |= kFlagPassText;
    }
    if (Equal(stretch, "no")) {
        flags |= kTextNaturalSize;
    }
    return flags;
}

void CMenu::DrawImageFile(const char* file, float x, float y, float width, float height, int flags,
                          uint32_t colour) {
    if (file[0] == '\0') {
        return;
    }
    sprites_->DrawSprite(sprites_->GetTexture(file), x, y, width, height, 0, 0, 1, 1, colour, flags,
                         0);
}

void CMenu::Draw() {
    if (sprites_ == nullptr) {
        return;
    }
    const uint32_t colour = DrawingColour();
    DrawImageFile(bgImage_, xc_, yc_, width_, height_, kSpriteNormalMode, colour);
    for (int i = 0; i < imageCount_; ++i) {
        const MenuImage& image = images_[i];
        const int flags =
            Equal(image.stretch, "no") ? kSpriteNormalMode | kSpriteNaturalSize : kSpriteNormalMode;
        DrawImageFile(image.img, image.xc, image.yc, image.width, image.height, flags, colour);
    }
    for (int i = 0; i < textCount_; ++i) {
        const MenuText& text = texts_[i];
        if (text.text[0] == '\0') {
            continue;
        }
        const int flags = AlignFlags(text.align, text.stretch);
        if (text.font[0] != '\0') {
            const std::string previous = sprites_->CurrentFontName();
            sprites_->SelectFont(text.font);
            sprites_->DrawText(text.xc, text.yc, text.size, colour, flags, text.text);
            if (!previous.empty()) {
                sprites_->SelectFont(previous.c_str());
            }
        } else {
            sprites_->DrawText(text.xc, text.yc, text.size, colour, flags, text.text);
        }
    }
    // The cursor blinks every half second.
    const bool cursorShown = static_cast<int>(sprites_->Milliseconds() * 0.001 * 2) % 2 == 0;
    for (int i = 0; i < editCount_; ++i) {
        const MenuEdit& edit = edits_[i];
        std::string shown = edit.text;
        if (edit.active) {
            shown += cursorShown ? "_" : " ";
        }
        sprites_->DrawText(edit.xc, edit.yc, edit.size, colour,
                           AlignFlags(edit.align, edit.stretch) | kTextLiteral, shown.c_str());
    }
    DrawButtons(colour);
    DrawSliders(colour);
}

void CMenu::DrawButtons(uint32_t colour) {
    const std::string previousFont = sprites_->CurrentFontName();
    for (int i = 0; i < buttonCount_; ++i) {
        MenuButton& button = buttons_[i];
        if (!button.visible) {
            continue;
        }
        const char* image = button.outImg;
        const char* font = buttonFont_;
        if (button.hover && button.checked) {
            image = button.overImgChecked;
            font = buttonOverFont_;
        } else if (button.checked) {
            image = button.outImgChecked;
            font = buttonOverFont_;
        } else if (button.hover) {
            image = button.overImg;
            font = buttonOverFont_;
        }
        if (font[0] != '\0') {
            sprites_->SelectFont(font);
        }
        button.textSize = 0.04f;
        if (Equal(button.stretch, "no")) {
            if (image[0] != '\0') {
                const ImageSize size = CSpriteManager::GetImageSize(sprites_->GetTexture(image));
                button.width = static_cast<float>(size.width) / ScreenWidth();
                button.height = static_cast<float>(size.height) / ScreenHeight();
            }
            if (const Tuvo::Image* fontImage = sprites_->FontImage()) {
                button.textSize = static_cast<float>(fontImage->GetHeight()) /
                                  sprites_->SymbolsInCol() / ScreenHeight();
            }
            DrawImageFile(image, button.xc, button.yc, button.width, button.height,
                          kSpriteNormalMode | kSpriteNaturalSize, colour);
        } else {
            DrawImageFile(image, button.xc, button.yc, button.width, button.height,
                          kSpriteNormalMode, colour);
        }
        if (button.text[0] == '\0') {
            continue;
        }
        // A left-aligned caption starts beside a check box.
        float x = button.xc;
        if (Equal(button.align, "left")) {
            x = button.xc + button.width;
        } else if (Equal(button.align, "right")) {
            x = button.xc - button.width;
        }
        int flags = AlignFlags(button.align, button.stretch);
        if (!button.translate) {
            flags |= kTextLiteral;
        }
        sprites_->DrawText(x, button.yc, button.textSize, colour, flags, button.text);
    }
    if (!previousFont.empty()) {
        sprites_->SelectFont(previousFont.c_str());
    }
}

void CMenu::DrawSliders(uint32_t colour) {
    for (int i = 0; i < sliderCount_; ++i) {
        MenuSlider& slider = sliders_[i];
        if (!slider.visible) {
            continue;
        }
        const char* bar = slider.hover ? slider.overSliderImg : slider.outSliderImg;
        const char* thumb = slider.hover ? slider.overThumbImg : slider.outThumbImg;
        const ImageSize barSize =
            CSpriteManager::GetImageSize(bar[0] != '\0' ? sprites_->GetTexture(bar) : nullptr);
        slider.barWidth = static_cast<float>(barSize.width) / ScreenWidth();
        slider.barHeight = static_cast<float>(barSize.height) / ScreenHeight();
        DrawImageFile(bar, slider.xc, slider.yc, slider.barWidth, slider.barHeight,
                      kSpriteNormalMode | kSpriteNaturalSize, colour);
        const ImageSize thumbSize =
            CSpriteManager::GetImageSize(thumb[0] != '\0' ? sprites_->GetTexture(thumb) : nullptr);
        slider.thumbWidth = static_cast<float>(thumbSize.width) / ScreenWidth();
        slider.thumbHeight = static_cast<float>(thumbSize.height) / ScreenHeight();
        DrawImageFile(thumb, slider.xc - slider.barWidth / 2 + slider.value * slider.barWidth,
                      slider.yc, slider.thumbWidth, slider.thumbHeight,
                      kSpriteNormalMode | kSpriteNaturalSize, colour);
    }
}

bool CMenu::Hits(float xc, float yc, float width, float height, int x, int y) const {
    const float screenWidth = static_cast<float>(ScreenWidth());
    const float screenHeight = static_cast<float>(ScreenHeight());
    const float left = xc - width / 2;
    const float top = yc - height / 2;
    const int pixelLeft = ToPixel(left * screenWidth);
    const int pixelTop = ToPixel(top * screenHeight);
    // The sums are taken in 64 bits and clamped: two saturated factors would overflow an int.
    const int pixelRight = ClampToInt(int64_t{pixelLeft} + ToPixel(width * screenWidth));
    const int pixelBottom = ClampToInt(int64_t{pixelTop} + ToPixel(height * screenHeight));
    return pixelLeft < x && x < pixelRight && pixelTop < y && y < pixelBottom;
}

float CMenu::SliderPosition(const MenuSlider& slider, int x, int y) const {
    if (slider.barWidth <= 0 ||
        !Hits(slider.xc, slider.yc, slider.barWidth, slider.barHeight, x, y)) {
        return -1;
    }
    const float left = slider.xc - slider.barWidth / 2;
    return (static_cast<float>(x) / ScreenWidth() - left) / slider.barWidth;
}

void CMenu::SetSliderValue(MenuSlider& slider, float value) {
    // A hand-edited config.ini must not put the thumb off its bar.
    slider.value = value >= 0 ? (value <= 1 ? value : 1) : 0;
}

const char* CMenu::HandleMessage(WindowMessage message) {
    if (const char* action = HandleButtons(message)) {
        return action;
    }
    if (const char* action = HandleSliders(message)) {
        return action;
    }
    return HandleEdits(message);
}

const char* CMenu::HandleButtons(const WindowMessage& message) {
    for (int i = 0; i < buttonCount_; ++i) {
        MenuButton& button = buttons_[i];
        if (!button.visible || !button.enabled) {
            continue;
        }
        const bool inside =
            Hits(button.xc, button.yc, button.width, button.height, message.x, message.y);
        if (message.message == kMessageMouseMove) {
            if (inside && !button.hover) {
                Play(overSound_);
            }
            button.hover = inside ? 1 : 0;
        } else if (message.message == kMessageLeftButtonDown && inside) {
            Play(clickSound_);
            if (button.IsCheckBox()) {
                button.checked = button.checked ? 0 : 1;
                if (button.name[0] != '\0') {
                    WriteConfigInt("OPTIONS", button.name, button.checked);
                }
            }
            SelectRadio(i);
            return button.action;
        }
    }
    return nullptr;
}

const char* CMenu::HandleSliders(const WindowMessage& message) {
    for (int i = 0; i < sliderCount_; ++i) {
        MenuSlider& slider = sliders_[i];
        if (!slider.visible) {
            continue;
        }
        const float position = SliderPosition(slider, message.x, message.y);
        const bool onBar = position >= 0 && position <= 1;
        if (message.message == kMessageMouseMove) {
            if (!onBar) {
                slider.hover = 0;
                continue;
            }
            if (!slider.hover) {
                Play(overSound_);
            }
            slider.hover = 1;
            if (host_ != nullptr && host_->IsLeftButtonDown()) {
                SetSliderValue(slider, position);
                char text[64];
                std::snprintf(text, sizeof(text), "%f", slider.value);
                if (slider.name[0] != '\0') {
                    WriteConfigString("OPTIONS", slider.name, text);
                }
                return slider.action;
            }
        } else if (message.message == kMessageLeftButtonDown && onBar) {
            Play(clickSound_);
            SetSliderValue(slider, position);
            char text[64];
            std::snprintf(text, sizeof(text), "%f", slider.value);
            if (slider.name[0] != '\0') {
                WriteConfigString("OPTIONS", slider.name, text);
            }
            return slider.action;
        }
    }
    return nullptr;
}

const char* CMenu::HandleEdits(const WindowMessage& message) {
    const char character = static_cast<char>(message.wParam & 0xFF);
    for (int i = 0; i < editCount_; ++i) {
        MenuEdit& edit = edits_[i];
        if (!edit.active) {
            continue;
        }
        const size_t length = std::strlen(edit.text);
        if (message.message == kMessageKeyDown && character == 8) {
            if (length > 0) {
                edit.text[length - 1] = '\0';
                return "";
            }
        } else if (message.message == kMessageChar) {
            const bool known = sprites_ != nullptr && sprites_->IndexOfSymbol(character) >= 0;
            if (character == '\0' || (!known && character != ' ') ||
                std::strchr(edit.blockedchars, character) != nullptr) {
                return "";
            }
            // The shorter of maxlen (rounded) and 20 characters.
            const float maxlen = std::round(edit.maxlen);
            size_t limit = kMaxEditLength;
            if (!(maxlen >= 0)) {
                limit = 0;
            } else if (maxlen < kMaxEditLength) {
                limit = static_cast<size_t>(maxlen);
            }
            if (length < limit) {
                edit.text[length] = character;
                edit.text[length + 1] = '\0';
            }
        }
    }
    return "";
}

bool CMenu::IsButtonChecked(const char* name) const {
    for (int i = 0; i < buttonCount_; ++i) {
        if (Equal(buttons_[i].name, name) && buttons_[i].checked) {
            return true;
        }
    }
    return false;
}

bool CMenu::IsButtonHover(const char* name) const {
    for (int i = 0; i < buttonCount_; ++i) {
        if (Equal(buttons_[i].name, name) && buttons_[i].hover) {
            return true;
        }
    }
    return false;
}

float CMenu::GetTextX(const char* name) const {
    for (int i = 0; i < textCount_; ++i) {
        if (Equal(texts_[i].name, name)) {
            return texts_[i].xc;
        }
    }
    return 0;
}

float CMenu::GetTextY(const char* name) const {
    for (int i = 0; i < textCount_; ++i) {
        if (Equal(texts_[i].name, name)) {
            return texts_[i].yc;
        }
    }
    return 0;
}

void CMenu::SetText(const char* name, const char* text) {
    for (int i = 0; i < textCount_; ++i) {
        if (Equal(texts_[i].name, name)) {
            CopyText(texts_[i].text, text);
        }
    }
}

float CMenu::GetSliderValue(const char* name) const {
    for (int i = 0; i < sliderCount_; ++i) {
        if (Equal(sliders_[i].name, name)) {
            return sliders_[i].value;
        }
    }
    return 0;
}

void CMenu::SelectRadio(int index) {
    if (index < 0 || index >= buttonCount_ || buttons_[index].radioGroup[0] == '\0') {
        return;
    }
    for (int i = 0; i < buttonCount_; ++i) {
        if (Equal(buttons_[i].radioGroup, buttons_[index].radioGroup)) {
            buttons_[i].checked = 0;
        }
    }
    buttons_[index].checked = 1;
}

void CMenu::SetButtonVisible(const char* name, bool visible) {
    for (int i = 0; i < buttonCount_; ++i) {
        if (Equal(buttons_[i].name, name)) {
            buttons_[i].visible = visible ? 1 : 0;
        }
    }
}

void CMenu::SetButtonEnabled(const char* name, bool enabled) {
    for (int i = 0; i < buttonCount_; ++i) {
        if (Equal(buttons_[i].name, name)) {
            buttons_[i].enabled = enabled ? 1 : 0;
            if (!enabled) {
                buttons_[i].hover = 0;
            }
        }
    }
}

void CMenu::SetButtonChecked(const char* name, bool checked) {
    for (int i = 0; i < buttonCount_; ++i) {
        if (Equal(buttons_[i].name, name)) {
            buttons_[i].checked = checked ? 1 : 0;
        }
    }
}

}  // namespace Quillory
