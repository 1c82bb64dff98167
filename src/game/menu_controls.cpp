// MenuControls over CMenu screens.
#include "game/menu_controls.h"

#include <cstring>

#include "engine/menu.h"

namespace Quillory {

CMenu* CMenuControls::Screen(GameMenu menu) const {
    switch (menu) {
        case GameMenu::Main:
            return main_;
        case GameMenu::InGame:
            return inGame_;
        case GameMenu::Map:
            return map_;
    }
    return nullptr;
}

bool CMenuControls::ControlPosition(GameMenu menu, const char* name, float& x, float& y) {
    const CMenu* screen = Screen(menu);
    if (screen == nullptr || name == nullptr) {
        return false;
    }
    for (int i = 0; i < screen->TextCount(); ++i) {
        if (std::strcmp(screen->Text(i).name, name) == 0) {
            x = screen->Text(i).xc;
            y = screen->Text(i).yc;
            return true;
        }
    }
    for (int i = 0; i < screen->ButtonCount(); ++i) {
        if (std::strcmp(screen->Button(i).name, name) == 0) {
            x = screen->Button(i).xc;
            y = screen->Button(i).yc;
            return true;
        }
    }
    return false;
}

int CMenuControls::ButtonCount(GameMenu menu) {
    const CMenu* screen = Screen(menu);
    return screen != nullptr ? screen->ButtonCount() : 0;
}

const char* CMenuControls::ButtonName(GameMenu menu, int index) {
    const CMenu* screen = Screen(menu);
    if (screen == nullptr || index < 0 || index >= screen->ButtonCount()) {
        return nullptr;
    }
    return screen->Button(index).name;
}

bool CMenuControls::ButtonPosition(GameMenu menu, int index, float& x, float& y) {
    const CMenu* screen = Screen(menu);
    if (screen == nullptr || index < 0 || index >= screen->ButtonCount()) {
        return false;
    }
    x = screen->Button(index).xc;
    y = screen->Button(index).yc;
    return true;
}

void CMenuControls::SetButtonEnabled(GameMenu menu, int index, bool enabled) {
    CMenu* screen = Screen(menu);
    if (screen != nullptr && index >= 0 && index < screen->ButtonCount()) {
        screen->SetButtonEnabled(screen->Button(index).name, enabled);
    }
}

bool CMenuControls::IsButtonHover(GameMenu menu, const char* name) {
    const CMenu* screen = Screen(menu);
    return screen != nullptr && name != nullptr && screen->IsButtonHover(name);
}

}  // namespace Quillory
