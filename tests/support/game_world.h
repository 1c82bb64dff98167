// A whole headless world for the game rules: a temporary data folder (the current directory) and
// user folder, a manual clock, a scripted pointer, fixed-seed generators, a real effects list,
// recorded sounds, menus and game events, and writers for the test's own class and level files.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "effects/effect2d.h"
#include "engine/sound_event_player.h"
#include "game/game_events.h"
#include "game/quillory_game.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "support/temp_folder.h"

namespace TestSupport {

class ScriptedPointer : public Quillory::PointerInput {
public:
    Quillory::PointerState Sample() override { return state; }
    Quillory::PointerState state;
};

// Sounds of the rules and of the effects list, in the order they play.
class RecordingSounds : public Quillory::GameSounds, public Quillory::SoundEventPlayer {
public:
    void PlayEvent(const char* eventName) override { played.emplace_back(eventName); }
    void PlaySoundEvent(const char* eventName) override { played.emplace_back(eventName); }
    void SetMusicVolume(float volume) override { musicVolume = volume; }
    int Count(const std::string& name) const;
    std::vector<std::string> played;
    float musicVolume = 0.8f;
};

// Every texture is a distinct fake handle, so tests can tell pictures apart without images.
class FakeTextures : public Quillory::TextureSource {
public:
    Tuvo::Image* GetTexture(const char* fileName) override;
    std::string NameOf(const Tuvo::Image* image) const;

private:
    std::vector<std::string> names_;
};

class FakeMenus : public Quillory::MenuControls {
public:
    FakeMenus();
    bool ControlPosition(Quillory::GameMenu menu, const char* name, float& x, float& y) override;
    int ButtonCount(Quillory::GameMenu menu) override;
    const char* ButtonName(Quillory::GameMenu menu, int index) override;
    bool ButtonPosition(Quillory::GameMenu menu, int index, float& x, float& y) override;
    void SetButtonEnabled(Quillory::GameMenu menu, int index, bool enabled) override;
    bool IsButtonHover(Quillory::GameMenu menu, const char* name) override;

    struct Button {
        std::string name;
        float x = 0;
        float y = 0;
        bool enabled = true;
    };
    std::vector<Button> mapButtons;  // "btnMap0", "btnStage1" ... "btnStage7"
    std::string hovered;             // a main-menu button under the pointer
};

// Game events as text lines: "drop 4 points=50 combo=0 score=50", "line_removed 2 left=5", ...
class RecordingEvents : public Quillory::GameEventListener {
public:
    void OnLevelStart(const Quillory::LevelStartInfo& info) override;
    void OnIssue(int slot, int classIndex, int variant, int bonusKind) override;
    void OnTake(int slot, int classIndex, int variant, int bonusKind) override;
    void OnTurn(int variant) override;
    void OnDrop(int cell, int classIndex, int variant, int bonusKind, int points, int combo,
                int score) override;
    void OnFill(int cell) override;
    void OnDiscard(int classIndex, int bonusKind) override;
    void OnLineRemoved(int line, int linesLeft) override;
    void OnBugArrives(int cell) override;
    void OnBugEats(int cell) override;
    void OnBugLeaves() override;
    void OnTimeoutWarning(float timeLeft) override;
    void OnWon(int score, float timeLeft) override;
    void OnScoreAdded(int amount, Quillory::ScoreReason reason, int score) override;
    void OnLost(int score, float timeLeft) override;
    void OnLevelEnd(int score, Quillory::LevelEndNext next) override;
    void OnSaved(int level, int score, float elapsed) override;
    void OnRestored(int level, int score, float elapsed) override;

    // Lines starting with `prefix`.
    std::vector<std::string> Starting(const std::string& prefix) const;
    std::vector<std::string> lines;
};

class GameWorld {
public:
    explicit GameWorld(uint32_t seed = 1);
    ~GameWorld();
    GameWorld(const GameWorld&) = delete;
    GameWorld& operator=(const GameWorld&) = delete;

    // "classes.xml" with `count` classes "c0", "c1", ... of `shapes` shapes each.
    void WriteClasses(int count, int shapes);
    // "Levels\level_N.xml" with the given attributes over a small default level.
    void WriteLevel(int number, const std::map<std::string, std::string>& attributes = {});
    // Creates the rules object (it reads the configuration) and loads "classes.xml".
    Quillory::CQuilloryGame& CreateGame();

    // Advances the clock by `ms` and runs one frame of that length.
    void Step(int ms = 10);
    void RunSeconds(float seconds, int stepMs = 10);
    // Runs until `done` holds, at most `seconds`; true when it held.
    template <typename Predicate>
    bool RunUntil(Predicate done, float seconds = 60) {
        for (int t = 0; t < static_cast<int>(seconds * 100); ++t) {
            if (done()) {
                return true;
            }
            Step();
        }
        return done();
    }

    // Starts `level` in `mode` from the stage map and plays on until the clock runs (phase 3).
    void StartPlaying(int level, int mode = Quillory::MODE_CLASSIC);
    // Pointer moves, presses and releases with one update each.
    void MoveTo(float x, float y);
    void Press(float x, float y);
    void Release(float x, float y);
    void Click(float x, float y);
    void RightClick();
    // Takes conveyor slot `slot` (click on it) and drops it on `cell` (click there).
    void TakeAndDrop(int slot, int cell);

    std::string ReadLog() const;

    TempFolder data;
    TempFolder user;
    Platform::ManualClock clock;
    Platform::RandomGenerator rulesRandom;
    Platform::RandomGenerator cosmeticRandom;
    ScriptedPointer pointer;
    RecordingSounds sounds;
    FakeTextures textures;
    FakeMenus menus;
    RecordingEvents events;
    std::unique_ptr<Quillory::CEffect2d> effects;
    std::unique_ptr<Quillory::CQuilloryGame> game;

private:
    ScopedCurrentDirectory inData_;
};

}  // namespace TestSupport
