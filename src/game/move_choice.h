// A good player's judgement, read from the rules' state and never changing it: which conveyor
// shape to take, which empty cell it fits, and how many turns of the right button it needs. The
// level bot's players and scripted play both decide with it, so that they play alike.
#pragma once

#include "game/game_records.h"

namespace Quillory {

struct GameModel;

// The pointer's band where a drop counts: on the screen and above the conveyor.
constexpr float kAimTop = 0.0f;
constexpr float kAimBottom = kConveyorLimit - 0.002f;
// A cell partly beyond that band is reached from its edge: the rules accept a drop within 0.45
// of a cell's height from its centre.
constexpr float kEdgeReach = 0.45f * kCellHeight - 0.002f;

// Conveyor shapes are taken only once fully on screen and right of the rules' left edge.
constexpr float kTakeLeft = 0.22f;
constexpr float kTakeRight = 0.95f;

// Cells are aimed at only while their centre lies in this band: a hand that needs time to get
// there looks for cells that will still be reachable when it arrives.
struct CellReach {
    float top = 0.1f;
    float bottom = 0.76f;
};

bool InReach(const ShapeItem& cell, const CellReach& reach);

// Whether the play screen is in play (not opening, paused or ended).
bool InPlay(const GameModel& game);

// Whether `item` can go into `cell` (after turning it, in Transformer mode).
bool Fits(const GameModel& game, const ShapeItem& item, const ShapeItem& cell);
bool FitsAnywhere(const GameModel& game, const ShapeItem& item);

// Right-button presses that turn `item` into the cell's variant.
int TurnsNeeded(const GameModel& game, const ShapeItem& item, const ShapeItem& cell);

// Where the pointer goes to drop on `cell`: its centre, moved into the band where drops count.
float AimY(const ShapeItem& cell);

// The best cell in reach for `item`, -1 when none. During the tutorial only its cell counts.
int ChooseCell(const GameModel& game, const ShapeItem& item, const CellReach& reach);

// The conveyor slot to take now and the cell it would go to; false when no shape on the screen
// fits a cell in reach. `plansRuns` prefers shapes that continue a run of one class (each drop
// of a run pays 50 more); otherwise the first shape that fits is taken.
bool ChooseShape(const GameModel& game, const CellReach& reach, bool plansRuns, int& slot,
                 int& cell);

}  // namespace Quillory
