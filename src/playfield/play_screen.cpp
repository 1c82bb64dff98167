// The play screen: background, lines, cells, the bug, the conveyor, the status frame, the
// in-game menu with the HUD, the held shape, the effects, the tutorial's hints and the
// game-complete reveal.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "effects/effect2d.h"
#include "engine/sprite_manager.h"
#include "game/quillory_game.h"
#include "playfield/screen_painter.h"

namespace Tuvo {

namespace {

constexpr int kOwnSize = Quillory::kSpriteNaturalSize;
constexpr int kOwnSizeNormal = Quillory::kSpriteNaturalSize | Quillory::kSpriteNormalMode;
constexpr int kOwnSizeAdditive = Quillory::kSpriteNaturalSize | Quillory::kSpriteAdditiveMode;
constexpr int kGaugeFlags = Quillory::kGaugeHorizontal | Quillory::kGaugeNaturalSize;
constexpr float kPi = 3.14159265358979f;
constexpr float kOnePixel = 1.0f / 600.0f;
constexpr float kRowSpacing = 0.15833333f;

// Bits of the controls whose absence is logged once.
constexpr int kControlScore = 1;
constexpr int kControlMeter = 2;
constexpr int kControlTime = 4;
constexpr int kControlLevel = 8;

}  // namespace

float ScreenPainter::CellDrawY(float y, int imagePixelHeight) {
    if (y * 600.0f - imagePixelHeight / 2.0f < 0.0f) {
        return y - kOnePixel;
    }
    return y;
}

ScreenPainter::HintPlace ScreenPainter::HintPlaceFor(float y, float bob) {
    HintPlace place;
    if (y < 0.3f) {
        place.hintY = y + 0.25f;
        place.arrowY = y + 0.13f - bob;
        place.arrowAngle = kPi;
    } else {
        place.hintY = y - 0.25f;
        place.arrowY = y - 0.13f + bob;
    }
    return place;
}

Image* ScreenPainter::BackgroundImage() {
    // Looked up again only when the level names another picture.
    if (std::strncmp(backgroundName_, game_.backgroundCurrent, sizeof(backgroundName_)) != 0) {
        std::memcpy(backgroundName_, game_.backgroundCurrent, sizeof(backgroundName_));
        background_ = backgroundName_[0] != '\0' ? sprites_.GetTexture(backgroundName_) : nullptr;
    }
    return background_;
}

void ScreenPainter::DrawPlayScreen() {
    LookUpImages();
    if (game_.phase == Quillory::PHASE_FADE_FROM_MENU) {
        // The screen being left stays while the picture fades to black.
        if (game_.previousScreenState == STATE_MAIN_MENU) {
            DrawMainMenu();
        } else {
            DrawMapScreen();
        }
        DrawAllEffects();
        return;
    }
    Image* background = BackgroundImage();
    if (background != nullptr) {
        sprites_.DrawSprite(background, 0.59f, 0.44f, 0.86f, 0.86f, 0.0f, 0.0f, 1.0f, 1.0f,
                            Quillory::kNoTint, 0, 0.0f);
    }
    DrawLines();
    DrawCells();
    DrawBug();
    effects_.Draw(1);
    DrawImage(images_.bottomBar, 0.59f, 0.915f, kOwnSize);
    DrawConveyor();
    DrawImage(images_.statusBorder, 0.5f, 0.5f, kOwnSizeNormal);
    menus_[MENU_INGAME].Draw();
    DrawHud();
    DrawHeld();
    effects_.Draw(2);
    DrawHints();
}

void ScreenPainter::DrawLines() {
    for (int i = 0; i < Quillory::kLineCount; ++i) {
        const Quillory::PlayLine& line = game_.lines[i];
        if (line.scale < 0.01f) {
            continue;
        }
        for (int k = 0; k < 6; ++k) {
            const float y = (k + 0.65f) * kRowSpacing;
            DrawImage(images_.lines[i], line.x, y, kOwnSizeNormal, line.tint);
            if (line.removed) {
                DrawImage(images_.lineRemoved, line.x, y, kOwnSizeAdditive, line.tint);
            }
        }
    }
}

void ScreenPainter::DrawCells() {
    const uint32_t tint = FadeTint(game_.cellAlpha);
    const int count = game_.cellCount < Quillory::kMaxCells ? game_.cellCount : Quillory::kMaxCells;
    for (int i = 0; i < count; ++i) {
        const Quillory::ShapeItem& cell = game_.cells[i];
        if (!cell.active || cell.y < -0.0791666f || cell.y > 1.0791666f) {
            continue;
        }
        Image* image = cell.filled ? cell.mainImage : cell.maskImage;
        if (image == nullptr) {
            continue;
        }
        const float y = CellDrawY(cell.y, Quillory::CSpriteManager::GetImageSize(image).height);
        sprites_.DrawSprite(image, cell.x, y, cell.width, cell.height, 0.0f, 0.0f, 1.0f, 1.0f, tint,
                            kOwnSizeNormal, 0.0f);
    }
}

void ScreenPainter::DrawBug() {
    const Quillory::BugRecord& bug = game_.bug;
    if (!bug.active || images_.bug == nullptr) {
        return;
    }
    sprites_.DrawAnimFrame(images_.bug, bug.x, bug.y, 0.072f, 0.096f, kOwnSizeNormal, 6, 1,
                           bug.speed * 8.0f, Quillory::kNoTint);
}

void ScreenPainter::DrawConveyor() {
    const int count =
        game_.conveyorCount < Quillory::kMaxConveyor ? game_.conveyorCount : Quillory::kMaxConveyor;
    for (int i = 0; i < count; ++i) {
        const Quillory::ShapeItem& shape = game_.conveyor[i];
        if (shape.mainImage == nullptr) {
            continue;
        }
        sprites_.DrawSprite(shape.mainImage, shape.x, shape.y, shape.width, shape.height, 0.0f,
                            0.0f, 1.0f, 1.0f, Quillory::kNoTint, kOwnSizeNormal, 0.0f);
    }
}

void ScreenPainter::DrawHeld() {
    const Quillory::ShapeItem& held = game_.held;
    if (!held.active) {
        return;
    }
    // Turning changes the picture: it is looked up by name only when the shape changes.
    const int key[3] = {held.classIndex, held.variant, held.bonusKind};
    if (std::memcmp(key, heldKey_, sizeof(key)) != 0) {
        std::memcpy(heldKey_, key, sizeof(key));
        const char* name = rules_.ItemImageName(held);
        heldImage_ = name[0] != '\0' ? sprites_.GetTexture(name) : nullptr;
    }
    if (heldImage_ == nullptr) {
        return;
    }
    sprites_.DrawSprite(heldImage_, held.x, held.y, held.width, held.height, 0.0f, 0.0f, 1.0f, 1.0f,
                        Quillory::kNoTint, kOwnSizeNormal, 0.0f);
}

void ScreenPainter::DrawHud() {
    LookUpImages();
    Quillory::CMenu& hud = menus_[MENU_INGAME];
    char text[32];
    std::snprintf(text, sizeof(text), "%d", game_.score);
    hud.SetText("txtScoreNum", text);
    float x = 0;
    float y = 0;
    (void)InGameControl("txtScoreNum", x, y, kControlScore);
    if (InGameControl("txtMeterBar", x, y, kControlMeter)) {
        sprites_.DrawGauge(images_.progressEmpty, images_.progressFull, x, y, 0.0f, 0.0f,
                           static_cast<float>(static_cast<int>(game_.meter * 100.0f)), kGaugeFlags);
    }
    const bool hasTime = InGameControl("txtTimeNum", x, y, kControlTime);
    if (hasTime && game_.timeLeft < 10.0f) {
        // A triangle rising and falling once every two seconds.
        const float t = std::fmod(game_.now, 2.0f);
        const float opacity = t < 1.0f ? t : 2.0f - t;
        DrawImage(images_.roundTime, x, y, kOwnSizeNormal, FadeTint(opacity));
    }
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(game_.timeLeft));
    hud.SetText("txtTimeNum", text);
    (void)InGameControl("txtLevelNum", x, y, kControlLevel);
    std::snprintf(text, sizeof(text), "%d", game_.levelNumber);
    hud.SetText("txtLevelNum", text);
}

void ScreenPainter::DrawHints() {
    LookUpImages();
    if (!game_.tutorialOn) {
        return;
    }
    const float bob = std::sin(3.0f * game_.now) * 0.01f;
    switch (game_.tutorialStep) {
        case Quillory::TUTORIAL_TAKE: {
            const int slot = game_.tutorialShape;
            if (slot < 0 || slot >= game_.conveyorCount || slot >= Quillory::kMaxConveyor) {
                return;
            }
            const Quillory::ShapeItem& shape = game_.conveyor[slot];
            DrawImage(images_.hints[0], shape.x, shape.y - 0.25f, kOwnSizeNormal);
            DrawImage(images_.arrow, shape.x, shape.y - 0.13f + bob, kOwnSizeNormal);
            break;
        }
        case Quillory::TUTORIAL_TURN:
            DrawImage(images_.hints[2], game_.held.x, game_.held.y - 0.15f, kOwnSizeNormal);
            break;
        case Quillory::TUTORIAL_DROP: {
            const int index = game_.tutorialCell;
            if (index < 0 || index >= game_.cellCount || index >= Quillory::kMaxCells) {
                return;
            }
            const Quillory::ShapeItem& cell = game_.cells[index];
            const HintPlace place = HintPlaceFor(cell.y, bob);
            DrawImage(images_.hints[1], cell.x, place.hintY, kOwnSizeNormal);
            DrawImage(images_.arrow, cell.x, place.arrowY, kOwnSizeNormal, Quillory::kNoTint,
                      place.arrowAngle);
            break;
        }
        default:
            break;
    }
}

void ScreenPainter::DrawGameComplete() {
    LookUpImages();
    for (int i = 0; i < Quillory::kRevealCount; ++i) {
        if (game_.chompShown[i] <= 0.0f || images_.reveal[i] == nullptr) {
            continue;
        }
        const float x = (i % 5) * 0.0890625f + 0.31f;
        const float y = (i / 5) * 0.11875f + 0.44f;
        sprites_.DrawSprite(images_.reveal[i], x, y, 0.0890625f, 0.11875f, 0.0f, 0.0f, 1.0f, 1.0f,
                            Quillory::kNoTint, kOwnSizeNormal, 0.0f);
    }
    effects_.Draw(2);
}

}  // namespace Tuvo
