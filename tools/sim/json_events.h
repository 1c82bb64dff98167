// The simulator's output: every game event as one JSON object on a line, with "t" (the
// simulator's clock in seconds, 3 decimals) and "event" first, then the event's own fields.
// Class and variant are indices into the level's classes. The run is over at "level_end" or
// "lost": anything the rules report after that (the next level's start) is not printed.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "game/game_events.h"

namespace QuillorySim {

// How the run ended, as the writer saw it: for tools that play many levels and want only the
// result.
struct RunOutcome {
    bool started = false;  // a "level_start" was seen
    bool bonus = false;    // a bonus level (its clock never ends it)
    bool won = false;
    bool lost = false;
    float timeLimit = 0;  // the level's clock, seconds
    int cells = 0;
    int classes = 0;
    float timeLeft = 0;  // at "won" or "lost"
    int score = 0;       // at "won" or "lost"
};

class JsonEventWriter : public Quillory::GameEventListener {
public:
    // `seconds` gives the simulator's clock when an event happens.
    JsonEventWriter(std::ostream& out, std::function<double()> seconds)
        : out_(out), seconds_(std::move(seconds)) {}

    // True once "level_end" or "lost" has been written.
    bool Finished() const { return finished_; }
    int LinesWritten() const { return lines_; }
    const RunOutcome& Outcome() const { return outcome_; }

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

    // A JSON string literal of `text`, quotes included.
    static std::string Quote(const std::string& text);
    // A number with 3 decimals; null when it is not finite.
    static std::string Seconds(double value);

private:
    // One line: `fields` is the text after the event name, starting with a comma or empty.
    void Write(const char* event, const std::string& fields);

    std::ostream& out_;
    std::function<double()> seconds_;
    bool finished_ = false;
    int lines_ = 0;
    RunOutcome outcome_;
};

}  // namespace QuillorySim
