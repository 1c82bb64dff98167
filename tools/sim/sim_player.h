// The built-in players: a person at the mouse, as the rules see one. A player looks at the screen
// (the rules' state after the last update) and answers with the pointer for the next update:
// position in screen fractions and button states, nothing else. It glides the pointer to a shape
// on the conveyor, picks it up, turns it with the right button in Transformer mode, carries it
// to a matching empty cell and drops it; a shape that fits nowhere goes by the in-game screen's
// discard button. It passes the first level's tutorial as a person must (slot 4, a turn in
// Transformer mode, cell 4). Its timing and its ties come from its own generator, never from the
// rules' one.
//
//   "good":   a pick-up-and-drop about every 1.2 s, click and click, keeps runs of one class going
//   "casual": about every 2.5 s, drag and release, takes the first shape that fits somewhere in
//   view
#pragma once

#include <cstdint>

#include "game/game_services.h"
#include "platform/random.h"
#include "sim/sim_options.h"

namespace Quillory {
struct GameModel;
struct ShapeItem;
}  // namespace Quillory

namespace QuillorySim {

struct PlayerStyle {
    double period = 1.2;        // seconds from one pick-up to the next, on average
    double reaction = 0.3;      // seconds before the first move once play begins
    double pointerSpeed = 3.0;  // screen fractions per second
    double turnGap = 0.06;      // seconds between two presses of the right button
    double stuckSeconds = 2.0;  // a full conveyor with nothing to do this long: discard
    bool drag = false;          // drag and release instead of click and click
    bool plansRuns = true;      // prefers shapes that continue a run of one class
};

PlayerStyle StyleOf(PlayerKind kind);

class SimPlayer {
public:
    // (discardX, discardY): the centre of the in-game screen's discard button.
    SimPlayer(PlayerKind kind, uint32_t seed, float discardX, float discardY);

    // The pointer for the next update, from the screen as it was after the update at `time`.
    Quillory::PointerState Act(const Quillory::GameModel& game, double time);

    int Drops() const { return drops_; }
    int Discards() const { return discards_; }

private:
    enum class Step { Idle, ToShape, TakePress, ToCell, DropPress, DropRelease, ToDiscard };

    void Idle(const Quillory::GameModel& game, double time);
    void ToShape(const Quillory::GameModel& game);
    void AfterTake(const Quillory::GameModel& game, double time);
    void ToCell(const Quillory::GameModel& game, double time);
    void AfterDrop(const Quillory::GameModel& game, double time, bool released);
    void ToDiscard(double time);

    bool ShouldDiscard(const Quillory::GameModel& game, double time);
    // Glides the pointer towards (x, y); true once it is there.
    bool Glide(float x, float y);
    void Finished(double time);

    PlayerStyle style_;
    Platform::RandomGenerator random_;
    float discardX_;
    float discardY_;
    Quillory::PointerState pointer_;
    Step step_ = Step::Idle;
    bool playing_ = false;
    double nextMove_ = 0;
    double cycleStart_ = 0;
    double stuckSince_ = -1;
    double waitingSince_ = -1;
    double nextTurn_ = 0;
    int slot_ = -1;
    int cell_ = -1;
    int drops_ = 0;
    int discards_ = 0;
};

}  // namespace QuillorySim
