// The painters of every screen: the loading screen, the main menu with its information panels,
// the stage map, the play screen with its HUD and the tutorial's hints, the menus over the menu
// background with the butterflies, and the game-complete reveal. They only draw what the rules'
// state says; the rules' per-frame step has run before them. Images are looked up once per
// screen or level, never by name on every frame.
#pragma once

#include <array>
#include <cstdint>

#include "playfield/screens.h"

namespace Tuvo {
class Image;
}

namespace Quillory {
class CEffect2d;
class CScores;
class CQuilloryGame;
class CSpriteManager;
struct GameModel;
}  // namespace Quillory

namespace Tuvo {

class ScreenPainter {
public:
    ScreenPainter(const Quillory::CQuilloryGame& game, Quillory::CSpriteManager& sprites,
                  MenuSet& menus, Quillory::CEffect2d& effects, Quillory::CScores& scores);

    // The screen of a state, drawn through the sprite manager's current target.
    void PaintScreen(int state);

    // The loading bar's fill, 0 to 100.
    void SetLoadPercent(int percent) { loadPercent_ = percent; }
    // The Relax panel fades like the other two, while the pointer is on "btnRelaxGame".
    void UpdateRelaxPanel(float frameStep);
    float RelaxPanelAlpha() const { return relaxPanelAlpha_; }
    // The folder of the localised pictures ("English\"), read once the language is known.
    void SetLanguageFolder(const char* folder);

    // Each draws one part of a screen; the images are looked up at the first of them.
    void DrawLoadingScreen();
    void DrawMainMenu();
    void DrawStageMap();
    void DrawPlayScreen();
    void DrawHud();
    void DrawHints();
    void DrawGameComplete();
    void DrawButterflies();
    void DrawMenuBackground();
    // A menu screen over the menu background.
    void DrawMenuScreen(MenuScreen menu);

    // The tint of something faded to opacity f: (int)(f x 255) + 1 in the top byte, white below.
    static uint32_t FadeTint(float opacity);
    // The y the one-pixel rule gives a cell: one pixel of 600 higher when the picture would
    // start above the screen's top edge.
    static float CellDrawY(float y, int imagePixelHeight);
    // The hint's and the arrow's places for a target at (x, y): below it, arrow turned up, when
    // the target is above 0.3. `bob` is sin(3t) x 0.01.
    struct HintPlace {
        float hintY = 0;
        float arrowY = 0;
        float arrowAngle = 0;
    };
    static HintPlace HintPlaceFor(float y, float bob);

private:
    struct Images {
        Image* backMenu = nullptr;
        Image* loadingEmpty = nullptr;
        Image* loadingFull = nullptr;
        std::array<Image*, 6> lines{};
        Image* lineRemoved = nullptr;
        Image* bottomBar = nullptr;
        Image* statusBorder = nullptr;
        Image* progressEmpty = nullptr;
        Image* progressFull = nullptr;
        Image* roundTime = nullptr;
        Image* arrow = nullptr;
        std::array<Image*, 3> hints{};
        Image* grey = nullptr;
        Image* star = nullptr;
        Image* bug = nullptr;
        std::array<Image*, Quillory::kRevealCount> reveal{};
    };

    // Looks the fixed images up the first time a screen other than loading is painted.
    void LookUpImages();
    Image* BackgroundImage();
    void DrawLines();
    void DrawCells();
    void DrawBug();
    void DrawConveyor();
    void DrawHeld();
    void DrawInfoPanel(MenuScreen panel, float alpha);
    void DrawMapScreen();
    void DrawScreenLeftForMap();
    void DrawAllEffects();
    void DrawHighScores();
    void DrawContinueConfirmation();
    void DrawImage(Image* image, float x, float y, int flags, uint32_t tint = 0xFFFFFFFF,
                   float angle = 0.0f);
    // The centre of a text control of the in-game screen; false (logged once) when missing.
    bool InGameControl(const char* name, float& x, float& y, int controlBit);

    const Quillory::CQuilloryGame& rules_;
    const Quillory::GameModel& game_;
    Quillory::CSpriteManager& sprites_;
    MenuSet& menus_;
    Quillory::CEffect2d& effects_;
    Quillory::CScores& scores_;
    Images images_;
    bool imagesLookedUp_ = false;
    char languageFolder_[80] = "English\\";
    char backgroundName_[Quillory::kNameSize] = {};
    Image* background_ = nullptr;
    // The held shape's picture, looked up again when its class, variant or bonus changes.
    int heldKey_[3] = {-1, -1, -1};
    Image* heldImage_ = nullptr;
    int loadPercent_ = 0;
    float relaxPanelAlpha_ = 0;
    int missingControlsLogged_ = 0;
};

}  // namespace Tuvo
