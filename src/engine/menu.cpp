// Loading a menu screen: the "Screen" element's attributes, then each kind of control in its own
// pass over the children, then the check boxes and sliders saved in "config.ini".
#include "engine/menu.h"

#include <tinyxml2.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/app_log.h"
#include "engine/ini_access.h"
#include "framework/archive/pak_file.h"

namespace Quillory {
namespace {

using tinyxml2::XMLElement;

// Copies an attribute into its field when present; a longer value is cut to the field.
template <size_t N>
void ReadString(const XMLElement* element, const char* attribute, char (&field)[N]) {
    const char* value = element->Attribute(attribute);
    if (value != nullptr) {
        std::snprintf(field, N, "%s", value);
    }
}

// Reads the longest leading part of the value that forms a number; 0 when there is none. Values
// that are not finite read as 0 too, so no position can poison the pixel arithmetic.
void ReadFloat(const XMLElement* element, const char* attribute, float& field) {
    const char* value = element->Attribute(attribute);
    if (value == nullptr) {
        return;
    }
    const float number = std::strtof(value, nullptr);
    field = std::isfinite(number) ? number : 0.0f;
}

void LogTooMany(const char* what, int limit) {
    char line[128];
    std::snprintf(line, sizeof(line), "%s%d", what, limit);
    LogMessage(line);
}

// Calls read(element) for the first `limit` children named `name`; logs the warning when one
// more follows.
template <typename Read>
int ReadChildren(const XMLElement* screen, const char* name, int limit, const char* warning,
                 Read read) {
    int count = 0;
    for (const XMLElement* child = screen->FirstChildElement(name); child != nullptr;
         child = child->NextSiblingElement(name)) {
        if (count == limit) {
            LogTooMany(warning, limit);
            break;
        }
        read(child, count);
        ++count;
    }
    return count;
}

}  // namespace

int CMenu::Load(const char* path) {
    if (path == nullptr) {
        return 0;
    }
    colour_ = 0xFFFFFFFF;
    alpha_ = 1.0f;
    std::vector<uint8_t> contents;
    if (!Tuvo::PakReadWholeFile(path, contents, Platform::kMaxTextFileBytes)) {
        char line[400];
        std::snprintf(line, sizeof(line), "Loading XML menu:  '%s' ... FAILED", path);
        LogMessage(line);
        return 0;
    }
    return LoadFromMemory(path, reinterpret_cast<const char*>(contents.data()), contents.size());
}

int CMenu::LoadFromMemory(const char* path, const char* xml, size_t size) {
    colour_ = 0xFFFFFFFF;
    alpha_ = 1.0f;
    char line[400];
    tinyxml2::XMLDocument document;
    if (xml == nullptr || document.Parse(xml, size) != tinyxml2::XML_SUCCESS) {
        std::snprintf(line, sizeof(line), "Loading XML menu:  '%s' ... FAILED", path);
        LogMessage(line);
        return 0;
    }
    buttonCount_ = textCount_ = imageCount_ = sliderCount_ = editCount_ = 0;
    // A document without a screen is an empty menu.
    if (const XMLElement* screen = document.FirstChildElement("Screen")) {
        ReadScreen(screen);
        ReadButtons(screen);
        ReadSliders(screen);
        ReadEdits(screen);
        ReadImages(screen);
        ReadTexts(screen);
    }
    std::snprintf(line, sizeof(line), "Loading XML menu:  '%s' ... OK", path);
    LogMessage(line);
    RestorePersistedState();
    return 1;
}

void CMenu::ReadScreen(const XMLElement* screen) {
    bgImage_[0] = clickSound_[0] = overSound_[0] = buttonFont_[0] = buttonOverFont_[0] = '\0';
    xc_ = yc_ = width_ = height_ = 0;
    ReadFloat(screen, "xc", xc_);
    ReadFloat(screen, "yc", yc_);
    ReadFloat(screen, "width", width_);
    ReadFloat(screen, "height", height_);
    ReadString(screen, "bgImage", bgImage_);
    ReadString(screen, "clickSound", clickSound_);
    ReadString(screen, "overSound", overSound_);
    ReadString(screen, "buttonFont", buttonFont_);
    ReadString(screen, "buttonOverFont", buttonOverFont_);
}

void CMenu::ReadButtons(const XMLElement* screen) {
    buttonCount_ =
        ReadChildren(screen, "Button", kMaxButtons, "WARNING: Too many buttons in menu - ",
                     [this](const XMLElement* element, int index) {
                         MenuButton& button = buttons_[index];
                         button = MenuButton{};
                         ReadString(element, "name", button.name);
                         ReadString(element, "radioGroup", button.radioGroup);
                         ReadString(element, "text", button.text);
                         ReadString(element, "align", button.align);
                         ReadString(element, "stretch", button.stretch);
                         ReadFloat(element, "xc", button.xc);
                         ReadFloat(element, "yc", button.yc);
                         ReadFloat(element, "width", button.width);
                         ReadFloat(element, "height", button.height);
                         ReadString(element, "outImg", button.outImg);
                         ReadString(element, "overImg", button.overImg);
                         ReadString(element, "outImgChecked", button.outImgChecked);
                         ReadString(element, "overImgChecked", button.overImgChecked);
                         ReadString(element, "action", button.action);
                     });
}

void CMenu::ReadSliders(const XMLElement* screen) {
    sliderCount_ =
        ReadChildren(screen, "Slider", kMaxSliders, "WARNING: Too many sliders in menu - ",
                     [this](const XMLElement* element, int index) {
                         MenuSlider& slider = sliders_[index];
                         slider = MenuSlider{};
                         ReadString(element, "name", slider.name);
                         ReadFloat(element, "xc", slider.xc);
                         ReadFloat(element, "yc", slider.yc);
                         ReadString(element, "outSliderImg", slider.outSliderImg);
                         ReadString(element, "overSliderImg", slider.overSliderImg);
                         ReadString(element, "outThumbImg", slider.outThumbImg);
                         ReadString(element, "overThumbImg", slider.overThumbImg);
                         ReadString(element, "action", slider.action);
                     });
}

void CMenu::ReadEdits(const XMLElement* screen) {
    editCount_ = ReadChildren(screen, "Edit", kMaxEdits, "WARNING: Too many edit boxes in menu - ",
                              [this](const XMLElement* element, int index) {
                                  MenuEdit& edit = edits_[index];
                                  edit = MenuEdit{};
                                  ReadString(element, "name", edit.name);
                                  ReadString(element, "text", edit.text);
                                  ReadString(element, "align", edit.align);
                                  ReadString(element, "stretch", edit.stretch);
                                  ReadString(element, "blockedchars", edit.blockedchars);
                                  ReadFloat(element, "xc", edit.xc);
                                  ReadFloat(element, "yc", edit.yc);
                                  ReadFloat(element, "size", edit.size);
                                  ReadFloat(element, "maxlen", edit.maxlen);
                              });
}

void CMenu::ReadImages(const XMLElement* screen) {
    imageCount_ = ReadChildren(screen, "Image", kMaxImages, "WARNING: Too many images in menu - ",
                               [this](const XMLElement* element, int index) {
                                   MenuImage& image = images_[index];
                                   image = MenuImage{};
                                   ReadString(element, "stretch", image.stretch);
                                   ReadFloat(element, "xc", image.xc);
                                   ReadFloat(element, "yc", image.yc);
                                   ReadFloat(element, "width", image.width);
                                   ReadFloat(element, "height", image.height);
                                   ReadString(element, "img", image.img);
                               });
}

void CMenu::ReadTexts(const XMLElement* screen) {
    textCount_ =
        ReadChildren(screen, "Text", kMaxTexts, "WARNING: Too many text strings in menu - ",
                     [this](const XMLElement* element, int index) {
                         MenuText& text = texts_[index];
                         text = MenuText{};
                         ReadString(element, "stretch", text.stretch);
                         ReadString(element, "name", text.name);
                         ReadString(element, "text", text.text);
                         ReadString(element, "align", text.align);
                         ReadFloat(element, "xc", text.xc);
                         ReadFloat(element, "yc", text.yc);
                         ReadFloat(element, "size", text.size);
                         ReadString(element, "font", text.font);
                     });
}

void CMenu::RestorePersistedState() {
    for (int i = 0; i < buttonCount_; ++i) {
        MenuButton& button = buttons_[i];
        int checked = 0;
        if (button.IsCheckBox() && button.name[0] != '\0' &&
            ReadConfigInt("OPTIONS", button.name, &checked)) {
            button.checked = checked;
        }
    }
    for (int i = 0; i < sliderCount_; ++i) {
        MenuSlider& slider = sliders_[i];
        float value = 0;
        if (slider.name[0] != '\0' && ReadConfigFloat("OPTIONS", slider.name, &value)) {
            SetSliderValue(slider, value);
        }
    }
}

}  // namespace Quillory
