// A good player's choice of shape and cell.
#include "game/move_choice.h"

#include <cmath>

#include "game/quillory_game.h"

namespace Quillory {

namespace {

int ShapeCountOf(const GameModel& game, int classIndex) {
    if (classIndex < 0 || classIndex >= game.shapeClassCount) {
        return 1;
    }
    const int count = game.levelClasses[classIndex].shapeCount;
    return count > 0 ? count : 1;
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

bool Takeable(const ShapeItem& shape) {
    return shape.x >= kTakeLeft && shape.x <= kTakeRight;
}

}  // namespace

bool InReach(const ShapeItem& cell, const CellReach& reach) {
    return cell.y >= reach.top && cell.y <= reach.bottom;
}

bool InPlay(const GameModel& game) {
    return game.screenState == STATE_PLAYING && game.phase == PHASE_PLAYING;
}

bool Fits(const GameModel& game, const ShapeItem& item, const ShapeItem& cell) {
    if (cell.filled != 0 || cell.active == 0) {
        return false;
    }
    if (item.bonusKind != kBonusNone) {
        return true;
    }
    if (cell.classIndex != item.classIndex) {
        return false;
    }
    return cell.variant == item.variant || game.mode == MODE_TRANSFORMER;
}

bool FitsAnywhere(const GameModel& game, const ShapeItem& item) {
    for (int c = 0; c < game.cellCount; ++c) {
        if (Fits(game, item, game.cells[c])) {
            return true;
        }
    }
    return false;
}

int TurnsNeeded(const GameModel& game, const ShapeItem& item, const ShapeItem& cell) {
    if (item.bonusKind != kBonusNone) {
        return 0;
    }
    const int count = ShapeCountOf(game, item.classIndex);
    return ((cell.variant - item.variant) % count + count) % count;
}

float AimY(const ShapeItem& cell) {
    return cell.y < kAimTop ? kAimTop : (cell.y > kAimBottom ? kAimBottom : cell.y);
}

int ChooseCell(const GameModel& game, const ShapeItem& item, const CellReach& reach) {
    if (game.tutorialOn != 0) {
        const int cell = game.tutorialCell;
        // The field stands still during the tutorial: its cell is used wherever it can be reached.
        const bool usable =
            cell >= 0 && cell < game.cellCount && game.cells[cell].y < kAimBottom + kEdgeReach &&
            game.cells[cell].y > kAimTop - kEdgeReach && Fits(game, item, game.cells[cell]);
        return usable ? cell : -1;
    }
    int best = -1;
    double bestValue = 0;
    for (int c = 0; c < game.cellCount; ++c) {
        const ShapeItem& cell = game.cells[c];
        if (!Fits(game, item, cell) || !InReach(cell, reach)) {
            continue;
        }
        double value = 0;
        switch (item.bonusKind) {
            case kBonusBand:
                value = EmptyInLine(game, c);  // the fullest work for one drop
                break;
            case kBonusArea:
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

bool ChooseShape(const GameModel& game, const CellReach& reach, bool plansRuns, int& slot,
                 int& cell) {
    slot = -1;
    cell = -1;
    if (game.tutorialOn != 0) {
        const int tutorialSlot = game.tutorialShape;
        if (tutorialSlot < 0 || tutorialSlot >= game.conveyorCount ||
            !Takeable(game.conveyor[tutorialSlot])) {
            return false;
        }
        slot = tutorialSlot;
        cell = game.tutorialCell;
        return true;
    }
    double bestValue = 0;
    for (int i = 0; i < game.conveyorCount; ++i) {
        const ShapeItem& shape = game.conveyor[i];
        if (!Takeable(shape)) {
            continue;
        }
        const int target = ChooseCell(game, shape, reach);
        if (target < 0) {
            continue;
        }
        if (!plansRuns) {
            slot = i;
            cell = target;
            return true;
        }
        double value = -0.01 * i - 0.5 * TurnsNeeded(game, shape, game.cells[target]);
        if (shape.bonusKind == kBonusNone && shape.classIndex == game.lastPlaced.classIndex) {
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

}  // namespace Quillory
