// What the player does with a shape: take it from the conveyor, turn it, drop it on a matching
// empty cell or throw it away; and what a drop brings: the fill, complete lines removed with the
// others closing up, and the points of the drop and its run.
#include <cmath>
#include <cstdio>

#include "game/quillory_game.h"

namespace Quillory {

namespace {

constexpr float kDropReach = 0.45f;     // of a cell's size, from its centre
constexpr float kTakeLeftEdge = 0.2f;   // nothing is taken left of this
constexpr float kMiddleColumn = 0.59f;  // lines left of it close up rightwards
constexpr float kPointsAbove = 0.059375f;
constexpr int kDropPoints = 50;
constexpr int kMaxRunSound = 7;

}  // namespace

void CQuilloryGame::TakeFromConveyor(int slot) {
    GameModel& m = model_;
    m.held = m.conveyor[slot];
    m.held.active = 1;
    PlaySound("take_shape");
    for (int i = slot; i + 1 < m.conveyorCount; ++i) {
        m.conveyor[i] = m.conveyor[i + 1];
    }
    --m.conveyorCount;
    if (services_.events != nullptr) {
        services_.events->OnTake(slot, m.held.classIndex, m.held.variant, m.held.bonusKind);
    }
}

void CQuilloryGame::TakeShape() {
    GameModel& m = model_;
    const bool opening = m.levelNumber >= 2 && m.phase != PHASE_PLAYING;
    if (!(m.phase == PHASE_PLAYING || opening) || !leftDown_ || m.held.active != 0) {
        return;
    }
    for (int i = 0; i < m.conveyorCount; ++i) {
        const ShapeItem& shape = m.conveyor[i];
        if (std::fabs(shape.x - m.mouseX) < shape.width / 2 &&
            std::fabs(shape.y - m.mouseY) < shape.height / 2 && m.mouseX > kTakeLeftEdge &&
            (m.tutorialOn == 0 || i == m.tutorialShape)) {
            TakeFromConveyor(i);
            takenThisFrame_ = true;
            if (m.tutorialOn != 0 && m.tutorialStep == TUTORIAL_TAKE) {
                const bool canTurn = m.mode == MODE_TRANSFORMER && m.shapeClassCount > 0 &&
                                     m.levelClasses[0].shapeCount > 1;
                m.tutorialStep = canTurn ? TUTORIAL_TURN : TUTORIAL_DROP;
            }
            return;
        }
    }
}

void CQuilloryGame::FollowPointer() {
    if (model_.held.active != 0) {
        model_.held.x = model_.mouseX;
        model_.held.y = model_.mouseY;
    }
}

void CQuilloryGame::TransformHeld() {
    GameModel& m = model_;
    if (!rightPressed_ || m.mode != MODE_TRANSFORMER || m.held.active == 0) {
        return;
    }
    if (m.held.classIndex < 0 || m.held.classIndex >= m.shapeClassCount) {
        return;
    }
    PlaySound("transform_shape");
    const int count = m.levelClasses[m.held.classIndex].shapeCount;
    m.held.variant = m.held.variant + 1 >= count ? 0 : m.held.variant + 1;
    if (m.tutorialOn != 0 && m.tutorialStep == TUTORIAL_TURN) {
        m.tutorialStep = TUTORIAL_DROP;
    }
    if (services_.events != nullptr) {
        services_.events->OnTurn(m.held.variant);
    }
}

void CQuilloryGame::TryPlace() {
    GameModel& m = model_;
    if (takenThisFrame_ || !(leftPressed_ || leftReleased_) || m.held.active == 0 ||
        m.mouseY >= kConveyorLimit) {
        return;
    }
    if (m.tutorialOn != 0 && m.tutorialStep != TUTORIAL_DROP) {
        return;
    }
    int target = -1;
    for (int c = 0; c < m.cellCount; ++c) {
        const ShapeItem& cell = m.cells[c];
        if (std::fabs(cell.x - m.mouseX) < kDropReach * cell.width &&
            std::fabs(cell.y - m.mouseY) < kDropReach * cell.height && cell.filled == 0 &&
            (m.tutorialOn == 0 || c == m.tutorialCell) &&
            ((cell.classIndex == m.held.classIndex && cell.variant == m.held.variant) ||
             m.held.bonusKind != kBonusNone)) {
            target = c;
            break;
        }
    }
    if (target < 0) {
        return;
    }
    ShapeItem& cell = m.cells[target];
    cell.filled = 1;
    m.held.active = 0;
    Fx().FlyIn(&cell.x, &cell.y, ItemImageName(cell));
    ApplyBonus(target, m.held.bonusKind);
    RemoveCompleteLines();
    ScoreDrop(target);
    if (m.tutorialOn != 0 && m.tutorialStep == TUTORIAL_DROP) {
        m.tutorialOn = 0;
        Pause(false);
    }
}

void CQuilloryGame::ScoreDrop(int c) {
    GameModel& m = model_;
    const ShapeItem& cell = m.cells[c];
    int points = kDropPoints;
    if (cell.classIndex != m.lastPlaced.classIndex) {
        m.comboCount = 0;
        m.lastPlaced = cell;
        Fx().DropPoints(cell.x, cell.y - kPointsAbove, points);
        m.score += points;
        PlaySound("place_shape");
    } else {
        ++m.comboCount;
        m.lastPlaced = cell;
        points = m.comboCount * kDropPoints + kDropPoints;
        Fx().RunBonus(cell.x, cell.y - kPointsAbove, points);
        m.score += points;
        char sound[40];
        std::snprintf(sound, sizeof(sound), "place_shape_bonus_%d",
                      m.comboCount < kMaxRunSound ? m.comboCount : kMaxRunSound);
        PlaySound(sound);
    }
    if (services_.events != nullptr) {
        services_.events->OnDrop(c, cell.classIndex, cell.variant, m.held.bonusKind, points,
                                 m.comboCount, m.score);
    }
}

void CQuilloryGame::RemoveCompleteLines() {
    GameModel& m = model_;
    if (m.lineShapeCount <= 0) {
        return;
    }
    bool complete[kLineCount] = {};
    for (int line = 0; line < kLineCount; ++line) {
        complete[line] = true;
        for (int row = 0; row < m.lineShapeCount; ++row) {
            const ShapeItem& cell = m.cells[line * m.lineShapeCount + row];
            if (cell.filled == 0 || cell.active == 0) {
                complete[line] = false;
                break;
            }
        }
    }
    // The split at the middle column goes by the lines' places, not by where a slide has them.
    int left = 0;
    for (int line = 0; line < kLineCount; ++line) {
        if (kFirstLineX + static_cast<float>(lineSlot_[line]) * kLineSpacing < kMiddleColumn) {
            left = line;
        }
    }
    int shift[kLineCount] = {};
    int met = 0;
    for (int line = left; line >= 0; --line) {
        if (complete[line]) {
            ++met;
        } else {
            shift[line] += met;
        }
    }
    met = 0;
    for (int line = left + 1; line < kLineCount; ++line) {
        if (complete[line]) {
            ++met;
        } else {
            shift[line] -= met;
        }
    }
    for (int line = 0; line < kLineCount; ++line) {
        PlayLine& playLine = m.lines[line];
        if (complete[line]) {
            PlaySound("remove_line");
            for (int row = 0; row < m.lineShapeCount; ++row) {
                m.cells[line * m.lineShapeCount + row].active = 0;
            }
            Fx().LineShrink(&playLine.scale);
            playLine.removed = 1;
            --m.linesLeft;
            if (services_.events != nullptr) {
                services_.events->OnLineRemoved(line, m.linesLeft);
            }
        } else if (shift[line] != 0) {
            lineSlot_[line] += shift[line];
            const float place = kFirstLineX + static_cast<float>(lineSlot_[line]) * kLineSpacing;
            Fx().LineSlide(&playLine.x, playLine.x, place);
        }
    }
    PlaceCellsOnLines();
}

void CQuilloryGame::DiscardShape() {
    GameModel& m = model_;
    if (m.tutorialOn != 0) {
        return;  // the tutorial's shape must reach its cell
    }
    if (m.held.active == 0) {
        if (m.conveyorCount == 0) {
            return;
        }
        TakeFromConveyor(0);
    }
    m.held.active = 0;
    PlaySound("drop_shape");
    // The picture shrinks away where the shape was last.
    Fx().Discarded(m.held.x, m.held.y, m.held.width, m.held.height, ItemImageName(m.held));
    if (services_.events != nullptr) {
        services_.events->OnDiscard(m.held.classIndex, m.held.bonusKind);
    }
}

void CQuilloryGame::DiscardFromKey() {
    if (model_.conveyorCount > 0 && model_.conveyor[0].x < 0.5f) {
        DiscardShape();
    }
}

}  // namespace Quillory
