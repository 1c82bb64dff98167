// The built-in players on a hand-made screen: what they press, where and when.
#include "sim/sim_player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "game/quillory_game.h"

namespace {

using namespace Quillory;
using QuillorySim::PlayerKind;
using QuillorySim::SimPlayer;

constexpr float kDiscardX = 0.1f;
constexpr float kDiscardY = 0.875f;

// A level in play: six lines of seven cells of classes 0 to 2 by turns, nothing filled, and
// conveyor shapes of the given classes.
std::unique_ptr<GameModel> Screen(std::initializer_list<int> shapes) {
    auto game = std::make_unique<GameModel>();
    game->screenState = STATE_PLAYING;
    game->phase = PHASE_PLAYING;
    game->shapeClassCount = 3;
    game->lineShapeCount = 7;
    game->cellCount = 42;
    for (int c = 0; c < game->cellCount; ++c) {
        ShapeItem& cell = game->cells[c];
        cell.x = kFirstLineX + static_cast<float>(c / 7) * kLineSpacing;
        cell.y = static_cast<float>(c % 7) * kRowSpacing + kFirstRowY + (c / 7 % 2 ? 0 : 0.08f);
        cell.width = kCellWidth;
        cell.height = kCellHeight;
        cell.active = 1;
        cell.classIndex = (c / 7 + c % 7) % 3;
    }
    for (int classIndex : shapes) {
        ShapeItem& shape = game->conveyor[game->conveyorCount];
        shape.classIndex = classIndex;
        shape.x = 0.3f + static_cast<float>(game->conveyorCount++) * kLineSpacing;
        shape.y = kConveyorY;
        shape.width = kCellWidth;
        shape.height = kCellHeight;
    }
    game->lastPlaced.classIndex = -1;
    return game;
}

// A player and its clock, one update a call.
struct Hands {
    explicit Hands(PlayerKind kind) : player(kind, 1, kDiscardX, kDiscardY) {}
    PointerState Next(const GameModel& game) { return player.Act(game, ++updates * 0.01); }
    // The pointer when the left button first changes from `from`, within 5 s.
    PointerState FirstChange(const GameModel& game, bool from = false) {
        const int start = updates;
        while (updates - start < 500) {
            const PointerState pointer = Next(game);
            if (pointer.left != from) {
                return pointer;
            }
        }
        ADD_FAILURE() << "the button never changed";
        return PointerState{};
    }
    SimPlayer player;
    int updates = 0;
};

bool At(const PointerState& pointer, const ShapeItem& item) {
    return std::fabs(pointer.x - item.x) < 0.001f && std::fabs(pointer.y - item.y) < 0.001f;
}

TEST(SimPlayerTest, GoodKeepsARunGoingAndClicksCasualTakesTheFirstAndDrags) {
    for (PlayerKind kind : {PlayerKind::Good, PlayerKind::Casual}) {
        std::unique_ptr<GameModel> game = Screen({0, 1});
        game->lastPlaced.classIndex = 1;
        Hands hands(kind);
        const int slot = kind == PlayerKind::Good ? 1 : 0;
        EXPECT_TRUE(At(hands.FirstChange(*game), game->conveyor[slot]));
        // Taken: the good player lets go and clicks on the cell, the casual one carries the
        // shape with the button down and lets go on the cell.
        game->held = game->conveyor[slot];
        game->held.active = 1;
        const bool carrying = kind == PlayerKind::Casual;
        EXPECT_EQ(hands.Next(*game).left, carrying);
        const int taken = hands.updates;
        const PointerState drop = hands.FirstChange(*game, carrying);
        EXPECT_GT(hands.updates - taken, 3);  // the pointer glides there
        bool onMatchingCell = false;
        for (int c = 0; c < game->cellCount; ++c) {
            onMatchingCell |= game->cells[c].classIndex == slot && At(drop, game->cells[c]) &&
                              game->cells[c].y >= 0.1f && game->cells[c].y <= 0.76f;
        }
        EXPECT_TRUE(onMatchingCell);
    }
}

TEST(SimPlayerTest, WaitsForPlayThenDiscardsAShapeThatFitsNowhere) {
    std::unique_ptr<GameModel> game = Screen({2});
    for (int c = 0; c < game->cellCount; ++c) {
        game->cells[c].filled = game->cells[c].classIndex == 2 ? 1 : 0;
    }
    game->phase = PHASE_ANNOUNCE;
    Hands hands(PlayerKind::Good);
    for (int update = 1; update <= 300; ++update) {
        EXPECT_FALSE(hands.Next(*game).left);  // no hands during the opening
    }
    game->phase = PHASE_PLAYING;
    const PointerState press = hands.FirstChange(*game);
    EXPECT_FLOAT_EQ(press.x, kDiscardX);
    EXPECT_FLOAT_EQ(press.y, kDiscardY);
}

TEST(SimPlayerTest, TheTutorialTakesSlotFourAndReachesCellFourWhereADropCounts) {
    std::unique_ptr<GameModel> game = Screen({0, 1, 2, 0, 1, 2, 0});
    game->lastPlaced.classIndex = 1;  // slot 1 would continue the run
    game->tutorialOn = 1;
    game->tutorialShape = 4;
    game->tutorialCell = 4;
    EXPECT_TRUE(At(Hands(PlayerKind::Good).FirstChange(*game), game->conveyor[4]));

    // The field stands still in the tutorial: cell 4 low over the conveyor is reached from its
    // upper edge.
    game->held = game->conveyor[4];
    game->held.active = 1;
    game->cells[4].classIndex = game->held.classIndex;
    game->cells[4].y = 0.89f;
    const PointerState drop = Hands(PlayerKind::Good).FirstChange(*game);
    EXPECT_FLOAT_EQ(drop.x, game->cells[4].x);
    EXPECT_LT(drop.y, kConveyorLimit);
    EXPECT_LT(std::fabs(drop.y - game->cells[4].y), 0.45f * kCellHeight);
}

}  // namespace
