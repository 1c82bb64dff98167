// The game rules run headless: a manual clock in 10 ms updates, fixed-seed generators (one for
// the rules, one for decoration), the real effects list, no window, no sound device, no
// pictures. One level is played from its start (or from the mode's saved game) by a built-in
// player or a pointer script, and every game event is written as a JSON line. The run ends
// after "level_end", "lost" or the time limit.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "effects/effect2d.h"
#include "engine/menu.h"
#include "game/menu_controls.h"
#include "game/quillory_game.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "sim/json_events.h"
#include "sim/sim_options.h"
#include "sim/sim_player.h"
#include "sim/sim_script.h"

namespace Tuvo {
class PakInterface;
}

namespace QuillorySim {

class Simulator {
public:
    Simulator(const SimOptions& options, std::ostream& out);
    // Puts back the current folder and the user folder it found, and removes a temporary user
    // folder that it made.
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Opens the data and user folders, loads the classes and starts the level (or restores the
    // saved game). False, with Error() set, when it cannot.
    bool Start();
    // One 10 ms update: the pointer, the in-game screen's buttons, the rules. False once the run
    // is over.
    bool Step();
    // Start(), then updates until the end; 0 when the level was played, 1 when it could not start.
    int Run();

    bool Finished() const;
    // The simulator's clock, seconds since it started.
    double Seconds() const;
    const std::string& Error() const { return error_; }
    const std::string& UserFolder() const { return userFolder_; }
    const Quillory::CQuilloryGame& Game() const { return *game_; }
    const SimPlayer* Player() const { return player_.get(); }
    // How the level ended; empty until it started.
    RunOutcome Outcome() const { return events_ != nullptr ? events_->Outcome() : RunOutcome(); }

private:
    // The sounds go nowhere: there is no sound device.
    class SilentSounds : public Quillory::GameSounds {
    public:
        void PlayEvent(const char*) override {}
        void SetMusicVolume(float) override {}
    };
    class Pointer : public Quillory::PointerInput {
    public:
        Quillory::PointerState Sample() override { return state; }
        Quillory::PointerState state;
    };

    bool OpenFolders();
    bool LoadInGameScreen();
    bool StartLevel();
    bool RestoreSavedGame();
    // A press of the left button goes to the in-game screen as the window would send it.
    void PressOnScreen(const Quillory::PointerState& before, const Quillory::PointerState& now);
    void SaveWhenDue();

    SimOptions options_;
    std::ostream& out_;
    std::string error_;
    std::string previousFolder_;
    std::string userFolder_;
    bool temporaryUserFolder_ = false;
    bool started_ = false;
    bool saved_ = false;

    mutable Platform::ManualClock clock_;  // reading it is not a change
    uint32_t startMs_ = 0;
    Platform::RandomGenerator rulesRandom_;
    Platform::RandomGenerator cosmeticRandom_;
    Pointer pointer_;
    SilentSounds sounds_;
    Quillory::CMenu inGameScreen_;
    std::unique_ptr<Quillory::CMenuControls> menus_;
    std::unique_ptr<Quillory::CEffect2d> effects_;
    std::unique_ptr<JsonEventWriter> events_;
    std::unique_ptr<Quillory::CQuilloryGame> game_;
    std::unique_ptr<Tuvo::PakInterface> archive_;
    std::unique_ptr<SimPlayer> player_;
    PointerScript script_;
};

// A new empty folder under $TMPDIR (or /tmp), private to this user; "" when it cannot be made.
std::string TemporaryFolder();

// The log's failures and warnings as plain text lines (the simulator prints them to stderr).
std::string LogProblems(const std::string& logFile);

}  // namespace QuillorySim
