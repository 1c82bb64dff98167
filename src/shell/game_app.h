// The game's application object: names and sizes, the options copied into the settings store,
// the 18 menu screens, the high-score table, the title music, and the loading of every image,
// font and sound on the loading thread while the loading screen is shown.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "effects/effect2d.h"
#include "engine/menu.h"
#include "engine/ogg_manager.h"
#include "engine/scores.h"
#include "engine/sound_playback.h"
#include "engine/sprite_manager.h"
#include "game/menu_controls.h"
#include "game/quillory_game.h"
#include "platform/mouse_latch.h"
#include "playfield/board.h"
#include "playfield/screen_painter.h"
#include "playfield/screens.h"
#include "shell/app_base.h"
#include "shell/demo_session.h"
#include "shell/game_wiring.h"
#include "shell/input_script.h"
#include "shell/menu_actions.h"

namespace Tuvo {

// Holds the clock the application runs on, so that it exists before the application's base is
// given it: the real clock, or one stepped by updates while play is recorded or played back.
class SteppedClockHolder {
protected:
    // Recorded and played-back sessions run on the stepped clock from the very start, so that
    // nothing reads a wall time that the next run would not see again.
    SteppedClockHolder(Platform::Clock& real, const std::vector<std::string>& arguments);
    SteppedClock steppedClock_;
};

// Besides the base's roles, the application is the board's host, the rules' screen-state host
// and the action table's window and application.
class GameApp : private SteppedClockHolder,
                public TuvoAppBase,
                public Quillory::SpriteHost,
                public Quillory::MenuHost,
                public BoardHost,
                public Quillory::ScreenStateHost,
                public ActionHost,
                public ScriptTarget {
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
    void OnLoopEnd() override;
    // Recording and playback run one update per step, on update counts.
    bool StepTiming(bool maySleep) override;
    void PointerPosition(int& x, int& y) const override;
    // 0, or 3 when a playback went another way than its recording.
    int ExitCode() const { return exitCode_; }
    // Writes the last drawn frame into the user folder's "screenshots/" (F12); the path, or empty.
    std::string TakeScreenshot();
    void OnQuit() override;
    void OnScreenModeChanged(bool windowed) override;

    // SpriteHost.
    std::unique_ptr<Image> LoadDisplayImage(const char* fileName, bool commitBits) override;
    int ScreenWidth() const override { return width_; }
    int ScreenHeight() const override { return height_; }
    int ClientWidth() const override { return width_; }
    int ClientHeight() const override { return height_; }
    // Also the action table's question.
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

    // BoardHost.
    int ScreenState() const override;
    // Switches screens: the rules' part, then (through OnScreenStateChanged) the pointer nudge.
    void SetGameState(int state) override;
    void AdvanceFrame(float updateAmount) override;
    void PaintScreen(int state) override;
    void DispatchInput(const Quillory::WindowMessage& record) override;
    float Fade() const override;
    bool ShowFrameRate() const override;
    void* MainWindow() const override { return const_cast<Platform::GameWindow*>(&window_); }

    // ScreenStateHost: the pointer moves one pixel down, so the new screen's buttons see it.
    void OnScreenStateChanged(int previous, int current) override;

    // ActionHost.
    void Quit() override { TuvoAppBase::Quit(); }
    void OpenUrlFile(const char* path) override;
    bool IsWindowed() const override { return settings_.windowed; }
    // Also Alt+Enter and maximising: the options' check box follows the window.
    void SwitchScreenMode(bool windowed) override;
    void Switch3D(bool on) override;
    void SetMusicVolume(float volume) override;
    void LiftMusicDuck() override;
    void SetSfxVolume(float volume) override;

    // The buttons as the game samples them, scripted presses included.
    int SampleMouseButtons() override;

    // ScriptTarget: scripted input for end-to-end runs.
    int ScriptScreenState() const override { return ScreenState(); }
    int ScriptTutorialStep() const override;
    const Quillory::GameModel& ScriptGame() const override { return game_->State(); }
    bool ScriptControlCentre(const std::string& menuFile, const std::string& control, float& x,
                             float& y) const override;
    bool ScriptShapeCentre(bool cell, int index, float& x, float& y) const override;
    void ScriptMovePointer(float x, float y) override;
    void ScriptButton(bool down, bool right, float x, float y) override;
    void ScriptPointer(float& x, float& y) const override;
    void ScriptKey(int code) override;
    void ScriptCharacter(char character) override;
    void ScriptQuit() override;
    bool ScriptScreenshot(const std::string& path) override;
    void ScriptSetState(int state) override { SetGameState(state); }
    void ScriptGameComplete() override { game_->GameComplete(); }

    Quillory::CQuilloryGame* Game() { return game_.get(); }
    Quillory::CEffect2d& Effects() { return effects_; }
    MenuActions* Actions() { return actions_.get(); }
    // The loading gauge's fill, 0 to 100 (0 while nothing is counted).
    int LoadPercent() const;

    std::atomic<int> loadTotal_{0};
    std::atomic<int> loadDone_{0};

protected:
    void PumpWindowEvents(std::vector<Platform::InputEvent>& events) override;
    void DeliverInput(const Platform::InputEvent& event) override;
    // Opens the audio device and creates the sound manager and the music back end.
    void CreateSoundServices();

private:
    // Reads the demo options; a playback gets its recording and its user folder here, before
    // anything of the user folder is touched. Refusals end the program with code 2.
    void SetUpDemo(const std::vector<std::string>& arguments, const std::string& startFolder);
    // Seeds and settings: noted when recording, applied when playing.
    void ApplyDemoStart();
    // One update of recorded or played-back play.
    void StepDemo();
    // The options' check boxes show the window mode and the renderer that are really in use.
    void ShowDisplayOptions();
    // Sets the window's icon from "icon.png" of the data.
    void SetWindowIcon();
    // Loads every image of a folder through the sprite manager, counting each one.
    void PreloadImageFolder(const char* folder);

    std::array<Quillory::CMenu, MENU_COUNT> menus_;
    Quillory::CScores scores_;
    Quillory::CSpriteManager sprites_;
    Quillory::COggManager soundEvents_;
    std::unique_ptr<Quillory::SoundPlayback> playback_;
    Board* board_ = nullptr;
    // Set by the loading thread once the board exists; the main thread then adds it to the tree.
    std::atomic<bool> boardReady_{false};
    bool boardAdded_ = false;
    // The rules' services and the rules; the rules exist once the user folder is known.
    Platform::RandomGenerator rulesRandom_;
    Platform::RandomGenerator cosmeticRandom_;
    WindowPointer pointer_{*this};
    SoundEventsOutput soundOutput_{soundEvents_, *this};
    SpriteTextures textures_{sprites_};
    Quillory::CMenuControls menuControls_{&menus_[MENU_MAIN], &menus_[MENU_INGAME],
                                          &menus_[MENU_MAP]};
    Quillory::CEffect2d effects_;
    std::unique_ptr<Quillory::CQuilloryGame> game_;
    std::unique_ptr<RulesActions> rulesActions_;
    std::unique_ptr<MenuActions> actions_;
    std::unique_ptr<ScreenPainter> painter_;
    std::unique_ptr<InputScript> script_;
    Platform::MouseButtonLatch scriptButtons_;
    mutable int lastSampledButtons_ = 0;
    std::unique_ptr<DemoSession> demo_;
    std::vector<std::string> demoWarnings_;  // logged once the log is started
    bool demoQuitRequested_ = false;
    uint32_t demoRealStart_ = 0;
    uint32_t demoLastLoadingDraw_ = 0;
    int exitCode_ = 0;
};

}  // namespace Tuvo
