// The effects list: adding, timing and drawing of the fixed effect records.
#include "effects/effect2d.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "engine/sound_event_player.h"
#include "engine/sprite_manager.h"
#include "platform/clock.h"
#include "platform/random.h"

namespace Quillory {
namespace {

constexpr float kPi = 3.14159265358979f;
constexpr const char* kDigitsImage = "Graphics\\digits.png";
constexpr float kDigitSpacing = 0.75f;
constexpr uint32_t kWhite = 0xFFFFFFFF;

// Copies text into a record's buffer, cutting it at 255 characters.
void CopyText(char (&buffer)[kEffectTextSize], const char* text) {
    buffer[0] = '\0';
    if (text != nullptr) {
        std::strncpy(buffer, text, kEffectTextSize - 1);
        buffer[kEffectTextSize - 1] = '\0';
    }
}

float Pow5(float t) {
    return t * t * t * t * t;
}

// A score field must not wrap into undefined behaviour: the sum stops at the int range.
int SaturatingAdd(int value, int amount) {
    const long long sum = static_cast<long long>(value) + amount;
    if (sum > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    if (sum < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(sum);
}

}  // namespace

uint32_t EffectAlpha(float v) {
    float scaled = std::floor(v * 255.0f);
    if (!(scaled > -1e6f && scaled < 1e6f)) {
        scaled = 0;  // NaN or absurd factors: keep the conversion defined
    }
    const uint32_t alpha = static_cast<uint32_t>(static_cast<int>(scaled) + 1) & 0xFFu;
    return (alpha << 24) | 0x00FFFFFFu;
}

CEffect2d::CEffect2d(Platform::Clock& clock, Platform::RandomGenerator& random,
                     SoundEventPlayer* sounds, CSpriteManager* sprites)
    : clock_(clock), random_(random), sounds_(sounds), sprites_(sprites) {
    epochMs_ = clock_.Milliseconds();
    epochSeconds_ = epochMs_ / 1000.0;
    lastTime_ = epochSeconds_;
}

void CEffect2d::SetDetail(int detail) {
    detail_ = detail < 1 ? 1 : (detail > kMaxParticles ? kMaxParticles : detail);
}

double CEffect2d::Now() {
    // The unsigned difference stays right across the clock's wrap after about 49 days, and the
    // double keeps millisecond steps exact however long the game runs.
    const uint32_t milliseconds = clock_.Milliseconds();
    const double now = epochSeconds_ + static_cast<uint32_t>(milliseconds - epochMs_) / 1000.0;
    epochMs_ = milliseconds;
    epochSeconds_ = now;
    return now;
}

EffectRecord* CEffect2d::Append(int kind, int layer, float delay, float duration) {
    if (count_ >= kMaxEffects) {
        return nullptr;
    }
    EffectRecord& effect = effects_[count_];
    effect = EffectRecord{};
    effect.kind = kind;
    effect.layer = layer;
    effect.duration = duration;
    effect.progress = 0;
    effect.pending = true;
    effect.startTime = Now() + delay;
    ++count_;
    return &effect;
}

int CEffect2d::AddRisingText(int layer, float delay, float duration, float x, float y,
                             const char* text, bool digits) {
    EffectRecord* effect = Append(EFFECT_RISING_TEXT, layer, delay, duration);
    if (effect == nullptr) {
        return 0;
    }
    effect->x = x;
    effect->y = y;
    CopyText(effect->text, text);
    effect->digits = digits;
    return 1;
}

int CEffect2d::AddFlyText(int layer, float delay, float duration, float x, float y,
                          float destinationX, float destinationY, const char* text, bool digits) {
    EffectRecord* effect = Append(EFFECT_FLY_TEXT, layer, delay, duration);
    if (effect == nullptr) {
        return 0;
    }
    effect->x = x;
    effect->y = y;
    effect->destinationX = destinationX;
    effect->destinationY = destinationY;
    CopyText(effect->text, text);
    effect->digits = digits;
    return 1;
}

int CEffect2d::AddTitleText(int layer, float delay, float duration, float x, float y,
                            const char* text) {
    EffectRecord* effect = Append(EFFECT_TITLE_TEXT, layer, delay, duration);
    if (effect == nullptr) {
        return 0;
    }
    effect->x = x;
    effect->y = y;
    CopyText(effect->text, text);
    return 1;
}

int CEffect2d::AddFadeText(int layer, float delay, float duration, float x, float y,
                           const char* text, bool digits) {
    EffectRecord* effect = Append(EFFECT_FADE_TEXT, layer, delay, duration);
    if (effect == nullptr) {
        return 0;
    }
    effect->x = x;
    effect->y = y;
    CopyText(effect->text, text);
    effect->digits = digits;
    return 1;
}

int CEffect2d::AddDropText(int layer, float delay, float duration, float x, float y,
                           const char* text, float yOffset) {
    EffectRecord* effect = Append(EFFECT_DROP_TEXT, layer, delay, duration);
    if (effect == nullptr) {
        return 0;
    }
    effect->x = x;
    effect->y = y;
    CopyText(effect->text, text);
    effect->yOffset = yOffset;
    return 1;
}

int CEffect2d::AddAnimSprite(int layer, float delay, float duration, float x, float y,
                             Tuvo::Image* image, int columns, int rows, float riseSpeed) {
    EffectRecord* effect = Append(EFFECT_ANIM_SPRITE, layer, delay, duration);
    if (effect == nullptr) {
        return 0;
    }
    effect->x = x;
    effect->y = y;
    effect->image = image;
    effect->columns = columns;
    effect->rows = rows;
    effect->riseSpeed = riseSpeed;
    return 1;
}

int CEffect2d::AddFollowSprite(int layer, float delay, float duration, const float* followX,
                               const float* followY, Tuvo::Image* image) {
    EffectRecord* effect = Append(EFFECT_FOLLOW_SPRITE, layer, delay, duration);
    if (effect == nullptr) {
        return 0;
    }
    effect->followX = followX;
    effect->followY = followY;
    effect->image = image;
    return 1;
}

int CEffect2d::AddGrowSprite(int layer, float delay, float duration, float x, float y, float width,
                             float height, Tuvo::Image* image) {
    EffectRecord* effect = Append(EFFECT_GROW_SPRITE, layer, delay, duration);
    if (effect == nullptr) {
        return 0;
    }
    effect->x = x;
    effect->y = y;
    effect->width = width;
    effect->height = height;
    effect->image = image;
    return 1;
}

int CEffect2d::AddShrinkSprite(int layer, float delay, float duration, float x, float y,
                               float width, float height, Tuvo::Image* image) {
    EffectRecord* effect = Append(EFFECT_SHRINK_SPRITE, layer, delay, duration);
    if (effect == nullptr) {
        return 0;
    }
    effect->x = x;
    effect->y = y;
    effect->width = width;
    effect->height = height;
    effect->image = image;
    return 1;
}

int CEffect2d::AddParticleBurst(int layer, float delay, float duration, float x, float y,
                                float particleSize, float radius, Tuvo::Image* image, bool ring) {
    EffectRecord* effect = Append(EFFECT_PARTICLE_BURST, layer, delay, duration);
    if (effect == nullptr) {
        return 0;
    }
    effect->x = x;
    effect->y = y;
    effect->particleSize = particleSize;
    effect->radius = radius;
    effect->image = image;
    effect->particleCount = detail_;
    for (int i = 0; i < detail_; ++i) {
        Particle& particle = effect->particles[i];
        particle.spin = static_cast<float>(2 * random_.R01() - 1);
        if (ring) {
            particle.speedFactor = 1.0f;
            particle.angle = 2 * kPi * static_cast<float>(i) / static_cast<float>(detail_);
        } else {
            particle.speedFactor = static_cast<float>(0.5 + random_.R01() * 0.5);
            particle.angle = static_cast<float>(random_.R01()) * 2 * kPi;
        }
        particle.size = particleSize;
    }
    return 1;
}

int CEffect2d::AddFloatTween(float delay, float duration, float from, float to, float* target) {
    EffectRecord* effect = Append(EFFECT_FLOAT_TWEEN, kAllLayers, delay, duration);
    if (effect == nullptr) {
        return 0;
    }
    effect->from = from;
    effect->to = to;
    effect->floatTarget = target;
    return 1;
}

int CEffect2d::AddSound(float delay, const char* eventName) {
    EffectRecord* effect = Append(EFFECT_SOUND, kAllLayers, delay, 1.0f);
    if (effect == nullptr) {
        return 0;
    }
    CopyText(effect->text, eventName);
    return 1;
}

int CEffect2d::AddIntAdd(float delay, int amount, int* target) {
    EffectRecord* effect = Append(EFFECT_INT_ADD, kAllLayers, delay, 1.0f);
    if (effect == nullptr) {
        return 0;
    }
    effect->amount = amount;
    effect->intTarget = target;
    return 1;
}

void CEffect2d::Clear() {
    count_ = 0;
    lastTime_ = Now();
}

void CEffect2d::Remove(int index) {
    for (int i = index; i + 1 < count_; ++i) {
        effects_[i] = effects_[i + 1];
    }
    --count_;
}

void CEffect2d::Start(EffectRecord& effect) {
    switch (effect.kind) {
        case EFFECT_FLOAT_TWEEN:
            if (effect.floatTarget != nullptr) {
                *effect.floatTarget = effect.from;
            }
            break;
        case EFFECT_INT_ADD:
            if (effect.intTarget != nullptr) {
                *effect.intTarget = SaturatingAdd(*effect.intTarget, effect.amount);
            }
            break;
        case EFFECT_SOUND:
            if (sounds_ != nullptr && effect.text[0] != '\0') {
                sounds_->PlaySoundEvent(effect.text);
            }
            break;
        default:
            break;
    }
}

void CEffect2d::Update() {
    const double now = Now();
    const double dt = now - lastTime_;
    lastTime_ = now;
    int index = 0;
    while (index < count_) {
        EffectRecord& effect = effects_[index];
        // A duration of 0 (or a negative or NaN one) never starts: such an effect waits for
        // Clear rather than dividing by it.
        if (!(effect.duration > 0) || effect.startTime > now) {
            ++index;
            continue;
        }
        if (effect.pending) {
            effect.pending = false;
            Start(effect);
            ++index;
            continue;
        }
        if (effect.progress == 0) {
            effect.done = false;
        }
        if (effect.done) {
            Remove(index);  // the next record now sits at this index
            continue;
        }
        effect.progress += static_cast<float>(dt / effect.duration);
        if (effect.progress >= 1.0f) {
            effect.progress = 1.0f;
            effect.done = true;
        }
        if (effect.kind == EFFECT_FLOAT_TWEEN && effect.floatTarget != nullptr) {
            const float p = effect.progress;
            *effect.floatTarget = effect.done ? effect.to : (1 - p) * effect.from + p * effect.to;
        }
        ++index;
    }
}

void CEffect2d::Draw(int layer) {
    if (sprites_ == nullptr || sprites_->Target() == nullptr) {
        return;
    }
    const double now = Now();
    for (int i = 0; i < count_; ++i) {
        const EffectRecord& effect = effects_[i];
        if (effect.pending || (effect.layer != kAllLayers && effect.layer != layer)) {
            continue;
        }
        DrawEffect(effect, now);
    }
}

void CEffect2d::DrawLabel(const EffectRecord& effect, float x, float y, float height,
                          uint32_t colour, int flags, float digitScale) {
    if (effect.digits) {
        Tuvo::Image* digits = sprites_->GetTexture(kDigitsImage);
        if (digits != nullptr) {
            sprites_->DrawDigits(digits, x, y, kDigitSpacing, colour, effect.text, digitScale);
        }
        return;
    }
    sprites_->DrawText(x, y, height, colour, flags, effect.text);
}

void CEffect2d::DrawBurst(const EffectRecord& effect) {
    const float p = effect.progress;
    const float scale = p * 0.5f + 0.5f;
    const float fade = p <= 0.75f ? 1.0f : (1 - p) * 4;
    const uint32_t colour = EffectAlpha(fade);
    for (int i = 0; i < effect.particleCount; ++i) {
        const Particle& particle = effect.particles[i];
        const float distance = p * effect.radius * particle.speedFactor;
        // x and y are fractions of the 800 and the 600 pixel side: the 4/3 keeps the burst round.
        const float px = effect.x + std::cos(particle.angle) * distance;
        const float py = effect.y + std::sin(particle.angle) * distance * 4 / 3;
        const float size = scale * particle.size;
        sprites_->DrawSprite(effect.image, px, py, size, size * 4 / 3, 0, 0, 1, 1, colour,
                             kSpriteNormalMode, p * particle.spin * 4 * kPi);
    }
}

void CEffect2d::DrawEffect(const EffectRecord& effect, double now) {
    const float p = effect.progress;
    const bool hasImage = effect.image != nullptr;
    switch (effect.kind) {
        case EFFECT_RISING_TEXT:
            DrawLabel(effect, effect.x, effect.y - p * 0.15f, 0.05f, EffectAlpha(1 - p),
                      kTextCenter, 1.0f);
            break;
        case EFFECT_FLY_TEXT: {
            uint32_t colour = kWhite;
            if (p < 0.1f) {
                colour = EffectAlpha(p * 10);
            } else if (p > 0.9f) {
                colour = EffectAlpha((1 - p) * 10);
            }
            const float x = effect.x + (effect.destinationX - effect.x) * p * p * p;
            const float y = effect.y + (effect.destinationY - effect.y) * p;
            DrawLabel(effect, x, y, 0.05f, colour, kTextCenter, 1 - p * 0.5f);
            break;
        }
        case EFFECT_TITLE_TEXT: {
            // Slides in, stays, then grows while it fades.
            float t = 0;
            float height = 0.2f;
            float f = 0;
            if (p < 0.6f) {
                t = p / 0.6f - 1;
            } else if (p >= 0.9f) {
                f = (p - 0.9f) / 0.1f;
                height = 0.2f + f * 0.4f;
            }
            sprites_->DrawText(effect.x, effect.y + Pow5(t), height, EffectAlpha(1 - f),
                               kTextCenter, effect.text);
            break;
        }
        case EFFECT_FADE_TEXT: {
            float envelope = 1;
            if (p < 0.25f) {
                envelope = p / 0.25f;
            } else if (p >= 0.85f) {
                envelope = 1 - (p - 0.85f) / 0.15f;
            }
            envelope = envelope < 0 ? 0 : (envelope > 1 ? 1 : envelope);
            DrawLabel(effect, effect.x, effect.y, 0.1f, EffectAlpha(envelope),
                      kTextCenter | kTextNaturalSize, 1.0f);
            break;
        }
        case EFFECT_DROP_TEXT:
            sprites_->DrawText(effect.x, effect.y + Pow5(2 * p - 1) + effect.yOffset, 0.1f, kWhite,
                               kTextCenter | kTextNaturalSize, effect.text);
            break;
        case EFFECT_ANIM_SPRITE:
            if (hasImage) {
                const float rise = static_cast<float>(effect.riseSpeed * (now - effect.startTime));
                sprites_->DrawAnimFrame(effect.image, effect.x, effect.y + rise, 0.05f, 0.07f,
                                        kSpritePhase | kSpriteNaturalSize | kSpriteNormalMode,
                                        effect.columns, effect.rows, p, EffectAlpha(1 - p));
            }
            break;
        case EFFECT_FOLLOW_SPRITE:
            if (hasImage && effect.followX != nullptr && effect.followY != nullptr) {
                sprites_->DrawSprite(effect.image, *effect.followX, *effect.followY, 0.125f, 0.166f,
                                     0, 0, 1, 1, EffectAlpha(0.5f - p / 2),
                                     kSpriteAdditiveMode | kSpriteNaturalSize, 0);
            }
            break;
        case EFFECT_GROW_SPRITE:
            if (hasImage) {
                sprites_->DrawSprite(effect.image, effect.x, effect.y, p * effect.width,
                                     p * effect.height, 0, 0, 1, 1, kWhite, kSpriteNormalMode, 0);
            }
            break;
        case EFFECT_SHRINK_SPRITE:
            if (hasImage) {
                sprites_->DrawSprite(effect.image, effect.x, effect.y, (1 - p) * effect.width,
                                     (1 - p) * effect.height, 0, 0, 1, 1, kWhite, kSpriteNormalMode,
                                     0);
            }
            break;
        case EFFECT_PARTICLE_BURST:
            if (hasImage) {
                DrawBurst(effect);
            }
            break;
        default:
            break;  // the tween, the sound and the int add show nothing
    }
}

}  // namespace Quillory
