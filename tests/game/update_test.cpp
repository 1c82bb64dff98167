// The update's clockwork: the level clock with its pause, the timeout warnings and the order of
// loss and win, and the button edges across screens. What is issued is held to the recorded plays
// and the simulator's logs; the one-class runs of the placing tests keep its pick bounded.
#include <gtest/gtest.h>

#include "game/quillory_game.h"
#include "support/game_world.h"

namespace {

using namespace Quillory;
using TestSupport::GameWorld;

class UpdateTest : public ::testing::Test {
protected:
    const GameModel& M() const { return world_.game->State(); }

    GameWorld world_;
};

// Level 1: the tutorial pauses the clock; a menu pause inside it must not restart it.
TEST_F(UpdateTest, PausesNestInTheTutorial) {
    world_.WriteClasses(4, 1);
    world_.WriteLevel(1);
    world_.CreateGame();
    world_.StartPlaying(1);
    world_.Step();
    ASSERT_EQ(M().tutorialOn, 1);
    const float scroll = M().scrollOffset;
    world_.RunSeconds(2);
    world_.game->SetGameState(STATE_PAUSED);
    world_.RunSeconds(3);
    world_.game->SetGameState(STATE_PLAYING);
    world_.RunSeconds(2);
    EXPECT_FLOAT_EQ(M().timeLeft, 100.0f);      // the clock stood still
    EXPECT_LE(M().elapsed, 0.0f);               // and what it has counted
    EXPECT_FLOAT_EQ(M().scrollOffset, scroll);  // nor did the field
    world_.RunUntil([&] { return M().conveyorCount >= 5; });
    world_.TakeAndDrop(4, 4);
    EXPECT_EQ(M().tutorialOn, 0);
    world_.Step();
    // Only the 0.9 s lead of the clock: none of the tutorial's or the menu's time.
    EXPECT_NEAR(M().timeLeft, 100.9f, 0.03f);
}

TEST_F(UpdateTest, TenWarningsThenTheLossWithTheMusicStopped) {
    world_.StartStillLevel({{"levelTime", "12"}});
    EXPECT_TRUE(world_.RunUntil([&] { return world_.game->ScreenState() == STATE_GAME_OVER; }, 20));
    EXPECT_EQ(world_.sounds.Count("timeout"), 10);
    EXPECT_EQ(world_.sounds.Count("game_over"), 1);
    EXPECT_FLOAT_EQ(world_.sounds.musicVolume, 0.0f);
}

// A press that resumes play is no drop; a drop that fills the last cell in the update the clock
// runs out loses.
TEST_F(UpdateTest, APressThatResumesIsNoDropAndRunningOutBeatsFillingTheLastCell) {
    world_.StartStillLevel();
    GameModel& m = world_.game->EditState();
    world_.Click(m.conveyor[0].x, m.conveyor[0].y);
    ASSERT_EQ(m.held.active, 1);
    const int last = world_.FindCell(m.held);
    ASSERT_GE(last, 0);
    const ShapeItem& cell = m.cells[last];
    world_.game->SetGameState(STATE_PAUSED);
    // "Resume" is pressed right over the cell; the button is still down when play goes on.
    world_.pointer.state = {cell.x, cell.y, true, false};
    world_.game->SetGameState(STATE_PLAYING);
    world_.Step();
    world_.Release(cell.x, cell.y);
    EXPECT_EQ(cell.filled, 0);
    EXPECT_EQ(m.held.active, 1);

    for (int c = 0; c < m.cellCount; ++c) {
        m.cells[c].filled = c != last ? 1 : 0;
    }
    m.playStartTime = m.now - m.levelTime + 0.005f;  // out of time at the next update
    world_.Click(cell.x, cell.y);
    EXPECT_EQ(cell.filled, 1);
    EXPECT_EQ(world_.game->ScreenState(), STATE_GAME_OVER);
    EXPECT_EQ(world_.events.Starting("won").size(), 0u);
}

}  // namespace
