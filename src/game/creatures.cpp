// Bonus fills, the bug that eats filled cells, and the butterflies of the menu screens.
#include <cmath>
#include <cstdio>

#include "game/quillory_game.h"
#include "platform/random.h"

namespace Quillory {

namespace {

constexpr float kBandReach = 0.1f;   // of a cell's width: the cells of the same line
constexpr float kAreaReach = 1.9f;   // of a cell's size: the neighbours
constexpr float kBugReach = 0.025f;  // arrived at a point
constexpr float kBugFieldTop = 0.55f;
constexpr float kBugFieldBottom = 1.05f;
constexpr float kTwoPi = 6.28318530718f;

}  // namespace

void CQuilloryGame::ApplyBonus(int cellIndex, int bonusKind) {
    GameModel& m = model_;
    if (cellIndex < 0 || cellIndex >= m.cellCount) {
        return;
    }
    const ShapeItem target = m.cells[cellIndex];
    switch (bonusKind) {
        case kBonusAnyShape:
            Fx().BonusSparkle(target.x, target.y);
            break;
        case kBonusBand:
            for (int c = 0; c < m.cellCount; ++c) {
                ShapeItem& cell = m.cells[c];
                if (std::fabs(cell.x - target.x) < target.width * kBandReach) {
                    if (cell.filled == 0 && c != cellIndex && services_.events != nullptr) {
                        services_.events->OnFill(c);
                    }
                    cell.filled = 1;
                }
            }
            Fx().BonusSparkle(target.x, target.y);
            break;
        case kBonusArea:
            PlaySound("fill_area");
            for (int c = 0; c < m.cellCount; ++c) {
                ShapeItem& cell = m.cells[c];
                if (c == cellIndex || cell.filled != 0 ||
                    std::fabs(cell.x - target.x) >= kAreaReach * target.width ||
                    std::fabs(cell.y - target.y) >= kAreaReach * target.height) {
                    continue;
                }
                cell.filled = 1;
                Fx().FlyIn(&cell.x, &cell.y, ItemImageName(cell));
                if (services_.events != nullptr) {
                    services_.events->OnFill(c);
                }
            }
            Fx().AreaBurst(target.x, target.y);
            break;
        default:
            break;
    }
}

void CQuilloryGame::ResetBug() {
    BugRecord& bug = model_.bug;
    bug.active = 0;
    bug.lastLeft = ClockNow();
    bug.speed = 0.2f;
    bug.startX = -0.1f;
    bug.startY = 0.2f;
    bug.exitX = 1.1f;
    bug.exitY = 0.2f;
    bug.eatTime = 2.0f;
    bug.targetCell = -1;
}

void CQuilloryGame::BugArrival() {
    GameModel& m = model_;
    BugRecord& bug = m.bug;
    if (bug.active != 0 || m.cellCount <= 0 || m.now - bug.lastLeft <= m.bugAppearanceRange) {
        return;
    }
    const int c = Rand(0, m.cellCount - 1);
    const ShapeItem& cell = m.cells[c];
    if (cell.filled == 0 || cell.active == 0 || cell.y <= kBugFieldTop ||
        cell.y >= kBugFieldBottom) {
        return;
    }
    PlaySound("bug_alarm");
    bug.active = 1;
    bug.state = kBugWalking;
    bug.x = bug.startX;
    bug.y = bug.startY;
    bug.targetCell = c;
    if (services_.events != nullptr) {
        services_.events->OnBugArrives(c);
    }
}

namespace {

// One step of `speed x step` from (x, y) towards (toX, toY).
void StepTowards(BugRecord& bug, float toX, float toY, float step) {
    const float dx = toX - bug.x;
    const float dy = toY - bug.y;
    const float distance = std::sqrt(dx * dx + dy * dy);
    if (distance <= 0) {
        return;
    }
    bug.x += bug.speed * step * dx / distance;
    bug.y += bug.speed * step * dy / distance;
}

}  // namespace

void CQuilloryGame::UpdateBug(float step) {
    GameModel& m = model_;
    BugRecord& bug = m.bug;
    if (bug.active == 0) {
        return;
    }
    if (bug.targetCell < 0 || bug.targetCell >= m.cellCount) {
        bug.state = kBugLeaving;
    }
    ShapeItem* target = bug.state != kBugLeaving ? &m.cells[bug.targetCell] : nullptr;
    switch (bug.state) {
        case kBugWalking:
            if (target->active == 0) {
                bug.state = kBugLeaving;  // its line was removed: the cell is saved
                break;
            }
            if (std::fabs(bug.x - target->x) < kBugReach &&
                std::fabs(bug.y - target->y) < kBugReach) {
                bug.state = kBugEating;
                bug.eatStart = m.now;
            }
            StepTowards(bug, target->x, target->y, step);
            break;
        case kBugEating:
            bug.x = target->x;
            bug.y = target->y;
            if (m.now - bug.eatStart > bug.eatTime) {
                bug.state = kBugLeaving;
                if (target->active != 0) {
                    target->filled = 0;
                    PlaySound("shape_clear");
                    Fx().BugEats(bug.x, bug.y);
                    if (services_.events != nullptr) {
                        services_.events->OnBugEats(bug.targetCell);
                    }
                }
            }
            break;
        default:
            if (std::fabs(bug.x - bug.exitX) < kBugReach &&
                std::fabs(bug.y - bug.exitY) < kBugReach) {
                bug.active = 0;
                bug.lastLeft = m.now;
                if (services_.events != nullptr) {
                    services_.events->OnBugLeaves();
                }
            } else {
                StepTowards(bug, bug.exitX, bug.exitY, step);
            }
            break;
    }
}

void CQuilloryGame::SetUpButterflies() {
    GameModel& m = model_;
    Platform::RandomGenerator* random = services_.cosmeticRandom;
    for (int i = 0; i < kButterflyCount; ++i) {
        Butterfly& butterfly = m.butterflies[i];
        butterfly.x = static_cast<float>(random != nullptr ? random->RandInt(1, 9) : 5) / 10.0f;
        butterfly.y = static_cast<float>(random != nullptr ? random->RandInt(1, 9) : 5) / 10.0f;
        butterfly.kind = i % 4 + 1;
        butterfly.wanderClock = ClockNow() - 4;  // a heading at the first update
        if (services_.textures != nullptr) {
            char name[64];
            std::snprintf(name, sizeof(name), "Graphics\\butterfly_anim%d_left.png",
                          butterfly.kind);
            butterfly.leftImage = services_.textures->GetTexture(name);
            std::snprintf(name, sizeof(name), "Graphics\\butterfly_anim%d_right.png",
                          butterfly.kind);
            butterfly.rightImage = services_.textures->GetTexture(name);
        }
    }
    m.butterfliesSetUp = true;
}

void CQuilloryGame::UpdateButterflies(float step) {
    GameModel& m = model_;
    if (!m.butterfliesSetUp) {
        SetUpButterflies();
    }
    Platform::RandomGenerator* random = services_.cosmeticRandom;
    const float now = ClockNow();
    for (Butterfly& butterfly : m.butterflies) {
        if (now - butterfly.wanderClock > 3) {
            butterfly.wanderClock = now;
            const int heading = random != nullptr ? random->RandInt(0, 15) : 0;
            const int speed = random != nullptr ? random->RandInt(0, 10) : 0;
            butterfly.heading = static_cast<float>(heading) / 16.0f * kTwoPi;
            butterfly.speed = static_cast<float>(speed) * 0.003f + 0.02f;
        }
        butterfly.x += std::cos(butterfly.heading) * butterfly.speed * step;
        butterfly.y += std::sin(butterfly.heading) * butterfly.speed * step;
        if (butterfly.x < -0.3f) {
            butterfly.x = -0.05f;
        }
        if (butterfly.x > 1.3f) {
            butterfly.x = 1.05f;
        }
        if (butterfly.y < -0.3f) {
            butterfly.y = -0.05f;
        }
        if (butterfly.y > 1.3f) {
            butterfly.y = 1.05f;
        }
    }
}

}  // namespace Quillory
