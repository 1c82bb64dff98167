// The one table from game events to the effects list: which adder each event of the rules uses,
// with its layer, delay, duration, place, picture and text. The rules call these and nothing
// else of the effects list, so the look of the game's events is decided here.
#pragma once

namespace Tuvo {
class Image;
}

namespace Quillory {

class CEffect2d;
class TextureSource;

class GameEffects {
public:
    GameEffects(CEffect2d* effects, TextureSource* textures)
        : effects_(effects), textures_(textures) {}

    // Placing and filling.
    void FlyIn(const float* x, const float* y, const char* picture);
    void DropPoints(float x, float y, int points);
    void RunBonus(float x, float y, int points);
    void BonusSparkle(float x, float y);
    void AreaBurst(float x, float y);
    void Discarded(float x, float y, float width, float height, const char* picture);
    void LineShrink(float* scale);
    void LineSlide(float* x, float from, float to);

    // Creatures.
    void BugEats(float x, float y);

    // Level flow.
    void Fade(float* fade, float from, float to);
    void LevelTitle(int levelNumber);
    void BonusLevelTitle();
    void LevelComplete();
    void ScoreFlight(float delay, float duration, float fromX, float fromY, float toX, float toY,
                     int amount);
    void Star(float delay, float x, float y);
    void SoundAt(float delay, const char* eventName);
    void SetFloatAt(float delay, float* target, float value);
    void Shrink(float* target, float from);
    void BonusTitle();
    void NoBonusTitle();
    void Chomp(int index, float x, float y);
    // The stage marker moves to its new stage after the map has faded in.
    void MarkerMove(float* x, float* y, float toX, float toY);
    // `shown` rises from 0 to 1 after `delay`.
    void Reveal(float delay, float* shown);

    // A score addition due after `delay`: 1 is added to `fired` then. False when it could not be
    // queued (the caller then applies it at once).
    bool ScoreAt(float delay, int* fired);

    // Seconds from now until everything the opening queues has run out (the phase changes wait
    // for exactly this).
    static constexpr float kFadeSeconds = 0.5f;
    static constexpr float kTitleDelay = 1.0f;
    static constexpr float kTitleSeconds = 2.5f;

private:
    Tuvo::Image* Texture(const char* fileName);
    void Tween(float delay, float duration, float from, float to, float* target);

    CEffect2d* effects_;
    TextureSource* textures_;
};

}  // namespace Quillory
