// The shape-class catalogue and the pictures of cells and conveyor shapes.
#include <gtest/gtest.h>

#include <string>

#include "game/quillory_game.h"
#include "support/game_world.h"

namespace {

using namespace Quillory;
using TestSupport::GameWorld;

TEST(ShapeClassesTest, CatalogueLimitsAndMissingAttributes) {
    GameWorld world;
    std::string xml = "<Classes><Level>\n";
    xml += "<ShapeClass name=\"empty\" soundEvent=\"e\"/>\n";
    xml += "<ShapeClass name=\"" + std::string(300, 'n') + "\"><Shape mainImage=\"a.png\"/>";
    xml += "</ShapeClass>\n<ShapeClass name=\"many\">";
    for (int j = 0; j < 12; ++j) {
        xml += "<Shape mainImage=\"m" + std::to_string(j) + ".png\" maskImage=\"k.png\"/>";
    }
    xml += "</ShapeClass>\n";
    for (int k = 0; k < 30; ++k) {
        xml += "<ShapeClass name=\"x" + std::to_string(k) + "\"/>\n";
    }
    xml += "</Level></Classes>";
    world.data.Write("classes.xml", xml);
    CQuilloryGame& game = world.CreateGame();
    const GameModel& m = game.State();

    EXPECT_EQ(m.catalogueCount, 30);
    EXPECT_STREQ(m.catalogue[0].name, "empty");
    EXPECT_EQ(m.catalogue[0].shapeCount, 0);
    EXPECT_EQ(std::string(m.catalogue[1].name), std::string(254, 'n'));
    EXPECT_STREQ(m.catalogue[1].shapes[0].mainImage, "a.png");
    EXPECT_STREQ(m.catalogue[1].shapes[0].maskImage, "");
    EXPECT_EQ(m.catalogue[2].shapeCount, 10);
    EXPECT_STREQ(m.catalogue[2].shapes[9].mainImage, "m9.png");
    EXPECT_STREQ(m.catalogue[29].name, "x26");
    EXPECT_STREQ(game.RevealPicture(2), "m0.png");
    EXPECT_STREQ(game.RevealPicture(0), "");  // a class without pictures
    EXPECT_STREQ(game.RevealPicture(15), "");
    EXPECT_EQ(world.user.LogCount("more than 30 shape classes"), 1);
    EXPECT_EQ(world.user.LogCount("more than 10 shapes"), 1);
}

TEST(ShapeClassesTest, MissingCatalogueIsLoggedAndEmpty) {
    GameWorld world;
    CQuilloryGame& game = world.CreateGame();
    EXPECT_FALSE(game.LoadClasses("classes.xml"));
    EXPECT_EQ(game.State().catalogueCount, 0);
    EXPECT_GT(world.user.LogCount("Fatal error, cannot load XML: classes.xml"), 0);
    // Without classes no level can be played: it counts as missing.
    world.WriteLevel(1);
    EXPECT_FALSE(game.LevelExists(1));
}

// Which pictures each mode uses is the recorded plays' and the smoke test's; here the
// pictures looked up for a turned cell are its class's, and bonus shapes show their own.
TEST(ShapeClassesTest, CellsShowThePicturesOfTheirClassAndTurnAndBonusShapesTheirOwn) {
    GameWorld world;
    world.WriteClasses(3, 5);
    world.WriteLevel(2, {{"lineShapeCount", "10"}});
    CQuilloryGame& game = world.CreateGame();
    world.StartPlaying(2, MODE_TRANSFORMER);
    const GameModel& m = game.State();
    int c = 0;
    while (c < m.cellCount - 1 && m.cells[c].variant == 0) {
        ++c;
    }
    const ShapeItem& cell = m.cells[c];
    ASSERT_NE(cell.variant, 0);
    const ShapeDef& shape = m.levelClasses[cell.classIndex].shapes[cell.variant];
    EXPECT_EQ(world.textures.NameOf(cell.mainImage), shape.mainImage);
    EXPECT_EQ(world.textures.NameOf(cell.maskImage), shape.maskImage);

    ShapeItem item;
    const char* bonuses[] = {"", "Graphics\\qy_bonus01.png", "Graphics\\qy_bonus02.png",
                             "Graphics\\qy_bonus03.png"};
    for (int kind : {kBonusAnyShape, kBonusBand, kBonusArea}) {
        item.bonusKind = kind;
        EXPECT_STREQ(game.ItemImageName(item), bonuses[kind]) << kind;
    }
    item.bonusKind = kBonusNone;
    item.classIndex = 7;  // out of range: no picture, no crash
    EXPECT_STREQ(game.ItemImageName(item), "");
    item.classIndex = 0;
    item.variant = 5;
    EXPECT_STREQ(game.ItemImageName(item), "");
}

}  // namespace
