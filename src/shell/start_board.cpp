// The loading screen and the main menu, drawn through the sprite manager.
#include "shell/start_board.h"

#include <algorithm>
#include <cstring>

#include "shell/game_app.h"

namespace Tuvo {

void StartBoard::Update() {
    Widget::Update();
    // The whole screen is redrawn after every update, like the game board.
    MarkDirty();
}

int StartBoard::LoadPercent() const {
    const int total = application_.loadTotal_;
    if (total <= 0) {
        return 0;
    }
    const int percent =
        static_cast<int>(application_.loadDone_ / static_cast<double>(total) * 100.0);
    return std::clamp(percent, 0, 100);
}

void StartBoard::Draw(Graphics* g) {
    Quillory::CSpriteManager& sprites = application_.Sprites();
    sprites.SetTarget(g);
    g->SetColor(Color(0, 0, 0, 255));
    g->FillRect(0, 0, Width(), Height());
    if (application_.ScreenState() == 0) {
        application_.Menu(MENU_INTRO).Draw();
        sprites.DrawGauge(sprites.GetTexture("Graphics\\loading_empty.png"),
                          sprites.GetTexture("Graphics\\loading_full.png"), 0.5f, 0.75f, 0.25f,
                          0.09f, static_cast<float>(LoadPercent()), 6);
    } else {
        sprites.DrawSprite(sprites.GetTexture("Graphics\\back_menu.jpg"), 0.5f, 0.5f, 1.0f, 1.0f,
                           0.0f, 0.0f, 1.0f, 1.0f, Quillory::kNoTint, Quillory::kSpriteNaturalSize,
                           0.0f);
        application_.Menu(MENU_MAIN).Draw();
    }
    sprites.SetTarget(nullptr);
}

void StartBoard::Dispatch(uint32_t message, uintptr_t parameter, int x, int y) {
    if (application_.ScreenState() != 1) {
        return;
    }
    Quillory::WindowMessage record;
    record.message = message;
    record.wParam = parameter;
    record.x = x;
    record.y = y;
    const char* action = application_.Menu(MENU_MAIN).HandleMessage(record);
    if (action != nullptr && std::strcmp(action, "procExit") == 0) {
        application_.Quit();
    }
}

void StartBoard::MouseMove(int x, int y) {
    Dispatch(Quillory::kMessageMouseMove, 0, x, y);
}

void StartBoard::MouseDrag(int x, int y) {
    Dispatch(Quillory::kMessageMouseMove, 0, x, y);
}

void StartBoard::MouseDown(int x, int y, int) {
    Dispatch(Quillory::kMessageLeftButtonDown, 0, x, y);
}

void StartBoard::KeyDown(int keyCode) {
    Dispatch(Quillory::kMessageKeyDown, static_cast<uintptr_t>(keyCode), 0, 0);
}

void StartBoard::KeyChar(char character) {
    Dispatch(Quillory::kMessageChar, static_cast<unsigned char>(character), 0, 0);
}

}  // namespace Tuvo
