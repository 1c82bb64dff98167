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

    GameWorld world_;
};

// Which cells the bonuses fill, the lines they complete and where any-shape fits are the recorded
// plays' and the simulator's logs'; here the area's sound.
TEST_F(CreaturesTest, TheAreaBonusSoundsItsFill) {
    world_.StartStillLevel({});
    Edit().conveyor[0].bonusKind = kBonusArea;
    world_.TakeAndDrop(0, 1 * 7 + 3);
    EXPECT_EQ(world_.sounds.Count("fill_area"), 1);
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
    for (int i = 0; i < kButterflyCount; ++i) {
        const Butterfly& butterfly = M().butterflies[i];
        EXPECT_EQ(butterfly.kind, i % 4 + 1);
        EXPECT_TRUE(butterfly.x >= -0.3f && butterfly.x <= 1.3f) << i << ": " << butterfly.x;
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
