// Bonus fills, the bug and the butterflies.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "game/quillory_game.h"
#include "support/game_world.h"

namespace {

using namespace Quillory;
using TestSupport::GameWorld;

class CreaturesTest : public ::testing::Test {
protected:
    const GameModel& M() const { return world_.game->State(); }
    GameModel& Edit() { return world_.game->EditState(); }
    // Holds a bonus shape of `kind` and drops it on `cell`.
    void DropBonus(int kind, int cell) {
        Edit().conveyor[0].bonusKind = kind;
        world_.TakeAndDrop(0, cell);
    }

    GameWorld world_;
};

// Which cells the bonuses fill is held to the recorded plays; here each cell newly filled is
// reported once (not the target, not one filled before) and the line a band fills goes at once.
TEST_F(CreaturesTest, BonusFillsReportEachNewCellOnceAndAnyShapeFitsAnyCell) {
    world_.StartStillLevel({});
    // Cell 10 is line 1, row 3: six neighbours, one of them filled before.
    Edit().cells[0 * 7 + 3].filled = 1;
    DropBonus(kBonusArea, 1 * 7 + 3);
    EXPECT_EQ(world_.events.Starting("fill").size(), 5u);
    EXPECT_EQ(world_.sounds.Count("fill_area"), 1);
    // Line 2 has two cells of the area and one more filled: the band fills the other three.
    Edit().cells[2 * 7 + 5].filled = 1;
    DropBonus(kBonusBand, 2 * 7 + 0);  // the top cell of line 2
    EXPECT_EQ(world_.events.Starting("fill").size(), 8u);
    EXPECT_EQ(world_.events.Starting("line_removed 2").size(), 1u);

    const int other = 4 * 7 + 3;
    Edit().conveyor[0].classIndex = (M().cells[other].classIndex + 1) % 3;
    DropBonus(kBonusAnyShape, other);
    EXPECT_EQ(M().cells[other].filled, 1);
    EXPECT_EQ(M().cells[other - 1].filled, 0);
}

// The cells the bug picks and the times it comes, eats and leaves are the stored simulator
// event logs' (tests/tools/sim/expected); here its sounds and the cell it empties.
TEST_F(CreaturesTest, TheBugSoundsItsAlarmAndEmptiesTheCellItEats) {
    world_.StartStillLevel({{"fBugAppearanceRange", "1"}});
    const int cell = 4;  // line 0, row 4 (y 0.634): in the lower half
    Edit().cells[cell].filled = 1;
    ASSERT_TRUE(world_.RunUntil([&] { return M().bug.active == 1; }, 30));
    EXPECT_EQ(world_.sounds.Count("bug_alarm"), 1);
    ASSERT_TRUE(world_.RunUntil([&] { return M().bug.state == kBugLeaving; }, 15));
    EXPECT_EQ(M().cells[cell].filled, 0);
    EXPECT_EQ(world_.sounds.Count("shape_clear"), 1);
}

TEST_F(CreaturesTest, ARemovedLineSavesTheCellTheBugWalksTo) {
    world_.StartStillLevel({{"fBugAppearanceRange", "0"}});
    GameModel& m = Edit();
    for (int row = 0; row < 7; ++row) {
        m.cells[row].filled = row != 0 ? 1 : 0;
    }
    ASSERT_TRUE(world_.RunUntil([&] { return M().bug.active == 1; }, 30));
    const int target = M().bug.targetCell;
    ASSERT_LT(target, 7);
    world_.RunSeconds(0.5f);
    m.cells[0].filled = 1;
    world_.game->RemoveCompleteLines();
    world_.Step();
    world_.Step();
    EXPECT_EQ(M().bug.state, kBugLeaving);
    ASSERT_TRUE(world_.RunUntil([&] { return M().bug.active == 0; }, 20));
    EXPECT_EQ(M().cells[target].filled, 1);
    EXPECT_EQ(world_.events.Starting("bug_eats").size(), 0u);
}

TEST_F(CreaturesTest, ButterfliesFlyWithTheirOwnPicturesAndSpeeds) {
    world_.WriteClasses(4, 1);
    world_.CreateGame();
    world_.RunSeconds(10);  // the main menu; the rules' generator untouched is the recorded plays'
    EXPECT_TRUE(M().butterfliesSetUp);
    for (int i = 0; i < kButterflyCount; ++i) {
        const Butterfly& butterfly = M().butterflies[i];
        EXPECT_EQ(butterfly.kind, i % 4 + 1);
        EXPECT_GE(butterfly.x, -0.3f);
        EXPECT_LE(butterfly.x, 1.3f);
        EXPECT_GE(butterfly.speed, 0.02f);
        EXPECT_EQ(world_.textures.NameOf(butterfly.leftImage),
                  "Graphics\\butterfly_anim" + std::to_string(butterfly.kind) + "_left.png");
    }
    // Off the play screen too, a frame moves them by their speed times its length in seconds.
    Butterfly& first = Edit().butterflies[0];
    first.x = 0.5f;
    first.y = 0.5f;
    first.wanderClock = M().now;
    world_.Step(20);
    EXPECT_NEAR(first.x, 0.5f + std::cos(first.heading) * first.speed * 0.02f, 1e-6f);
    EXPECT_NEAR(first.y, 0.5f + std::sin(first.heading) * first.speed * 0.02f, 1e-6f);
}

}  // namespace
