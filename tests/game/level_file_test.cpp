// Level files: numbers as leading decimal text, the choice of classes, the grid, refused levels.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "game/quillory_game.h"
#include "support/game_world.h"

namespace {

using namespace Quillory;
using TestSupport::GameWorld;

class LevelFileTest : public ::testing::Test {
protected:
    LevelFileTest() { world_.WriteClasses(6, 4); }

    const GameModel& Load(int level, const std::map<std::string, std::string>& attributes) {
        world_.WriteLevel(level, attributes);
        if (!world_.game) {
            world_.CreateGame();
        }
        world_.game->EditState().levelNumber = level;
        world_.game->LoadLevel();
        return world_.game->State();
    }

    GameWorld world_;
};

TEST_F(LevelFileTest, NumbersAreLeadingDecimalTextAndClamped) {
    const std::map<std::string, std::string> odd = {
        {"lineShapeCount", "7.9"},       {"levelTime", "12.5 seconds"}, {"lineSpeed", "abc"},
        {"fBugAppearanceRange", "0x10"}, {"fBonusBandP", "  .5e1x"},    {"bonusLevel", "True"}};
    const GameModel& m = Load(3, odd);
    EXPECT_EQ(m.lineShapeCount, 7);
    EXPECT_FLOAT_EQ(m.levelTime, 12.5f);
    EXPECT_FLOAT_EQ(m.lineSpeed, 0.0f);
    EXPECT_FLOAT_EQ(m.bugAppearanceRange, 0.0f);  // "0x10" reads its leading 0
    EXPECT_FLOAT_EQ(m.bonusBandP, 5.0f);
    EXPECT_FALSE(m.IsBonusLevel());  // only "true" makes a bonus level

    const GameModel& huge = Load(4, {{"lineShapeCount", "1e999"},
                                     {"levelTime", "-1e300"},
                                     {"shapeClassCount", "99999999999"},
                                     {"bonusLevel", "true"},
                                     {"newShapeTime", "nan"}});
    EXPECT_EQ(huge.lineShapeCount, 30);
    EXPECT_FLOAT_EQ(huge.levelTime, -1.0e6f);
    EXPECT_EQ(huge.shapeClassCount, 6);  // at most the catalogue
    EXPECT_FLOAT_EQ(huge.newShapeTime, 0.0f);
    EXPECT_TRUE(huge.IsBonusLevel());
    EXPECT_EQ(world_.user.LogCount("lineShapeCount above its limit"), 1);
    EXPECT_EQ(world_.user.LogCount("more classes than the catalogue has"), 1);
}

TEST_F(LevelFileTest, NamedClassesEmptyPiecesUnknownAndRepeatedNames) {
    const GameModel& m = Load(2, {{"shapeClassList", "c4,,c1"}, {"shapeClassCount", "3"}});
    EXPECT_EQ(m.shapeClassCount, 3);
    EXPECT_STREQ(m.levelClasses[0].name, "c4");
    EXPECT_STREQ(m.levelClasses[1].name, "c1");

    // An unknown name and a repeated one are drawn among the free classes; the classes stay
    // distinct and every one of them owns a cell.
    const GameModel& odd =
        Load(5, {{"shapeClassList", "c2,nosuch,c2,c3,c5,c0"}, {"shapeClassCount", "6"}});
    std::set<std::string> names;
    for (int i = 0; i < odd.shapeClassCount; ++i) {
        names.insert(odd.levelClasses[i].name);
    }
    EXPECT_EQ(names.size(), 6u);
    EXPECT_STREQ(odd.levelClasses[0].name, "c2");
    std::set<int> owned;
    for (int c = 0; c < odd.cellCount; ++c) {
        owned.insert(odd.cells[c].classIndex);
        EXPECT_LT(odd.cells[c].variant, 1);  // Classic: first shape only
    }
    EXPECT_EQ(owned.size(), 6u);
    EXPECT_EQ(world_.user.LogCount("unknown shape class 'nosuch'"), 1);
    EXPECT_EQ(world_.user.LogCount("shape class 'c2' named twice"), 1);

    // More classes than cells: the every-class-owns-a-cell step is skipped.
    const GameModel& few = Load(6, {{"lineShapeCount", "0.5"}, {"shapeClassCount", "3"}});
    EXPECT_EQ(few.cellCount, 0);
}

TEST_F(LevelFileTest, LevelsWithoutCellsOrClassesAreRefusedAndNeverWon) {
    world_.WriteLevel(1);
    world_.CreateGame();
    EXPECT_TRUE(world_.game->LevelExists(1));
    EXPECT_FALSE(world_.game->LevelExists(2));  // no file
    world_.data.Write("Levels/level_3.xml", "<LevelMap levelTime=");
    EXPECT_FALSE(world_.game->LevelExists(3));  // not XML

    const GameModel& m = Load(4, {{"lineShapeCount", "<absent>"}});
    EXPECT_FALSE(world_.game->LevelExists(4));
    EXPECT_EQ(m.cellCount, 0);
    EXPECT_EQ(world_.user.LogCount("level has no classes or no cells: Levels\\level_4.xml"), 1);
    const GameModel& none = Load(5, {{"shapeClassCount", "0"}});
    EXPECT_EQ(none.cellCount, 0);
    EXPECT_FALSE(world_.game->LevelExists(5));

    // Started anyway, an empty level is not won at once and the conveyor issues nothing.
    world_.StartPlaying(5);
    world_.RunSeconds(3);
    EXPECT_EQ(world_.game->ScreenState(), STATE_PLAYING);
    EXPECT_EQ(world_.game->State().conveyorCount, 0);

    // A missing file keeps the defaults of a level that cannot be read.
    world_.game->EditState().levelNumber = 77;
    world_.game->LoadLevel();
    EXPECT_FLOAT_EQ(world_.game->State().levelTime, 100.0f);
    EXPECT_EQ(world_.user.LogCount("Fatal error, cannot load XML: Levels\\level_77.xml"), 1);
}

}  // namespace
