// A whole headless world for the game rules: a temporary data folder (the current directory) and
// user folder, a manual clock, a scripted pointer, fixed-seed generators, a real effects list,
// recorded sounds, menus and game events, and writers for the test's own class and level files.
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "effects/effect2d.h"
#include "engine/menu.h"
#include "engine/sound_event_player.h"
#include "game/game_events.h"
#include "game/menu_controls.h"
#include "game/quillory_game.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "support/temp_folder.h"
#include "support/user_folder.h"

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
    int Count(const std::string& name) const {
        return static_cast<int>(std::count(played.begin(), played.end(), name));
    }
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

// Game events as text lines, for the events the tests look at: "take 0 class=1 variant=0 bonus=0".
class RecordingEvents : public Quillory::GameEventListener {
public:
    void OnTake(int slot, int k, int variant, int bonus) override {
        Add("take %d class=%d variant=%d bonus=%d", slot, k, variant, bonus);
    }
    void OnFill(int cell) override { Add("fill %d", cell); }
    void OnDiscard(int k, int bonus) override { Add("discard class=%d bonus=%d", k, bonus); }
    void OnLineRemoved(int line, int left) override { Add("line_removed %d left=%d", line, left); }
    void OnBugEats(int cell) override { Add("bug_eats %d", cell); }
    void OnBugLeaves() override { Add("bug_leaves"); }
    void OnWon(int score, float left) override { Add("won score=%d time=%.2f", score, left); }
    void OnScoreAdded(int amount, Quillory::ScoreReason reason, int score) override {
        Add("score_added %d %s score=%d", amount, Quillory::ScoreReasonName(reason), score);
    }

    // Lines starting with `prefix`.
    std::vector<std::string> Starting(const std::string& prefix) const;
    std::vector<std::string> lines;

private:
    void Add(const char* format, ...) __attribute__((format(printf, 2, 3)));
};

// "classes.xml" of `count` classes "c0", "c1", ... of `shapes` shapes each.
std::string ClassesXml(int count, int shapes);
// A calm level file of 7 cells a line and classes c0 to c2 changed by `changes`, then by
// `attributes`; the value "<absent>" leaves one out.
std::string LevelXml(const std::map<std::string, std::string>& changes,
                     const std::map<std::string, std::string>& attributes);

class GameWorld {
public:
    explicit GameWorld(uint32_t seed = 1);

    // "classes.xml" with `count` classes "c0", "c1", ... of `shapes` shapes each.
    void WriteClasses(int count, int shapes);
    // "Levels\level_N.xml" with the given attributes over a small default level.
    void WriteLevel(int number, const std::map<std::string, std::string>& attributes = {});
    // Creates the rules object (it reads the configuration) and loads "classes.xml".
    Quillory::CQuilloryGame& CreateGame();

    // Advances the clock by `ms` and runs one frame of that length.
    void Step(int ms = 10);
    void RunSeconds(float seconds);
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
    // Level 2 (no tutorial) of four classes of one picture on a still field, unless `attributes`
    // say otherwise: written, loaded and played until the clock runs.
    void StartStillLevel(std::map<std::string, std::string> attributes = {});
    // Pointer moves, presses and releases with one update each.
    void Press(float x, float y);
    void Release(float x, float y);
    void Click(float x, float y);
    void RightClick();
    // Takes conveyor slot `slot` (click on it) and drops it on `cell` (click there).
    void TakeAndDrop(int slot, int cell);
    // An empty cell on screen (y 0.05 to 0.8) that `shape` fits by class and picture, or -1.
    int FindCell(const Quillory::ShapeItem& shape) const;

    TempFolder data;
    TestUserFolder user;
    Platform::ManualClock clock;
    Platform::RandomGenerator rulesRandom;
    Platform::RandomGenerator cosmeticRandom;
    ScriptedPointer pointer;
    RecordingSounds sounds;
    FakeTextures textures;
    // The game's own main, in-game and stage-map screens from data/Menu.
    Quillory::CMenu mainMenu;
    Quillory::CMenu inGameMenu;
    Quillory::CMenu mapMenu;
    Quillory::CMenuControls menus{&mainMenu, &inGameMenu, &mapMenu};
    RecordingEvents events;
    std::unique_ptr<Quillory::CEffect2d> effects;
    std::unique_ptr<Quillory::CQuilloryGame> game;

private:
    ScopedCurrentDirectory inData_;
};

}  // namespace TestSupport
