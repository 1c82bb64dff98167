// The application base: start-up, the main loop with its timing rules, input hand-over, focus and
// mute handling, settings and the command line.
#include "shell/app_base.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/app_log.h"
#include "framework/archive/pak_interface.h"
#include "framework/sound/music_interface.h"
#include "framework/sound/sound_manager.h"
#include "platform/debug_output.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "shell/command_line.h"

namespace Tuvo {
namespace {

// The desktop's screen saver cannot be asked for its time-out here; a windowed game that has
// seen no input for this long stops updating and drawing so the desktop can blank the screen.
constexpr uint32_t kIdleTimeout = 10 * 60 * 1000 - 2000;
// While idle-paused the loop sleeps in waits of this length, waking at once on input.
constexpr uint32_t kIdleWait = 500;

// True when `later` is at or after `earlier` on the wrapping millisecond clock.
bool NotBefore(uint32_t later, uint32_t earlier) {
    return static_cast<int32_t>(later - earlier) >= 0;
}

}  // namespace

TuvoAppBase::TuvoAppBase(Platform::Clock& clock)
    : clock_(clock),
      widgetManager_(std::make_unique<WidgetManager>(this)),
      dialogs_(std::make_unique<DialogRegistry>(widgetManager_.get(), this, width_, height_)) {
    startFolder_ = Platform::CurrentDirectory();
    // Killed dialogs may still be on the caller's stack: the manager deletes them when safe.
    dialogs_->SetRetireFunction([this](Dialog* dialog) { RetireWidget(dialog); });
    dialogs_->SetModalOpenedFunction([this](Dialog* dialog) { OnModalDialogOpened(dialog); });
    changeDirectory_ = Platform::ProgramFolder();
    timeLoaded_ = Now();
    primaryThread_ = std::this_thread::get_id();
}

TuvoAppBase::~TuvoAppBase() {
    Quit();
    dialogs_.reset();
    DeleteRetiredWidgets();
    widgetManager_.reset();
    musicInterface_.reset();
    soundManager_.reset();
    window_.Destroy();
    JoinResourceThread();
}

// ---------------------------------------------------------------------------------------------
// Start-up and shutdown

Platform::LockResult TuvoAppBase::AcquireSingleInstance(std::string* error) {
    if (!onlyOneCopy_ || screenSaverMode_) {
        return Platform::LockResult::kAcquired;
    }
    return instanceLock_.Acquire(Platform::UserFilePath("quillory.lock"), error);
}

void TuvoAppBase::RefuseUnlockableUserFolder(const std::string& error) {
    Platform::ShowMessageBox(" " + title_,
                             "The user folder cannot be locked, so a second copy of the game could "
                             "overwrite this one's files. Check the folder and try again.\n" +
                                 error,
                             Platform::MessageBoxKind::kError);
    Terminate(1);
}

bool TuvoAppBase::OpenDataArchive() {
    if (archive_ == nullptr) {
        archive_ = std::make_unique<PakInterface>();
        if (Platform::FileExists("main.pak") && !archive_->MountArchive("main.pak")) {
            Quillory::LogMessage("WARNING: 'main.pak' could not be opened; loose files are used");
        }
    }
    return archive_->EntryCount() > 0;
}

uint32_t TuvoAppBase::SessionSeed() {
    if (const char* fixed = std::getenv("QUILLORY_SEED")) {
        char* end = nullptr;
        const unsigned long value = std::strtoul(fixed, &end, 10);
        if (end != fixed && *end == '\0') {
            return static_cast<uint32_t>(value);
        }
    }
    return static_cast<uint32_t>(clock_.WallMilliseconds());
}

void TuvoAppBase::SeedGenerators() {
    const uint32_t seed = SessionSeed();
    sessionSeed_ = seed;
    Platform::FrameworkRandom().Seed(seed);
    Platform::StandardRandom().Seed(seed);
}

std::string TuvoAppBase::AbsoluteFromStart(const std::string& path) const {
    if (path.empty() || path.front() == '/' || IsAbsolutePathValue(path)) {
        return path;
    }
    return startFolder_ + "/" + path;
}

void TuvoAppBase::OnSecondInstance() {
    if (onlyOneCopy_) {
        Terminate(0);
    }
}

void TuvoAppBase::Init() {
    primaryThread_ = std::this_thread::get_id();
    if (shutdown_) {
        return;
    }
    LoadSettings();
    if (!commandLineParsed_) {
        ReadCommandLine();
    }
    if (shutdown_) {
        return;
    }
    if (screenSaverMode_) {
        onlyOneCopy_ = false;
    }
    Platform::ChangeCurrentDirectory(changeDirectory_);
    OpenDataArchive();
    // The lock is taken once and kept; taking it again here is a no-op, never a gap.
    std::string lockError;
    const Platform::LockResult lock =
        secondInstance_ ? Platform::LockResult::kTaken : AcquireSingleInstance(&lockError);
    if (lock == Platform::LockResult::kFailed) {
        RefuseUnlockableUserFolder(lockError);
    }
    if (lock == Platform::LockResult::kTaken) {
        OnSecondInstance();
    }
    SeedGenerators();

    if (settings_.windowed && !window_.FitsWindowed(width_, height_)) {
        settings_.windowed = false;
        forcedFullScreen_ = true;
    }
    if (!CreateMainWindow()) {
        Terminate(1);
    }
    if (Platform::OpenedWithoutDisplay()) {
        // SDL falls back to an invisible window when no display can be reached.
        Platform::ShowMessageBox(
            " " + title_,
            "No display could be opened: DISPLAY and WAYLAND_DISPLAY name no "
            "reachable display. To run without one, set SDL_VIDEODRIVER=dummy.",
            Platform::MessageBoxKind::kError);
        Terminate(1);
    }
    RefreshVolumes();
    if (screenSaverMode_) {
        window_.ShowCursor(false);
    }
    OnInitDone();
    initialized_ = true;
}

bool TuvoAppBase::CreateMainWindow() {
    Platform::WindowSettings settings;
    settings.title = title_;
    settings.width = width_;
    settings.height = height_;
    settings.fullScreen = !settings_.windowed;
    settings.accelerated = is3D_;
    settings.vsync = true;
    settings.preferredX = settings_.preferredX;
    settings.preferredY = settings_.preferredY;
    std::string error;
    bool created = window_.Create(settings, error);
    if (!created && settings.accelerated) {
        // A failed accelerated start is retried without acceleration.
        is3D_ = false;
        settings.accelerated = false;
        created = window_.Create(settings, error);
    }
    if (!created) {
        Platform::ShowMessageBox(" Error", "Failed to initialize DirectDraw: " + error,
                                 Platform::MessageBoxKind::kError);
        return false;
    }
    if (is3D_ && !window_.IsAccelerated()) {
        // The accelerated renderer was asked for and is not there: forget the choice, and ask
        // the player at exit whether to keep it.
        RegistryEraseValue("Is3D");
        hardwareMayHaveFailed_ = true;
    }
    physicallyWindowed_ = settings_.windowed;
    syncRefreshRate_ = window_.RefreshRate();
    screenInWindow_ = nullptr;
    if (!screenImage_.Create(width_, height_)) {
        return false;
    }
    widgetManager_->SetScreenImage(&screenImage_);
    widgetManager_->Resize(Rect(0, 0, width_, height_));
    MarkAllDirty();
    return true;
}

void TuvoAppBase::Quit() {
    if (std::this_thread::get_id() != primaryThread_) {
        shutdownRequested_ = true;
        return;
    }
    if (shutdown_) {
        return;
    }
    leaveLoop_ = true;
    shutdown_ = true;
    OnQuit();
    if (musicInterface_ != nullptr) {
        musicInterface_->StopAllMusic();
    }
    if (registryRead_) {
        SaveSettings();
    }
}

bool TuvoAppBase::AskQuestion(const std::string& caption, const std::string& text,
                              bool defaultAnswer) {
    if (!Platform::HasDisplay()) {
        return defaultAnswer;
    }
    return Platform::ShowMessageBox(caption, text, Platform::MessageBoxKind::kYesNoQuestion,
                                    defaultAnswer);
}

void TuvoAppBase::AskAboutHardwareAcceleration() {
    if (hardwareQuestionAsked_) {
        return;
    }
    hardwareQuestionAsked_ = true;
    if (screenSaverMode_ || !hardwareMayHaveFailed_) {
        return;
    }
    const bool keep = AskQuestion(
        " Hardware Acceleration Confirmation",
        "Hardware Acceleration may not have been working correctly during this session.\r\n"
        "If you noticed graphics problems, you may want to turn off Hardware Acceleration.\r\n"
        "Would you like to keep Hardware Acceleration switched on?",
        true);
    if (!keep) {
        // The options file is read again at every start; the answer is kept there too.
        RegistryWriteInteger("Is3D", 0);
        OnHardwareAccelerationRefused();
    }
}

void TuvoAppBase::Terminate(int code) {
    std::exit(code);
}

void TuvoAppBase::BeginResourceThread() {
    if (loadingThreadStarted_) {
        return;
    }
    yieldMainThread_ = true;
    Platform::SetCurrentThreadAboveNormal(true);
    loadingThreadStarted_ = true;
    loadingThread_ = std::thread([this]() {
        LoadResources();
        Platform::DebugOutput("Resource Loading Time: %u\r\n", Now() - timeLoaded_);
        loadingThreadCompleted_ = true;
    });
}

void TuvoAppBase::JoinResourceThread() {
    while (loadingThreadStarted_ && !loadingThreadCompleted_) {
        clock_.Sleep(20);
    }
    if (loadingThread_.joinable()) {
        loadingThread_.join();
    }
}

void TuvoAppBase::Run() {
    if (shutdown_) {
        return;
    }
    if (autoStartLoadThread_) {
        BeginResourceThread();
    }
    window_.Show();
    loopStartTime_ = Now();
    running_ = true;
    lastTimeCheck_ = loopStartTime_;
    hasLastTimeCheck_ = true;
    MainLoop();
    DeleteRetiredWidgets();
    running_ = false;
    JoinResourceThread();

    const uint32_t duration = Now() - loopStartTime_;
    Platform::DebugOutput("Seconds       = %g\r\n", duration / 1000.0);
    Platform::DebugOutput("Sleep Count   = %d\r\n", sleepCount_);
    Platform::DebugOutput("Update Count  = %d\r\n", updateCount_);
    Platform::DebugOutput("Draw Count    = %d\r\n", drawCount_);
    Platform::DebugOutput("Draw Time     = %d\r\n", drawTime_);
    Platform::DebugOutput("Screen Blt    = %d\r\n", screenBltTime_);
    if (drawTime_ + screenBltTime_ > 0) {
        Platform::DebugOutput("Avg FPS       = %d\r\n",
                              drawCount_ * 1000 / (drawTime_ + screenBltTime_));
    }
    OnLoopEnd();
    SaveSettings();
    // Asked here, not from the destructor, where the game's answer handler no longer runs.
    AskAboutHardwareAcceleration();
}

// ---------------------------------------------------------------------------------------------
// The main loop

void TuvoAppBase::MainLoop() {
    while (!shutdown_) {
        leaveLoop_ = false;
        LoopUntilUpdate();
    }
}

bool TuvoAppBase::LoopUntilUpdate() {
    for (;;) {
        bool updated = false;
        if (!LoopStep(&updated)) {
            return false;
        }
        if (updated) {
            return true;
        }
    }
}

bool TuvoAppBase::LoopStep(bool* updated) {
    *updated = false;
    if ((shutdownRequested_ || Platform::QuitSignalReceived()) && !shutdown_) {
        Quit();  // a quitting signal ends the game as closing the window does, saving first
    }
    if (leaveLoop_) {
        return false;
    }
    if (loopStepState_ == LOOP_DONE) {
        loopStepState_ = LOOP_MESSAGES;
    }
    ++loopStepDepth_;
    if (loopStepState_ == LOOP_MESSAGES) {
        std::vector<Platform::InputEvent> events;
        PumpWindowEvents(events);
        for (const Platform::InputEvent& event : events) {
            if (event.kind == Platform::EventKind::kRepaint) {
                if (running_) {
                    window_.PresentLast();
                }
            } else {
                deferredMessages_.push_back(event);
            }
        }
        if (!HandleQueuedMessage(true)) {
            loopStepState_ = LOOP_UPDATE;
        }
    } else {
        const int updatesBefore = updateCount_;
        StepTiming(true);
        *updated = updateCount_ != updatesBefore;
    }
    --loopStepDepth_;
    return true;
}

bool TuvoAppBase::StepTiming(bool maySleep) {
    if (loadingFailed_) {
        Quit();
    }
    if (paused_ || updateMultiplier_ <= 0) {
        DeleteRetiredWidgets();
        return true;
    }
    if (idlePaused_) {
        StepIdlePause();
        DeleteRetiredWidgets();
        return true;
    }
    const bool isVSynched = vsyncUpdates_ && !lastDrawWasEmpty_ && !vsyncBroken_ &&
                            (!physicallyWindowed_ || (settings_.waitForVSync && !softVSyncWait_));
    double frameTime = frameTime_ / updateMultiplier_;
    double updatesPerUpdate = 1.0;
    if (vsyncUpdates_) {
        frameTime = (1000.0 / syncRefreshRate_) / updateMultiplier_;
        updatesPerUpdate = static_cast<float>(1000.0 / (frameTime_ * syncRefreshRate_));
    }

    const uint32_t startTime = Now();
    uint32_t sleptTime = 0;
    if (!isVSynched) {
        AccumulateTime();
    }
    bool updated = false;
    if (loopStepState_ == LOOP_UPDATE) {
        ++nonDrawCount_;
        if (nonDrawCount_ < std::ceil(updateMultiplier_ * 10.0) || !loaded_) {
            const bool doUpdate =
                isVSynched
                    ? (!hasPendingDraw_ || updateAccumulator_ >= static_cast<int>(frameTime * 0.75))
                    : updateAccumulator_ >= frameTime;
            if (doUpdate) {
                if (updateMultiplier_ == 1.0) {
                    // Updates paced by a display that runs 25% too fast three seconds in a row
                    // mean the display does not really wait for its refresh.
                    if (++vsyncBrokenTestUpdates_ >= (frameTime_ + 999) / frameTime_) {
                        if (startTime - vsyncBrokenTestStart_ <= 800) {
                            if (++vsyncBrokenCount_ >= 3) {
                                vsyncBroken_ = true;
                            }
                        } else {
                            vsyncBrokenCount_ = 0;
                        }
                        vsyncBrokenTestStart_ = startTime;
                        vsyncBrokenTestUpdates_ = 0;
                    }
                }
                if (TryUpdate()) {
                    loopStepState_ = LOOP_CATCH_UP;
                }
                hasPendingDraw_ = true;
                updated = true;
            }
        }
    } else if (loopStepState_ == LOOP_CATCH_UP) {
        loopStepState_ = LOOP_DONE;
        pendingUpdatesAccumulator_ += updatesPerUpdate - 1.0;
        DeleteRetiredWidgets();
        while (pendingUpdatesAccumulator_ >= 1.0) {
            ++nonDrawCount_;
            if (!TryUpdate()) {
                break;
            }
            DeleteRetiredWidgets();
            pendingUpdatesAccumulator_ -= 1.0;
        }
        RunFractionalUpdate(static_cast<float>(updatesPerUpdate));
        DeleteRetiredWidgets();
        if (isVSynched) {
            updateAccumulator_ = std::max(updateAccumulator_ - frameTime - 0.2f, 0.0);
        } else {
            updateAccumulator_ -= frameTime;
        }
        if (noBacklogTime_ > 0) {
            updateAccumulator_ = 0.0;
        }
        updated = true;
    }

    if (!updated) {
        loopStepState_ = LOOP_DONE;
        nonDrawCount_ = 0;
        if (hasPendingDraw_) {
            DrawFrame();
        } else {
            const int timeToNext = static_cast<int>(frameTime - updateAccumulator_);
            if (timeToNext > 0) {
                if (!maySleep) {
                    return false;
                }
                ++sleepCount_;
                clock_.Sleep(static_cast<uint32_t>(timeToNext));
                sleptTime += static_cast<uint32_t>(timeToNext);
            }
        }
    }

    if (yieldMainThread_) {
        // While loading, the main thread takes at most about a third of the processor.
        const int elapsed = static_cast<int>(Now() - startTime - sleptTime);
        const int yieldTime = elapsed * 2 - static_cast<int>(sleptTime);
        if (yieldTime > 0) {
            if (!maySleep) {
                return false;
            }
            clock_.Sleep(static_cast<uint32_t>(std::min(yieldTime, 250)));
        }
    }
    DeleteRetiredWidgets();
    return true;
}

void TuvoAppBase::AccumulateTime() {
    const uint32_t now = Now();
    if (hasLastTimeCheck_) {
        const uint32_t delta = now - lastTimeCheck_;
        // At most 200 ms of missed time is caught up; the rest is dropped.
        updateAccumulator_ = std::min(updateAccumulator_ + delta, 200.0);
        if (noBacklogTime_ > 0) {
            noBacklogTime_ = std::max(0, noBacklogTime_ - static_cast<int>(delta));
        }
    }
    lastTimeCheck_ = now;
    hasLastTimeCheck_ = true;
}

void TuvoAppBase::ResetTimeBacklog(bool relax) {
    lastTimeCheck_ = Now();
    hasLastTimeCheck_ = true;
    updateAccumulator_ = 0.0;
    if (relax) {
        noBacklogTime_ = 1000;
    }
}

bool TuvoAppBase::TryUpdate() {
    if (idlePaused_) {
        return false;
    }
    if (loadingThreadCompleted_ && !loaded_) {
        Platform::SetCurrentThreadAboveNormal(false);
        loaded_ = true;
        yieldMainThread_ = false;
        OnResourcesLoaded();
    }
    RunUpdate();
    return true;
}

void TuvoAppBase::RunUpdate() {
    ++updateCount_;
    if (volumesPending_) {
        RefreshVolumes();
    }
    if (!minimized_ && widgetManager_->UpdateFrame()) {
        ++updatesWithChange_;
    }
    if (musicInterface_ != nullptr) {
        musicInterface_->Update();
    }
}

void TuvoAppBase::RunFractionalUpdate(float fraction) {
    if (vsyncUpdates_ && !minimized_) {
        widgetManager_->UpdateFrameFraction(fraction);
    }
}

bool TuvoAppBase::DrawFrame() {
    const uint32_t start = Now();
    if (start - lastIdleCheck_ >= 1000 || lastIdleCheck_ == 0) {
        lastIdleCheck_ = start;
        CheckIdle(start);
    }
    if (idlePaused_) {
        if (PrepareScreenImage()) {
            widgetManager_->DrawScreen();
        }
        PresentFrame();
        hasPendingDraw_ = false;
        lastDrawWasEmpty_ = true;
        return false;
    }
    PrepareScreenImage();
    const bool drawn = widgetManager_->DrawScreen();
    if (!drawn && start - lastDrawTick_ < 1000 && !forceRedraw_) {
        hasPendingDraw_ = false;
        lastDrawWasEmpty_ = true;
        return false;
    }
    if (!NotBefore(Now(), nextDrawTick_)) {
        hasPendingDraw_ = false;
        return true;
    }
    forceRedraw_ = false;
    ++drawCount_;
    lastDrawWasEmpty_ = false;
    drawTime_ += static_cast<int>(Now() - start);
    if (physicallyWindowed_ && settings_.waitForVSync && softVSyncWait_) {
        const uint32_t period = static_cast<uint32_t>(1000 / std::max(syncRefreshRate_, 1));
        const uint32_t due = lastDrawTick_ + period;
        if (!NotBefore(Now(), due)) {
            clock_.Sleep(due - Now());
        }
    }
    lastDrawTick_ = Now();
    const uint32_t blitStart = Now();
    PresentFrame();
    AccumulateTime();
    screenBltTime_ += static_cast<int>(Now() - blitStart);

    if (loadingThreadStarted_ && !loadingThreadCompleted_) {
        // While loading, draws are at least 50 ms apart, counted from this one's blit.
        const int drawDuration = std::max(static_cast<int>(Now() - start), 15);
        nextDrawTick_ = lastDrawTick_ + static_cast<uint32_t>(drawDuration + 35);
        if (!NotBefore(Now(), nextDrawTick_)) {
            hasPendingDraw_ = false;
            return true;
        }
    }
    nextDrawTick_ = Now();
    hasPendingDraw_ = false;
    return true;
}

void TuvoAppBase::Redraw() {
    forceRedraw_ = true;
    MarkAllDirty();
}

void TuvoAppBase::PresentFrame() {
    window_.Present(screenImage_.GetBits(), screenImage_.GetPitch());
}

bool TuvoAppBase::PrepareScreenImage() {
    if (width_ <= 0 || height_ <= 0) {
        return false;
    }
    Platform::DrawingMemory memory;
    if (window_.IsCreated()) {
        memory = window_.PictureMemory();
        if (memory.width != width_ || memory.height != height_) {
            memory = {};  // a picture of another size: the frame is scaled by the copy
        }
    }
    if (memory.pixels == screenInWindow_ && memory.pitchInPixels == screenInWindowPitch_ &&
        !memory.fresh) {
        return false;
    }
    // The image's old pixels are not read: they may have gone with the window's old ones.
    if (memory.pixels == nullptr ||
        !screenImage_.UseExternalPixels(memory.pixels, width_, height_, memory.pitchInPixels)) {
        screenImage_.Create(width_, height_);
        screenInWindow_ = nullptr;
        screenInWindowPitch_ = 0;
    } else {
        screenInWindow_ = memory.pixels;
        screenInWindowPitch_ = memory.pitchInPixels;
    }
    forceRedraw_ = true;
    MarkAllDirty();
    return true;
}

std::vector<uint32_t> TuvoAppBase::ScreenPixels() {
    if (PrepareScreenImage()) {
        widgetManager_->DrawScreen();
    }
    std::vector<uint32_t> pixels;
    const uint32_t* bits = screenImage_.GetBits();
    if (bits == nullptr) {
        return pixels;
    }
    const int width = screenImage_.GetWidth();
    const int height = screenImage_.GetHeight();
    pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = bits + static_cast<size_t>(y) * screenImage_.GetPitch();
        std::transform(row, row + width, pixels.begin() + static_cast<ptrdiff_t>(y) * width,
                       [](uint32_t pixel) { return pixel | 0xFF000000u; });
    }
    return pixels;
}

void TuvoAppBase::PumpWindowEvents(std::vector<Platform::InputEvent>& events) {
    if (window_.IsCreated()) {
        window_.PollEvents(events);
    }
}

void TuvoAppBase::WaitForWindowEvents(uint32_t milliseconds) {
    if (window_.IsCreated()) {
        window_.WaitForEvent(milliseconds);
    } else {
        clock_.Sleep(milliseconds);
    }
}

void TuvoAppBase::StepIdlePause() {
    loopStepState_ = LOOP_DONE;
    CheckIdle(Now());
    if (!idlePaused_) {
        return;  // input came back: the next step updates and draws again
    }
    ++sleepCount_;
    WaitForWindowEvents(kIdleWait);
}

void TuvoAppBase::CheckIdle(uint32_t now) {
    if (lastInputTime_ == 0) {
        lastInputTime_ = now;
    }
    // Only a windowed game pauses: full screen, nothing else would be seen anyway.
    const bool idle =
        physicallyWindowed_ && !screenSaverMode_ && now - lastInputTime_ > kIdleTimeout;
    if (idle && !idlePaused_) {
        idlePaused_ = true;
        // Nothing updates the music while paused; paused, it resumes cleanly where it was.
        if (musicInterface_ != nullptr) {
            musicInterface_->PauseAllMusic();
            musicPausedForIdle_ = true;
        }
    } else if (!idle && idlePaused_) {
        idlePaused_ = false;
        if (musicPausedForIdle_ && musicInterface_ != nullptr) {
            musicInterface_->ResumeAllMusic();
        }
        musicPausedForIdle_ = false;
        ResetTimeBacklog(false);
        hasPendingDraw_ = true;
        MarkAllDirty();
    }
}

void TuvoAppBase::MarkAllDirty() {
    widgetManager_->MarkTreeDirty();
}

void TuvoAppBase::DeleteRetiredWidgets() {
    widgetManager_->DeleteRetiredWidgets();
}

void TuvoAppBase::RetireWidget(Widget* widget) {
    widgetManager_->RetireWidget(widget);
}

Dialog* TuvoAppBase::CreateDialog(int id, bool isModal, const std::string& header,
                                  const std::string& lines, const std::string& footer,
                                  int buttonMode) {
    return dialogs_->CreateDialog(id, isModal, header, lines, footer, buttonMode);
}

Dialog* TuvoAppBase::ShowDialog(int id, bool isModal, const std::string& header,
                                const std::string& lines, const std::string& footer,
                                int buttonMode) {
    KillDialog(id);
    Dialog* dialog = CreateDialog(id, isModal, header, lines, footer, buttonMode);
    OpenDialog(id, dialog);
    return dialog;
}

void TuvoAppBase::OpenDialog(int id, Dialog* dialog) {
    dialogs_->SetArea(width_, height_);
    dialogs_->OpenDialog(id, dialog);
}

void TuvoAppBase::KillDialog(int id) {
    dialogs_->KillDialog(id);
}

void TuvoAppBase::OnDialogButtonPressed(int, int) {}

void TuvoAppBase::OnDialogButtonReleased(int dialogId, int) {
    KillDialog(dialogId);
}

// ---------------------------------------------------------------------------------------------
// Input and window state

bool TuvoAppBase::HandleQueuedMessage(bool singleMessage) {
    bool handled = false;
    while (!deferredMessages_.empty()) {
        const Platform::InputEvent event = deferredMessages_.front();
        deferredMessages_.pop_front();
        DeliverInput(event);
        handled = true;
        if (singleMessage) {
            break;
        }
    }
    return handled;
}

void TuvoAppBase::DeliverInput(const Platform::InputEvent& event) {
    using Platform::EventKind;
    switch (event.kind) {
        case EventKind::kMouseMove:
            lastInputTime_ = Now();
            widgetManager_->MouseMove(event.x, event.y);
            break;
        case EventKind::kMouseDown: {
            lastInputTime_ = Now();
            const int bit = event.clickCount < 0 ? 2 : (event.clickCount == 3 ? 4 : 1);
            if (heldMouseButtons_ == 0) {
                window_.CaptureMouse(true);
            }
            heldMouseButtons_ |= bit;
            widgetManager_->MouseDown(event.x, event.y, event.clickCount);
            break;
        }
        case EventKind::kMouseUp: {
            lastInputTime_ = Now();
            const int bit = event.clickCount < 0 ? 2 : (event.clickCount == 3 ? 4 : 1);
            heldMouseButtons_ &= ~bit;
            if (heldMouseButtons_ == 0) {
                window_.CaptureMouse(false);
            }
            widgetManager_->MouseUp(event.x, event.y, event.clickCount);
            break;
        }
        case EventKind::kMouseWheel:
            lastInputTime_ = Now();
            widgetManager_->MouseWheel(event.wheelDelta);
            break;
        case EventKind::kMouseEnter:
            break;
        case EventKind::kMouseLeave:
            widgetManager_->MouseLeaveWindow(event.x, event.y);
            break;
        case EventKind::kKeyDown:
            lastInputTime_ = Now();
            if (event.altDown && event.keyCode == Platform::Key::kReturn) {
                if (!forcedFullScreen_) {
                    SwitchScreenMode(!settings_.windowed);
                }
                break;
            }
            widgetManager_->KeyDown(event.keyCode);
            break;
        case EventKind::kKeyUp:
            lastInputTime_ = Now();
            widgetManager_->KeyUp(event.keyCode);
            break;
        case EventKind::kKeyChar:
            lastInputTime_ = Now();
            widgetManager_->KeyChar(static_cast<char>(event.character));
            break;
        case EventKind::kFocusGained:
            hasFocus_ = true;
            RefreshActiveState();
            break;
        case EventKind::kFocusLost:
            hasFocus_ = false;
            RefreshActiveState();
            break;
        case EventKind::kMinimized:
            if (!minimized_) {
                minimized_ = true;
                if (muteOnLostFocus_) {
                    MuteAudio(true);
                }
                RefreshActiveState();
            }
            break;
        case EventKind::kRestored:
            if (minimized_) {
                minimized_ = false;
                if (muteOnLostFocus_) {
                    UnmuteAudio(true);
                }
                MarkAllDirty();
                RefreshActiveState();
            }
            break;
        case EventKind::kMaximized:
            SwitchScreenMode(false);
            break;
        case EventKind::kCloseRequested:
            Quit();
            break;
        case EventKind::kRepaint:
            window_.PresentLast();
            break;
        case EventKind::kMoved:
            ResetTimeBacklog(false);
            if (settings_.windowed && !minimized_) {
                settings_.preferredX = event.x;
                settings_.preferredY = event.y;
            }
            break;
    }
}

void TuvoAppBase::RefreshActiveState() {
    const bool active = hasFocus_ && !minimized_;
    if (active == active_) {
        return;
    }
    active_ = active;
    if (!active) {
        if (muteOnLostFocus_) {
            MuteAudio(true);
        }
        widgetManager_->LostFocus();
        OnFocusLost();
        window_.CaptureMouse(false);
        heldMouseButtons_ = 0;
        widgetManager_->ReleaseHeldButtons();
    } else {
        if (muteOnLostFocus_) {
            UnmuteAudio(true);
        }
        widgetManager_->GotFocus();
        OnFocusGained();
    }
}

void TuvoAppBase::SwitchScreenMode(bool windowed) {
    if (!window_.IsCreated() || windowed == settings_.windowed) {
        return;
    }
    if (window_.SetFullScreen(!windowed)) {
        settings_.windowed = windowed;
        physicallyWindowed_ = windowed;
        OnScreenModeChanged(windowed);
    }
    ResetTimeBacklog(false);
    Redraw();
}

void TuvoAppBase::SetCursor(CursorKind kind) {
    switch (kind) {
        case CursorKind::Arrow:
            window_.SetCursor(Platform::CursorKind::kArrow);
            break;
        case CursorKind::Hand:
            window_.SetCursor(Platform::CursorKind::kHand);
            break;
        case CursorKind::Dragging:
            window_.SetCursor(Platform::CursorKind::kDragging);
            break;
    }
}

bool TuvoAppBase::Is3DAccelerated() const {
    return window_.IsAccelerated();
}

bool TuvoAppBase::UpdateAppStep() {
    bool updated = false;
    if (!LoopStep(&updated)) {
        return false;
    }
    return !shutdown_;
}

int TuvoAppBase::SampleMouseButtons() {
    return window_.SampleMouseButtons();
}

// ---------------------------------------------------------------------------------------------
// Sound volumes

void TuvoAppBase::SetMusicInterface(std::unique_ptr<MusicInterface> music) {
    musicInterface_ = std::move(music);
}

void TuvoAppBase::SetSoundManager(std::unique_ptr<SoundManager> sound) {
    soundManager_ = std::move(sound);
}

void TuvoAppBase::ApplyMusicVolume(double volume) {
    if (std::this_thread::get_id() != primaryThread_) {
        std::lock_guard<std::mutex> lock(pendingVolumeMutex_);
        pendingMusicVolume_ = volume;
        volumesPending_ = true;
        return;
    }
    settings_.musicVolume = volume;
    RefreshVolumes();
}

void TuvoAppBase::ApplySfxVolume(double volume) {
    if (std::this_thread::get_id() != primaryThread_) {
        std::lock_guard<std::mutex> lock(pendingVolumeMutex_);
        pendingSfxVolume_ = volume;
        volumesPending_ = true;
        return;
    }
    settings_.sfxVolume = volume;
    RefreshVolumes();
}

void TuvoAppBase::SetMusicDuck(double duck) {
    musicDuck_ = std::clamp(duck, 0.0, 1.0);
    RefreshVolumes();
}

void TuvoAppBase::RefreshVolumes() {
    {
        std::lock_guard<std::mutex> lock(pendingVolumeMutex_);
        if (pendingMusicVolume_) {
            settings_.musicVolume = *pendingMusicVolume_;
        }
        if (pendingSfxVolume_) {
            settings_.sfxVolume = *pendingSfxVolume_;
        }
        pendingMusicVolume_.reset();
        pendingSfxVolume_.reset();
        volumesPending_ = false;
    }
    const bool muted = settings_.muteCount > 0;
    if (musicInterface_ != nullptr) {
        musicInterface_->SetVolume(muted ? 0.0 : settings_.musicVolume * musicDuck_);
    }
    if (soundManager_ != nullptr) {
        soundManager_->SetVolume(muted ? 0.0 : settings_.sfxVolume);
    }
}

void TuvoAppBase::MuteAudio(bool automatic) {
    ++settings_.muteCount;
    if (automatic) {
        ++settings_.automaticMuteCount;
    }
    RefreshVolumes();
}

void TuvoAppBase::UnmuteAudio(bool automatic) {
    if (settings_.muteCount > 0) {
        --settings_.muteCount;
        if (automatic && settings_.automaticMuteCount > 0) {
            --settings_.automaticMuteCount;
        }
        RefreshVolumes();
    }
}

// ---------------------------------------------------------------------------------------------
// Settings and command line

RegistryKey TuvoAppBase::Registry() {
    if (settingsStore_ == nullptr) {
        settingsStore_ =
            std::make_unique<Platform::SettingsStore>(Platform::UserFilePath("registry.ini"));
    }
    return RegistryKey(*settingsStore_, "SOFTWARE\\" + registryKey_);
}

void TuvoAppBase::LoadSettings() {
    registryRead_ = true;
    if (registryKey_.empty()) {
        return;
    }
    RegistryKey key = Registry();
    LoadPersistentSettings(key, settings_);
    if (settingsStore_->Unreadable()) {
        Quillory::LogMessage(("WARNING: '" + settingsStore_->FilePath() +
                              "' could not be read; the defaults are used and it will not be "
                              "overwritten")
                                 .c_str());
    }
}

void TuvoAppBase::SaveSettings() {
    if (registryKey_.empty()) {
        return;
    }
    // A volume the loading thread handed over just before the quit is the player's too.
    if (volumesPending_) {
        RefreshVolumes();
    }
    RegistryKey key = Registry();
    SavePersistentSettings(key, settings_);
}

bool TuvoAppBase::RegistryWriteInteger(const std::string& name, int value) {
    return !registryKey_.empty() && Registry().WriteInteger(name, value);
}

bool TuvoAppBase::RegistryWriteBoolean(const std::string& name, bool value) {
    return RegistryWriteInteger(name, value ? 1 : 0);
}

bool TuvoAppBase::RegistryReadInteger(const std::string& name, int& value) {
    int32_t stored = 0;
    if (registryKey_.empty() || !Registry().ReadInteger(name, stored)) {
        return false;
    }
    value = stored;
    return true;
}

bool TuvoAppBase::RegistryReadBoolean(const std::string& name, bool& value) {
    int number = 0;
    if (!RegistryReadInteger(name, number)) {
        return false;
    }
    value = number != 0;
    return true;
}

bool TuvoAppBase::RegistryEraseValue(const std::string& name) {
    return !registryKey_.empty() && Registry().EraseValue(name);
}

void TuvoAppBase::ReadCommandLine() {
    SplitArguments(arguments_, [this](const std::string& name, const std::string& value) {
        ApplyCommandLineOption(name, value);
    });
    commandLineParsed_ = true;
}

void TuvoAppBase::SplitCommandLine(const std::string& text) {
    Tuvo::SplitCommandLine(text, [this](const std::string& name, const std::string& value) {
        ApplyCommandLineOption(name, value);
    });
    commandLineParsed_ = true;
}

void TuvoAppBase::ApplyCommandLineOption(const std::string& name, const std::string& value) {
    if (name == "-play" || name == "-recnum" || name == "-playnum" || name == "-record" ||
        name == "-demofile" || name == "-crash") {
        return;  // recorded play is set up by the game before this; "-crash" has no use here
    }
    if (name == "-screensaver") {
        screenSaverMode_ = true;
    } else if (name == "-changedir") {
        // Relative to where the program started, so that applying it again changes nothing.
        changeDirectory_ = AbsoluteFromStart(value);
    } else if (name == "-userdir") {
        Platform::SetUserFolderOverride(AbsoluteFromStart(value));
    } else {
        Platform::ShowMessageBox(" " + title_, "Invalid command line parameter: " + name,
                                 Platform::MessageBoxKind::kError);
        Terminate(0);
    }
}

}  // namespace Tuvo
