// Game event -> effect adder, in one place. Layer 1 lies under the conveyor panel and the HUD,
// layer 2 over them.
//
//  event                        adder            layer delay      seconds picture / text
//  drop or bonus fill           FollowSprite     1     0          1.0     the cell's picture
//  points of a drop             RisingText       1     0          0.8     "50"
//  run bonus                    RisingText x2    1     0          2.0     "BonusScore", the number
//  any-shape and band bonus     ParticleBurst    1     0          0.5     particleq, 0.03 / 0.1
//  area bonus                   ParticleBurst    1     0          0.75    particleq2, 0.06 / 0.2
//  discard                      ShrinkSprite     2     0          1.0     the picture, where it was
//  line removed                 FloatTween       -     0          1.0     scale 1 -> 0
//  line slides                  FloatTween       -     0          1.0     x -> its place
//  bug eats                     AnimSprite       1     0          0.5     star-rotation 3 x 3
//  level title                  TitleText x2     1     1.0        2.5     "Level N", the number
//  bonus level title            TitleText        1     1.0        2.5     "Bonus Level"
//  level complete               TitleText        1     0.5        3.0     "Level Complete"
//    bursts                     ParticleBurst x8 1     3.0        1.2     particle1/2, 0.12 / 0.5
//  score flight                 FlyText          2     given      given   the amount
//  star                         AnimSprite       1     given      1.0     star-rotation 3 x 3
//  bonus level won              TitleText        1     0          4.5     "Bonus!"
//  no bonus                     TitleText        1     0          2.5     "No Bonus"
//  reveal chomp                 ShrinkSprite     2     i x 0.5    0.5     qy_effect_chomp, cell
//  size
//    its points                 RisingText       1     i x 0.5+.5 0.8     "1000"
//    its picture shown          FloatTween       -     i x 0.5+.5 0.1     0 -> 1
//  stage marker move           FloatTween x2    -     0.5        2.5     to the new stage
//  fades, shrinking conveyor    FloatTween       -     0          0.5
//  timed sounds                 Sound            -     given
//  timed score additions        IntAdd           -     given
#include "game/game_effects.h"

#include <cstdio>

#include "effects/effect2d.h"
#include "game/game_services.h"

namespace Quillory {

namespace {

constexpr int kUnder = 1;  // under the conveyor panel and the HUD
constexpr int kOver = 2;   // over them
constexpr float kShortTween = 0.1f;

}  // namespace

Tuvo::Image* GameEffects::Texture(const char* fileName) {
    return textures_ != nullptr ? textures_->GetTexture(fileName) : nullptr;
}

void GameEffects::FlyIn(const float* x, const float* y, const char* picture) {
    if (effects_ != nullptr) {
        effects_->AddFollowSprite(kUnder, 0, 1.0f, x, y, Texture(picture));
    }
}

void GameEffects::DropPoints(float x, float y, int points) {
    if (effects_ == nullptr) {
        return;
    }
    char text[16];
    std::snprintf(text, sizeof(text), "%d", points);
    effects_->AddRisingText(kUnder, 0, 0.8f, x, y, text, false);
}

void GameEffects::RunBonus(float x, float y, int points) {
    if (effects_ == nullptr) {
        return;
    }
    char text[16];
    std::snprintf(text, sizeof(text), "%d", points);
    effects_->AddRisingText(kUnder, 0, 2.0f, x, y - 0.05f, "BonusScore", false);
    effects_->AddRisingText(kUnder, 0, 2.0f, x, y, text, false);
}

void GameEffects::BonusSparkle(float x, float y) {
    if (effects_ != nullptr) {
        effects_->AddParticleBurst(kUnder, 0, 0.5f, x, y, 0.03f, 0.1f,
                                   Texture("Graphics\\particleq.png"), false);
    }
}

void GameEffects::AreaBurst(float x, float y) {
    if (effects_ != nullptr) {
        effects_->AddParticleBurst(kUnder, 0, 0.75f, x, y, 0.06f, 0.2f,
                                   Texture("Graphics\\particleq2.png"), false);
    }
}

void GameEffects::Discarded(float x, float y, float width, float height, const char* picture) {
    if (effects_ != nullptr) {
        effects_->AddShrinkSprite(kOver, 0, 1.0f, x, y, width, height, Texture(picture));
    }
}

void GameEffects::Tween(float delay, float duration, float from, float to, float* target) {
    // A value that cannot be animated (no list, or a full one) still reaches its end.
    if (effects_ == nullptr || effects_->AddFloatTween(delay, duration, from, to, target) == 0) {
        *target = to;
    }
}

void GameEffects::LineShrink(float* scale) {
    Tween(0, 1.0f, 1.0f, 0.0f, scale);
}

void GameEffects::LineSlide(float* x, float from, float to) {
    Tween(0, 1.0f, from, to, x);
}

void GameEffects::BugEats(float x, float y) {
    if (effects_ != nullptr) {
        effects_->AddAnimSprite(kUnder, 0, 0.5f, x, y, Texture("Graphics\\star-rotation.png"), 3, 3,
                                0);
    }
}

void GameEffects::Fade(float* fade, float from, float to) {
    Tween(0, kFadeSeconds, from, to, fade);
}

void GameEffects::LevelTitle(int levelNumber) {
    if (effects_ == nullptr) {
        return;
    }
    char number[16];
    std::snprintf(number, sizeof(number), "%d", levelNumber);
    effects_->AddTitleText(kUnder, kTitleDelay, kTitleSeconds, 0.59f, 0.39f, "Level N");
    effects_->AddTitleText(kUnder, kTitleDelay, kTitleSeconds, 0.59f, 0.51f, number);
}

void GameEffects::BonusLevelTitle() {
    if (effects_ != nullptr) {
        effects_->AddTitleText(kUnder, kTitleDelay, kTitleSeconds, 0.59f, 0.45f, "Bonus Level");
    }
}

void GameEffects::LevelComplete() {
    if (effects_ == nullptr) {
        return;
    }
    effects_->AddTitleText(kUnder, 0.5f, 3.0f, 0.59f, 0.45f, "Level Complete");
    for (int i = 0; i < 4; ++i) {
        const float x = 0.45f + static_cast<float>(i) * 0.1f;
        effects_->AddParticleBurst(kUnder, 3.0f, 1.2f, x, 0.45f, 0.12f, 0.5f,
                                   Texture("Graphics\\particle1.png"), false);
        effects_->AddParticleBurst(kUnder, 3.0f, 1.2f, x, 0.45f, 0.12f, 0.5f,
                                   Texture("Graphics\\particle2.png"), false);
    }
}

void GameEffects::ScoreFlight(float delay, float duration, float fromX, float fromY, float toX,
                              float toY, int amount) {
    if (effects_ == nullptr) {
        return;
    }
    char text[16];
    std::snprintf(text, sizeof(text), "%d", amount);
    effects_->AddFlyText(kOver, delay, duration, fromX, fromY, toX, toY, text, false);
}

void GameEffects::Star(float delay, float x, float y) {
    if (effects_ != nullptr) {
        effects_->AddAnimSprite(kUnder, delay, 1.0f, x, y, Texture("Graphics\\star-rotation.png"),
                                3, 3, 0);
    }
}

void GameEffects::SoundAt(float delay, const char* eventName) {
    if (effects_ != nullptr) {
        effects_->AddSound(delay, eventName);
    }
}

void GameEffects::SetFloatAt(float delay, float* target, float value) {
    Tween(delay, kShortTween, value, value, target);
}

void GameEffects::Shrink(float* target, float from) {
    Tween(0, kFadeSeconds, from, 0, target);
}

void GameEffects::BonusTitle() {
    if (effects_ != nullptr) {
        effects_->AddTitleText(kUnder, 0, 4.5f, 0.59f, 0.45f, "Bonus!");
    }
}

void GameEffects::NoBonusTitle() {
    if (effects_ != nullptr) {
        effects_->AddTitleText(kUnder, 0, 2.5f, 0.59f, 0.45f, "No Bonus");
    }
}

void GameEffects::Chomp(int index, float x, float y) {
    if (effects_ == nullptr) {
        return;
    }
    const float at = static_cast<float>(index) * 0.5f;
    effects_->AddShrinkSprite(kOver, at, 0.5f, x, y, 0.0890625f, 0.11875f,
                              Texture("Graphics\\qy_effect_chomp.png"));
    effects_->AddSound(at, "shape_chomp");
    effects_->AddRisingText(kUnder, at + 0.5f, 0.8f, x, y, "1000", false);
}

void GameEffects::MarkerMove(float* x, float* y, float toX, float toY) {
    Tween(0.5f, 2.5f, *x, toX, x);
    Tween(0.5f, 2.5f, *y, toY, y);
}

void GameEffects::Reveal(float delay, float* shown) {
    Tween(delay, kShortTween, 0, 1, shown);
}

bool GameEffects::ScoreAt(float delay, int* fired) {
    return effects_ != nullptr && effects_->AddIntAdd(delay, 1, fired) == 1;
}

}  // namespace Quillory
