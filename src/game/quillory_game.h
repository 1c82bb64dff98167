// The game rules: one object that holds the whole state of a game (shape classes, the level's
// field of six lines, the conveyor, the held shape, score, clock, mode, creatures, screen state)
// and runs its rules. It draws nothing: the board reads State() and paints it. Everything from
// outside (clock, pointer, random generators, sounds, images, effects, menus, the screen-state
// host, an event listener) comes in through GameServices.
#pragma once

#include <cstdint>

#include "game/game_effects.h"
#include "game/game_events.h"
#include "game/game_records.h"
#include "game/game_services.h"

namespace Quillory {

// Screen states.
constexpr int STATE_LOADING = 0;
constexpr int STATE_MAIN_MENU = 1;
constexpr int STATE_MAP = 2;
constexpr int STATE_INSTRUCTIONS1 = 3;
constexpr int STATE_INSTRUCTIONS2 = 4;
constexpr int STATE_INSTRUCTIONS3 = 5;
constexpr int STATE_PLAYING = 6;
constexpr int STATE_PAUSED = 7;
constexpr int STATE_HIGH_SCORES = 8;
constexpr int STATE_OPTIONS = 9;
constexpr int STATE_LEVEL_END = 11;
constexpr int STATE_GAME_COMPLETE = 12;
constexpr int STATE_GAME_OVER = 13;
constexpr int STATE_CLEAR_CONFIRM = 14;
constexpr int STATE_CONTINUE_CONFIRM = 15;
constexpr int STATE_CREDITS = 16;

// Modes.
constexpr int MODE_CLASSIC = 0;
constexpr int MODE_TRANSFORMER = 1;
constexpr int MODE_RELAX = 2;

// Play-screen phases.
constexpr int PHASE_FADE_FROM_MENU = 0;
constexpr int PHASE_OPENING = 1;
constexpr int PHASE_ANNOUNCE = 2;
constexpr int PHASE_PLAYING = 3;
constexpr int PHASE_MAP_FADE = 6;
constexpr int PHASE_MAP_SHOWN = 7;

// Tutorial steps: take the shape, turn it (Transformer), drop it.
constexpr int TUTORIAL_TAKE = 1;
constexpr int TUTORIAL_TURN = 2;
constexpr int TUTORIAL_DROP = 3;

constexpr int kSavedRecordSize = 10588;
constexpr int kMaxStartLevel = 40;

// The whole state of a game. The board and the tools read it; only the rules change it.
struct GameModel {
    // Clock: seconds since the rules object was made.
    float now = 0;
    float frameStep = 0;  // game seconds that the current update stands for
    float levelStartTime = 0;
    float playStartTime = 0;
    float sinceLevelStart = 0;
    float elapsed = 0;
    float timeLeft = 0;
    float levelTime = 0;
    float remainingAtStart = 0;
    float pauseClock = 0;
    int timeoutWarnings = 0;

    // The field, the conveyor and the hand.
    ShapeItem conveyor[kMaxConveyor] = {};
    int conveyorCount = 0;
    ShapeItem held = {};
    ShapeItem cells[kMaxCells] = {};
    int cellCount = 0;
    float cellAlpha = 1.0f;
    PlayLine lines[kLineCount] = {};
    int linesLeft = kLineCount;
    float scrollOffset = 0;   // never reset: the field keeps its scroll from level to level
    float reservedValue = 0;  // set to 0 by the grid builder, kept by the saved game
    int lineShapeCount = 11;
    int lineCount = kLineCount;
    float lineSpeed = 0.03f;

    // Classes.
    ShapeClassDef catalogue[kMaxClasses] = {};
    int catalogueCount = 0;
    ShapeClassDef levelClasses[kMaxClasses] = {};
    int shapeClassCount = 0;
    int lastIssuedClass = 0;  // kept across levels

    // The level.
    int levelNumber = 1;
    int score = 0;
    int filledCount = 0;
    float meter = 0;
    float newShapeTime = 0;
    char bonusLevel[kNameSize] = {};
    char shapeClassList[kNameSize] = {};
    float bonusAnyShapeP = 0;
    float bonusBandP = 0;
    float bonusAreaP = 0;
    int comboCount = 0;
    ShapeItem lastPlaced = {};
    int shapesIssued = 0;
    int resumedFromSave = 0;

    // The game.
    int mode = MODE_CLASSIC;
    int startLevelClassic = 1;
    int startLevelTransformer = 1;
    int lastOpenedLevel = 1;
    int phase = PHASE_FADE_FROM_MENU;
    char backgroundCurrent[kNameSize] = {};
    char backgroundNext[kNameSize] = {};
    float fade = 1.0f;  // screen brightness: 0 black, 1 full

    // First-level tutorial.
    int tutorialOn = 0;
    int tutorialStep = TUTORIAL_TAKE;
    int tutorialShape = 4;
    int tutorialCell = 4;

    // Game-complete reveal.
    float chompShown[kRevealCount] = {};
    int chompCount = 0;

    // Stage map marker and the main menu's information panels.
    float markerX = 0;
    float markerY = 0;
    float infoClassicAlpha = 0;
    float infoTransformerAlpha = 0;

    // Pointer, as sampled at the last update.
    float mouseX = 0;
    float mouseY = 0;

    // Creatures.
    BugRecord bug = {};
    float bugAppearanceRange = 15;
    Butterfly butterflies[kButterflyCount] = {};
    bool butterfliesSetUp = false;

    // Screen state.
    int screenState = STATE_LOADING;
    int previousScreenState = STATE_LOADING;
    int optionsFromPause = 0;

    bool IsBonusLevel() const;
    // Stage of the current level and the last stage opened: six levels to a stage.
    int Stage() const { return (levelNumber - 1) / 6 + 1; }
    int LastStage() const { return (lastOpenedLevel - 1) / 6 + 1; }
};

class CQuilloryGame {
public:
    // Reads "GAMEPLAY"/"LastOpenedLevel" from the configuration (1 when absent).
    explicit CQuilloryGame(const GameServices& services);
    virtual ~CQuilloryGame();
    CQuilloryGame(const CQuilloryGame&) = delete;
    CQuilloryGame& operator=(const CQuilloryGame&) = delete;

    const GameModel& State() const { return model_; }
    // Direct access for tests and tools that set up a position.
    GameModel& EditState() { return model_; }
    const GameServices& Services() const { return services_; }

    // Shape classes.
    bool LoadClasses(const char* fileName);
    // "Graphics\qy_bonus0N.png" for a bonus shape, else the picture of its class and variant;
    // "" when the class or variant is out of range.
    const char* ItemImageName(const ShapeItem& item) const;
    void RefreshCellImages();
    void RefreshItemImages(ShapeItem& item);
    // The game-complete reveal's picture `index` (0 to 14): the first picture of that catalogue
    // entry, or "" when the catalogue has no such entry.
    const char* RevealPicture(int index) const;

    // Level files.
    void LoadLevel();
    bool LevelExists(int levelNumber) const;

    // The per-frame step the board calls before it paints, in every screen state: the update
    // amount is the number of 10 ms updates that this frame stands for.
    void AdvanceFrame(float updateAmount);
    // The play-screen update alone (screen state 6), without the tutorial's per-frame set-up:
    // the board calls AdvanceFrame, which runs this.
    void UpdateGame(float updateAmount);
    // Stops (on) or restarts (off) the level clock; pauses nest.
    void Pause(bool on);

    // Player actions outside the per-update pointer rules.
    void DiscardShape();
    // The Space key: discards only while the first conveyor shape is left of the middle.
    void DiscardFromKey();

    // Game flow.
    void SetMode(int mode);
    // A mode chosen on the main menu: the continue confirmation when the mode has a readable
    // saved game, else a new game.
    void ChooseMode(int mode);
    void NewGame();
    void ShowStageMap();
    void StartLevel();
    // "procStage" N: the first level of stage N, the marker on its button and its class sound.
    void SelectStage(int stage);
    // "procLevelSimple" / "procLevelAdvanced": the start level of new games, 1 to 40 round.
    void AdvanceStartLevel(bool transformer);
    void GameComplete();

    // Saved game ("saved.ini", one record per mode). LoadSavedGame(true) only reads the level
    // and the score (the continue confirmation shows them); without peek it restores the game,
    // or starts the mode's new game when the record cannot be used.
    void SaveGame();
    bool LoadSavedGame(bool peek);
    bool IsGameSaved() const;
    bool SetGameSaved(int value);

    // Screen state.
    void SetGameState(int state);
    int ScreenState() const { return model_.screenState; }
    int PrevScreenState() const { return model_.previousScreenState; }
    bool OptionsFromPause() const { return model_.optionsFromPause != 0; }

    // Single rules, public for the board, the tools and the tests.
    void RemoveCompleteLines();
    void ApplyBonus(int cell, int bonusKind);
    void ResetBug();
    void BugArrival();
    void UpdateBug(float step);
    void IssueShape();
    void UpdateButterflies(float step);
    void SetUpButterflies();

private:
    struct PendingScore {
        int fired = 0;  // set to 1 by the effects list when the addition is due
        int amount = 0;
        ScoreReason reason = ScoreReason::TimeBonus;
        bool used = false;
    };
    static constexpr int kMaxPendingScores = 16;

    float ClockNow() const;
    void SamplePointer();
    void RestartButtonEdges();
    void TakeShape();
    void FollowPointer();
    void TryPlace();
    void TransformHeld();
    void ScoreDrop(int cell);
    void TakeFromConveyor(int slot);
    void ScrollField();
    void PlaceCellsAtScroll();
    void KeepTutorialCellInReach();
    void MoveConveyor();
    void PlaceCellsOnLines();
    void AdvancePhase();
    void WinLevel();
    void LoseLevel();
    void LevelEnd();
    void RevealStep();
    void StageMapStep();
    void MainMenuStep();
    void TutorialSetUp();
    void RunEffects();
    bool EffectsEmpty() const;
    bool OpeningDone() const;
    void ClearEffects();
    void QueueScore(float delay, int amount, ScoreReason reason);
    void ApplyDueScores();
    void ResetLines();
    void ClearTutorial();
    void PlaySound(const char* eventName);
    GameEffects Fx() const { return GameEffects(services_.effects, services_.textures); }
    float LevelClockElapsed() const;
    bool RefuseRecord(bool peek);
    int Rand(int lo, int hi);
    double R01();

    GameServices services_;
    GameModel model_;
    uint32_t epochMs_ = 0;  // clock reading at construction: the rules' time 0

    // Pointer sampling.
    bool leftDown_ = false;
    bool rightDown_ = false;
    bool leftPressed_ = false;
    bool leftReleased_ = false;
    bool rightPressed_ = false;
    bool rightReleased_ = false;
    bool takenThisFrame_ = false;
    bool restartEdges_ = true;
    bool leftLatched_ = false;  // a press that began before the edges restarted
    bool rightLatched_ = false;

    // Clock and level flow.
    int pauseDepth_ = 0;
    int lineSlot_[kLineCount] = {};  // grid place of each line, after its slides
    float openingEndsAt_ = 0;        // clock when the opening's (or the map's) own effects end
    PendingScore pendingScores_[kMaxPendingScores] = {};
};

}  // namespace Quillory
