// The application base driven by a manual clock with no window: the main loop's timing rules
// (update rates with and without display pacing, catch-up limits, the no-backlog second), input
// hand-over, mutes and volumes, quitting, command-line folders, and modal dialogs in the loop.
#include "shell/app_base.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <thread>
#include <tuple>
#include <vector>

#include "framework/sound/music_interface.h"
#include "platform/folders.h"
#include "platform/random.h"
#include "support/user_folder.h"

namespace {

using Platform::EventKind;
using Platform::InputEvent;

// A widget that records what the loop does to it. A busy one asks to be redrawn after every
// update; a painting one paints itself blue-grey with a red square at the top left.
class ProbeWidget : public Tuvo::Widget {
public:
    void Update() override {
        Widget::Update();
        ++updates;
        if (busy) {
            MarkDirty();
        }
    }
    void UpdateFraction(float fraction) override { fractions.push_back(fraction); }
    void MouseMove(int, int) override { ++moves; }
    void MouseDown(int, int, int, int) override { ++clicks; }
    void Draw(Tuvo::Graphics* g) override {
        ++draws;
        if (paint) {
            g->SetColor(Tuvo::Color(0x20, 0x40, 0x60));
            g->FillRect(0, 0, Width(), Height());
            g->SetColor(Tuvo::Color(0xFF, 0, 0));
            g->FillRect(0, 0, 10, 10);
        }
    }

    bool busy = true;
    bool paint = false;
    int updates = 0;
    int moves = 0;
    int clicks = 0;
    int draws = 0;
    std::vector<float> fractions;
};

// Music that records what the application sets on it.
class RecordingMusic : public Tuvo::MusicInterface {
public:
    void SetVolume(double volume) override { volume_ = volume; }
    void PauseAllMusic() override { paused_ = true; }
    void ResumeAllMusic() override { paused_ = false; }
    double volume_ = -1;
    bool paused_ = false;
};

// The application base with the window replaced: events come from `pending`, presenting records
// the time and, with a display period, waits for the next refresh like a real vsync flip. One
// widget covers the screen and has the focus. The exit question is answered No, and what the game
// is told is recorded.
class LoopApp : public Tuvo::TuvoAppBase {
public:
    explicit LoopApp(Platform::ManualClock& clock, int width = 80, int height = 60)
        : TuvoAppBase(clock), manualClock(clock) {
        width_ = width;
        height_ = height;
        screenImage_.Create(width, height);
        widgetManager_->SetScreenImage(&screenImage_);
        widgetManager_->Resize(Tuvo::Rect(0, 0, width, height));
        widget.Resize(0, 0, width, height);
        widgetManager_->AddWidget(&widget);
        widgetManager_->SetFocus(&widget);
        auto owned = std::make_unique<RecordingMusic>();
        music = owned.get();
        SetMusicInterface(std::move(owned));
        loaded_ = true;
        running_ = true;
    }
    ~LoopApp() override { widgetManager_->RemoveWidget(&widget); }

    bool Step() {
        bool updated = false;
        return LoopStep(&updated);
    }
    // Runs loop steps until the clock has moved `milliseconds` on; returns the steps run.
    int RunFor(uint32_t milliseconds) {
        const uint32_t end = manualClock.Milliseconds() + milliseconds;
        int steps = 0;
        while (static_cast<int32_t>(manualClock.Milliseconds() - end) < 0 && steps < 1000000 &&
               Step()) {
            ++steps;
        }
        EXPECT_GE(static_cast<int32_t>(manualClock.Milliseconds() - end), 0)
            << "the loop stopped or does not advance time";
        return steps;
    }
    // Hands one window event to the application at once.
    void Send(EventKind kind) {
        QueueInputEvent({.kind = kind});
        HandleQueuedMessage(true);
    }
    // Queues a click in the middle of `target`.
    void QueueClick(const Tuvo::Widget* target) {
        int x = 0;
        int y = 0;
        target->GetScreenPos(&x, &y);
        QueueClick(x + target->Width() / 2, y + target->Height() / 2);
    }
    void QueueClick(int x, int y) {
        QueueInputEvent({.kind = EventKind::kMouseMove, .x = x, .y = y});
        QueueInputEvent({.kind = EventKind::kMouseDown, .x = x, .y = y, .clickCount = 1});
        QueueInputEvent({.kind = EventKind::kMouseUp, .x = x, .y = y, .clickCount = 1});
    }

    bool AskQuestion(const std::string&, const std::string&, bool) override {
        ++questions;
        return false;
    }
    void OnHardwareAccelerationRefused() override { ++refusals; }
    void OnScreenModeChanged(bool windowed) override { modes.push_back(windowed); }
    void OnResourcesLoaded() override { ++handOvers; }
    void ShowFrame() { TuvoAppBase::PresentFrame(); }
    using TuvoAppBase::hardwareMayHaveFailed_;
    using TuvoAppBase::ScreenPixels;

    Platform::ManualClock& manualClock;
    ProbeWidget widget;
    RecordingMusic* music = nullptr;
    int questions = 0;
    int refusals = 0;
    int handOvers = 0;
    std::vector<bool> modes;
    std::vector<InputEvent> pending;
    std::vector<uint32_t> presentTimes;
    double displayPeriod = 0;  // milliseconds; 0: presenting never waits
    double displayPhase = 0;   // time of the last refresh, in fractional milliseconds
    uint32_t presentCost = 0;  // milliseconds a present takes without waiting

protected:
    void PumpWindowEvents(std::vector<InputEvent>& events) override {
        events.insert(events.end(), pending.begin(), pending.end());
        pending.clear();
    }
    void PresentFrame() override {
        manualClock.Advance(presentCost);
        if (displayPeriod > 0) {
            const double now = manualClock.Milliseconds();
            while (displayPhase <= now) {
                displayPhase += displayPeriod;
            }
            manualClock.Set(static_cast<uint32_t>(std::ceil(displayPhase)));
        }
        presentTimes.push_back(manualClock.Milliseconds());
    }
};

// Runs loop steps until the loop sleeps; returns the updates run meanwhile.
int UpdatesUntilSleep(LoopApp& app) {
    const int sleeps = app.sleepCount_;
    const int updates = app.updateCount_;
    for (int i = 0; i < 10000 && app.sleepCount_ == sleeps; ++i) {
        app.Step();
    }
    return app.updateCount_ - updates;
}

class AppBaseTest : public ::testing::Test {
protected:
    TestSupport::TestUserFolder folder_;
    Platform::ManualClock clock_;
};

TEST_F(AppBaseTest, HundredUpdatesASecondAStallCatchesUpAtMostTwentyOrNoneAfterAReset) {
    LoopApp app(clock_);
    app.RunFor(100);
    const int before = app.updateCount_;
    app.RunFor(2000);
    EXPECT_NEAR(app.updateCount_ - before, 200, 2);
    EXPECT_EQ(app.widget.updates, app.updateCount_);
    EXPECT_TRUE(app.widget.fractions.empty());  // fractions only with display pacing
    clock_.Advance(100);
    EXPECT_NEAR(UpdatesUntilSleep(app), 10, 1);  // one more when a frame was already owed
    clock_.Advance(1000);
    EXPECT_EQ(UpdatesUntilSleep(app), 20);

    // For a second after a relaxed reset, what is owed is dropped after one update.
    app.RunFor(100);
    app.ResetTimeBacklog(true);
    clock_.Advance(100);
    EXPECT_EQ(UpdatesUntilSleep(app), 1);
    app.RunFor(300);
    clock_.Advance(100);
    EXPECT_EQ(UpdatesUntilSleep(app), 1);
    app.RunFor(1000);
    clock_.Advance(100);
    EXPECT_NEAR(UpdatesUntilSleep(app), 10, 1);
}

TEST_F(AppBaseTest, SixtyHertzDisplayGivesHundredUpdatesASecondAndOneThatDoesNotWaitIsFound) {
    LoopApp app(clock_);
    app.vsyncUpdates_ = true;
    app.syncRefreshRate_ = 60;
    app.physicallyWindowed_ = false;  // full screen: presenting waits for the refresh
    app.displayPeriod = 1000.0 / 60;
    app.RunFor(500);
    const int before = app.updateCount_;
    const size_t presentsBefore = app.presentTimes.size();
    app.RunFor(3000);
    EXPECT_NEAR(app.updateCount_ - before, 300, 3);
    EXPECT_NEAR(static_cast<double>(app.presentTimes.size() - presentsBefore), 180, 3);
    ASSERT_FALSE(app.widget.fractions.empty());
    EXPECT_NEAR(app.widget.fractions.back(), 1.6667f, 0.001f);
    EXPECT_FALSE(app.vsyncBroken_);

    // A display that does not wait is found out after three fast seconds.
    LoopApp fast(clock_);
    fast.vsyncUpdates_ = true;
    fast.physicallyWindowed_ = false;
    fast.presentCost = 2;  // presenting returns at once: 500 "frames" a second
    fast.vsyncBrokenTestStart_ = clock_.Milliseconds();
    for (int i = 0; i < 100000 && !fast.vsyncBroken_; ++i) {
        fast.Step();
    }
    EXPECT_TRUE(fast.vsyncBroken_);
    EXPECT_EQ(fast.vsyncBrokenCount_, 3);
    EXPECT_NEAR(fast.updateCount_, 300, 2);
}

TEST_F(AppBaseTest, MessagesOneAStepBeforeTheNextUpdateEvenWithUpdatesStopped) {
    LoopApp app(clock_);
    clock_.Advance(50);
    for (int x = 1; x <= 3; ++x) {
        app.pending.push_back({.kind = EventKind::kMouseMove, .x = x, .y = x});
    }
    for (int step = 1; step <= 3; ++step) {
        ASSERT_TRUE(app.Step());
        EXPECT_EQ(std::tuple(app.widget.moves, app.updateCount_, app.loopStepState_),
                  std::tuple(step, 0, Tuvo::LOOP_MESSAGES));
    }
    app.Step();
    EXPECT_EQ(app.loopStepState_, Tuvo::LOOP_UPDATE);
    EXPECT_TRUE(app.LoopUntilUpdate());
    EXPECT_EQ(app.updateCount_, 1);

    // Multiplier 0 stops the updates but not the messages.
    LoopApp stopped(clock_);
    stopped.updateMultiplier_ = 0;
    stopped.pending.push_back({.kind = EventKind::kMouseMove, .x = 5, .y = 5});
    for (int i = 0; i < 50; ++i) {
        stopped.Step();
        clock_.Advance(10);
    }
    EXPECT_EQ(std::pair(stopped.updateCount_, stopped.widget.moves), std::pair(0, 1));

    // With the loop left, a step returns at once without pumping.
    stopped.pending.push_back({.kind = EventKind::kMouseMove});
    stopped.leaveLoop_ = true;
    bool updated = true;
    EXPECT_FALSE(stopped.LoopStep(&updated));
    EXPECT_FALSE(updated);
    EXPECT_EQ(stopped.pending.size(), 1u);
}

TEST_F(AppBaseTest, LoadingThrottlesDrawsYieldsTheProcessorAndHandsOverOnTheNextUpdate) {
    LoopApp app(clock_);
    app.loaded_ = false;
    app.loadingThreadStarted_ = true;
    app.yieldMainThread_ = true;
    app.presentCost = 5;
    app.RunFor(2000);
    ASSERT_GT(app.presentTimes.size(), 5u);
    for (size_t i = 1; i < app.presentTimes.size(); ++i) {
        EXPECT_GE(app.presentTimes[i] - app.presentTimes[i - 1], 50u) << i;
    }
    // Drawing is the only busy time here: the main thread sleeps at least twice as long.
    EXPECT_GE(clock_.SleptTotal(), 2u * 5u * app.presentTimes.size());
    EXPECT_EQ(app.handOvers, 0);
    app.loadingThreadCompleted_ = true;
    app.RunFor(100);
    EXPECT_EQ(std::tuple(app.handOvers, app.loaded_, app.yieldMainThread_.load()),
              std::tuple(1, true, false));
}

TEST_F(AppBaseTest, FocusLossAndMinimisingCountAutomaticMutesAndAMinimisedWindowIsNotUpdated) {
    LoopApp app(clock_);
    const std::pair<EventKind, int> steps[] = {{EventKind::kFocusGained, 0},
                                               {EventKind::kFocusLost, 1},
                                               {EventKind::kMinimized, 2},
                                               {EventKind::kRestored, 1},
                                               {EventKind::kFocusGained, 0}};
    for (const auto& [kind, mutes] : steps) {
        app.Send(kind);
        EXPECT_EQ(app.settings_.muteCount, mutes) << static_cast<int>(kind);
        EXPECT_EQ(app.settings_.automaticMuteCount, mutes) << static_cast<int>(kind);
    }
    app.MuteAudio(false);
    app.Send(EventKind::kFocusLost);
    app.Send(EventKind::kFocusGained);
    EXPECT_EQ(app.settings_.muteCount, 1);  // the player's own mute stays
    // Minimised, the loop counts its updates but leaves the widgets alone.
    app.QueueInputEvent({.kind = EventKind::kMinimized});
    app.RunFor(500);
    EXPECT_GT(app.updateCount_, 40);
    EXPECT_EQ(app.widget.updates, 0);
}

// Closing the window quits the loop and saves the settings (the quitting signals take the same
// way: the smoke test sends one to the real program).
TEST_F(AppBaseTest, ACloseRequestQuitsAndSaves) {
    {
        LoopApp app(clock_);
        app.registryKey_ = "Quillory";
        app.LoadSettings();
        app.pending.push_back({.kind = EventKind::kCloseRequested});
        app.MainLoop();
        EXPECT_TRUE(app.shutdown_);
        int inProgress = 1;
        ASSERT_TRUE(app.RegistryReadInteger("InProgress", inProgress));
        EXPECT_EQ(inProgress, 0);
    }
    // At exit the answer to the acceleration question reaches the game before destruction.
    LoopApp app(clock_);
    app.autoStartLoadThread_ = false;
    app.hardwareMayHaveFailed_ = true;
    app.pending.push_back({.kind = EventKind::kCloseRequested});
    app.Run();
    EXPECT_EQ(std::pair(app.questions, app.refusals), std::pair(1, 1));
}

TEST_F(AppBaseTest, AModalDialogBlocksTheWidgetsBeneathUntilItsButtonEndsIt) {
    LoopApp app(clock_, 800, 600);
    Tuvo::Dialog* dialog =
        app.ShowDialog(5, true, "Leave?", "The game is saved.", "", Tuvo::Dialog::kModeYesNo);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetRect().x, 200);  // half the width, centred

    app.QueueClick(10, 590);  // beside the dialog, on the widget beneath
    app.RunFor(500);
    EXPECT_EQ(app.widget.clicks, 0);

    app.QueueClick(dialog->GetNoButton());
    app.RunFor(500);
    EXPECT_EQ(app.GetDialog(5), nullptr);
    EXPECT_EQ(app.GetWidgetManager()->GetRetiredCount(), 0);

    app.QueueClick(10, 590);
    app.RunFor(500);
    EXPECT_EQ(app.widget.clicks, 1);

    // RunModal runs the loop until a button is released.
    dialog = app.ShowDialog(6, true, "", "Start again?", "", Tuvo::Dialog::kModeOkCancel);
    app.QueueClick(dialog->GetYesButton());
    EXPECT_EQ(dialog->RunModal(true), Tuvo::Dialog::kButtonYes);
    EXPECT_EQ(app.GetDialogCount(), 0);
    // A dialog still open when the application ends goes with it.
    app.ShowDialog(7, true, "", "Left open", "", Tuvo::Dialog::kModeOkCancel);
}

TEST_F(AppBaseTest, OneOwnerDecidesTheVolumeHeard) {
    LoopApp app(clock_);
    const RecordingMusic& music = *app.music;
    app.Send(EventKind::kFocusGained);
    app.SetPlayerMusicVolume(0.4);  // the options slider
    EXPECT_DOUBLE_EQ(music.volume_, 0.4);
    // Focus loss and return give back the player's volume, not a stored default.
    app.Send(EventKind::kFocusLost);
    EXPECT_DOUBLE_EQ(music.volume_, 0.0);
    app.SetPlayerMusicVolume(0.6);  // set while unfocused: not heard yet
    EXPECT_DOUBLE_EQ(music.volume_, 0.0);
    app.Send(EventKind::kFocusGained);
    EXPECT_DOUBLE_EQ(music.volume_, 0.6);
    // The game's duck multiplies, survives a mute, and is never saved.
    app.SetMusicDuck(0.0);
    app.Send(EventKind::kMinimized);
    app.Send(EventKind::kRestored);
    EXPECT_DOUBLE_EQ(music.volume_, 0.0);
    app.SetMusicDuck(0.5);
    EXPECT_DOUBLE_EQ(music.volume_, 0.3);
    app.registryKey_ = "Quillory";
    app.SaveSettings();
    int saved = 0;
    ASSERT_TRUE(app.RegistryReadInteger("MusicVolume", saved));
    EXPECT_EQ(saved, 60);

    // Another thread only hands the change over; the main thread applies it at its next update.
    std::thread loader([&]() { app.SetPlayerMusicVolume(0.8); });
    loader.join();
    EXPECT_DOUBLE_EQ(music.volume_, 0.3);
    app.RunUpdate();
    EXPECT_DOUBLE_EQ(music.volume_, 0.4);
}

TEST_F(AppBaseTest, TheIdlePauseSleepsAndPausesTheMusic) {
    LoopApp app(clock_);
    const RecordingMusic& music = *app.music;
    app.RunFor(10 * 60 * 1000 + 2000);
    ASSERT_TRUE(app.idlePaused_);
    EXPECT_TRUE(music.paused_);
    // Paused, ten seconds cost a few dozen loop steps and no presents, not a busy spin.
    const size_t presents = app.presentTimes.size();
    EXPECT_LT(app.RunFor(10000), 100);
    EXPECT_EQ(app.presentTimes.size(), presents);
    // Input wakes it: the music goes on and the loop updates again.
    app.pending.push_back({.kind = EventKind::kMouseMove});
    const int updates = app.updateCount_;
    app.RunFor(100);
    EXPECT_EQ(std::pair(app.idlePaused_, music.paused_), std::pair(false, false));
    EXPECT_GT(app.updateCount_, updates + 5);
}

TEST_F(AppBaseTest, CommandLineFoldersAnUnknownOptionAndTheSessionSeed) {
    LoopApp app(clock_);
    app.startFolder_ = folder_.Path();
    app.SplitCommandLine("-screensaver -play -demofile=x.dem -changedir=data");
    app.ApplyCommandLineOption("-changedir", "data");  // applied twice: the same folder
    EXPECT_TRUE(app.screenSaverMode_);
    EXPECT_EQ(app.changeDirectory_, folder_.Path() + "/data");
    TestSupport::ScopedCurrentDirectory elsewhere("/");
    app.ApplyCommandLineOption("-userdir", "user");
    EXPECT_EQ(Platform::UserFolder(), folder_.Path() + "/user");
    EXPECT_EXIT(app.SplitCommandLine("-bogus=1"), ::testing::ExitedWithCode(0),
                "Invalid command line parameter: -bogus");
    // Sessions are seeded from the wall clock, or from $QUILLORY_SEED.
    clock_.SetWall(1'765'000'123'456);
    unsetenv("QUILLORY_SEED");
    app.SeedGenerators();
    EXPECT_EQ(Platform::StandardRandom().State(), static_cast<uint32_t>(1'765'000'123'456));
    EXPECT_EQ(Platform::FrameworkRandom().State(), static_cast<uint32_t>(1'765'000'123'456));
    setenv("QUILLORY_SEED", "42", 1);
    app.SeedGenerators();
    EXPECT_EQ(Platform::StandardRandom().State(), 42u);
    unsetenv("QUILLORY_SEED");
}

// With nothing dirty the loop sleeps and shows the unchanged frame once a second; a change is
// drawn and shown on the next update.
TEST_F(AppBaseTest, AQuietScreenIsShownOnceASecondAndAChangeAtOnce) {
    LoopApp app(clock_);
    ProbeWidget& quiet = app.widget;
    quiet.busy = false;
    app.RunFor(500);
    const size_t presentsBefore = app.presentTimes.size();
    const int drawsBefore = quiet.draws;
    app.RunFor(3000);
    EXPECT_NEAR(static_cast<double>(app.presentTimes.size() - presentsBefore), 3, 1);
    EXPECT_EQ(quiet.draws, drawsBefore);
    EXPECT_GT(app.sleepCount_, 250);  // it sleeps between updates instead of drawing

    const size_t presentsQuiet = app.presentTimes.size();
    quiet.MarkDirty();
    const uint32_t changedAt = app.manualClock.Milliseconds();
    app.RunFor(30);
    EXPECT_EQ(quiet.draws, drawsBefore + 1);
    ASSERT_GT(app.presentTimes.size(), presentsQuiet);
    EXPECT_LE(app.presentTimes[presentsQuiet] - changedAt, 20u);
}

// Without a graphics card the game draws straight into the window's pixels and draws everything
// again when they are new (full screen here, or no window at all); screenshots read the frame
// row by row whatever the pitch. Alt+Enter tells the game, so that its option follows.
TEST_F(AppBaseTest, TheFrameIsDrawnInTheWindowsPixelsAndFollowsANewWindowSurface) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    LoopApp app(clock_, 800, 600);
    ProbeWidget& paint = app.widget;
    paint.busy = false;
    paint.paint = true;
    std::string error;
    ASSERT_TRUE(app.GetWindow().Create({.accelerated = false, .vsync = false}, error)) << error;
    app.GetWindow().Show();
    for (bool fullScreen : {false, true}) {
        ASSERT_TRUE(app.GetWindow().SetFullScreen(fullScreen));
        const int drawsBefore = paint.draws;
        app.DrawFrame();
        EXPECT_EQ(paint.draws, drawsBefore + 1);  // nothing was dirty, but the pixels are new
        ASSERT_TRUE(app.GetScreenImage()->HasExternalPixels());
        EXPECT_EQ(app.GetScreenImage()->GetPitch() > 800, fullScreen);
        app.ShowFrame();
        std::vector<uint32_t> shown;
        int width = 0;
        int height = 0;
        ASSERT_TRUE(app.GetWindow().ReadShownPixels(shown, width, height));
        const int left = (width - 800) / 2;
        EXPECT_EQ(shown[static_cast<size_t>((height - 600) / 2 + 599) * width + left + 799],
                  0xFF204060u);
        const std::vector<uint32_t> pixels = app.ScreenPixels();
        ASSERT_EQ(pixels.size(), 800u * 600u);
        EXPECT_EQ(pixels[9 * 800 + 9], 0xFFFF0000u);
        EXPECT_EQ(pixels[599 * 800 + 10], 0xFF204060u);
    }
    for (int press = 0; press < 2; ++press) {
        app.QueueInputEvent(
            {.kind = EventKind::kKeyDown, .keyCode = Platform::Key::kReturn, .altDown = true});
        app.HandleQueuedMessage(true);
    }
    EXPECT_EQ(app.modes, (std::vector<bool>{false, true}));
    EXPECT_TRUE(app.settings_.windowed);
    app.GetWindow().Destroy();
    const int drawsBefore = paint.draws;
    app.DrawFrame();
    EXPECT_FALSE(app.GetScreenImage()->HasExternalPixels());
    EXPECT_EQ(paint.draws, drawsBefore + 1);
}

}  // namespace
