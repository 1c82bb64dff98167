// The game's application object: names and sizes, the options copied into the settings store,
// the 18 menu screens, the high-score table, the title music, and the loading of every image,
// font and sound on the loading thread while the loading screen is shown.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "engine/menu.h"
#include "engine/ogg_manager.h"
#include "engine/scores.h"
#include "engine/sound_playback.h"
#include "engine/sprite_manager.h"
#include "shell/app_base.h"

namespace Tuvo {

// The menu screens, in the order of their files.
enum MenuScreen {
    MENU_MAIN,
    MENU_GAME_OVER,
    MENU_HIGHSCORES,
    MENU_INGAME,
    MENU_PAUSE,
    MENU_OPTIONS,
    MENU_MAP,
    MENU_INFO_CLASSIC,
    MENU_INFO_RELAX,
    MENU_INFO_TRANSFORMER,
    MENU_CLEAR_CONFIRMATION,
    MENU_CONTINUE_CONFIRMATION,
    MENU_GAME_COMPLETE,
    MENU_INSTRUCTIONS,
    MENU_INSTRUCTIONS2,
    MENU_INSTRUCTIONS3,
    MENU_INTRO,
    MENU_CREDITS,
    MENU_COUNT
};

// The file of each menu screen under "Menu\".
extern const char* const kMenuFiles[MENU_COUNT];

class GameApp : public TuvoAppBase, public Quillory::SpriteHost, public Quillory::MenuHost {
public:
    // `arguments` are the process's arguments without the program path.
    explicit GameApp(const std::vector<std::string>& arguments,
                     Platform::Clock& clock = Platform::SystemClock());
    ~GameApp() override;

    void Init() override;
    void RunUpdate() override;
    void LoadResources() override;
    void OnResourcesLoaded() override;
    void OnHardwareAccelerationRefused() override;
    void OnQuit() override;
    void OnScreenModeChanged(bool windowed) override;

    // SpriteHost.
    std::unique_ptr<Image> LoadDisplayImage(const char* fileName, bool commitBits) override;
    int ScreenWidth() const override { return width_; }
    int ScreenHeight() const override { return height_; }
    int ClientWidth() const override { return width_; }
    int ClientHeight() const override { return height_; }
    bool Is3D() const override { return Is3DAccelerated(); }
    uint32_t Milliseconds() const override;

    // MenuHost.
    void PlaySound(const char* fileName) override;
    bool IsLeftButtonDown() const override;

    // Plays a sample of the sound events (by id), optionally panned.
    bool PlaySample(int id);
    bool PlaySample(int id, int pan);

    Quillory::CMenu& Menu(MenuScreen screen) { return menus_[screen]; }
    Quillory::CScores& Scores() { return scores_; }
    Quillory::CSpriteManager& Sprites() { return sprites_; }
    Quillory::COggManager& SoundEvents() { return soundEvents_; }

    // The screen state: 0 the loading screen, 1 the main menu.
    int ScreenState() const { return screenState_; }
    void SetGameState(int state);

    std::atomic<int> loadTotal_{0};
    std::atomic<int> loadDone_{0};

protected:
    // Opens the audio device and creates the sound manager and the music back end.
    void CreateSoundServices();

private:
    // Sets the window's icon from "icon.png" of the data.
    void SetWindowIcon();
    // Loads every image of a folder through the sprite manager, counting each one.
    void PreloadImageFolder(const char* folder);

    std::array<Quillory::CMenu, MENU_COUNT> menus_;
    Quillory::CScores scores_;
    Quillory::CSpriteManager sprites_;
    Quillory::COggManager soundEvents_;
    std::unique_ptr<Quillory::SoundPlayback> playback_;
    Widget* board_ = nullptr;
    // Set by the loading thread once the board exists; the main thread then adds it to the tree.
    std::atomic<bool> boardReady_{false};
    bool boardAdded_ = false;
    int screenState_ = 0;
    int previousScreenState_ = 0;
    mutable int lastSampledButtons_ = 0;
};

}  // namespace Tuvo
