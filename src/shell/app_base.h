// The application base: the window, the widget manager, the back buffer, the sound services, the
// loading thread, the settings and the command line, and the main loop that drives them at a fixed
// logical rate of one update per frame time, with a fractional update per display refresh.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/graphics/memory_image.h"
#include "framework/widgets/widget_application.h"
#include "framework/widgets/widget_manager.h"
#include "platform/clock.h"
#include "platform/input_events.h"
#include "platform/settings_store.h"
#include "platform/system.h"
#include "platform/window.h"
#include "shell/settings.h"

namespace Tuvo {

class MusicInterface;
class SoundManager;

// The loop-step states: pump messages, update, catch up, done.
enum LoopStepState { LOOP_MESSAGES = 0, LOOP_UPDATE = 1, LOOP_CATCH_UP = 2, LOOP_DONE = 3 };

class TuvoAppBase : public WidgetApplication {
public:
    explicit TuvoAppBase(Platform::Clock& clock = Platform::SystemClock());
    ~TuvoAppBase() override;
    TuvoAppBase(const TuvoAppBase&) = delete;
    TuvoAppBase& operator=(const TuvoAppBase&) = delete;

    // Start-up and shutdown.
    virtual void Init();
    virtual void Run();
    virtual void Quit();
    [[noreturn]] void Terminate(int code);
    void BeginResourceThread();
    void JoinResourceThread();
    virtual void LoadResources() {}
    virtual void OnResourcesLoaded() {}
    virtual void OnInitDone() {}
    virtual void OnQuit() {}
    virtual void OnLoopEnd() {}
    virtual void OnFocusLost() {}
    virtual void OnFocusGained() {}
    // The player answered that hardware acceleration should be off.
    virtual void OnHardwareAccelerationRefused() {}
    // A second copy is running: the first one is brought forward and this one ends.
    virtual void OnSecondInstance();
    // Creates the window and the back buffer; false, with a message shown, when that fails.
    virtual bool CreateMainWindow();

    // The main loop.
    virtual bool StepTiming(bool maySleep);
    virtual void RunUpdate();
    virtual bool TryUpdate();
    virtual void RunFractionalUpdate(float fraction);
    virtual bool DrawFrame();
    virtual void Redraw();
    virtual void MainLoop();
    virtual bool LoopStep(bool* updated);
    virtual bool LoopUntilUpdate();
    void AccumulateTime();
    void ResetTimeBacklog(bool relax);
    void DeleteRetiredWidgets();
    bool HandleQueuedMessage(bool singleMessage);
    void RefreshActiveState();
    // Deletes the widget at the next safe point of the loop (never under a caller using it).
    void RetireWidget(Widget* widget);

    // Settings and command line.
    virtual void LoadSettings();
    virtual void SaveSettings();
    virtual void ReadCommandLine();
    virtual void SplitCommandLine(const std::string& text);
    virtual void ApplyCommandLineOption(const std::string& name, const std::string& value);
    void SetArguments(const std::vector<std::string>& arguments) { arguments_ = arguments; }
    bool RegistryWriteInteger(const std::string& name, int value);
    bool RegistryWriteBoolean(const std::string& name, bool value);
    bool RegistryReadInteger(const std::string& name, int& value);
    bool RegistryReadBoolean(const std::string& name, bool& value);
    bool RegistryEraseValue(const std::string& name);

    // Sound volumes (0..1); applied as 0 while muted.
    virtual void ApplyMusicVolume(double volume);
    virtual void ApplySfxVolume(double volume);
    virtual void MuteAudio(bool automatic);
    virtual void UnmuteAudio(bool automatic);

    // Switches between windowed and full screen.
    virtual void SwitchScreenMode(bool windowed);

    // WidgetApplication.
    void SetCursor(CursorKind kind) override;
    bool Is3DAccelerated() const override;
    bool UpdateAppStep() override;

    WidgetManager* GetWidgetManager() { return widgetManager_.get(); }
    MemoryImage* GetScreenImage() { return &screenImage_; }
    Platform::GameWindow& GetWindow() { return window_; }
    Platform::Clock& GetClock() { return clock_; }
    // The pointer as the game samples it, in game coordinates.
    virtual void PointerPosition(int& x, int& y) const { window_.PointerPosition(x, y); }
    // The mouse buttons as the game samples them (Platform::kLeftButton, ...), taps latched.
    virtual int SampleMouseButtons();
    void SetMusicInterface(std::unique_ptr<MusicInterface> music);
    MusicInterface* GetMusicInterface() { return musicInterface_.get(); }
    void SetSoundManager(std::unique_ptr<SoundManager> sound);
    SoundManager* GetSoundManager() { return soundManager_.get(); }

    // Queues an input event as if the window had sent it (tests, pointer warps).
    void QueueInputEvent(const Platform::InputEvent& event) { deferredMessages_.push_back(event); }

    // Names, sizes and modes.
    std::string productName_ = "Product";
    std::string title_ = "TuvoApp";
    std::string registryKey_;
    std::string changeDirectory_;
    std::string version_;
    int width_ = 640;
    int height_ = 480;
    bool onlyOneCopy_ = true;
    bool screenSaverMode_ = false;
    bool forcedFullScreen_ = false;
    bool is3D_ = true;
    PersistentSettings settings_;  // volumes, window mode and position, mute count, ...

    // Loop timing (milliseconds unless said otherwise).
    int frameTime_ = 10;
    double updateMultiplier_ = 1.0;
    bool vsyncUpdates_ = false;
    int syncRefreshRate_ = 100;
    double updateAccumulator_ = 0.0;
    double pendingUpdatesAccumulator_ = 0.0;
    uint32_t lastTimeCheck_ = 0;
    bool hasLastTimeCheck_ = false;
    int noBacklogTime_ = 0;
    int loopStepState_ = LOOP_MESSAGES;
    int loopStepDepth_ = 0;
    int nonDrawCount_ = 0;
    bool hasPendingDraw_ = true;
    bool lastDrawWasEmpty_ = false;
    bool vsyncBroken_ = false;
    int vsyncBrokenCount_ = 0;
    uint32_t vsyncBrokenTestStart_ = 0;
    int vsyncBrokenTestUpdates_ = 0;
    bool softVSyncWait_ = true;
    bool physicallyWindowed_ = true;
    bool paused_ = false;
    bool minimized_ = false;
    bool hasFocus_ = false;
    bool active_ = true;
    bool muteOnLostFocus_ = true;
    bool running_ = false;
    bool shutdown_ = false;
    bool leaveLoop_ = false;
    std::atomic<bool> shutdownRequested_{false};
    bool initialized_ = false;
    bool autoStartLoadThread_ = true;
    std::atomic<bool> yieldMainThread_{false};
    std::atomic<bool> loadingThreadStarted_{false};
    std::atomic<bool> loadingThreadCompleted_{false};
    bool loaded_ = false;
    std::atomic<bool> loadingFailed_{false};
    uint32_t lastDrawTick_ = 0;
    uint32_t nextDrawTick_ = 0;
    bool forceRedraw_ = false;
    bool idlePaused_ = false;
    uint32_t lastInputTime_ = 0;
    uint32_t lastIdleCheck_ = 0;
    uint32_t timeLoaded_ = 0;
    uint32_t loopStartTime_ = 0;
    bool registryRead_ = false;
    bool commandLineParsed_ = false;

    // Performance counters.
    int updateCount_ = 0;
    int drawCount_ = 0;
    int sleepCount_ = 0;
    int drawTime_ = 0;
    int screenBltTime_ = 0;
    int updatesWithChange_ = 0;

protected:
    // The window's events, appended to `events`; tests feed their own.
    virtual void PumpWindowEvents(std::vector<Platform::InputEvent>& events);
    // Shows the finished back buffer.
    virtual void PresentFrame();
    // Hands one input event to the widget manager.
    virtual void DeliverInput(const Platform::InputEvent& event);
    // Whether the user has been idle long enough for the desktop's screen saver.
    void CheckIdle(uint32_t now);
    void MarkAllDirty();
    uint32_t Now() { return clock_.Milliseconds(); }
    // The settings store's key "SOFTWARE\" + registry key, the store opened on first use.
    RegistryKey Registry();
    // At exit: when acceleration was asked for but not there, whether to keep it switched on.
    void AskAboutHardwareAcceleration();
    // Takes the single-instance lock in the user folder; false when another copy holds it.
    bool AcquireSingleInstance();

    Platform::Clock& clock_;
    Platform::GameWindow window_;
    MemoryImage screenImage_;
    std::unique_ptr<WidgetManager> widgetManager_;
    std::unique_ptr<SoundManager> soundManager_;
    std::unique_ptr<MusicInterface> musicInterface_;
    std::unique_ptr<Platform::SettingsStore> settingsStore_;
    Platform::SingleInstanceLock instanceLock_;
    bool secondInstance_ = false;
    bool hardwareMayHaveFailed_ = false;
    std::deque<Platform::InputEvent> deferredMessages_;
    std::vector<std::pair<Widget*, int>> retiredWidgets_;
    std::vector<std::string> arguments_;
    std::thread loadingThread_;
    std::thread::id primaryThread_;
    int heldMouseButtons_ = 0;
};

}  // namespace Tuvo
