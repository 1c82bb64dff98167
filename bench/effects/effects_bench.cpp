// What a busy effects frame costs: the list full (100 particle bursts of 10 particles, 25 rising
// scores in the digit image, 25 fading texts in the symbol font) updated and drawn into an
// 800x600 software screen with the game's own data, against the same sprite and text draws made
// directly through the sprite manager. The difference is the list's own cost.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "effects/effect2d.h"
#include "engine/app_log.h"
#include "engine/display_image.h"
#include "engine/ini_access.h"
#include "engine/sprite_manager.h"
#include "framework/graphics/graphics.h"
#include "framework/graphics/memory_image.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/random.h"

namespace {

constexpr int kBursts = 100;
constexpr int kTexts = 25;

struct EffectsScene {
    EffectsScene()
        : screen(800, 600), graphics(&screen), effects(clock, random, nullptr, &sprites) {
        char folder[] = "/tmp/quillory-bench-XXXXXX";
        userFolder = mkdtemp(folder) != nullptr ? folder : "/tmp";
        Platform::SetUserFolderOverride(userFolder);
        Quillory::SetLogFilePath((userFolder + "/applog.htm").c_str());
        std::filesystem::current_path(QUILLORY_DATA_DIR);
        Quillory::SetLanguageName("ENGLISH");
        sprites.SetHost(&host);
        sprites.SetTarget(&graphics);
        sprites.InitSymbolFont("English\\font01.png");
        particle = sprites.GetTexture("Graphics\\particle1.png");
        digits = sprites.GetTexture("Graphics\\digits.png");
        for (int i = 0; i < kBursts; ++i) {
            effects.AddParticleBurst(1, 0, 1.0f, 0.1f + 0.008f * i, 0.5f, 0.04f, 0.15f, particle,
                                     i % 2 == 0);
        }
        for (int i = 0; i < kTexts; ++i) {
            effects.AddRisingText(1, 0, 1.0f, 0.1f + 0.03f * i, 0.3f, "12500", true);
            effects.AddFadeText(1, 0, 1.0f, 0.1f + 0.03f * i, 0.7f, "Excellent!", false);
        }
        effects.Update();  // start
        clock.Advance(500);
        effects.Update();  // half way; later updates see no time pass and change nothing
    }
    ~EffectsScene() {
        std::error_code ignored;
        std::filesystem::remove_all(userFolder, ignored);
    }

    std::string userFolder;
    Quillory::DisplaySpriteHost host;
    Quillory::CSpriteManager sprites;
    Tuvo::MemoryImage screen;
    Tuvo::Graphics graphics;
    Platform::ManualClock clock;
    Platform::RandomGenerator random{1};
    Quillory::CEffect2d effects;
    Tuvo::Image* particle = nullptr;
    Tuvo::Image* digits = nullptr;
};

EffectsScene& Scene() {
    static EffectsScene scene;
    return scene;
}

void BM_FullEffectsFrame(benchmark::State& state) {
    EffectsScene& scene = Scene();
    if (scene.particle == nullptr || scene.digits == nullptr ||
        scene.effects.Count() != kBursts + 2 * kTexts) {
        state.SkipWithError("the effects scene did not load");
        return;
    }
    for (auto _ : state) {
        scene.effects.Update();
        scene.effects.Draw(1);
        benchmark::DoNotOptimize(scene.screen.GetBits());
    }
}
BENCHMARK(BM_FullEffectsFrame)->Unit(benchmark::kMicrosecond);

// The reference: the draws of the frame above, made by hand.
void BM_SameDrawsDirectly(benchmark::State& state) {
    EffectsScene& scene = Scene();
    const uint32_t white = Quillory::kNoTint;
    for (auto _ : state) {
        for (int i = 0; i < scene.effects.Count(); ++i) {
            const Quillory::EffectRecord& effect = scene.effects.Record(i);
            for (int k = 0; k < effect.particleCount; ++k) {
                const Quillory::Particle& particle = effect.particles[k];
                const float distance = 0.5f * effect.radius * particle.speedFactor;
                scene.sprites.DrawSprite(
                    scene.particle, effect.x + std::cos(particle.angle) * distance,
                    effect.y + std::sin(particle.angle) * distance * 4 / 3, 0.75f * particle.size,
                    particle.size, 0, 0, 1, 1, white, Quillory::kSpriteNormalMode, 0);
            }
        }
        for (int i = 0; i < kTexts; ++i) {
            const float x = 0.1f + 0.03f * i;
            scene.sprites.DrawDigits(scene.digits, x, 0.225f, 0.75f, 0x80FFFFFF, "12500", 1.0f);
            scene.sprites.DrawText(x, 0.7f, 0.1f, white, 0x11, "Excellent!");
        }
        benchmark::DoNotOptimize(scene.screen.GetBits());
    }
}
BENCHMARK(BM_SameDrawsDirectly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
