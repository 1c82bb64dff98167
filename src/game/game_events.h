// What happens in a game, told to a listener as it happens (the simulator prints these; the game
// itself needs no listener). Class and variant are indices into the level's classes.
#pragma once

namespace Quillory {

struct ShapeClassDef;

enum class ScoreReason { TimeBonus, Completion, BonusLevel, BonusLevelFinal, Reveal };

enum class LevelEndNext { Level, StageMap, GameComplete };

// Names as the simulator prints them: "time_bonus", "level", ...
const char* ScoreReasonName(ScoreReason reason);
const char* LevelEndNextName(LevelEndNext next);

struct LevelStartInfo {
    int level = 0;
    int mode = 0;
    bool bonus = false;
    int cells = 0;
    int perLine = 0;
    int classCount = 0;
    const ShapeClassDef* classes = nullptr;  // classCount entries
    float timeLimit = 0;
};

// Every method does nothing by default.
class GameEventListener {
public:
    virtual ~GameEventListener() = default;
    virtual void OnLevelStart(const LevelStartInfo& /*info*/) {}
    virtual void OnIssue(int /*slot*/, int /*classIndex*/, int /*variant*/, int /*bonusKind*/) {}
    // Also for the take that a discard makes.
    virtual void OnTake(int /*slot*/, int /*classIndex*/, int /*variant*/, int /*bonusKind*/) {}
    virtual void OnTurn(int /*variant*/) {}
    // classIndex and variant are the cell's; bonusKind is the held shape's.
    virtual void OnDrop(int /*cell*/, int /*classIndex*/, int /*variant*/, int /*bonusKind*/,
                        int /*points*/, int /*combo*/, int /*score*/) {}
    // A bonus fill of an empty cell other than the target.
    virtual void OnFill(int /*cell*/) {}
    virtual void OnDiscard(int /*classIndex*/, int /*bonusKind*/) {}
    virtual void OnLineRemoved(int /*line*/, int /*linesLeft*/) {}
    virtual void OnBugArrives(int /*cell*/) {}
    virtual void OnBugEats(int /*cell*/) {}
    virtual void OnBugLeaves() {}
    virtual void OnTimeoutWarning(float /*timeLeft*/) {}
    // The score when the last cell was filled, before any level-end addition.
    virtual void OnWon(int /*score*/, float /*timeLeft*/) {}
    virtual void OnScoreAdded(int /*amount*/, ScoreReason /*reason*/, int /*score*/) {}
    virtual void OnLost(int /*score*/, float /*timeLeft*/) {}
    virtual void OnLevelEnd(int /*score*/, LevelEndNext /*next*/) {}
    virtual void OnSaved(int /*level*/, int /*score*/, float /*elapsed*/) {}
    virtual void OnRestored(int /*level*/, int /*score*/, float /*elapsed*/) {}
};

}  // namespace Quillory
