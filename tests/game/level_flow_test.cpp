// The course of a game: the opening's phases, the tutorial, the level end and the stage map. Whole
// games through a stage to the reveal are the recorded plays' (tests/shell/recordings).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "game/quillory_game.h"
#include "support/game_world.h"

namespace {

using namespace Quillory;
using TestSupport::GameWorld;

class LevelFlowTest : public ::testing::Test {
protected:
    const GameModel& M() const { return world_.game->State(); }
    GameModel& Edit() { return world_.game->EditState(); }

    GameWorld world_;
};

// The lesson's gates (slot 4 only, no discard, cell 4 only) are the recorded plays'.
TEST_F(LevelFlowTest, ASecondPlayOfTheTutorialKeepsItsCellInReach) {
    // The scroll carries over between levels: left where cell 4 stands under the conveyor, the
    // lesson could never be finished and the clock never started.
    world_.WriteClasses(3, 1);
    world_.WriteLevel(1, {{"lineSpeed", "0"}});
    world_.CreateGame();
    Edit().scrollOffset = 0.45f;
    world_.StartPlaying(1);
    ASSERT_TRUE(world_.RunUntil([&] { return M().tutorialOn == 1 && M().conveyorCount >= 5; }));
    EXPECT_TRUE(M().cells[4].y > 0.05f && M().cells[4].y < 0.8f) << M().cells[4].y;
    world_.TakeAndDrop(4, 4);
    EXPECT_EQ(M().tutorialOn, 0);
}

// The turn the lesson asks for is the recorded plays'; here its shape must be a plain one.
TEST_F(LevelFlowTest, TheTransformerLessonTakesAPlainShapeEvenWhenBonusesAreDue) {
    world_.WriteClasses(3, 3);
    world_.WriteLevel(1, {{"lineSpeed", "0"}, {"fBonusBandP", "2"}});
    world_.CreateGame();
    world_.StartPlaying(1, MODE_TRANSFORMER);
    ASSERT_TRUE(world_.RunUntil([&] { return M().conveyorCount >= 5; }));
    EXPECT_EQ(M().conveyor[3].bonusKind, kBonusBand);
    EXPECT_EQ(M().conveyor[4].bonusKind, kBonusNone);
    world_.Click(M().conveyor[4].x, M().conveyor[4].y);
    world_.RightClick();
    EXPECT_EQ(world_.sounds.Count("transform_shape"), 1);
    world_.Click(M().cells[4].x, M().cells[4].y);
    EXPECT_EQ(M().tutorialOn, 0);
}

TEST_F(LevelFlowTest, TheOpeningDoesNotWaitForThePlayersEffects) {
    world_.WriteClasses(3, 1);
    world_.WriteLevel(2, {{"lineSpeed", "0"}});
    world_.CreateGame();
    world_.game->EditState().levelNumber = 2;
    world_.game->SetGameState(STATE_MAP);
    world_.game->StartLevel();  // the phases' lengths are held to the recorded plays
    ASSERT_TRUE(world_.RunUntil([&] { return M().phase == PHASE_ANNOUNCE; }, 1));
    EXPECT_EQ(world_.sounds.Count("shape_panel_in"), 1);
    // From level 2 on the player may play during the announcement; each drop queues effects.
    int drops = 0;
    for (int t = 0; t < 340 && M().phase == PHASE_ANNOUNCE; ++t) {
        const int cell = M().conveyorCount > 0 ? world_.FindCell(M().conveyor[0]) : -1;
        if (cell >= 0 && M().conveyor[0].x < 0.9f) {
            world_.TakeAndDrop(0, cell);
            ++drops;
        } else {
            world_.Step();
        }
    }
    EXPECT_GT(drops, 3);
    EXPECT_TRUE(world_.RunUntil([&] { return M().phase == PHASE_PLAYING; }, 0.2f));
    EXPECT_EQ(world_.sounds.Count("level_start"), 1);
}

TEST_F(LevelFlowTest, AFullEffectsListNeverLosesTheLevelEndPoints) {
    world_.WriteClasses(3, 1);
    world_.WriteLevel(2, {{"lineShapeCount", "1"}, {"lineSpeed", "0"}, {"levelTime", "60"}});
    world_.CreateGame();
    world_.StartPlaying(2);
    GameModel& m = Edit();
    const ShapeItem shape = m.conveyor[0];
    int last = -1;
    for (int c = 0; c < m.cellCount; ++c) {
        if (last < 0 && m.cells[c].classIndex == shape.classIndex) {
            last = c;
        } else {
            m.cells[c].filled = 1;
        }
    }
    while (world_.effects->AddSound(5.0f, "filler") == 1) {
    }
    world_.TakeAndDrop(0, last);
    ASSERT_EQ(world_.game->ScreenState(), STATE_LEVEL_END);
    const auto added = world_.events.Starting("score_added");  // at once, not lost
    ASSERT_EQ(added.size(), 2u);
    const int seconds = std::atoi(added[0].c_str() + std::strlen("score_added "));
    EXPECT_GT(seconds, 50);
    EXPECT_EQ(m.score, 50 + seconds + 1500);
    EXPECT_FLOAT_EQ(m.timeLeft, 0.0f);  // and the clock still shows 0
    // The level still ends once the list has run out: no level 3, so the game is complete.
    EXPECT_TRUE(world_.RunUntil([&] { return world_.game->ScreenState() == STATE_GAME_COMPLETE; }));
    EXPECT_FLOAT_EQ(world_.sounds.musicVolume, 0.0f);
}

TEST_F(LevelFlowTest, TheStageMapMovesTheMarkerAndOpensReachedStages) {
    world_.WriteClasses(15, 1);
    world_.user.Write("config.ini", "[GAMEPLAY]\r\nLastOpenedLevel=14\r\n");
    world_.CreateGame();
    Edit().levelNumber = 7;  // stage 2
    world_.game->ShowStageMap();
    world_.RunSeconds(0.6f);
    EXPECT_EQ(M().phase, PHASE_MAP_SHOWN);
    const CMenu& map = world_.mapMenu;  // the start button, then stages 1 to 7
    EXPECT_FLOAT_EQ(M().markerX, map.Button(1).xc);
    world_.RunSeconds(3);
    EXPECT_FLOAT_EQ(M().markerX, map.Button(2).xc);
    EXPECT_FLOAT_EQ(M().markerY, map.Button(2).yc);
    EXPECT_EQ(world_.sounds.Count("class_c5"), 1);  // catalogue entry stage + 3
    // The stages opened and the levels they start are held to the recorded plays.
    world_.game->SelectStage(3);
    EXPECT_FLOAT_EQ(M().markerX, map.Button(3).xc);
    EXPECT_EQ(world_.sounds.Count("class_c6"), 1);
    world_.game->SelectStage(20);  // no catalogue entry for its sound: nothing plays
    EXPECT_EQ(world_.sounds.played.back(), "class_c6");
}

}  // namespace
