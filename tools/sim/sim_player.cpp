// The built-in players' hands and judgement.
#include "sim/sim_player.h"

#include <cmath>

#include "game/move_choice.h"
#include "game/quillory_game.h"

namespace QuillorySim {

using Quillory::GameModel;
using Quillory::ShapeItem;

namespace {

using Quillory::AimY;
using Quillory::Fits;
using Quillory::TurnsNeeded;

constexpr double kUpdateSeconds = 0.01;
// Cells are aimed at only inside this band: above it they wrap to the bottom before the shape
// arrives, below it the conveyor takes the drop.
constexpr Quillory::CellReach kReach{0.1f, 0.76f};
constexpr float kIssueRoom = 1.0f - Quillory::kLineSpacing / 2;
constexpr float kParkX = 0.6f;  // where a hand with nothing to do waits
constexpr float kParkY = 0.45f;
constexpr double kGiveUpSeconds = 3.0;  // a held shape with no cell in view this long: discard

}  // namespace

PlayerStyle StyleOf(PlayerKind kind) {
    PlayerStyle style;
    if (kind == PlayerKind::Casual) {
        style.period = 2.5;
        style.reaction = 0.8;
        style.pointerSpeed = 1.5;
        style.turnGap = 0.15;
        style.stuckSeconds = 4.0;
        style.drag = true;
        style.plansRuns = false;
    }
    return style;
}

SimPlayer::SimPlayer(PlayerKind kind, uint32_t seed, float discardX, float discardY)
    : style_(StyleOf(kind)), random_(seed ^ 0x5EEDF00Du), discardX_(discardX), discardY_(discardY) {
    pointer_.x = kParkX;
    pointer_.y = kParkY;
}

Quillory::PointerState SimPlayer::Act(const GameModel& game, double time) {
    if (!Quillory::InPlay(game)) {
        // Between levels, in the opening and after the end the hands rest.
        pointer_.left = false;
        pointer_.right = false;
        step_ = Step::Idle;
        playing_ = false;
        return pointer_;
    }
    if (!playing_) {
        playing_ = true;
        nextMove_ = time + style_.reaction;
    }
    switch (step_) {
        case Step::Idle:
            Idle(game, time);
            break;
        case Step::ToShape:
            ToShape(game);
            break;
        case Step::TakePress:
            AfterTake(game, time);
            break;
        case Step::ToCell:
            ToCell(game, time);
            break;
        case Step::DropPress:
            AfterDrop(game, time, false);
            break;
        case Step::DropRelease:
            AfterDrop(game, time, true);
            break;
        case Step::ToDiscard:
            ToDiscard(time);
            break;
    }
    return pointer_;
}

void SimPlayer::Idle(const GameModel& game, double time) {
    pointer_.left = false;
    pointer_.right = false;
    if (game.held.active != 0) {
        cell_ = -1;
        step_ = Step::ToCell;
        return;
    }
    if (time < nextMove_) {
        return;
    }
    if (Quillory::ChooseShape(game, kReach, style_.plansRuns, slot_, cell_)) {
        stuckSince_ = -1;
        cycleStart_ = time;
        step_ = Step::ToShape;
        ToShape(game);
        return;
    }
    if (ShouldDiscard(game, time)) {
        step_ = Step::ToDiscard;
        ToDiscard(time);
        return;
    }
    nextMove_ = time + 0.1;  // look again shortly
    Glide(kParkX, kParkY);
}

void SimPlayer::ToShape(const GameModel& game) {
    if (slot_ < 0 || slot_ >= game.conveyorCount) {
        step_ = Step::Idle;
        return;
    }
    const ShapeItem& shape = game.conveyor[slot_];
    if (Glide(shape.x, shape.y)) {
        pointer_.left = true;
        step_ = Step::TakePress;
    }
}

void SimPlayer::AfterTake(const GameModel& game, double time) {
    if (game.held.active == 0) {
        // The shape slipped away under the pointer: think again.
        pointer_.left = false;
        step_ = Step::Idle;
        nextMove_ = time + 0.05;
        return;
    }
    if (!style_.drag) {
        pointer_.left = false;
    }
    cell_ = -1;
    waitingSince_ = -1;
    nextTurn_ = time + style_.turnGap;
    step_ = Step::ToCell;
}

void SimPlayer::ToCell(const GameModel& game, double time) {
    const ShapeItem& held = game.held;
    if (held.active == 0) {
        pointer_.left = false;
        step_ = Step::Idle;
        return;
    }
    const bool tutorial = game.tutorialOn != 0;
    const bool targetOk =
        cell_ >= 0 && cell_ < game.cellCount && Fits(game, held, game.cells[cell_]) &&
        (tutorial ? cell_ == game.tutorialCell : Quillory::InReach(game.cells[cell_], kReach));
    if (!targetOk) {
        cell_ = Quillory::ChooseCell(game, held, kReach);
    }
    if (cell_ < 0) {
        // Nothing in view for it: wait for the field to bring a cell, then give up on it.
        if (waitingSince_ < 0) {
            waitingSince_ = time;
        }
        if (!tutorial && time - waitingSince_ > kGiveUpSeconds) {
            step_ = Step::ToDiscard;
            ToDiscard(time);
            return;
        }
        Glide(kParkX, kParkY);
        return;
    }
    waitingSince_ = -1;
    const ShapeItem& cell = game.cells[cell_];
    // Turning on the way: one press of the right button per variant.
    const bool turned = TurnsNeeded(game, held, cell) == 0;
    if (pointer_.right) {
        pointer_.right = false;
    } else if (!turned && time >= nextTurn_) {
        pointer_.right = true;
        nextTurn_ = time + style_.turnGap;
    }
    if (!Glide(cell.x, AimY(cell)) || !turned || pointer_.right) {
        return;
    }
    if (pointer_.left) {
        pointer_.left = false;  // the end of a drag
        step_ = Step::DropRelease;
    } else {
        pointer_.left = true;
        step_ = Step::DropPress;
    }
}

void SimPlayer::AfterDrop(const GameModel& game, double time, bool released) {
    if (!released) {
        pointer_.left = false;
    }
    if (game.held.active != 0) {
        // Missed (the cell moved or was taken): aim again, now click by click.
        step_ = Step::ToCell;
        return;
    }
    ++drops_;
    Finished(time);
}

void SimPlayer::ToDiscard(double time) {
    if (pointer_.left) {
        pointer_.left = false;  // a drag in progress ends first
        return;
    }
    if (Glide(discardX_, discardY_)) {
        pointer_.left = true;
        ++discards_;
        step_ = Step::Idle;
        nextMove_ = time + 2 * kUpdateSeconds;
        stuckSince_ = -1;
    }
}

void SimPlayer::Finished(double time) {
    step_ = Step::Idle;
    const double jitter = 0.85 + 0.3 * random_.R01();
    const double next = cycleStart_ + style_.period * jitter;
    nextMove_ = next > time + 0.1 ? next : time + 0.1;
}

bool SimPlayer::Glide(float x, float y) {
    const double step = style_.pointerSpeed * kUpdateSeconds;
    const double dx = x - pointer_.x;
    const double dy = y - pointer_.y;
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (distance <= step) {
        pointer_.x = x;
        pointer_.y = y;
        return true;
    }
    pointer_.x += static_cast<float>(dx / distance * step);
    pointer_.y += static_cast<float>(dy / distance * step);
    return false;
}

bool SimPlayer::ShouldDiscard(const GameModel& game, double time) {
    if (game.tutorialOn != 0 || game.conveyorCount == 0) {
        return false;
    }
    if (game.conveyor[0].x <= Quillory::kTakeRight &&
        !Quillory::FitsAnywhere(game, game.conveyor[0])) {
        return true;
    }
    const bool full = game.conveyorCount >= Quillory::kMaxConveyor ||
                      game.conveyor[game.conveyorCount - 1].x >= kIssueRoom;
    if (!full) {
        stuckSince_ = -1;
        return false;
    }
    if (stuckSince_ < 0) {
        stuckSince_ = time;
    }
    return time - stuckSince_ > style_.stuckSeconds;
}

}  // namespace QuillorySim
