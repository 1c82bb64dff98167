// Taking, dropping and discarding shapes; drop scoring with runs; line removal and the slides.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/quillory_game.h"
#include "support/game_world.h"

namespace {

using namespace Quillory;
using TestSupport::GameWorld;

class PlacingTest : public ::testing::Test {
protected:
    const GameModel& M() const { return world_.game->State(); }
    void FillLine(int line) {
        GameModel& m = world_.game->EditState();
        for (int row = 0; row < m.lineShapeCount; ++row) {
            m.cells[line * m.lineShapeCount + row].filled = 1;
        }
    }

    GameWorld world_;
};

TEST_F(PlacingTest, ARunsSoundIndexStopsAtSeven) {
    world_.StartStillLevel(
        {{"shapeClassCount", "1"}, {"shapeClassList", "c0"}, {"lineShapeCount", "12"}});
    // The points of a run are held to the recorded plays; its sounds are this test's.
    for (int drop = 0; drop < 10; ++drop) {
        world_.TakeAndDrop(0, world_.FindCell(M().conveyor[0]));
    }
    EXPECT_EQ(world_.sounds.Count("place_shape"), 1);
    std::vector<int> counts;
    for (int n = 1; n <= 8; ++n) {
        counts.push_back(world_.sounds.Count("place_shape_bonus_" + std::to_string(n)));
    }
    EXPECT_EQ(counts, std::vector<int>({1, 1, 1, 1, 1, 1, 3, 0}));  // 7: runs of 7, 8 and 9
}

// Click-click drops are the recorded plays' and the simulator's.
TEST_F(PlacingTest, DragAndReleaseAndTheConveyorRefusesDrops) {
    world_.StartStillLevel();
    // Drag and release, after a press on a cell that does not fit: the shape stays in hand for
    // the release.
    world_.Press(M().conveyor[0].x, M().conveyor[0].y);
    ASSERT_EQ(M().held.active, 1);
    const int cell = world_.FindCell(M().held);
    ShapeItem other = M().held;
    other.classIndex = (other.classIndex + 1) % M().shapeClassCount;
    const int wrong = world_.FindCell(other);
    ASSERT_GE(wrong, 0);
    world_.Release(M().cells[wrong].x, M().cells[wrong].y);
    world_.Press(M().cells[wrong].x, M().cells[wrong].y);
    EXPECT_EQ(M().held.active, 1);
    EXPECT_EQ(M().cells[wrong].filled, 0);
    world_.Release(M().cells[cell].x, M().cells[cell].y);
    EXPECT_EQ(M().cells[cell].filled, 1);

    // A fitting cell at y 0.87 (line 1, row 6) lies over the conveyor: never a drop there.
    world_.Click(M().conveyor[0].x, M().conveyor[0].y);
    GameModel& m = world_.game->EditState();
    ShapeItem& low = m.cells[13];
    ASSERT_GE(low.y, 0.85f);
    low.classIndex = m.held.classIndex;
    low.variant = m.held.variant;
    world_.Click(low.x, low.y);
    EXPECT_EQ(low.filled, 0);
    EXPECT_EQ(M().held.active, 1);
}

TEST_F(PlacingTest, ASecondRemovalWithinTheSecondEndsOnTheGridAndDiscards) {
    world_.StartStillLevel();
    FillLine(1);
    world_.game->RemoveCompleteLines();  // line 0 moves right one place
    world_.RunSeconds(0.5f);
    FillLine(2);
    FillLine(4);
    world_.game->RemoveCompleteLines();  // line 0 once more, line 5 left
    world_.RunSeconds(1.6f);
    EXPECT_FLOAT_EQ(M().lines[0].x, 0.5275f);
    EXPECT_FLOAT_EQ(M().lines[3].x, 0.64625f);
    EXPECT_FLOAT_EQ(M().lines[5].x, 0.765f);
    EXPECT_EQ(M().linesLeft, 3);
    // Every removed line speeds the field up.
    EXPECT_EQ(world_.events.Starting("line_removed 4 left=3").size(), 1u);

    const int count = M().conveyorCount;
    // The key discards only while the first shape is left of the middle.
    world_.game->EditState().conveyor[0].x = 0.6f;
    world_.game->DiscardFromKey();
    EXPECT_EQ(M().conveyorCount, count);
    world_.game->EditState().conveyor[0].x = 0.3f;
    world_.game->DiscardFromKey();
    EXPECT_EQ(M().conveyorCount, count - 1);
    EXPECT_EQ(world_.events.Starting("take 0").size(), 1u);
    // A held shape goes first, and the conveyor stays as it was.
    world_.Click(M().conveyor[1].x, M().conveyor[1].y);
    world_.game->DiscardShape();
    EXPECT_EQ(M().held.active, 0);
    EXPECT_EQ(M().conveyorCount, count - 2);
    EXPECT_EQ(world_.events.Starting("discard").size(), 2u);
    EXPECT_EQ(world_.sounds.Count("drop_shape"), 2);
    // Nothing held and nothing on the conveyor: nothing happens.
    world_.game->EditState().conveyorCount = 0;
    world_.game->DiscardShape();
    EXPECT_EQ(world_.sounds.Count("drop_shape"), 2);
}

}  // namespace
