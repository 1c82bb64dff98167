// What the screens cost per frame, painted by the game's own painters from the real rules on the
// real data into an 800x600 software screen: the main menu, the stage map and the first level's
// play screen in the middle of its tutorial. The reference is the cheapest full screen there is:
// the menu background copied at its own size.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "effects/effect2d.h"
#include "engine/app_log.h"
#include "engine/display_image.h"
#include "engine/ini_access.h"
#include "engine/scores.h"
#include "engine/sprite_manager.h"
#include "framework/graphics/graphics.h"
#include "framework/graphics/memory_image.h"
#include "game/menu_controls.h"
#include "game/quillory_game.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/random.h"
#include "playfield/screen_painter.h"

namespace {

class StillPointer : public Quillory::PointerInput {
public:
    Quillory::PointerState Sample() override { return {}; }
};

class SpriteTextures : public Quillory::TextureSource {
public:
    explicit SpriteTextures(Quillory::CSpriteManager& sprites) : sprites_(sprites) {}
    Tuvo::Image* GetTexture(const char* name) override { return sprites_.GetTexture(name); }

private:
    Quillory::CSpriteManager& sprites_;
};

// The game's data folder with a throw-away user folder, and the rules at a level's start.
struct Scene {
    Scene()
        : screen(800, 600),
          graphics(&screen),
          effects(clock, cosmetic, nullptr, &sprites),
          textures(sprites),
          controls(&menus[Tuvo::MENU_MAIN], &menus[Tuvo::MENU_INGAME], &menus[Tuvo::MENU_MAP]) {
        char folder[] = "/tmp/quillory-bench-XXXXXX";
        userFolder = mkdtemp(folder) != nullptr ? folder : "/tmp";
        Platform::SetUserFolderOverride(userFolder);
        Quillory::SetLogFilePath((userFolder + "/applog.htm").c_str());
        std::filesystem::current_path(QUILLORY_DATA_DIR);
        Quillory::SetLanguageName("ENGLISH");
        sprites.SetHost(&host);
        sprites.SetTarget(&graphics);
        sprites.InitSymbolFont("English\\font01.png");
        for (int i = 0; i < Tuvo::MENU_COUNT; ++i) {
            menus[i].Attach(&sprites, nullptr);
            menus[i].Load((std::string("Menu\\") + Tuvo::kMenuFiles[i]).c_str());
        }
        Quillory::GameServices services;
        services.clock = &clock;
        services.pointer = &pointer;
        services.rulesRandom = &rules;
        services.cosmeticRandom = &cosmetic;
        services.textures = &textures;
        services.effects = &effects;
        services.menus = &controls;
        game = std::make_unique<Quillory::CQuilloryGame>(services);
        game->LoadClasses("classes.xml");
        painter = std::make_unique<Tuvo::ScreenPainter>(*game, sprites, menus, effects, scores);
        back = sprites.GetTexture("Graphics\\back_menu.jpg");
    }
    ~Scene() {
        std::error_code ignored;
        std::filesystem::remove_all(userFolder, ignored);
    }
    // Runs the rules for `seconds` of 60 Hz frames.
    void Run(float seconds) {
        for (int frame = 0; frame < seconds * 60; ++frame) {
            clock.Advance(17);
            game->AdvanceFrame(1.6667f);
        }
    }

    std::string userFolder;
    Quillory::DisplaySpriteHost host;
    Quillory::CSpriteManager sprites;
    Tuvo::MemoryImage screen;
    Tuvo::Graphics graphics;
    Platform::ManualClock clock;
    Platform::RandomGenerator rules{1};
    Platform::RandomGenerator cosmetic{2};
    StillPointer pointer;
    Quillory::CEffect2d effects;
    SpriteTextures textures;
    Tuvo::MenuSet menus;
    Quillory::CMenuControls controls;
    Quillory::CScores scores;
    std::unique_ptr<Quillory::CQuilloryGame> game;
    std::unique_ptr<Tuvo::ScreenPainter> painter;
    Tuvo::Image* back = nullptr;
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void BM_ReferenceBackgroundCopy(benchmark::State& state) {
    Scene& scene = TheScene();
    for (auto _ : state) {
        // Forgets the copy before, which would otherwise leave nothing to copy again.
        scene.screen.BitsChanged();
        scene.sprites.DrawSprite(scene.back, 0.5f, 0.5f, 1, 1, 0, 0, 1, 1, Quillory::kNoTint,
                                 Quillory::kSpriteNaturalSize, 0);
        benchmark::DoNotOptimize(scene.screen.GetBits());
    }
}
BENCHMARK(BM_ReferenceBackgroundCopy)->Unit(benchmark::kMicrosecond);

void BM_MainMenu(benchmark::State& state) {
    Scene& scene = TheScene();
    scene.game->SetGameState(Quillory::STATE_MAIN_MENU);
    scene.Run(1.0f);
    for (auto _ : state) {
        scene.painter->PaintScreen(Quillory::STATE_MAIN_MENU);
        benchmark::DoNotOptimize(scene.screen.GetBits());
    }
}
BENCHMARK(BM_MainMenu)->Unit(benchmark::kMicrosecond);

void BM_StageMap(benchmark::State& state) {
    Scene& scene = TheScene();
    scene.game->SetGameState(Quillory::STATE_MAIN_MENU);
    scene.game->NewGame();
    scene.Run(1.5f);
    for (auto _ : state) {
        scene.painter->PaintScreen(Quillory::STATE_MAP);
        benchmark::DoNotOptimize(scene.screen.GetBits());
    }
}
BENCHMARK(BM_StageMap)->Unit(benchmark::kMicrosecond);

void BM_PlayScreenTutorial(benchmark::State& state) {
    Scene& scene = TheScene();
    scene.game->SetGameState(Quillory::STATE_MAP);
    scene.game->EditState().levelNumber = 1;
    scene.game->StartLevel();
    scene.Run(8.0f);
    if (scene.game->State().phase != Quillory::PHASE_PLAYING) {
        state.SkipWithError("the level did not reach its play phase");
        return;
    }
    for (auto _ : state) {
        scene.painter->PaintScreen(Quillory::STATE_PLAYING);
        benchmark::DoNotOptimize(scene.screen.GetBits());
    }
}
BENCHMARK(BM_PlayScreenTutorial)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
