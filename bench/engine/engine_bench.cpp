// What the engine costs per frame: the main menu of the game's own data drawn into an 800x600
// software screen the way the game draws it (a board widget under the widget manager clears the
// screen, draws the background over the whole screen and the menu: title, eight buttons with
// captions; the real board's butterflies and information panels are left out), one line of text,
// and the image look-up that every sprite draw starts with, in a full table. The whole game's main
// menu, with its present and idle loop, is in bench/shell.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/app_log.h"
#include "engine/display_image.h"
#include "engine/ini_access.h"
#include "engine/menu.h"
#include "engine/sprite_manager.h"
#include "framework/graphics/graphics.h"
#include "framework/graphics/memory_image.h"
#include "framework/widgets/widget.h"
#include "framework/widgets/widget_manager.h"
#include "platform/folders.h"

namespace {

class SilentMenuHost : public Quillory::MenuHost {
public:
    void PlaySound(const char*) override {}
    bool IsLeftButtonDown() const override { return false; }
};

// Every image is 64x64 and made without touching the disk.
class SquareHost : public Quillory::DisplaySpriteHost {
public:
    std::unique_ptr<Tuvo::Image> LoadDisplayImage(const char*, bool) override {
        return std::make_unique<Tuvo::MemoryImage>(64, 64);
    }
};

// Draws what the game's board draws on the main menu.
class MenuBoard : public Tuvo::Widget {
public:
    MenuBoard(Quillory::CSpriteManager& sprites, Quillory::CMenu& menu)
        : sprites_(sprites), menu_(menu) {}

    void Draw(Tuvo::Graphics* g) override {
        sprites_.SetTarget(g);
        g->SetColor(Tuvo::Color(0, 0, 0, 255));
        g->FillRect(0, 0, Width(), Height());
        // The whole screen, stretched (flags 0), as the board's main menu draws it.
        sprites_.DrawSprite(sprites_.GetTexture("Graphics\\back_menu.jpg"), 0.5f, 0.5f, 1, 1, 0, 0,
                            1, 1, Quillory::kNoTint, 0, 0);
        menu_.Draw();
        sprites_.SetTarget(nullptr);
    }

private:
    Quillory::CSpriteManager& sprites_;
    Quillory::CMenu& menu_;
};

// The game's data folder with a throw-away user folder, set up once.
struct MenuScene {
    MenuScene() : screen(800, 600), graphics(&screen), manager(nullptr), board(sprites, menu) {
        char folder[] = "/tmp/quillory-bench-XXXXXX";
        userFolder = mkdtemp(folder) != nullptr ? folder : "/tmp";
        Platform::SetUserFolderOverride(userFolder);
        Quillory::SetLogFilePath((userFolder + "/applog.htm").c_str());
        std::filesystem::current_path(QUILLORY_DATA_DIR);
        Quillory::SetLanguageName("ENGLISH");
        sprites.SetHost(&host);
        sprites.SetTarget(&graphics);
        sprites.InitSymbolFont("English\\font01.png");
        menu.Attach(&sprites, &menuHost);
        loaded = menu.Load("Menu\\menu-main.xml") == 1;
        manager.SetScreenImage(&screen);
        manager.Resize(Tuvo::Rect(0, 0, 800, 600));
        board.Resize(0, 0, 800, 600);
        manager.AddWidget(&board);
        manager.DrawScreen();  // loads the images, as the game's loading thread does beforehand
    }
    ~MenuScene() {
        manager.RemoveWidget(&board);
        std::error_code ignored;
        std::filesystem::remove_all(userFolder, ignored);
    }

    std::string userFolder;
    Quillory::DisplaySpriteHost host;
    SilentMenuHost menuHost;
    Quillory::CSpriteManager sprites;
    Tuvo::MemoryImage screen;
    Tuvo::Graphics graphics;
    Quillory::CMenu menu;
    Tuvo::WidgetManager manager;
    MenuBoard board;
    bool loaded = false;
};

MenuScene& Scene() {
    static MenuScene scene;
    return scene;
}

void BM_MainMenuFrame(benchmark::State& state) {
    MenuScene& scene = Scene();
    if (!scene.loaded) {
        state.SkipWithError("the main menu did not load");
        return;
    }
    for (auto _ : state) {
        scene.board.MarkDirty();
        scene.manager.DrawScreen();
        benchmark::DoNotOptimize(scene.screen.GetBits());
    }
}
BENCHMARK(BM_MainMenuFrame)->Unit(benchmark::kMicrosecond);

// One line of text, smooth-scaled (argument 0, as on the graphics card's renderer) or nearest
// (1, as on the software renderer).
void BM_TextLine(benchmark::State& state) {
    MenuScene& scene = Scene();
    scene.sprites.SetTarget(&scene.graphics);  // the board leaves no target behind
    scene.graphics.SetQuickScaling(state.range(0) != 0);
    for (auto _ : state) {
        scene.sprites.DrawText(0.5f, 0.5f, 0.05f, 0xFFFFFFFF, Quillory::kTextCenter,
                               "The quick brown fox jumps over the lazy dog");
    }
}
BENCHMARK(BM_TextLine)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_LookUpInAFullTable(benchmark::State& state) {
    Scene();  // the log and user folder go to the throw-away folder
    SquareHost host;
    Quillory::CSpriteManager sprites;
    sprites.SetHost(&host);
    for (int i = 0; i < Quillory::CSpriteManager::kMaxTextures; ++i) {
        sprites.GetTexture(("Graphics\\Shapes\\picture_" + std::to_string(i) + ".png").c_str());
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(sprites.GetTexture("Graphics\\Shapes\\picture_749.png"));
    }
}
BENCHMARK(BM_LookUpInAFullTable);

}  // namespace

BENCHMARK_MAIN();
