// The screens by state, the menus over the menu background, the main menu with its information
// panels, the stage map and the butterflies.
#include "playfield/screen_painter.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "effects/effect2d.h"
#include "engine/app_log.h"
#include "engine/ini_access.h"
#include "engine/scores.h"
#include "engine/sprite_manager.h"
#include "game/quillory_game.h"

namespace Tuvo {

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr int kOwnSize = Quillory::kSpriteNaturalSize;                                      // 8
constexpr int kOwnSizeNormal = Quillory::kSpriteNaturalSize | Quillory::kSpriteNormalMode;  // 9
constexpr int kGaugeFlags = Quillory::kGaugeHorizontal | Quillory::kGaugeNaturalSize;       // 6

// The panels rise and fall at 4 per second.
constexpr float kPanelRate = 4.0f;

}  // namespace

ScreenPainter::ScreenPainter(const Quillory::CQuilloryGame& game, Quillory::CSpriteManager& sprites,
                             MenuSet& menus, Quillory::CEffect2d& effects,
                             Quillory::CScores& scores)
    : rules_(game),
      game_(game.State()),
      sprites_(sprites),
      menus_(menus),
      effects_(effects),
      scores_(scores) {}

uint32_t ScreenPainter::FadeTint(float opacity) {
    const uint32_t top = (static_cast<uint32_t>(static_cast<int>(opacity * 255.0f)) + 1) & 0xFF;
    return (top << 24) | 0x00FFFFFF;
}

void ScreenPainter::SetLanguageFolder(const char* folder) {
    if (folder != nullptr) {
        std::snprintf(languageFolder_, sizeof(languageFolder_), "%s", folder);
    }
    imagesLookedUp_ = false;
}

void ScreenPainter::LookUpImages() {
    if (imagesLookedUp_) {
        return;
    }
    imagesLookedUp_ = true;
    auto get = [this](const char* name) { return sprites_.GetTexture(name); };
    auto localised = [this](const char* name) {
        char path[160];
        std::snprintf(path, sizeof(path), "%s%s", languageFolder_, name);
        return sprites_.GetTexture(path);
    };
    images_.backMenu = get("Graphics\\back_menu.jpg");
    images_.loadingEmpty = get("Graphics\\loading_empty.png");
    images_.loadingFull = get("Graphics\\loading_full.png");
    for (int i = 0; i < 6; ++i) {
        char name[40];
        std::snprintf(name, sizeof(name), "Graphics\\line%d.png", i + 1);
        images_.lines[i] = get(name);
    }
    images_.lineRemoved = get("Graphics\\line_a.png");
    images_.bottomBar = get("Graphics\\qy_bottom_bar.jpg");
    images_.statusBorder = localised("status-border.png");
    images_.progressEmpty = get("Graphics\\progress-empty.png");
    images_.progressFull = get("Graphics\\progress-full.png");
    images_.roundTime = get("Graphics\\round_time.png");
    images_.arrow = get("Graphics\\arrow.png");
    images_.hints[0] = localised("hint1.png");
    images_.hints[1] = localised("hint2.png");
    images_.hints[2] = localised("hint3.png");
    images_.grey = get("Graphics\\grey.png");
    images_.star = get("Graphics\\qy_effect_star.png");
    images_.bug = get("Graphics\\bug_right.png");
    for (int i = 0; i < Quillory::kRevealCount; ++i) {
        images_.reveal[i] =
            i < game_.catalogueCount ? get(game_.catalogue[i].shapes[0].mainImage) : nullptr;
    }
}

void ScreenPainter::DrawImage(Image* image, float x, float y, int flags, uint32_t tint,
                              float angle) {
    if (image == nullptr) {
        return;
    }
    sprites_.DrawSprite(image, x, y, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, tint, flags, angle);
}

void ScreenPainter::PaintScreen(int state) {
    if (state == STATE_LOADING) {
        DrawLoadingScreen();
        return;
    }
    switch (state) {
        case STATE_MAIN_MENU:
            DrawMainMenu();
            break;
        case STATE_MAP:
            DrawStageMap();
            break;
        case STATE_INSTRUCTIONS1:
            DrawMenuScreen(MENU_INSTRUCTIONS);
            break;
        case STATE_INSTRUCTIONS2:
            DrawMenuScreen(MENU_INSTRUCTIONS2);
            break;
        case STATE_INSTRUCTIONS3:
            DrawMenuScreen(MENU_INSTRUCTIONS3);
            break;
        case STATE_PLAYING:
        case STATE_LEVEL_END:
            DrawPlayScreen();
            break;
        case STATE_PAUSED:
            DrawPlayScreen();
            menus_[MENU_PAUSE].Draw();
            break;
        case STATE_HIGH_SCORES:
            DrawHighScores();
            break;
        case STATE_OPTIONS:
            DrawMenuScreen(MENU_OPTIONS);
            break;
        case STATE_GAME_COMPLETE:
            DrawPlayScreen();
            menus_[MENU_GAME_COMPLETE].Draw();
            DrawGameComplete();
            break;
        case STATE_GAME_OVER:
            DrawPlayScreen();
            menus_[MENU_GAME_OVER].Draw();
            break;
        case STATE_CLEAR_CONFIRM:
            DrawMenuScreen(MENU_CLEAR_CONFIRMATION);
            break;
        case STATE_CONTINUE_CONFIRM:
            DrawContinueConfirmation();
            break;
        case STATE_CREDITS:
            DrawMenuScreen(MENU_CREDITS);
            break;
        default:
            break;
    }
}

void ScreenPainter::DrawLoadingScreen() {
    menus_[MENU_INTRO].Draw();
    // The loading thread may still be filling the table: look the bar up each frame here.
    sprites_.DrawGauge(sprites_.GetTexture("Graphics\\loading_empty.png"),
                       sprites_.GetTexture("Graphics\\loading_full.png"), 0.5f, 0.75f, 0.25f, 0.09f,
                       static_cast<float>(loadPercent_), kGaugeFlags);
}

void ScreenPainter::DrawMenuBackground() {
    LookUpImages();
    DrawImage(images_.backMenu, 0.5f, 0.5f, kOwnSize);
    DrawButterflies();
}

void ScreenPainter::DrawMenuScreen(MenuScreen menu) {
    DrawMenuBackground();
    menus_[menu].Draw();
}

void ScreenPainter::DrawHighScores() {
    DrawMenuBackground();
    scores_.SetTable(game_.mode);
    menus_[MENU_HIGHSCORES].SetText("txtGameType", ModeName(game_.mode));
    menus_[MENU_HIGHSCORES].Draw();
    scores_.DrawTable(sprites_, 0.29f, 0.036f, 0.25f, 0.3f, 0.65f, false);
}

void ScreenPainter::DrawContinueConfirmation() {
    DrawMenuBackground();
    // After the peek, the level and score are the saved game's.
    Quillory::CMenu& menu = menus_[MENU_CONTINUE_CONFIRMATION];
    char text[100];
    std::snprintf(text, sizeof(text), "%s  %d", Quillory::GetLanguageString("LevelText"),
                  game_.levelNumber);
    menu.SetText("txtLevelNum", text);
    std::snprintf(text, sizeof(text), "%s  %d", Quillory::GetLanguageString("ScoreText"),
                  game_.score);
    menu.SetText("txtScoreNum", text);
    menu.Draw();
}

void ScreenPainter::DrawButterflies() {
    LookUpImages();
    for (const Quillory::Butterfly& butterfly : game_.butterflies) {
        const bool headingLeft = butterfly.heading >= kPi / 2 && butterfly.heading < 3 * kPi / 2;
        Image* image = headingLeft ? butterfly.leftImage : butterfly.rightImage;
        if (image == nullptr) {
            continue;
        }
        sprites_.DrawAnimFrame(image, butterfly.x, butterfly.y, 0.048f, 0.064f, kOwnSizeNormal, 6,
                               1, butterfly.speed * 50.0f, Quillory::kNoTint);
    }
}

void ScreenPainter::UpdateRelaxPanel(float frameStep) {
    const bool over = menus_[MENU_MAIN].IsButtonHover("btnRelaxGame");
    relaxPanelAlpha_ += (over ? kPanelRate : -kPanelRate) * frameStep;
    if (relaxPanelAlpha_ < 0.0f) {
        relaxPanelAlpha_ = 0.0f;
    } else if (relaxPanelAlpha_ > 1.0f) {
        relaxPanelAlpha_ = 1.0f;
    }
}

void ScreenPainter::DrawInfoPanel(MenuScreen panel, float alpha) {
    if (alpha <= 0.0f) {
        return;
    }
    menus_[panel].SetAlpha(alpha);
    menus_[panel].Draw();
}

void ScreenPainter::DrawMainMenu() {
    LookUpImages();
    if (images_.backMenu != nullptr) {
        // The whole screen, stretched.
        sprites_.DrawSprite(images_.backMenu, 0.5f, 0.5f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f,
                            Quillory::kNoTint, 0, 0.0f);
    }
    DrawButterflies();
    menus_[MENU_MAIN].Draw();
    DrawInfoPanel(MENU_INFO_CLASSIC, game_.infoClassicAlpha);
    DrawInfoPanel(MENU_INFO_TRANSFORMER, game_.infoTransformerAlpha);
    DrawInfoPanel(MENU_INFO_RELAX, relaxPanelAlpha_);
    if (game_.screenState == STATE_MAIN_MENU) {
        DrawAllEffects();
    }
}

void ScreenPainter::DrawAllEffects() {
    // Layer -1 holds only invisible helpers, so drawing it with both layers shows nothing twice.
    effects_.Draw(1);
    effects_.Draw(2);
}

void ScreenPainter::DrawStageMap() {
    LookUpImages();
    if (game_.phase == Quillory::PHASE_MAP_FADE) {
        DrawScreenLeftForMap();
    } else {
        DrawMapScreen();
    }
    DrawAllEffects();
}

void ScreenPainter::DrawMapScreen() {
    Quillory::CMenu& map = menus_[MENU_MAP];
    map.Draw();
    for (int i = 0; i < map.ButtonCount(); ++i) {
        const Quillory::MenuButton& button = map.Button(i);
        if (!button.enabled && std::strncmp(button.name, "btnStage", 8) == 0) {
            sprites_.DrawSprite(images_.grey, button.xc, button.yc, button.width, button.height,
                                0.0f, 0.0f, 1.0f, 1.0f, Quillory::kNoTint, kOwnSizeNormal, 0.0f);
        }
    }
    for (int k = 0; k < 10; ++k) {
        const float a = game_.now + k / 10.0f * 2.0f * kPi;
        sprites_.DrawSprite(images_.star, game_.markerX + std::cos(a) * 0.06f,
                            game_.markerY + std::sin(a) * 0.08f, 0.036f, 0.048f, 0.0f, 0.0f, 1.0f,
                            1.0f, Quillory::kNoTint, kOwnSizeNormal, 0.0f);
    }
}

void ScreenPainter::DrawScreenLeftForMap() {
    if (game_.previousScreenState == STATE_MAIN_MENU) {
        DrawMainMenu();
    } else if (game_.previousScreenState == STATE_CONTINUE_CONFIRM) {
        DrawMenuBackground();
        menus_[MENU_CONTINUE_CONFIRMATION].Draw();
    } else {
        DrawPlayScreen();
    }
}

bool ScreenPainter::InGameControl(const char* name, float& x, float& y, int controlBit) {
    const Quillory::CMenu& menu = menus_[MENU_INGAME];
    for (int i = 0; i < menu.TextCount(); ++i) {
        if (std::strcmp(menu.Text(i).name, name) == 0) {
            x = menu.Text(i).xc;
            y = menu.Text(i).yc;
            return true;
        }
    }
    if ((missingControlsLogged_ & controlBit) == 0) {
        missingControlsLogged_ |= controlBit;
        char line[120];
        std::snprintf(line, sizeof(line), "WARNING: menu-ingame has no control '%s'", name);
        Quillory::LogMessage(line);
    }
    return false;
}

}  // namespace Tuvo
