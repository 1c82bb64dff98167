// The effects list: short, time-driven effects that the game queues and every screen updates and
// draws once per frame. Texts that rise, fly, fade or drop; sprites that grow, shrink, animate or
// follow a moving object; particle bursts; and three invisible helpers that tween a float, add to
// an int or play a sound event after a delay. Effects run on wall-clock time read from the
// clock, not on the fixed game update. The list is a fixed array of records: nothing is
// allocated while the game runs.
#pragma once

#include <array>
#include <cstdint>

namespace Platform {
class Clock;
class RandomGenerator;
}  // namespace Platform

namespace Tuvo {
class Image;
}

namespace Quillory {

class CSpriteManager;
class SoundEventPlayer;

enum EffectKind : int {
    EFFECT_RISING_TEXT = 1,
    EFFECT_GROW_SPRITE = 3,
    EFFECT_FLOAT_TWEEN = 4,
    EFFECT_DROP_TEXT = 5,
    EFFECT_SHRINK_SPRITE = 6,
    EFFECT_SOUND = 7,
    EFFECT_FADE_TEXT = 8,
    EFFECT_ANIM_SPRITE = 9,
    EFFECT_PARTICLE_BURST = 10,
    EFFECT_FOLLOW_SPRITE = 11,
    EFFECT_FLY_TEXT = 12,
    EFFECT_TITLE_TEXT = 13,
    EFFECT_INT_ADD = 14,
};

constexpr int kMaxEffects = 150;
constexpr int kMaxParticles = 10;
constexpr int kEffectTextSize = 256;  // 255 characters and the terminator
constexpr int kAllLayers = -1;        // an effect on this layer shows in every draw call

struct Particle {
    float angle = 0;        // radians
    float speedFactor = 0;  // share of the radius reached at progress 1
    float size = 0;         // screen fractions
    float spin = 0;         // -1 to 1
};

// One effect; each kind uses only some of the fields.
struct EffectRecord {
    int kind = 0;
    int layer = kAllLayers;
    const float* followX = nullptr;  // kind 11, not owned
    const float* followY = nullptr;
    float x = 0;
    float y = 0;
    float width = 0;  // kinds 3 and 6: the full size
    float height = 0;
    float yOffset = 0;  // kind 5
    char text[kEffectTextSize] = {};
    float progress = 0;    // 0 to 1
    float duration = 0;    // seconds of the active phase
    double startTime = 0;  // seconds on the list's own time line: creation plus the delay
    float particleSize = 0;
    std::array<Particle, kMaxParticles> particles{};
    int particleCount = 0;  // the detail level when the burst was made
    float radius = 0;
    Tuvo::Image* image = nullptr;  // not owned; null draws nothing
    float from = 0;                // kind 4
    float to = 0;
    float* floatTarget = nullptr;  // kind 4, not owned
    int* intTarget = nullptr;      // kind 14, not owned
    int amount = 0;
    bool done = false;
    bool pending = true;
    bool digits = false;  // draw the text with "Graphics\digits.png" instead of the font
    int columns = 1;      // kind 9: cells of the sheet
    int rows = 1;
    float riseSpeed = 0;     // kind 9, screen fractions per second
    float destinationX = 0;  // kind 12
    float destinationY = 0;
};

class CEffect2d {
public:
    static constexpr int kDefaultDetail = 10;

    // The clock and the cosmetic generator must outlive the list. Sounds and sprites may be null
    // (nothing plays, nothing is drawn) and can be set later.
    CEffect2d(Platform::Clock& clock, Platform::RandomGenerator& random,
              SoundEventPlayer* sounds = nullptr, CSpriteManager* sprites = nullptr);
    virtual ~CEffect2d() = default;
    CEffect2d(const CEffect2d&) = delete;
    CEffect2d& operator=(const CEffect2d&) = delete;

    void SetSoundPlayer(SoundEventPlayer* sounds) { sounds_ = sounds; }
    // Where the effects draw: the sprite manager and its symbol font. Null, or a sprite manager
    // without a drawing target, draws nothing.
    void SetSprites(CSpriteManager* sprites) { sprites_ = sprites; }

    // Particles per new burst: 10 with 3-D acceleration, 5 without (kept within 1 to 10). Bursts
    // already running keep the count they were made with.
    void SetDetail(int detail);
    int Detail() const { return detail_; }

    // Every adder returns 1 when the effect was queued and 0 when the list already holds 150.
    // Delays and durations are seconds; positions and sizes screen fractions. Texts longer than
    // 255 characters are cut.
    int AddRisingText(int layer, float delay, float duration, float x, float y, const char* text,
                      bool digits);
    int AddFlyText(int layer, float delay, float duration, float x, float y, float destinationX,
                   float destinationY, const char* text, bool digits);
    int AddTitleText(int layer, float delay, float duration, float x, float y, const char* text);
    int AddFadeText(int layer, float delay, float duration, float x, float y, const char* text,
                    bool digits);
    int AddDropText(int layer, float delay, float duration, float x, float y, const char* text,
                    float yOffset);
    int AddAnimSprite(int layer, float delay, float duration, float x, float y, Tuvo::Image* image,
                      int columns, int rows, float riseSpeed);
    // followX and followY are read at every draw: Clear the list before the object they belong
    // to goes away.
    int AddFollowSprite(int layer, float delay, float duration, const float* followX,
                        const float* followY, Tuvo::Image* image);
    int AddGrowSprite(int layer, float delay, float duration, float x, float y, float width,
                      float height, Tuvo::Image* image);
    int AddShrinkSprite(int layer, float delay, float duration, float x, float y, float width,
                        float height, Tuvo::Image* image);
    int AddParticleBurst(int layer, float delay, float duration, float x, float y,
                         float particleSize, float radius, Tuvo::Image* image, bool ring);
    // The target is written at every update until the tween is removed: Clear the list before
    // the field dies (the shell does so when a game ends).
    int AddFloatTween(float delay, float duration, float from, float to, float* target);
    int AddSound(float delay, const char* eventName);
    // The target is written once, at the start time: Clear the list before the field dies.
    int AddIntAdd(float delay, int amount, int* target);

    // Removes every effect and restarts the time step from now.
    void Clear();
    // Starts due effects, advances the running ones by the time since the last update and
    // removes those that finished in the update before.
    void Update();
    // Draws the effects of `layer` and those of every layer (-1).
    void Draw(int layer);

    int Count() const { return count_; }
    // Effect `index`, 0 to Count() - 1, in creation order.
    const EffectRecord& Record(int index) const { return effects_[index]; }

private:
    // Seconds on the list's time line, read from the millisecond clock without losing precision
    // or jumping when the clock wraps.
    double Now();
    EffectRecord* Append(int kind, int layer, float delay, float duration);
    void Remove(int index);
    void Start(EffectRecord& effect);
    void DrawEffect(const EffectRecord& effect, double now);
    void DrawLabel(const EffectRecord& effect, float x, float y, float height, uint32_t colour,
                   int flags, float digitScale);
    void DrawBurst(const EffectRecord& effect);

    Platform::Clock& clock_;
    Platform::RandomGenerator& random_;
    SoundEventPlayer* sounds_ = nullptr;
    CSpriteManager* sprites_ = nullptr;
    int count_ = 0;
    int detail_ = kDefaultDetail;
    std::array<EffectRecord, kMaxEffects> effects_{};
    double lastTime_ = 0;      // time of the previous update
    uint32_t epochMs_ = 0;     // clock reading at the last rebase
    double epochSeconds_ = 0;  // Now() at that reading
};

// alpha(v): floor(v x 255) + 1 modulo 256 in the alpha byte of white, so 1.0 wraps to 0, which
// the colour type reads as opaque.
uint32_t EffectAlpha(float v);

}  // namespace Quillory
