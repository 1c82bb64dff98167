// The widget that stands for the game board until the game rules arrive: it draws the loading
// screen (the intro menu and the loading gauge) and then the main menu over the menu background,
// and lets the main menu react to the pointer; of the menu's actions only "procExit" is acted on.
#pragma once

#include "engine/window_message.h"
#include "framework/widgets/widget.h"

namespace Tuvo {

class GameApp;

class StartBoard : public Widget {
public:
    explicit StartBoard(GameApp& application) : application_(application) {}

    void Update() override;
    void Draw(Graphics* g) override;
    void MouseMove(int x, int y) override;
    void MouseDrag(int x, int y) override;
    void MouseDown(int x, int y, int clickCount) override;
    void KeyDown(int keyCode) override;
    void KeyChar(char character) override;

    // The loading gauge's fill, 0 to 100 (0 while nothing is counted).
    int LoadPercent() const;

private:
    void Dispatch(uint32_t message, uintptr_t parameter, int x, int y);

    GameApp& application_;
};

}  // namespace Tuvo
