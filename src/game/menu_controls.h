// The rules' view of the menu screens they read and change (the in-game screen's number places,
// the stage map's buttons, the main menu's hover), over the engine's CMenu screens.
#pragma once

#include "game/game_services.h"

namespace Quillory {

class CMenu;

class CMenuControls : public MenuControls {
public:
    // Any menu may be null: it then has no controls.
    CMenuControls(CMenu* main, CMenu* inGame, CMenu* map)
        : main_(main), inGame_(inGame), map_(map) {}

    bool ControlPosition(GameMenu menu, const char* name, float& x, float& y) override;
    int ButtonCount(GameMenu menu) override;
    const char* ButtonName(GameMenu menu, int index) override;
    bool ButtonPosition(GameMenu menu, int index, float& x, float& y) override;
    void SetButtonEnabled(GameMenu menu, int index, bool enabled) override;
    bool IsButtonHover(GameMenu menu, const char* name) override;

private:
    CMenu* Screen(GameMenu menu) const;

    CMenu* main_;
    CMenu* inGame_;
    CMenu* map_;
};

}  // namespace Quillory
