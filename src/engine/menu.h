// A menu screen: a flat set of buttons, texts, images, sliders and edit boxes read from an XML
// file of "Menu\", drawn through the sprite manager, fed with window messages, and read by
// name. A click returns the button's action name; what it does is the caller's business. Check
// boxes and sliders keep their state in "config.ini" under "OPTIONS".
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/window_message.h"

namespace tinyxml2 {
class XMLElement;
}

namespace Quillory {

class CSpriteManager;

// What a menu takes from the application besides the sprite manager; the shell wires the real
// sound front end and mouse state.
class MenuHost {
public:
    virtual ~MenuHost() = default;
    // Plays a sound file once (the sound events' FindSound and PlaySample).
    virtual void PlaySound(const char* fileName) = 0;
    // Whether the left mouse button is held down now.
    virtual bool IsLeftButtonDown() const = 0;
};

struct MenuButton {
    char name[40] = {};
    char radioGroup[40] = {};
    char text[40] = {};
    char align[40] = {};
    char stretch[40] = {};
    float textSize = 0.04f;
    float xc = 0, yc = 0, width = 0, height = 0;
    char outImg[80] = {};
    char overImg[80] = {};
    char outImgChecked[80] = {};
    char overImgChecked[80] = {};
    char action[40] = {};
    int hover = 0;
    int checked = 0;
    int visible = 1;
    int translate = 1;
    int enabled = 1;  // a disabled button is drawn but takes no hover and no click

    bool IsCheckBox() const { return outImgChecked[0] != '\0'; }
};

struct MenuText {
    char stretch[40] = {};
    char name[40] = {};
    char text[100] = {};
    char align[40] = {};
    float xc = 0, yc = 0, size = 0;
    char font[72] = {};
};

struct MenuImage {
    char stretch[40] = {};
    float xc = 0, yc = 0, width = 0, height = 0;
    char img[80] = {};
};

struct MenuSlider {
    char name[40] = {};
    float xc = 0, yc = 0;
    float barWidth = 0, barHeight = 0;      // measured on each draw
    float thumbWidth = 0, thumbHeight = 0;  // measured on each draw
    char outSliderImg[80] = {};
    char overSliderImg[80] = {};
    char outThumbImg[80] = {};
    char overThumbImg[80] = {};
    char action[40] = {};
    int hover = 0;
    int visible = 1;
    float value = 0.75f;
};

struct MenuEdit {
    char stretch[40] = {};
    char name[40] = {};
    char text[100] = {};
    char align[40] = {};
    char blockedchars[80] = {};
    float xc = 0, yc = 0, size = 0;
    float maxlen = 0;
    int active = 1;
};

class CMenu {
public:
    static constexpr int kMaxButtons = 30;
    static constexpr int kMaxTexts = 45;
    static constexpr int kMaxImages = 20;
    static constexpr int kMaxSliders = 5;
    static constexpr int kMaxEdits = 3;
    static constexpr int kMaxEditLength = 20;
    static constexpr int kFlagPassText = 8;  // passed on with every text and caption draw

    virtual ~CMenu() = default;

    // The services the menu draws and plays through (not owned).
    void Attach(CSpriteManager* sprites, MenuHost* host) {
        sprites_ = sprites;
        host_ = host;
    }

    // Parses a menu file ("Menu\menu-main.xml") through the archive layer; 1 on success.
    int Load(const char* path);
    // Parses a menu held in memory; `path` only names it in the log.
    int LoadFromMemory(const char* path, const char* xml, size_t size);

    void Draw();
    // Feeds one input event; returns the action to perform, or "".
    const char* HandleMessage(WindowMessage message);

    bool IsButtonChecked(const char* name) const;
    bool IsButtonHover(const char* name) const;
    float GetTextX(const char* name) const;
    float GetTextY(const char* name) const;
    void SetText(const char* name, const char* text);
    float GetSliderValue(const char* name) const;
    void SelectRadio(int index);

    void SetAlpha(float alpha) { alpha_ = alpha; }
    float Alpha() const { return alpha_; }
    void SetColour(uint32_t colour) { colour_ = colour; }
    void SetFlags(int flags) { flags_ = flags; }
    void SetButtonVisible(const char* name, bool visible);
    void SetButtonEnabled(const char* name, bool enabled);
    void SetButtonChecked(const char* name, bool checked);
    // The colour everything is drawn with: the tint with the alpha factor applied.
    uint32_t DrawingColour() const;

    int ButtonCount() const { return buttonCount_; }
    const MenuButton& Button(int index) const { return buttons_[index]; }
    int TextCount() const { return textCount_; }
    const MenuText& Text(int index) const { return texts_[index]; }
    int ImageCount() const { return imageCount_; }
    const MenuImage& Image(int index) const { return images_[index]; }
    int SliderCount() const { return sliderCount_; }
    const MenuSlider& Slider(int index) const { return sliders_[index]; }
    int EditCount() const { return editCount_; }
    const MenuEdit& Edit(int index) const { return edits_[index]; }
    const char* BackgroundImage() const { return bgImage_; }

private:
    void ReadScreen(const tinyxml2::XMLElement* screen);
    void ReadButtons(const tinyxml2::XMLElement* screen);
    void ReadSliders(const tinyxml2::XMLElement* screen);
    void ReadEdits(const tinyxml2::XMLElement* screen);
    void ReadImages(const tinyxml2::XMLElement* screen);
    void ReadTexts(const tinyxml2::XMLElement* screen);
    void RestorePersistedState();

    void DrawImageFile(const char* file, float x, float y, float width, float height, int flags,
                       uint32_t colour);
    void DrawButtons(uint32_t colour);
    void DrawSliders(uint32_t colour);
    int AlignFlags(const char* align, const char* stretch) const;

    const char* HandleButtons(const WindowMessage& message);
    const char* HandleSliders(const WindowMessage& message);
    const char* HandleEdits(const WindowMessage& message);
    bool Hits(float xc, float yc, float width, float height, int x, int y) const;
    // Position of the pointer along the slider's bar (0 to 1), or -1 off the bar.
    float SliderPosition(const MenuSlider& slider, int x, int y) const;
    void SetSliderValue(MenuSlider& slider, float value);
    void Play(const char* sound);
    int ScreenWidth() const;
    int ScreenHeight() const;

    CSpriteManager* sprites_ = nullptr;
    MenuHost* host_ = nullptr;

    int flags_ = 0;
    char bgImage_[80] = {};
    float xc_ = 0, yc_ = 0, width_ = 0, height_ = 0;
    char clickSound_[80] = {};
    char overSound_[80] = {};
    char buttonFont_[70] = {};
    char buttonOverFont_[70] = {};
    MenuButton buttons_[kMaxButtons];
    int buttonCount_ = 0;
    MenuText texts_[kMaxTexts];
    int textCount_ = 0;
    MenuImage images_[kMaxImages];
    int imageCount_ = 0;
    MenuSlider sliders_[kMaxSliders];
    int sliderCount_ = 0;
    MenuEdit edits_[kMaxEdits];
    int editCount_ = 0;
    uint32_t colour_ = 0xFFFFFFFF;
    float alpha_ = 1.0f;
};

}  // namespace Quillory
