// Scripted play on the real rules: the clicks that take, turn, drop and throw away shapes.
#include "shell/input_script.h"

#include <gtest/gtest.h>

#include <string>

#include "support/game_world.h"

namespace {

using namespace Quillory;

bool FitsAnEmptyCell(const GameModel& game, const ShapeItem& shape) {
    for (int c = 0; c < game.cellCount; ++c) {
        const ShapeItem& cell = game.cells[c];
        if (cell.active != 0 && cell.filled == 0 && cell.classIndex == shape.classIndex) {
            return true;
        }
    }
    return false;
}

// The rules of a headless world as the script sees them. The in-game menu's Discard button is
// the shell's to press: a press on it throws the shape away, as the menu's action does.
class WorldTarget : public Tuvo::ScriptTarget {
public:
    explicit WorldTarget(TestSupport::GameWorld& world) : world_(world) {}

    int ScriptScreenState() const override { return world_.game->State().screenState; }
    int ScriptTutorialStep() const override { return 0; }
    const GameModel& ScriptGame() const override { return world_.game->State(); }
    bool ScriptControlCentre(const std::string& menu, const std::string& control, float& x,
                             float& y) const override {
        const CMenu& inGame = world_.inGameMenu;
        for (int i = 0; i < inGame.ButtonCount() && menu == "menu-ingame.xml"; ++i) {
            if (control == inGame.Button(i).name) {
                x = inGame.Button(i).xc;
                y = inGame.Button(i).yc;
                return true;
            }
        }
        return false;
    }
    bool ScriptShapeCentre(bool, int, float&, float&) const override { return false; }
    void ScriptMovePointer(float x, float y) override {
        world_.pointer.state.x = x;
        world_.pointer.state.y = y;
    }
    void ScriptButton(bool down, bool right, float x, float y) override {
        ScriptMovePointer(x, y);
        (right ? world_.pointer.state.right : world_.pointer.state.left) = down;
        float discardX = 0;
        float discardY = 0;
        ScriptControlCentre("menu-ingame.xml", "btnDiscard", discardX, discardY);
        presses += down ? 1 : 0;
        if (down && right) {
            ++turns;
        } else if (down && x == discardX && y == discardY) {
            const GameModel& game = world_.game->State();
            ++discards;
            wastedDiscards +=
                FitsAnEmptyCell(game, game.held.active != 0 ? game.held : game.conveyor[0]);
            world_.game->DiscardShape();
        }
    }
    void ScriptPointer(float& x, float& y) const override {
        x = world_.pointer.state.x;
        y = world_.pointer.state.y;
    }
    void ScriptKey(int) override {}
    void ScriptCharacter(char) override {}
    void ScriptQuit() override {}
    bool ScriptScreenshot(const std::string&) override { return false; }
    void ScriptSetState(int) override {}
    void ScriptGameComplete() override {}

    int presses = 0;
    int turns = 0;
    int discards = 0;
    int wastedDiscards = 0;  // shapes thrown away although a cell of their class was empty

private:
    TestSupport::GameWorld& world_;
};

// Runs `script` for at most `updates` updates of the world; whether it finished without failing
// (a failure is logged and ends the script).
bool RunScript(TestSupport::GameWorld& world, WorldTarget& target, const std::string& script,
               int updates) {
    Tuvo::InputScript runner;
    EXPECT_TRUE(runner.Load(world.data.Write("script.txt", script)));
    for (int step = 0; step < updates && !runner.Finished(); ++step) {
        runner.Step(target);
        world.Step();
    }
    return runner.Finished() && world.user.Log().find("FAILED") == std::string::npos;
}

TEST(InputScriptTest, PlayLevelTakesTurnsDropsThrowsAwayWhatFitsNowhereAndEndsWithTheLevel) {
    TestSupport::GameWorld world;
    world.WriteClasses(4, 4);
    world.WriteLevel(2, {{"lineSpeed", "0"}, {"lineShapeCount", "2"}});
    world.CreateGame();
    world.StartPlaying(2, MODE_TRANSFORMER);
    WorldTarget target(world);
    // No hands while the pause menu covers the field.
    world.game->SetGameState(STATE_PAUSED);
    EXPECT_FALSE(RunScript(world, target, "take-fitting\n", 50));
    EXPECT_EQ(target.presses, 0);
    world.game->SetGameState(STATE_PLAYING);
    // A shape of a class no cell has is in the way until thrown away.
    world.game->EditState().conveyor[0].classIndex = 3;
    ASSERT_TRUE(RunScript(world, target, "play-level\n", 20000)) << world.user.Log();
    EXPECT_EQ(world.game->State().screenState, STATE_LEVEL_END);
    EXPECT_GT(target.turns, 0);
    EXPECT_GE(target.discards, 1);
    EXPECT_EQ(target.wastedDiscards, 0);
    EXPECT_EQ(world.game->State().held.active, 0);
}

}  // namespace
