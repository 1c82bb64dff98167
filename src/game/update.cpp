// The per-update clockwork of a level: the clock, the pointer sample, the scrolling field, the
// conveyor and the issuing of new shapes, in the fixed order of UpdateGame.
#include "effects/effect2d.h"
#include "game/quillory_game.h"

namespace Quillory {

namespace {

constexpr float kConveyorSpeed = 0.75f;  // screen widths per second
constexpr float kConveyorStop = 0.3f;    // where the first shape waits
constexpr float kIssueX = 1.0f + kLineSpacing / 2;
constexpr float kIssueRoom = 1.0f - kLineSpacing / 2;  // the last shape must be left of this
constexpr int kMaxIssueTries = 10;
constexpr float kRemovedLineSpeedUp = 0.02f;
constexpr float kWarnBelowSeconds = 10.0f;  // timeout warnings below this many seconds

}  // namespace

void CQuilloryGame::RestartButtonEdges() {
    restartEdges_ = true;
}

void CQuilloryGame::SamplePointer() {
    PointerState state;
    if (services_.pointer != nullptr) {
        state = services_.pointer->Sample();
    }
    model_.mouseX = state.x;
    model_.mouseY = state.y;
    if (restartEdges_) {
        // Buttons already down belong to the previous screen: ignored until released.
        restartEdges_ = false;
        leftLatched_ = state.left;
        rightLatched_ = state.right;
        leftDown_ = false;
        rightDown_ = false;
    }
    if (leftLatched_ && !state.left) {
        leftLatched_ = false;
    }
    if (rightLatched_ && !state.right) {
        rightLatched_ = false;
    }
    const bool left = state.left && !leftLatched_;
    const bool right = state.right && !rightLatched_;
    leftPressed_ = left && !leftDown_;
    leftReleased_ = !left && leftDown_;
    rightPressed_ = right && !rightDown_;
    rightReleased_ = !right && rightDown_;
    leftDown_ = left;
    rightDown_ = right;
}

void CQuilloryGame::UpdateGame(float updateAmount) {
    GameModel& m = model_;
    // 1-3: the clock.
    m.now = ClockNow();
    m.frameStep = updateAmount / 100.0f;
    m.sinceLevelStart = m.now - m.levelStartTime;
    if (m.phase == PHASE_PLAYING) {
        // Stands still while paused (the lesson pauses), like the time left.
        m.elapsed = LevelClockElapsed();
    } else {
        m.elapsed = m.levelTime - m.remainingAtStart;
    }
    if (m.tutorialOn == 0) {
        m.timeLeft = m.levelTime - m.elapsed;
    }
    // 4: the pointer.
    SamplePointer();
    takenThisFrame_ = false;
    // 5: a new shape when there is room.
    if (m.phase == PHASE_ANNOUNCE || m.phase == PHASE_PLAYING) {
        const bool empty = m.conveyorCount == 0;
        const bool room = m.conveyorCount >= 1 && m.conveyorCount <= 9 &&
                          m.conveyor[m.conveyorCount - 1].x < kIssueRoom;
        if (empty || room) {
            IssueShape();
        }
    }
    // 6-7: the field and the conveyor move.
    if (m.tutorialOn == 0) {
        ScrollField();
    }
    if (!(m.tutorialOn != 0 && m.shapesIssued >= 9)) {
        MoveConveyor();
    }
    PlaceCellsOnLines();
    // 8: take, follow, drop, transform.
    TakeShape();
    FollowPointer();
    TryPlace();
    TransformHeld();
    // 9: a bug may come.
    BugArrival();
    // 10: out of time (tested before the win, so a loss in the same update wins).
    const bool timed = !m.IsBonusLevel() && m.mode != MODE_RELAX;
    if (timed && m.timeLeft <= 0) {
        LoseLevel();
        return;
    }
    // 11: every cell filled.
    m.filledCount = 0;
    for (int c = 0; c < m.cellCount; ++c) {
        m.filledCount += m.cells[c].filled != 0 ? 1 : 0;
    }
    m.meter = m.cellCount > 0 ? static_cast<float>(m.filledCount) / m.cellCount : 0.0f;
    if (m.cellCount > 0 && m.filledCount == m.cellCount) {
        WinLevel();
    }
    // 12: the timeout warnings, once per second below ten seconds.
    if (timed && m.timeLeft < kWarnBelowSeconds - static_cast<float>(m.timeoutWarnings) &&
        m.timeoutWarnings < 10) {
        PlaySound("timeout");
        ++m.timeoutWarnings;
        if (services_.events != nullptr) {
            services_.events->OnTimeoutWarning(m.timeLeft);
        }
    }
    // 13: the bug and the effects.
    UpdateBug(m.frameStep);
    RunEffects();
    // 14: the play-screen phase.
    AdvancePhase();
}

void CQuilloryGame::ScrollField() {
    GameModel& m = model_;
    const float period = static_cast<float>(m.lineShapeCount) * kRowSpacing;
    const float speed =
        m.lineSpeed + static_cast<float>(kLineCount - m.linesLeft) * kRemovedLineSpeedUp;
    m.scrollOffset -= speed * m.frameStep;
    if (m.scrollOffset < 0) {
        m.scrollOffset = period;
    }
    if (m.scrollOffset > period) {
        m.scrollOffset = 0;
    }
    PlaceCellsAtScroll();
}

void CQuilloryGame::PlaceCellsAtScroll() {
    GameModel& m = model_;
    const float period = static_cast<float>(m.lineShapeCount) * kRowSpacing;
    for (int c = 0; c < m.cellCount; ++c) {
        ShapeItem& cell = m.cells[c];
        cell.y = cell.baseY + m.scrollOffset;
        if (cell.y < kFirstRowY) {
            cell.y += period;
        }
        if (cell.y > kFirstRowY + period) {
            cell.y -= period;
        }
    }
}

void CQuilloryGame::MoveConveyor() {
    GameModel& m = model_;
    const float step = -kConveyorSpeed * m.frameStep;
    for (int i = 0; i < m.conveyorCount; ++i) {
        ShapeItem& shape = m.conveyor[i];
        if (i == 0) {
            if (shape.x > kConveyorStop) {
                shape.x += step;
            }
            continue;
        }
        const ShapeItem& before = m.conveyor[i - 1];
        if (shape.x - before.x > kLineSpacing) {
            shape.x += step;
        }
        if (shape.x - before.x < kLineSpacing) {
            shape.x = before.x + kLineSpacing;
        }
    }
}

void CQuilloryGame::PlaceCellsOnLines() {
    GameModel& m = model_;
    if (m.lineShapeCount <= 0) {
        return;
    }
    for (int c = 0; c < m.cellCount; ++c) {
        m.cells[c].x = m.lines[c / m.lineShapeCount].x;
    }
    for (PlayLine& line : m.lines) {
        line.tint = (EffectAlpha(line.scale) & 0xFF000000u) | 0x00FFFFFFu;
    }
}

void CQuilloryGame::IssueShape() {
    GameModel& m = model_;
    if (m.conveyorCount >= kMaxConveyor || m.shapeClassCount <= 0) {
        return;
    }
    ShapeItem shape;
    shape.x = kIssueX;
    shape.y = kConveyorY;
    shape.width = kCellWidth;
    shape.height = kCellHeight;
    shape.bonusKind = kBonusNone;
    // Bonus kinds: a later success replaces an earlier one.
    if (m.bonusAnyShapeP > R01()) {
        shape.bonusKind = kBonusAnyShape;
    }
    if (m.bonusBandP > R01()) {
        shape.bonusKind = kBonusBand;
    }
    if (m.bonusAreaP > R01()) {
        shape.bonusKind = kBonusArea;
    }
    // The class: weighted by the empty cells waiting for it, avoiding the last one issued.
    int waiting[kMaxClasses] = {};
    int total = 0;
    for (int c = 0; c < m.cellCount; ++c) {
        const ShapeItem& cell = m.cells[c];
        if (cell.filled == 0 && cell.classIndex >= 0 && cell.classIndex < m.shapeClassCount) {
            ++waiting[cell.classIndex];
            ++total;
        }
    }
    int pick = m.lastIssuedClass;
    for (int attempt = 0; attempt < kMaxIssueTries; ++attempt) {
        pick = Rand(0, m.shapeClassCount - 1);
        const float r = static_cast<float>(R01());
        float lo = 0;
        for (int k = 0; k < m.shapeClassCount; ++k) {
            const float p = total > 0 ? static_cast<float>(waiting[k]) / total : 0.0f;
            const float hi = lo + p;
            if (lo <= r && r <= hi) {
                pick = k;
            }
            lo = hi;
        }
        if (pick != m.lastIssuedClass) {
            break;
        }
    }
    m.lastIssuedClass = pick;
    shape.classIndex = pick;
    shape.variant = Rand(0, m.levelClasses[pick].shapeCount - 1);
    if (services_.textures != nullptr) {
        shape.mainImage = services_.textures->GetTexture(ItemImageName(shape));
    }
    const int slot = m.conveyorCount;
    m.conveyor[slot] = shape;
    ++m.conveyorCount;
    ++m.shapesIssued;
    if (services_.events != nullptr) {
        services_.events->OnIssue(slot, shape.classIndex, shape.variant, shape.bonusKind);
    }
}

}  // namespace Quillory
