// The update's clockwork: the level clock with its pause, the timeout warnings and the order of
// loss and win, and the button edges across screens. What is issued is held to the recorded plays
// and the simulator's logs; the one-class runs of the placing tests keep its pick bounded.
#include <gtest/gtest.h>

#include <string>

#include "game/quillory_game.h"
#include "support/game_world.h"

namespace {

using namespace Quillory;
using TestSupport::GameWorld;

class UpdateTest : public ::testing::Test {
protected:
    void Start(const std::map<std::string, std::string>& attributes) {
        world_.WriteClasses(4, 3);
        world_.WriteLevel(2, attributes);
        world_.CreateGame();
        world_.StartPlaying(2);
    }
    const GameModel& M() const { return world_.game->State(); }
    GameModel& Edit() { return world_.game->EditState(); }

    GameWorld world_;
};

TEST_F(UpdateTest, APauseStopsTheClockAndPausesNestInTheTutorial) {
    Start({{"levelTime", "100"}});
    world_.RunSeconds(3);
    const float left = M().timeLeft;
    EXPECT_NEAR(left, 100 - 2.1f, 0.02f);
    world_.game->SetGameState(STATE_PAUSED);
    world_.RunSeconds(5);
    world_.game->SetGameState(STATE_PLAYING);
    world_.Step();
    EXPECT_NEAR(M().timeLeft, left - 0.01f, 0.005f);

    // Level 1: the tutorial pauses the clock; a menu pause inside it must not restart it.
    GameWorld world;
    world.WriteClasses(4, 1);
    world.WriteLevel(1);
    world.CreateGame();
    world.StartPlaying(1);
    world.Step();
    ASSERT_EQ(world.game->State().tutorialOn, 1);
    const float scroll = world.game->State().scrollOffset;
    world.RunSeconds(2);
    world.game->SetGameState(STATE_PAUSED);
    world.RunSeconds(3);
    world.game->SetGameState(STATE_PLAYING);
    world.RunSeconds(2);
    EXPECT_FLOAT_EQ(world.game->State().timeLeft, 100.0f);      // the clock stood still
    EXPECT_LE(world.game->State().elapsed, 0.0f);               // and what it has counted
    EXPECT_FLOAT_EQ(world.game->State().scrollOffset, scroll);  // nor did the field
    world.RunUntil([&] { return world.game->State().conveyorCount >= 5; });
    world.TakeAndDrop(4, 4);
    EXPECT_EQ(world.game->State().tutorialOn, 0);
    world.Step();
    // Only the 0.9 s lead of the clock: none of the tutorial's or the menu's time.
    EXPECT_NEAR(world.game->State().timeLeft, 100.9f, 0.03f);
}

TEST_F(UpdateTest, TenWarningsThenTheLossWithTheMusicStopped) {
    Start({{"levelTime", "12"}});
    world_.RunUntil([&] { return world_.game->ScreenState() != STATE_PLAYING; }, 20);
    EXPECT_EQ(world_.game->ScreenState(), STATE_GAME_OVER);
    EXPECT_EQ(world_.sounds.Count("timeout"), 10);
    EXPECT_EQ(world_.sounds.Count("game_over"), 1);
    EXPECT_FLOAT_EQ(world_.sounds.musicVolume, 0.0f);
}

// A press that resumes play is no drop; a drop that fills the last cell in the update the clock
// runs out loses.
TEST_F(UpdateTest, APressThatResumesIsNoDropAndRunningOutBeatsFillingTheLastCell) {
    Start({{"lineSpeed", "0"}});
    GameModel& m = Edit();
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
