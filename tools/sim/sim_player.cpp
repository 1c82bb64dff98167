// The built-in players' hands and judgement.
#include "sim/sim_player.h"

#include <cmath>

#include "game/quillory_game.h"

namespace QuillorySim {

using Quillory::GameModel;
using Quillory::ShapeItem;

namespace {

constexpr double kUpdateSeconds = 0.01;
// Cells are aimed at only inside this band: above it they wrap to the bottom before the shape
// arrives, below it the conveyor takes the drop.
constexpr float kReachTop = 0.1f;
constexpr float kReachBottom = 0.76f;
// Conveyor shapes are taken only once fully on screen and right of the rules' left edge.
constexpr float kTakeLeft = 0.22f;
constexpr float kTakeRight = 0.95f;
constexpr float kIssueRoom = 1.0f - Quillory::kLineSpacing / 2;
constexpr float kParkX = 0.6f;  // where a hand with nothing to do waits
constexpr float kParkY = 0.45f;
constexpr double kGiveUpSeconds = 3.0;  // a held shape with no cell in view this long: discard
// The pointer stays on the screen and above the conveyor, where a drop counts; a cell partly
// beyond that is reached from its edge (the rules accept 0.45 of a cell's height from its centre).
constexpr float kAimTop = 0.0f;
constexpr float kAimBottom = Quillory::kConveyorLimit - 0.002f;
constexpr float kEdgeReach = 0.45f * Quillory::kCellHeight - 0.002f;

bool Playing(const GameModel& game) {
    return game.screenState == Quillory::STATE_PLAYING && game.phase == Quillory::PHASE_PLAYING;
}

int ShapeCountOf(const GameModel& game, int classIndex) {
    if (classIndex < 0 || classIndex >= game.shapeClassCount) {
        return 1;
    }
    const int count = game.levelClasses[classIndex].shapeCount;
    return count > 0 ? count : 1;
}

// Right-button presses that turn `item` into the cell's variant.
int TurnsNeeded(const GameModel& game, const ShapeItem& item, const ShapeItem& cell) {
    if (item.bonusKind != Quillory::kBonusNone) {
        return 0;
    }
    const int count = ShapeCountOf(game, item.classIndex);
    return ((cell.variant - item.variant) % count + count) % count;
}

// Whether `item` can go into `cell` (after turning it, in Transformer mode).
bool Fits(const GameModel& game, const ShapeItem& item, const ShapeItem& cell) {
    if (cell.filled != 0 || cell.active == 0) {
        return false;
    }
    if (item.bonusKind != Quillory::kBonusNone) {
        return true;
    }
    if (cell.classIndex != item.classIndex) {
        return false;
    }
    return cell.variant == item.variant || game.mode == Quillory::MODE_TRANSFORMER;
}

bool InReach(const ShapeItem& cell) {
    return cell.y >= kReachTop && cell.y <= kReachBottom;
}

int EmptyInLine(const GameModel& game, int cell) {
    if (game.lineShapeCount <= 0) {
        return 0;
    }
    const int first = cell / game.lineShapeCount * game.lineShapeCount;
    int empty = 0;
    for (int c = first; c < first + game.lineShapeCount && c < game.cellCount; ++c) {
        empty += game.cells[c].filled == 0 && game.cells[c].active != 0 ? 1 : 0;
    }
    return empty;
}

// Empty cells that an area bonus dropped on `cell` would fill.
int EmptyAround(const GameModel& game, int cell) {
    const ShapeItem& centre = game.cells[cell];
    int empty = 0;
    for (int c = 0; c < game.cellCount; ++c) {
        const ShapeItem& other = game.cells[c];
        if (c != cell && other.filled == 0 && other.active != 0 &&
            std::fabs(other.x - centre.x) < 1.9f * centre.width &&
            std::fabs(other.y - centre.y) < 1.9f * centre.height) {
            ++empty;
        }
    }
    return empty;
}

bool FitsAnywhere(const GameModel& game, const ShapeItem& item) {
    for (int c = 0; c < game.cellCount; ++c) {
        if (Fits(game, item, game.cells[c])) {
            return true;
        }
    }
    return false;
}

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
    if (!Playing(game)) {
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
    if (ChooseShape(game, slot_, cell_)) {
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
    const bool targetOk = cell_ >= 0 && cell_ < game.cellCount &&
                          Fits(game, held, game.cells[cell_]) &&
                          (tutorial ? cell_ == game.tutorialCell : InReach(game.cells[cell_]));
    if (!targetOk) {
        cell_ = ChooseCell(game, held);
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
    const float aimY = cell.y < kAimTop ? kAimTop : (cell.y > kAimBottom ? kAimBottom : cell.y);
    if (!Glide(cell.x, aimY) || !turned || pointer_.right) {
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

int SimPlayer::ChooseCell(const GameModel& game, const ShapeItem& item) const {
    if (game.tutorialOn != 0) {
        const int cell = game.tutorialCell;
        // The field stands still during the tutorial: cell 4 is used wherever it can be reached.
        const bool usable =
            cell >= 0 && cell < game.cellCount && game.cells[cell].y < kAimBottom + kEdgeReach &&
            game.cells[cell].y > kAimTop - kEdgeReach && Fits(game, item, game.cells[cell]);
        return usable ? cell : -1;
    }
    int best = -1;
    double bestValue = 0;
    for (int c = 0; c < game.cellCount; ++c) {
        const ShapeItem& cell = game.cells[c];
        if (!Fits(game, item, cell) || !InReach(cell)) {
            continue;
        }
        double value = 0;
        switch (item.bonusKind) {
            case Quillory::kBonusBand:
                value = EmptyInLine(game, c);  // the fullest work for one drop
                break;
            case Quillory::kBonusArea:
                value = EmptyAround(game, c);
                break;
            default:
                // Fewer turns first, then the line closest to complete.
                value = -TurnsNeeded(game, item, cell) - 0.1 * EmptyInLine(game, c);
                break;
        }
        if (best < 0 || value > bestValue) {
            best = c;
            bestValue = value;
        }
    }
    return best;
}

bool SimPlayer::ChooseShape(const GameModel& game, int& slot, int& cell) const {
    slot = -1;
    cell = -1;
    if (game.tutorialOn != 0) {
        const int tutorialSlot = game.tutorialShape;
        if (tutorialSlot < 0 || tutorialSlot >= game.conveyorCount) {
            return false;
        }
        const ShapeItem& shape = game.conveyor[tutorialSlot];
        if (shape.x < kTakeLeft || shape.x > kTakeRight) {
            return false;
        }
        slot = tutorialSlot;
        cell = game.tutorialCell;
        return true;
    }
    double bestValue = 0;
    for (int i = 0; i < game.conveyorCount; ++i) {
        const ShapeItem& shape = game.conveyor[i];
        if (shape.x < kTakeLeft || shape.x > kTakeRight) {
            continue;
        }
        const int target = ChooseCell(game, shape);
        if (target < 0) {
            continue;
        }
        if (!style_.plansRuns) {
            slot = i;
            cell = target;
            return true;
        }
        double value = -0.01 * i - 0.5 * TurnsNeeded(game, shape, game.cells[target]);
        if (shape.bonusKind == Quillory::kBonusNone &&
            shape.classIndex == game.lastPlaced.classIndex) {
            value += 10;  // a run pays 50 more with every drop
        }
        if (slot < 0 || value > bestValue) {
            slot = i;
            cell = target;
            bestValue = value;
        }
    }
    return slot >= 0;
}

bool SimPlayer::ShouldDiscard(const GameModel& game, double time) {
    if (game.tutorialOn != 0 || game.conveyorCount == 0) {
        return false;
    }
    if (game.conveyor[0].x <= kTakeRight && !FitsAnywhere(game, game.conveyor[0])) {
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
