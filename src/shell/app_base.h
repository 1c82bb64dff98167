// The application base: the window, the widget manager, the back buffer, the sound services, the
// loading thread, the settings and the command line, and the main loop that drives them at a fixed
// logical rate of one update per frame time, with a fractional update per display refresh.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/audio_volumes.h"
#include "framework/graphics/memory_image.h"
#include "framework/widgets/button_listener.h"
#include "framework/widgets/dialog_registry.h"
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
class PakInterface;
class SoundManager;

// The loop-step states: pump messages, update, catch up, done.
enum LoopStepState { LOOP_MESSAGES = 0, LOOP_UPDATE = 1, LOOP_CATCH_UP = 2, LOOP_DONE = 3 };

// The application listens to its own buttons and dialogs (every button callback does nothing
// here) and hosts the widget framework.
class TuvoAppBase : public ButtonListener,
                    public DialogListener,
                    public WidgetApplication,
                    public Quillory::AudioVolumes {
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
    // Mounts "main.pak" of the current (data) folder once, so that every file is looked up in the
    // archive first and on the disk second. True when an archive is mounted.
    bool OpenDataArchive();
    // Seeds the generators from the wall clock in milliseconds, which differs from session to
    // session ($QUILLORY_SEED fixes it for recorded runs).
    void SeedGenerators();
    uint32_t SessionSeed();
    // The seed the generators got at start-up, for the generators the game keeps itself.
    uint32_t SeedOfSession() const { return sessionSeed_; }
    // At exit, before anything is destroyed: when acceleration was asked for but not there,
    // whether to keep it switched on. Asked once.
    void AskAboutHardwareAcceleration();
    // A Yes/No question to the player; tests answer it themselves.
    virtual bool AskQuestion(const std::string& caption, const std::string& text,
                             bool defaultAnswer);
    // The window mode changed (Alt+Enter, maximising, the options): the game keeps its options
    // in step.
    virtual void OnScreenModeChanged(bool /*windowed*/) {}
    // A path given on the command line, taken relative to the folder the program started in.
    std::string AbsoluteFromStart(const std::string& path) const;

    // The main loop.
    virtual bool StepTiming(bool maySleep);
    virtual void RunUpdate();
    virtual bool TryUpdate();
    virtual void RunFractionalUpdate(float fraction);
    virtual bool DrawFrame();
    // Before anything is drawn into the back buffer: points it at the window's own pixels where
    // the window offers them (presenting then copies nothing), else at memory of its own. True
    // when it moved or the window's pixels are new: everything is then marked for drawing.
    bool PrepareScreenImage();
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

    // Dialogs by id: created without images, shown sized and placed, modal ones blocking what
    // lies beneath them until they are killed.
    virtual Dialog* CreateDialog(int id, bool isModal, const std::string& header,
                                 const std::string& lines, const std::string& footer,
                                 int buttonMode);
    virtual Dialog* ShowDialog(int id, bool isModal, const std::string& header,
                               const std::string& lines, const std::string& footer, int buttonMode);
    virtual void OpenDialog(int id, Dialog* dialog);
    Dialog* GetDialog(int id) const { return dialogs_->GetDialog(id); }
    int GetDialogCount() const { return dialogs_->GetDialogCount(); }
    // A modal dialog has just opened.
    virtual void OnModalDialogOpened(Dialog*) {}
    // DialogListener: a released dialog button ends its dialog.
    void OnDialogButtonPressed(int dialogId, int buttonId) override;
    void OnDialogButtonReleased(int dialogId, int buttonId) override;

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

    // Sound volumes (0..1): the player's volumes, heard as volume x mute (x the duck for the
    // music). Called from another thread, the change is handed to the main thread's next update.
    virtual void ApplyMusicVolume(double volume);
    virtual void ApplySfxVolume(double volume);
    virtual void MuteAudio(bool automatic);
    virtual void UnmuteAudio(bool automatic);
    // AudioVolumes: the one owner of what is heard.
    void SetPlayerMusicVolume(double volume) override { ApplyMusicVolume(volume); }
    void SetPlayerSfxVolume(double volume) override { ApplySfxVolume(volume); }
    void SetMusicDuck(double duck) override;
    double MusicDuck() const { return musicDuck_; }

    // Switches between windowed and full screen.
    virtual void SwitchScreenMode(bool windowed);

    // WidgetApplication.
    void SetCursor(CursorKind kind) override;
    bool Is3DAccelerated() const override;
    bool UpdateAppStep() override;
    void KillDialog(int id) override;

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
    bool musicPausedForIdle_ = false;
    // The folder the program was started from (before any change into the data folder).
    std::string startFolder_;

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
    // Sleeps until an event arrives or `milliseconds` have passed (the idle pause).
    virtual void WaitForWindowEvents(uint32_t milliseconds);
    // One step of the idle pause: the music paused, the thread asleep until input or a second.
    void StepIdlePause();
    // Applies the effective volumes (player's volume x mute x duck) and any volume handed over
    // from another thread.
    void RefreshVolumes();
    // Shows the finished back buffer.
    virtual void PresentFrame();
    // The back buffer as width_ x height_ opaque pixels, for screenshots; drawn first when it
    // has just moved.
    std::vector<uint32_t> ScreenPixels();
    // Hands one input event to the widget manager.
    virtual void DeliverInput(const Platform::InputEvent& event);
    // Whether the user has been idle long enough for the desktop's screen saver.
    void CheckIdle(uint32_t now);
    void MarkAllDirty();
    uint32_t Now() { return clock_.Milliseconds(); }
    // The settings store's key "SOFTWARE\" + registry key, the store opened on first use.
    RegistryKey Registry();
    // Takes the single-instance lock in the user folder (once; later calls keep it).
    Platform::LockResult AcquireSingleInstance(std::string* error = nullptr);
    // Ends the process with a message when the lock cannot be used at all.
    void RefuseUnlockableUserFolder(const std::string& error);

    Platform::Clock& clock_;
    uint32_t sessionSeed_ = 0;
    Platform::GameWindow window_;
    MemoryImage screenImage_;
    // Where the back buffer lies in the window's pixels (null: in its own memory). Kept apart
    // from the image, whose pixels may be gone with the window's old ones by the time it is asked.
    uint32_t* screenInWindow_ = nullptr;
    int screenInWindowPitch_ = 0;
    std::unique_ptr<WidgetManager> widgetManager_;
    std::unique_ptr<DialogRegistry> dialogs_;  // uses the widget manager: goes first
    std::unique_ptr<SoundManager> soundManager_;
    std::unique_ptr<MusicInterface> musicInterface_;
    std::unique_ptr<Platform::SettingsStore> settingsStore_;
    Platform::SingleInstanceLock instanceLock_;
    std::unique_ptr<PakInterface> archive_;
    bool secondInstance_ = false;
    bool hardwareMayHaveFailed_ = false;
    bool hardwareQuestionAsked_ = false;
    double musicDuck_ = 1.0;
    // Volumes set on another thread, applied by the main thread.
    std::mutex pendingVolumeMutex_;
    std::optional<double> pendingMusicVolume_;
    std::optional<double> pendingSfxVolume_;
    std::atomic<bool> volumesPending_{false};
    std::deque<Platform::InputEvent> deferredMessages_;
    std::vector<std::string> arguments_;
    std::thread loadingThread_;
    std::thread::id primaryThread_;
    int heldMouseButtons_ = 0;
};

}  // namespace Tuvo
